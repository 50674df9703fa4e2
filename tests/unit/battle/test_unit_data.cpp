// Units read from the blueprint file, good and broken, and the default records a world starts with.
#include "battle/unit_support.h"
#include "battle/unitblueprint.h"
#include "kingdom/gamedata.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using spritetest::CapturedLog;
using spritetest::HasLineStarting;
using unittest::UnitTest;

class Blueprint : public UnitTest {
  protected:
    void WriteBlueprints(const std::string& body, const std::string& root = "<BluePrint type=\"Test\">") {
        assets.Write("BaseUnitBluePrint.xml", "<?xml version=\"1.0\" ?>\n" + root + body + "</BluePrint>\n");
    }
};

TEST_F(Blueprint, EachStatisticIsReadFromItsElementAndTheCopyIsShownAtItsPlace) {
    WriteBlueprints("<Golem><Slots>2</Slots><HP>40</HP><STR>6</STR><VIT>4</VIT><DEF>8</DEF>"
                    "<MoveSpd>0.5</MoveSpd><Range>3.9</Range><Accuracy>2</Accuracy><Cost>999</Cost>"
                    "<AttkSpd>2.5</AttkSpd><Evade>1</Evade><Energy>7</Energy><Force>1</Force><Other>5</Other>"
                    "</Golem><Taipen><STR>nan</STR><HP>1e999</HP><Range>1</Range></Taipen>"
                    "<Angel HP=\"9\" Range=\"2\"/>"
                    "<Demon><Range>1</Range><STR>1</STR></Demon><Demon><Range>1</Range><STR>2</STR></Demon>");
    CapturedLog log;
    std::unique_ptr<KRUnit> golem = CreateUnitFromBlueprint("Golem");
    ASSERT_NE(golem, nullptr);
    EXPECT_EQ(golem->m_typeName, "Golem");
    EXPECT_EQ(golem->HP, 40.0f);
    EXPECT_EQ(golem->VIT, 4.0f);
    EXPECT_EQ(golem->Range, 3); // as atoi reads it
    EXPECT_EQ(golem->Energy, 7.0f);
    EXPECT_EQ(golem->Slots, 2.0f);
    // The file's price gives way to the rule: (2.5 + 0.5 + 6 + 4 + 8 + 2 + 1 + 1) x 3 x 0.5.
    EXPECT_EQ(golem->Cost, 37.5f);
    // What the file does not say is the name constructor's.
    EXPECT_EQ(golem->m_race, RACE_ANGEL);
    EXPECT_EQ(golem->m_battleHP, 10.0f);
    EXPECT_TRUE(golem->m_sprite.m_visible);
    EXPECT_EQ(golem->m_sprite.m_currentFrame, 0u);
    EXPECT_EQ(golem->m_boundingBox.m_position, (plat::Vector3{0.0f, 1.0f, 0.0f}));

    // Numbers that are no numbers, and statistics written as attributes, are 0; so is a missing Range,
    // which makes the unit free.
    std::unique_ptr<KRUnit> taipen = CreateUnitFromBlueprint("Taipen");
    ASSERT_NE(taipen, nullptr);
    EXPECT_EQ(taipen->STR, 0.0f);
    EXPECT_EQ(taipen->HP, 0.0f);
    std::unique_ptr<KRUnit> angel = CreateUnitFromBlueprint("Angel");
    ASSERT_NE(angel, nullptr);
    EXPECT_EQ(angel->HP, 0.0f);
    EXPECT_EQ(angel->Range, 0);
    EXPECT_EQ(angel->Cost, 0.0f);
    // The last of two blueprints of one type.
    EXPECT_EQ(CreateUnitFromBlueprint("Demon")->STR, 2.0f);
    // Types match exactly.
    EXPECT_EQ(CreateUnitFromBlueprint("Elven Warrior"), nullptr);
    EXPECT_EQ(CreateUnitFromBlueprint("golem"), nullptr);
    EXPECT_FALSE(HasLineStarting(log.Lines(), "Fail to load BluePrint from XML"));
}

TEST_F(Blueprint, AMissingFileGivesNullQuietlyAndAnUntypedOneSaysItFailed) {
    CapturedLog missing;
    EXPECT_EQ(CreateUnitFromBlueprint("Golem"), nullptr);
    EXPECT_FALSE(HasLineStarting(missing.Lines(), "Fail to load BluePrint from XML"));

    WriteBlueprints("<Golem><Range>1</Range></Golem>", "<BluePrint>");
    CapturedLog untyped;
    EXPECT_EQ(CreateUnitFromBlueprint("Golem"), nullptr);
    EXPECT_TRUE(HasLineStarting(untyped.Lines(), "Fail to load BluePrint from XML"));
}

TEST_F(UnitTest, AWorldStartsWithTheGuardianAndTheMageAndANewGameRestoresThem) {
    GameData world;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(world.m_unitRecords.size(), 2u);
        const KRUnit& guardian = world.m_unitRecords[0];
        const KRUnit& mage = world.m_unitRecords[1];
        EXPECT_EQ(guardian.m_name, "Primal Guardian");
        EXPECT_EQ(guardian.m_typeName, "Primal Guardian");
        EXPECT_EQ(mage.m_typeName, "Primal Mage");
        EXPECT_EQ(guardian.m_race, RACE_GOLEM);
        EXPECT_EQ(mage.m_race, RACE_DEMON);
        EXPECT_EQ(guardian.m_homePos, (plat::Vector3{11.0f, 0.0f, 13.0f}));
        EXPECT_EQ(mage.m_homePos, (plat::Vector3{11.0f, 0.0f, 12.0f}));
        EXPECT_EQ(guardian.m_sprite.m_xmlName, "../Assets/Units/golem_unit.xml");
        EXPECT_EQ(mage.m_sprite.m_xmlName, "../Assets/Units/demon_unit.xml");
        EXPECT_EQ(guardian.Cost, 10.75f);
        EXPECT_EQ(mage.Cost, 96.25f);
        EXPECT_EQ(guardian.m_damage, 10.0f);
        EXPECT_EQ(mage.Range, 7);
        EXPECT_EQ(mage.m_soldierCount, 5.0f);
        for (const KRUnit* record : {&guardian, &mage}) {
            EXPECT_TRUE(record->m_sprite.m_visible);
            EXPECT_TRUE(record->m_channelGroup.Handle().IsNull());
            ASSERT_EQ(static_cast<int32_t>(record->m_soldiers.size()), record->Size);
            for (const KRMiniUnit& soldier : record->m_soldiers) {
                EXPECT_EQ(soldier.HP, record->m_battleHP);
                EXPECT_EQ(soldier.m_owner, record);
                EXPECT_EQ(soldier.m_race, record->m_race);
            }
        }
        EXPECT_EQ(guardian.Size, 7);
        EXPECT_EQ(guardian.m_battleHP, 50.0f);
        EXPECT_EQ(mage.Size, 5);
        EXPECT_EQ(mage.m_battleHP, 10.0f);

        world.m_unitRecords[0].STR = 99.0f;
        world.m_unitRecords.pop_back();
        world.ResetForNewGame();
    }
}

} // namespace
