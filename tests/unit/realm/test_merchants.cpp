// Merchants: when they come, a blueprint that cannot be made, what they roll at two strength factors,
// and the tutorial's rules.
#include "realm_support.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

// Golem and Taipen blueprints only.
std::string Blueprints() {
    const std::string stats =
        "<HP>9</HP><STR>7</STR><VIT>10</VIT><DEF>2</DEF><MoveSpd>1</MoveSpd><Range>2</Range>"
        "<Accuracy>3</Accuracy><AttkSpd>1.5</AttkSpd><Evade>4</Evade><Energy>5</Energy>"
        "<Force>6</Force><Slots>1</Slots>";
    return "<?xml version=\"1.0\" ?>\n<Blueprints type=\"RealmTestBlueprints\"><Golem>" + stats +
           "</Golem><Taipen>" + stats + "</Taipen></Blueprints>\n";
}

class Merchants : public realmtest::RealmTest {
  protected:
    void SetUp() override {
        RealmTest::SetUp();
        assets.Write("BaseUnitBluePrint.xml", Blueprints());
        realm->m_merchantRosterBox = RosterHead();
    }
};

TEST_F(Merchants, TheFirstComesAboutASecondInAndRollsItsUnitByTheStrengthFactor) {
    // Every draw 0 asks for the Elvenkind blueprint, which these files lack: that merchant is skipped.
    int frames = 0;
    while (realm->m_merchantCountdown <= 5.0f && frames++ < 100) {
        Frame(0.02f);
    }
    EXPECT_TRUE(frames == 49 || frames == 50) << frames; // 5.0 - 0.1 at five times game time
    EXPECT_FLOAT_EQ(realm->m_merchantCountdown, 60.0f);
    EXPECT_TRUE(realm->m_merchantUnits.empty());
    EXPECT_TRUE(realm->m_messages.empty());

    // Each statistic times 1 + roll x F: x3 at F 1, x2.5 and x4 at F 1.5.
    for (const auto& [factor, roll, scale] : {std::tuple{1.0f, 2, 3.0f}, {1.5f, 1, 2.5f}, {1.5f, 2, 4.0f}}) {
        realm->ClearMerchantUnits();
        realm->m_strengthFactor = factor;
        realm->m_merchantCountdown = 0.1f; // exactly on the threshold: due
        draws = {5, roll, roll, roll, roll, roll, roll, roll, roll, 4, 2};
        Frame(0.0f);
        ASSERT_EQ(realm->m_merchantUnits.size(), 1u) << factor;
        EXPECT_FLOAT_EQ(realm->m_merchantCountdown, 180.0f);
        EXPECT_EQ(realm->m_messages.back().m_text, "New merchant unit available for sale!");
        const KRUnit& offer = *realm->m_merchantUnits.front();
        EXPECT_EQ(offer.m_typeName, "Watcher Golem");
        EXPECT_EQ(offer.m_unitClass, UNIT_CLASS_MAGICAL);
        EXPECT_FLOAT_EQ(offer.HP, 10.0f * scale);
        EXPECT_FLOAT_EQ(offer.STR, scale); // from the attack damage, which starts at 1
        EXPECT_FLOAT_EQ(offer.Force, 5.0f * scale);
        // Priced after the rolls; the price is also its money upkeep per soldier.
        const float cost = (1.5f + 1.0f + 1.0f + 10.0f + 2.0f + 3.0f + 5.0f + 4.0f) * scale;
        EXPECT_FLOAT_EQ(offer.Cost, cost);
        EXPECT_FLOAT_EQ(offer.m_upkeep[UPKEEP_MONEY], cost);
        EXPECT_FLOAT_EQ(offer.m_upkeep[UPKEEP_EARTH], 0.35f);
        EXPECT_FLOAT_EQ(Chain(realm->m_merchantRosterBox)[1]->Lifetime(), 60.0f);
    }
}

TEST_F(Merchants, TheTutorialKeepsOneQuietLongLivedOfferAtATime) {
    realm->m_tutorial = true;
    realm->m_merchantCountdown = 0.0f;
    draws = {6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}; // a Taipen Prowler, 120 to the next
    Frame(0.0f);
    ASSERT_EQ(realm->m_merchantUnits.size(), 1u);
    EXPECT_TRUE(realm->m_messages.empty());
    EXPECT_FLOAT_EQ(Chain(realm->m_merchantRosterBox)[1]->Lifetime(), 512.0f);
    Frame(100.0f);
    EXPECT_FLOAT_EQ(realm->m_merchantCountdown, 120.0f);
}

} // namespace
