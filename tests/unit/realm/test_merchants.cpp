// Merchants: when they arrive, what they roll at two strength factors, how long an offer lasts and what
// it costs to keep, the tutorial's rules, and a blueprint that cannot be made.
#include "realm_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using realmtest::RealmTest;

// Every race with the same statistics; Range 2 so that the cost rule counts.
std::string Blueprints(bool withAngel = true) {
    std::string xml = "<?xml version=\"1.0\" ?>\n<Blueprints type=\"RealmTestBlueprints" + std::string(withAngel ? "" : "NoAngel") + "\">";
    for (const char* word : {"Elvenkind", "Dragonkin", "Leviathian", "Demon", "Angel", "Golem", "Taipen", "Elemental"}) {
        if (!withAngel && std::string(word) == "Angel") {
            continue;
        }
        xml += std::string("<") + word +
               "><HP>9</HP><STR>7</STR><VIT>10</VIT><DEF>2</DEF><MoveSpd>1</MoveSpd><Range>2</Range>"
               "<Accuracy>3</Accuracy><Cost>0</Cost><AttkSpd>1.5</AttkSpd><Evade>4</Evade><Energy>5</Energy>"
               "<Force>6</Force><Slots>1</Slots></" + word + ">";
    }
    return xml + "</Blueprints>\n";
}

class Merchants : public RealmTest {
  protected:
    void SetUp() override {
        RealmTest::SetUp();
        assets.Write("BaseUnitBluePrint.xml", Blueprints());
        realm->m_merchantRosterBox = RosterHead();
    }

    std::vector<std::string> Frame(float dt) {
        spritetest::CapturedLog log;
        realm->Update(dt);
        return log.Lines();
    }
};

TEST_F(Merchants, TheFirstArrivesAboutASecondInAndAtExactlyOneTenthLeft) {
    // 5.0 at five times game time: 0.98 s.
    int frames = 0;
    while (realm->m_merchantUnits.empty() && frames < 100) {
        Frame(0.02f);
        ++frames;
    }
    EXPECT_GE(frames, 49);
    EXPECT_LE(frames, 50);
    ASSERT_EQ(realm->m_merchantUnits.size(), 1u);
    // Every draw 0: an Elven Warrior for 12 s, the next merchant 60 units on.
    EXPECT_EQ(realm->m_merchantUnits.front()->m_typeName, "Elven Warrior");
    EXPECT_FLOAT_EQ(Chain(realm->m_merchantRosterBox)[1]->Lifetime(), 12.0f);
    EXPECT_FLOAT_EQ(realm->m_merchantCountdown, 60.0f);
    ASSERT_EQ(realm->m_messages.size(), 1u);
    EXPECT_EQ(realm->m_messages.front().m_text, "New merchant unit available for sale!");
    EXPECT_EQ(realm->m_messages.front().m_lineCount, 2);
    EXPECT_EQ(realm->m_messages.front().m_colour, 0x55FF55FFu);

    realm->m_merchantCountdown = std::nextafter(0.1f, 1.0f);
    Frame(0.0f);
    EXPECT_EQ(realm->m_merchantUnits.size(), 1u);
    realm->m_merchantCountdown = 0.1f;
    Frame(0.0f);
    EXPECT_EQ(realm->m_merchantUnits.size(), 2u);
}

TEST_F(Merchants, StatisticsAreRolledOneToThreeTimesTheStrengthFactorAndPriced) {
    struct Case {
        float factor;
        int roll;
        float scale;
    };
    for (const Case& c : {Case{1.0f, 0, 1.0f}, Case{1.0f, 2, 3.0f}, Case{1.5f, 1, 2.5f}, Case{1.5f, 2, 4.0f}}) {
        realm->ClearMerchantUnits();
        realm->m_strengthFactor = c.factor;
        realm->m_merchantCountdown = 0.0f;
        // Index 5: the Golem blueprint offered as "Watcher Golem"; eight rolls; the longest life; 60.
        draws = {5, c.roll, c.roll, c.roll, c.roll, c.roll, c.roll, c.roll, c.roll, 4, 0};
        Frame(0.0f);
        EXPECT_TRUE(draws.empty());
        ASSERT_EQ(realm->m_merchantUnits.size(), 1u) << c.factor;
        const KRUnit& offer = *realm->m_merchantUnits.front();
        EXPECT_EQ(offer.m_name, "New Merchant Unit");
        EXPECT_EQ(offer.m_typeName, "Watcher Golem");
        EXPECT_EQ(offer.m_race, RACE_GOLEM);
        EXPECT_EQ(offer.m_unitClass, UNIT_CLASS_MAGICAL);
        EXPECT_FLOAT_EQ(offer.VIT, 10.0f * c.scale);
        EXPECT_FLOAT_EQ(offer.HP, 10.0f * c.scale);
        EXPECT_FLOAT_EQ(offer.m_battleHP, 10.0f * c.scale);
        // The attack damage starts at 1 and STR follows it.
        EXPECT_FLOAT_EQ(offer.STR, c.scale);
        EXPECT_FLOAT_EQ(offer.Force, 5.0f * c.scale);
        EXPECT_FLOAT_EQ(offer.Energy, 5.0f * c.scale);
        EXPECT_FLOAT_EQ(offer.Evade, 4.0f * c.scale);
        const float cost = (1.5f + 1.0f + 1.0f + 10.0f + 2.0f + 3.0f + 5.0f + 4.0f) * c.scale * 2.0f * 0.5f;
        EXPECT_FLOAT_EQ(offer.Cost, cost);
        EXPECT_FLOAT_EQ(offer.m_upkeep[UPKEEP_MONEY], cost);
        EXPECT_FLOAT_EQ(offer.m_upkeep[UPKEEP_EARTH], 0.35f);
        EXPECT_FLOAT_EQ(offer.m_upkeep[UPKEEP_DARK], 0.01f);
        EXPECT_EQ(offer.m_upkeep[UPKEEP_ICE], 0.0f);
        EXPECT_FLOAT_EQ(realm->m_merchantCountdown, 60.0f);
        const BoxObject* box = Chain(realm->m_merchantRosterBox)[1];
        EXPECT_FLOAT_EQ(box->Lifetime(), 60.0f);
    }
}

TEST_F(Merchants, TheTutorialKeepsOneQuietLongLivedOfferAndAMissingBlueprintIsSkipped) {
    realm->m_tutorial = true;
    realm->m_merchantCountdown = 0.0f;
    draws = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    Frame(0.0f);
    ASSERT_EQ(realm->m_merchantUnits.size(), 1u);
    EXPECT_EQ(realm->m_merchantUnits.front()->m_typeName, "Elven Warrior");
    EXPECT_TRUE(realm->m_messages.empty());
    EXPECT_FLOAT_EQ(Chain(realm->m_merchantRosterBox)[1]->Lifetime(), 512.0f);
    // While it is on sale the countdown waits.
    Frame(100.0f);
    EXPECT_FLOAT_EQ(realm->m_merchantCountdown, 120.0f);
    EXPECT_EQ(realm->m_merchantUnits.size(), 1u);

    // A race missing from the blueprints: no offer and no message, the next merchant still due.
    realm->m_tutorial = false;
    realm->ClearMerchantUnits();
    assets.Write("BaseUnitBluePrint.xml", Blueprints(false));
    realm->m_merchantCountdown = 0.0f;
    draws = {4, 2};
    Frame(0.0f);
    EXPECT_TRUE(draws.empty());
    EXPECT_TRUE(realm->m_merchantUnits.empty());
    EXPECT_TRUE(realm->m_messages.empty());
    EXPECT_FLOAT_EQ(realm->m_merchantCountdown, 180.0f);
}

} // namespace
