// Units read from the blueprint file, good and broken, and the default records a world starts with.
#include "battle/unit_support.h"
#include "battle/unitblueprint.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"

#include <gtest/gtest.h>

namespace {

using spritetest::CapturedLog;
using spritetest::HasLineStarting;
using unittest::UnitTest;

constexpr const char* kFailLine = "Fail to load BluePrint from XML";

TEST_F(UnitTest, BlueprintsAreReadByElementAndTheCopyOfTheLastOfATypeIsShownAtItsPlace) {
    assets.Write("BaseUnitBluePrint.xml",
                 "<BluePrint type=\"Test\"><Golem><Slots>2</Slots><HP>40</HP><STR>6</STR><VIT>nan</VIT>"
                 "<DEF>8</DEF><MoveSpd>0.5</MoveSpd><Range>3.9</Range><Accuracy>2</Accuracy><Cost>999</Cost>"
                 "<AttkSpd>2.5</AttkSpd><Evade>1</Evade><Energy>7</Energy><Force>1</Force></Golem>"
                 "<Angel HP=\"9\" Range=\"2\"/><Demon><STR>1</STR></Demon><Demon><STR>2</STR></Demon>"
                 "</BluePrint>");
    CapturedLog log;
    std::unique_ptr<KRUnit> golem = CreateUnitFromBlueprint("Golem");
    ASSERT_NE(golem, nullptr);
    EXPECT_EQ(golem->m_typeName, "Golem");
    EXPECT_EQ(golem->HP, 40.0f);
    EXPECT_EQ(golem->VIT, 0.0f); // no number is 0
    EXPECT_EQ(golem->Range, 3);
    EXPECT_EQ(golem->Slots, 2.0f);
    EXPECT_EQ(golem->Cost, 31.5f); // the rule, not the file: (2.5 + 0.5 + 6 + 0 + 8 + 2 + 1 + 1) x 3 / 2
    EXPECT_TRUE(golem->m_sprite.m_visible);
    EXPECT_EQ(golem->m_boundingBox.m_position, (plat::Vector3{0.0f, 1.0f, 0.0f}));
    // Attributes are no statistics: no Range, so free.
    std::unique_ptr<KRUnit> angel = CreateUnitFromBlueprint("Angel");
    ASSERT_NE(angel, nullptr);
    EXPECT_EQ(angel->HP, 0.0f);
    EXPECT_EQ(angel->Cost, 0.0f);
    EXPECT_EQ(CreateUnitFromBlueprint("Demon")->STR, 2.0f);
    EXPECT_EQ(CreateUnitFromBlueprint("golem"), nullptr);
    EXPECT_FALSE(HasLineStarting(log.Lines(), kFailLine));
}

TEST_F(UnitTest, AMissingBlueprintFileGivesNullQuietlyAndAnUntypedOneStillReads) {
    CapturedLog missing;
    EXPECT_EQ(CreateUnitFromBlueprint("Golem"), nullptr);
    EXPECT_TRUE(missing.Lines().empty());
    assets.Write("BaseUnitBluePrint.xml", "<BluePrint><Golem><Range>3</Range></Golem></BluePrint>");
    CapturedLog untyped;
    std::unique_ptr<KRUnit> golem = CreateUnitFromBlueprint("Golem");
    ASSERT_NE(golem, nullptr);
    EXPECT_EQ(golem->Range, 3);
    EXPECT_FALSE(HasLineStarting(untyped.Lines(), kFailLine));
}

TEST_F(UnitTest, AWorldStartsWithTheGuardianAndTheMageAndANewGameRestoresThem) {
    GameData world;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(world.m_unitRecords.size(), 2u);
        const KRUnit& guardian = world.m_unitRecords[0];
        const KRUnit& mage = world.m_unitRecords[1];
        EXPECT_EQ(guardian.m_name, "Primal Guardian");
        EXPECT_EQ(mage.m_typeName, "Primal Mage");
        EXPECT_EQ(guardian.m_race, RACE_GOLEM);
        EXPECT_EQ(mage.m_homePos, (plat::Vector3{11.0f, 0.0f, 12.0f}));
        EXPECT_EQ(guardian.Cost, 10.75f);
        EXPECT_EQ(mage.Cost, 96.25f);
        EXPECT_EQ(guardian.Size, 7);
        EXPECT_EQ(mage.Size, 5);
        for (const KRUnit* record : {&guardian, &mage}) {
            EXPECT_TRUE(record->m_channelGroup.Handle().IsNull());
            ASSERT_EQ(static_cast<int32_t>(record->m_soldiers.size()), record->Size);
            for (const KRMiniUnit& soldier : record->m_soldiers) {
                EXPECT_EQ(soldier.HP, record == &guardian ? 50.0f : 10.0f);
                EXPECT_EQ(soldier.m_owner, record);
            }
        }
        world.m_unitRecords[0].STR = 99.0f;
        world.m_unitRecords.pop_back();
        world.ResetForNewGame();
    }
}

TEST_F(UnitTest, ANewGameBuysTheRecordsFreeAndPutsThemOnTheMapWithoutUpkeep) {
    GameData world;
    world.m_playerEditor = std::make_unique<PlayerEditor>(nullptr, &world);
    PlayerEditor& realm = *world.m_playerEditor;
    realm.m_stock[RESOURCE_MONEY] = 12.0f;
    world.SpawnPlayerUnits();
    EXPECT_EQ(realm.m_stock[RESOURCE_MONEY], 12.0f);
    EXPECT_EQ(realm.m_purchaseGroupSize, 1.0f);
    ASSERT_EQ(realm.m_purchasedUnits.size(), 2u);
    ASSERT_EQ(world.m_playerUnits.size(), 2u);
    const KRUnit& guardian = *realm.m_purchasedUnits.front();
    EXPECT_EQ(world.m_playerUnits.front(), &guardian);
    EXPECT_EQ(guardian.Size, 7);
    EXPECT_EQ(guardian.m_homePos, world.m_unitRecords[0].m_homePos);
    for (const auto& unit : realm.m_purchasedUnits) {
        for (float upkeep : unit->m_upkeep) {
            EXPECT_EQ(upkeep, 0.0f);
        }
    }
}

} // namespace
