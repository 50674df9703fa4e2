// The economy: income from the ring of buildings, the housing cap, unit upkeep, and the frame that moves
// the stocks, recomputes in its tenth of a second, warns once a minute and repairs every stock.
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class Economy : public testing::Test {
  protected:
    void Build(BuildingType type, int count) {
        for (int i = 0; i < count; ++i) {
            world.m_tileMap.PlaceBuilding(m_row++, 0, type);
        }
    }
    std::string LastMail() const {
        return world.m_mailList.m_mails.empty() ? std::string() : world.m_mailList.m_mails.back()->m_text;
    }

    GameData world;
    PlayerEditor realm{nullptr, &world};
    uint32_t m_row = 0;
};

TEST_F(Economy, TheRingHelpsByWholeQuotientsHindersByOppositesWrappedBySixAndPeopleMeetTheirCap) {
    // Ring order: Barracks 4, BioLab 1, Spire 2, Smith 9, TechLab 0, Farm 0, House 3.
    Build(BUILDING_BARRACKS, 4);
    Build(BUILDING_BIOLAB, 1);
    Build(BUILDING_SPIRE, 2);
    Build(BUILDING_SMITH, 9);
    Build(BUILDING_HOUSE, 3);
    realm.m_stock[RESOURCE_NATURE] = 5.0f;
    realm.m_stock[RESOURCE_POPULATION] = 10.0f;
    realm.RecomputeIncome();
    EXPECT_FLOAT_EQ(realm.m_income[RESOURCE_METAL], 22.0f); // (0 + 2) div 9 is 0
    EXPECT_EQ(realm.m_income[RESOURCE_NATURE], 0.0f);       // none, hindered, floored
    // The House shares the Barracks' opposites; a wrap by seven would take Smith and Spire.
    EXPECT_FLOAT_EQ(realm.m_income[RESOURCE_LIGHT], 3.0f + 5.0f * std::sqrt(3.0f) + 1.0f - 3.0f);
    EXPECT_FLOAT_EQ(realm.m_income[RESOURCE_POPULATION], 1.3f); // (3 + 100 / 10) x 0.1
    EXPECT_EQ(realm.m_income[RESOURCE_MONEY], 1000.0f);

    // Hunger turns growth around; at the cap of five a house the people are cut back all the same, and
    // money counts them before the cut.
    realm.m_stock[RESOURCE_NATURE] = 0.0f;
    realm.RecomputeIncome();
    EXPECT_FLOAT_EQ(realm.m_income[RESOURCE_POPULATION], -1.3f);
    realm.m_stock[RESOURCE_POPULATION] = 20.0f;
    realm.RecomputeIncome();
    EXPECT_EQ(realm.m_income[RESOURCE_POPULATION], 0.0f);
    EXPECT_EQ(realm.m_stock[RESOURCE_POPULATION], 15.0f);
    EXPECT_EQ(realm.m_income[RESOURCE_MONEY], 2000.0f);
}

TEST_F(Economy, UnitsPayUpkeepPerSoldierAndSlotInTheirOwnOrderAndAreCostedByTheRule) {
    auto& unit = realm.m_purchasedUnits.emplace_back(std::make_unique<KRUnit>());
    unit->m_soldierCount = 3.0f;
    unit->Slots = 2.0f;
    unit->Range = 2;
    unit->Cost = 0.0f;
    unit->m_upkeep[UPKEEP_NATURE] = 4.0f;
    unit->m_upkeep[UPKEEP_ICE] = 0.5f;
    unit->m_upkeep[UPKEEP_MONEY] = 10.0f;
    unit->m_upkeep[UPKEEP_DARK] = 2.0f;
    realm.m_stock[RESOURCE_POPULATION] = 4.0f;
    realm.RecomputeIncome();
    EXPECT_EQ(unit->Cost, 7.5f);
    EXPECT_EQ(realm.m_upkeep[RESOURCE_MAGIC], 3.0f);
    EXPECT_EQ(realm.m_upkeep[RESOURCE_DARKNESS], 12.0f);
    EXPECT_FLOAT_EQ(realm.m_upkeep[RESOURCE_MONEY], 60.0f);
    EXPECT_EQ(realm.m_upkeep[RESOURCE_NATURE], 1.0f); // the people's food, not the units'
}

TEST_F(Economy, TheFrameRecomputesInTheSecondTenthMovesStocksAtTheirRatesAndRepairsThem) {
    Build(BUILDING_KEEP, 1);
    realm.m_clock = 1.05f;
    realm.UpdateEconomy(0.0f);
    EXPECT_EQ(realm.m_income[RESOURCE_DARKNESS], 0.0f);
    realm.m_clock = 1.15f;
    realm.UpdateEconomy(0.0f);
    EXPECT_EQ(realm.m_income[RESOURCE_DARKNESS], 5.0f);

    realm.m_clock = 2.5f;
    std::fill(std::begin(realm.m_income), std::end(realm.m_income), 10.0f);
    realm.m_upkeep[RESOURCE_EARTH] = 30.0f;
    std::fill(std::begin(realm.m_stock), std::end(realm.m_stock), 1.0f);
    realm.m_stock[RESOURCE_POPULATION] = 0.0f;
    realm.m_stock[RESOURCE_METAL] = std::numeric_limits<float>::quiet_NaN();
    realm.m_stock[RESOURCE_LIGHT] = std::numeric_limits<float>::infinity();
    realm.UpdateEconomy(0.5f);
    EXPECT_FLOAT_EQ(realm.m_stock[RESOURCE_FIRE], 1.5f);
    EXPECT_FLOAT_EQ(realm.m_stock[RESOURCE_PSYCHIC], 1.05f);
    EXPECT_FLOAT_EQ(realm.m_stock[RESOURCE_MONEY], 1.005f);
    EXPECT_FLOAT_EQ(realm.m_stock[RESOURCE_POPULATION], 1.5f); // lifted to 1, then grown
    EXPECT_EQ(realm.m_stock[RESOURCE_METAL], 0.0f);
    EXPECT_EQ(realm.m_stock[RESOURCE_LIGHT], 0.0f);
    realm.UpdateEconomy(0.5f);
    EXPECT_EQ(realm.m_stock[RESOURCE_EARTH], 0.0f);
}

TEST_F(Economy, AFallingStockIsWarnedOfOnceAMinuteAndTheLastInTheWarningOrderIsNamed) {
    realm.m_upkeep[RESOURCE_FIRE] = 1.0f;
    realm.m_upkeep[RESOURCE_MONEY] = 1.0f;
    realm.m_clock = 30.0f;
    realm.UpdateEconomy(0.02f);
    EXPECT_TRUE(world.m_mailList.m_mails.empty());
    realm.m_clock = 60.01f;
    realm.UpdateEconomy(0.02f);
    EXPECT_EQ(LastMail(),
              "Your highness!! Our money income is negative! \n\nPlease build raise the population "
              "count by building Houses!!");
    EXPECT_EQ(world.m_mailList.m_mails.back()->m_kind, MAIL_INFO);
    realm.m_upkeep[RESOURCE_NATURE] = 1.0f; // last in the order, though not among the stocks
    realm.m_clock = 120.01f;
    realm.UpdateEconomy(0.02f);
    EXPECT_EQ(LastMail(),
              "Your highness!! Our nature resource income is negative! \n\nPlease build more Farms!!");
    world.m_mailList.Clear();
    realm.m_tutorial = true;
    realm.m_clock = 180.01f;
    realm.UpdateEconomy(0.02f);
    EXPECT_TRUE(world.m_mailList.m_mails.empty());
}

TEST_F(Economy, TwoHundredHoursOfFramesStillMoveTheClockAndOpenTheGate) {
    const float dt = 1.0f / 144.0f;
    for (long long i = 0; i < 200LL * 3600LL * 144LL; ++i) {
        realm.m_clock += static_cast<double>(dt); // a frame's step; Update itself is too slow here
    }
    Build(BUILDING_KEEP, 1);
    for (int i = 0; i < 144 && realm.m_income[RESOURCE_DARKNESS] == 0.0f; ++i) {
        realm.Update(dt);
    }
    EXPECT_NEAR(realm.m_clock, 720000.0, 2.0);
    EXPECT_EQ(realm.m_income[RESOURCE_DARKNESS], 5.0f);
}

} // namespace
