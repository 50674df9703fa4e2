// The army data file: a realm written and read back equal, the file's exact text, older files, and
// damaged ones refused (or clamped) with the realm left as it was.
#include "captured_log.h"
#include "kingdom/gamedata.h"
#include "realm/armyconfig.h"
#include "realm/playereditor.h"
#include "save_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>

namespace {

using savetest::DataFile;
using savetest::ReadText;
using savetest::Scratch;

std::unique_ptr<KRUnit> MakeUnit(Race race, float hp, int32_t size) {
    auto unit = std::make_unique<KRUnit>(RaceToName(race));
    unit->m_race = race;
    unit->HP = hp;
    unit->MoveSpd = 0.5f;
    unit->Range = 3;
    unit->m_upkeep[UPKEEP_ICE] = 0.05f;
    unit->m_upkeep[UPKEEP_DARK] = 0.35f;
    unit->Size = size;
    unit->m_soldiers.resize(static_cast<size_t>(size), KRMiniUnit(unit.get(), kElementalUnitFile));
    unit->m_soldierCount = static_cast<float>(size);
    return unit;
}

class ArmyFile : public testing::Test {
  protected:
    void SetUp() override { realm = std::make_unique<PlayerEditor>(nullptr, &world); }
    void TearDown() override {
        world.m_playerUnits.clear();
        realm.reset();
    }

    GameData world;
    std::unique_ptr<PlayerEditor> realm;
    Scratch scratch;
};

TEST_F(ArmyFile, ARealmWrittenAndReadBackIsTheSame) {
    const float stocks[RESOURCE_COUNT] = {4.5f, 0.2f, 1, 2, 3, 4, 5.25f, 6, 1234.75f, 17};
    std::copy(std::begin(stocks), std::end(stocks), std::begin(realm->m_stock));
    realm->m_clock = 345.125f;
    realm->m_land = 2.0f;
    realm->m_level = 3;
    realm->m_strengthFactor = 1.7f;
    realm->m_invasionBudget = 310.5f;
    realm->m_masteryPoints = 3;
    realm->m_masteryLevel[MASTERY_FATALITY] = 2.0f;
    realm->m_masteryMod[MASTERY_FATALITY] = 21.33f;
    realm->m_masteryNextMod[MASTERY_FATALITY] = 22.5f;
    realm->m_baseUnits.push_back(MakeUnit(RACE_GOLEM, 7.5f, 1));
    realm->m_baseUnits.push_back(MakeUnit(RACE_UNKNOWN, 2.0f, 1));
    realm->m_purchasedUnits.push_back(MakeUnit(RACE_ANGEL, 3.0f, 4));
    realm->m_purchasedUnits.back()->m_pos = {3.0f, 0.0f, 4.0f};
    realm->m_purchasedUnits.push_back(MakeUnit(RACE_DEMON, 3.0f, 0));
    realm->m_purchasedUnits.back()->m_pos = {0.0f, 0.0f, 5.0f};
    const std::string file = scratch.Folder() + "armydata.xml";
    const auto lines = logtest::Captured([&] { EXPECT_TRUE(realm->SaveArmyData("ArmyData", file)); });
    EXPECT_EQ(lines, (std::vector<std::string>{"Saving ArmyData...", "Completed Saving ArmyData..."}));

    const std::string text = ReadText(file);
    EXPECT_TRUE(std::regex_search(text, std::regex("<ArmyData type=\"ArmyData[0-9]+\">\n    <Resource>\n"
                                                   "        <Difficulty>0.000000</Difficulty>\n"
                                                   "        <Fire>4.500000</Fire>\n"
                                                   "        <Earth>0.200000</Earth>\n")))
        << text;
    EXPECT_TRUE(std::regex_search(text, std::regex("<DateStamp>[1-9][0-9]?/[1-9][0-9]?/[0-9]{4}</DateStamp>\n"
                                                   "        <TimeStamp>[0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}<")));
    EXPECT_NE(text.find("<Current>\n            <Points>3</Points>\n            <BioMastery>0.000000<"),
              std::string::npos);
    EXPECT_NE(text.find("<Fatality>21.330000</Fatality>"), std::string::npos);
    EXPECT_NE(text.find("<UnknownRace>\n            <HP>2.000000</HP>"), std::string::npos);
    EXPECT_NE(text.find("<Angel>\n            <Size>4</Size>\n            <Visible>1</Visible>\n"
                        "            <MapX>3.000000</MapX>"),
              std::string::npos);
    EXPECT_NE(text.find("<MoveSpd>0.500000</MoveSpd>\n            <Range>3</Range>"), std::string::npos);

    PlayerEditor loaded(nullptr, &world);
    ASSERT_TRUE(loaded.ApplyArmyData(file));
    for (int i = 0; i < RESOURCE_COUNT; ++i) {
        EXPECT_EQ(loaded.m_stock[i], stocks[i]) << i;
    }
    EXPECT_EQ(loaded.m_clock, 345.125f);
    EXPECT_EQ(loaded.m_land, 2.0f);
    EXPECT_EQ(loaded.m_level, 3);
    EXPECT_EQ(loaded.m_strengthFactor, 1.7f);
    EXPECT_EQ(loaded.m_invasionBudget, 310.5f);
    EXPECT_EQ(loaded.m_masteryPoints, 3);
    EXPECT_EQ(loaded.m_masteryMod[MASTERY_FATALITY], 21.33f);
    EXPECT_EQ(loaded.m_masteryNextMod[MASTERY_FATALITY], 22.5f);
    ASSERT_EQ(loaded.m_baseUnits.size(), 2u);
    EXPECT_EQ(loaded.m_baseUnits.front()->m_race, RACE_GOLEM);
    EXPECT_EQ(loaded.m_baseUnits.front()->HP, 7.5f);
    EXPECT_EQ(loaded.m_baseUnits.front()->MoveSpd, 0.5f);
    EXPECT_EQ(loaded.m_baseUnits.front()->m_upkeep[UPKEEP_ICE], 0.05f);
    EXPECT_EQ(loaded.m_baseUnits.back()->m_race, RACE_UNKNOWN);
    ASSERT_EQ(loaded.m_purchasedUnits.size(), 2u);
    const KRUnit& placed = *loaded.m_purchasedUnits.front();
    EXPECT_EQ(placed.m_soldiers.size(), 4u);
    EXPECT_EQ(placed.m_name, "New Purchased Unit");
    EXPECT_EQ(placed.m_homePos.x, 3.0f);
    EXPECT_EQ(placed.m_lifeState, UNIT_ACTIVE);
    EXPECT_EQ(placed.m_boundingBox.m_position.z, -4.0f);
    // Column 0 keeps it off the map; no soldiers, yet a group size a purchase can divide by.
    EXPECT_EQ(world.m_playerUnits, std::list<KRUnit*>{loaded.m_purchasedUnits.front().get()});
    EXPECT_TRUE(loaded.m_purchasedUnits.back()->m_soldiers.empty());
    EXPECT_EQ(loaded.m_purchaseGroupSize, 1.0f);
}

TEST_F(ArmyFile, OlderWholeNumberFilesAndClampedSquadsLoad) {
    realm->m_land = 6.0f;
    realm->m_level = 4;
    realm->m_strengthFactor = 2.0f;
    realm->m_invasionBudget = 90.0f;
    ASSERT_TRUE(realm->ApplyArmyData(DataFile("army_clamped.xml")));
    EXPECT_EQ(realm->m_stock[RESOURCE_FIRE], 5.0f);
    EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 300.0f);
    EXPECT_EQ(realm->m_clock, 12.5f);
    // Kept before land, level and the waves' strength were: a new game's.
    EXPECT_EQ(realm->m_land, 1.0f);
    EXPECT_EQ(realm->m_level, 0);
    EXPECT_EQ(realm->m_strengthFactor, 1.0f);
    EXPECT_EQ(realm->m_invasionBudget, 25.0f);
    ASSERT_EQ(realm->m_purchasedUnits.size(), 2u);
    const KRUnit& big = *realm->m_purchasedUnits.front();
    EXPECT_EQ(big.m_soldiers.size(), 9u);
    EXPECT_EQ(big.Range, 2147483647);
    const KRUnit& unknown = *realm->m_purchasedUnits.back();
    EXPECT_EQ(unknown.m_race, RACE_UNKNOWN);
    EXPECT_TRUE(unknown.m_soldiers.empty());
    EXPECT_EQ(realm->m_purchaseGroupSize, 1.0f);
    EXPECT_EQ(world.m_playerUnits.size(), 1u);
}

TEST_F(ArmyFile, WithoutAResourceSectionTheStocksAreZero) {
    realm->m_stock[RESOURCE_MONEY] = 77.0f;
    realm->m_clock = 9.0f;
    ASSERT_TRUE(realm->ApplyArmyData(DataFile("army_no_resource.xml")));
    EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 0.0f);
    EXPECT_EQ(realm->m_clock, 0.0f);
    EXPECT_EQ(realm->m_masteryPoints, 4);
}

// Numbers no game reaches are brought within reach, and the file's other values are kept.
TEST_F(ArmyFile, NumbersNoGameReachesAreClampedToWhatOneCan) {
    const auto load = [&](const std::string& clock, const std::string& rest) {
        const std::string file = scratch.Folder() + clock + ".xml";
        savetest::WriteText(
            file, "<?xml version=\"1.0\" ?>\n<ArmyData type=\"ArmyData1\"><Resource><Money>40</Money>"
                  "<GameTime>" +
                      clock + "</GameTime>" + rest + "</Resource></ArmyData>\n");
        EXPECT_TRUE(realm->ApplyArmyData(file));
    };
    load("1e20", "<Land>1e38</Land><Level>99999999999</Level><StrengthFactor>1e30</StrengthFactor>"
                 "<InvasionBudget>1e30</InvasionBudget>");
    EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 40.0f);
    EXPECT_LE(realm->m_clock, 1.0e9);
    EXPECT_LE(realm->m_land, 1.0e6f);
    // A won war adds one more.
    EXPECT_LT(realm->m_level, 2000000000);
    EXPECT_LE(realm->m_strengthFactor, 1.0e5f);
    EXPECT_LT(realm->m_invasionBudget, 1.0e15f);
    // At the first strength, no wave has added to the budget yet.
    load("-1e12", "<Land>-3</Land><Level>-2</Level><StrengthFactor>-4</StrengthFactor>"
                  "<InvasionBudget>1e9</InvasionBudget>");
    EXPECT_EQ(realm->m_clock, 0.0);
    EXPECT_EQ(realm->m_land, 0.0f);
    EXPECT_EQ(realm->m_level, 0);
    EXPECT_EQ(realm->m_strengthFactor, 1.0f);
    EXPECT_LE(realm->m_invasionBudget, 100.0f);
}

class DamagedArmyFile : public ArmyFile, public testing::WithParamInterface<const char*> {};

TEST_P(DamagedArmyFile, IsRefusedAndTheRealmStaysAsItWas) {
    realm->m_stock[RESOURCE_MONEY] = 77.0f;
    realm->m_masteryPoints = 6;
    const std::string file = DataFile(GetParam());
    const auto lines = logtest::Captured([&] { EXPECT_FALSE(realm->ApplyArmyData(file)); });
    EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 77.0f);
    EXPECT_EQ(realm->m_masteryPoints, 6);
    EXPECT_TRUE(realm->m_baseUnits.empty());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("Fail to load ArmyData from " + file, 0), 0u) << lines.back();
}

INSTANTIATE_TEST_SUITE_P(SaveFiles, DamagedArmyFile,
                         testing::Values("army_nan_stock.xml", "army_infinite_mastery.xml",
                                         "army_wrong_root.xml", "army_infinite_unit_stat.xml",
                                         "missing.xml"));

TEST_F(ArmyFile, ARosterPastTheLimitIsRefusedBeforeAnyUnitIsBuilt) {
    std::string text = "<?xml version=\"1.0\" ?>\n<ArmyData type=\"ArmyDataMany\"><Resource/><Tech>";
    for (size_t i = 0; i <= kMaxArmyRecords; ++i) {
        text += "<Golem/>";
    }
    savetest::WriteText(scratch.Folder() + "many.xml", text + "</Tech></ArmyData>\n");
    logtest::Captured([&] { EXPECT_FALSE(realm->ApplyArmyData(scratch.Folder() + "many.xml")); });
    EXPECT_TRUE(realm->m_baseUnits.empty());
}

TEST_F(ArmyFile, AFailedWriteIsReportedAndWhatStoodThereStays) {
    // A folder in the file's place cannot be replaced, whoever runs the test.
    const std::string file = scratch.Folder() + "armydata.xml";
    std::filesystem::create_directory(file);
    savetest::WriteText(file + "/keep", "old");
    const auto lines = logtest::Captured([&] { EXPECT_FALSE(realm->SaveArmyData("ArmyData", file)); });
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Failed to save ArmyData to " + file);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Completed Saving ArmyData..."), 0);
    EXPECT_EQ(ReadText(file + "/keep"), "old");
}

} // namespace
