// The rosters: what technologies and groups cost and refuse, their boxes in the HUD lists, removal and
// the expiry of offers.
#include "kingdom/gamedata.h"
#include "realm_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Purchases : public realmtest::RealmTest {};

TEST_F(Purchases, ATechnologyCostsItsCostOnceAndAnOfferBoughtLeavesTheMerchant) {
    realm->m_techRosterBox = RosterHead();
    realm->m_merchantRosterBox = RosterHead();
    realm->m_purchaseGroupSize = 4.0f;
    realm->CreateMerchantUnit(Type(2.5f).get(), 30.0f); // costs 10
    KRUnit* offer = realm->m_merchantUnits.front().get();
    realm->m_selectedUnit = offer;
    realm->m_stock[RESOURCE_MONEY] = std::nextafter(10.0f, 0.0f);
    realm->BuySelectedFromMerchant();
    EXPECT_TRUE(realm->m_baseUnits.empty());
    realm->m_stock[RESOURCE_MONEY] = 10.0f;
    realm->BuySelectedFromMerchant();
    EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 0.0f);
    ASSERT_EQ(realm->m_baseUnits.size(), 1u);
    EXPECT_EQ(realm->m_baseUnits.front()->m_name, "New Base Unit");
    EXPECT_EQ(realm->m_baseUnits.front()->Size, 4);
    EXPECT_TRUE(realm->m_merchantUnits.empty());
    EXPECT_EQ(realm->m_selectedUnit, nullptr);
    EXPECT_EQ(Chain(realm->m_merchantRosterBox).size(), 2u); // only the arrows are left
}

TEST_F(Purchases, AGroupCostsCostAndUpkeepTimesItsSizeOrNothingAtAll) {
    realm->m_armyRosterBox = RosterHead();
    auto type = Type(2.5f);                 // costs 10
    type->m_upkeep[UPKEEP_ICE] = 1.0f;      // charged to Magic
    type->m_upkeep[UPKEEP_POP] = 0.25f;     // to Population
    type->m_upkeep[UPKEEP_MONEY] = 1000.0f; // never tested
    realm->m_purchaseGroupSize = 3.0f;
    const float exact[] = {30.0f, 3.0f, 0.75f};
    const Resource charged[] = {RESOURCE_MONEY, RESOURCE_MAGIC, RESOURCE_POPULATION};
    // One short of any charge refuses the whole purchase; exactly enough leaves nothing.
    for (const int shortOf : {0, 1, 2, -1}) {
        for (int i = 0; i < 3; ++i) {
            realm->m_stock[charged[i]] = i == shortOf ? std::nextafter(exact[i], 0.0f) : exact[i];
        }
        realm->CreatePurchasedUnit(type.get());
        EXPECT_EQ(realm->m_purchasedUnits.size(), shortOf < 0 ? 1u : 0u) << shortOf;
    }
    for (const Resource r : charged) {
        EXPECT_EQ(realm->m_stock[r], 0.0f) << r;
    }
    const KRUnit& group = *realm->m_purchasedUnits.front();
    EXPECT_EQ(group.m_name, "New Purchased Unit");
    EXPECT_EQ(group.m_soldiers.size(), 3u);
    // The money upkeep is the cost of one soldier, whatever the group size.
    EXPECT_EQ(group.m_upkeep[UPKEEP_MONEY], 10.0f);
    EXPECT_EQ(Chain(realm->m_armyRosterBox)[1]->m_numberSource, &group.m_soldierCount);

    // A group size from outside 1 to 9 is put back inside before anything is charged.
    for (const float size : {0.0f, NAN, 50.0f}) {
        realm->m_purchaseGroupSize = size;
        realm->m_stock[RESOURCE_MONEY] = 1000.0f;
        realm->CreatePurchasedUnit(Type(2.5f).get());
        const float expected = size == 50.0f ? 9.0f : 1.0f;
        EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 1000.0f - 10.0f * expected) << size;
        EXPECT_EQ(realm->m_purchasedUnits.back()->m_upkeep[UPKEEP_MONEY], 10.0f) << size;
    }
}

TEST_F(Purchases, ARefusedRecruitmentSendsAnAlertLetterNamingTheShortStock) {
    realm->m_armyRosterBox = RosterHead();
    realm->m_baseUnits.push_back(Type(2.5f));
    KRUnit* technology = realm->m_baseUnits.back().get();
    technology->m_name = "New Base Unit";
    technology->m_upkeep[UPKEEP_ICE] = 0.05f; // shown as 0 on the page; there is no Ice
    realm->m_selectedUnit = technology;
    realm->m_stock[RESOURCE_MONEY] = 100.0f;
    realm->RecruitSelectedUnit();
    EXPECT_TRUE(realm->m_purchasedUnits.empty());
    ASSERT_EQ(gameData.m_mailList.m_mails.size(), 1u);
    EXPECT_EQ(gameData.m_mailList.m_mails.back()->m_text, "You Don't Have Enough Ice");
    EXPECT_EQ(gameData.m_mailList.m_mails.back()->m_kind, MAIL_ALERT);
}

TEST_F(Purchases, EntriesChainBeforeTheEndArrowFoldPastEightAndCloseUpWhenRemoved) {
    BoxObject* army = RosterHead();
    realm->m_armyRosterBox = army;
    realm->m_stock[RESOURCE_MONEY] = 1000.0f;
    for (int i = 0; i < 9; ++i) {
        realm->CreatePurchasedUnit(Type(1.0f).get());
    }
    const std::vector<BoxObject*> chain = Chain(army);
    ASSERT_EQ(chain.size(), 11u);
    EXPECT_EQ(chain.back()->m_actionId, kBoxActionScrollForward);
    EXPECT_EQ(chain.back()->m_anchor, chain[9]);
    EXPECT_EQ(army->m_members, chain);
    for (int i = 1; i <= 8; ++i) {
        // One step further along from the "<<" arrow each, shown.
        EXPECT_FLOAT_EQ(chain[i]->m_layoutPosition.x, -4.5f + static_cast<float>(i)) << i;
        EXPECT_TRUE(chain[i]->m_sprite.m_visible && !chain[i]->m_folded) << i;
        EXPECT_EQ(chain[i]->m_actionId, kBoxActionRosterUnit) << i;
    }
    EXPECT_TRUE(chain[9]->m_folded);
    EXPECT_FALSE(chain[9]->m_sprite.m_visible);

    realm->m_hoveredBox = chain[2];
    realm->RemovePurchasedUnit(chain[2]->m_linkedUnit);
    EXPECT_EQ(realm->m_hoveredBox, nullptr);
    EXPECT_EQ(chain[1]->m_next, chain[3]);
    EXPECT_EQ(chain[3]->m_anchor, chain[1]);
    EXPECT_EQ(army->m_members.size(), 10u);
    for (size_t i = 3; i < chain.size(); ++i) {
        EXPECT_EQ(chain[i]->m_commands.back().m_kind, BoxCommandKind::SlideLeft) << i;
    }
    // The group kept out of sight comes into view.
    EXPECT_FALSE(chain[9]->m_folded);
    EXPECT_TRUE(chain[9]->m_sprite.m_visible);
}

TEST_F(Purchases, AnOfferGoesWhenItsBoxRunsOutOfTime) {
    realm->m_merchantRosterBox = RosterHead();
    realm->m_merchantCountdown = 1e9f; // no merchant of its own
    realm->CreateMerchantUnit(Type(1.0f).get(), 2.0f);
    realm->CreateMerchantUnit(Type(1.0f).get(), 5.0f);
    const std::vector<BoxObject*> chain = Chain(realm->m_merchantRosterBox);
    EXPECT_EQ(chain[1]->m_actionId, kBoxActionMerchantOffer);
    KRUnit* lasting = chain[2]->m_linkedUnit;
    Step(0.5f, 3);
    EXPECT_FLOAT_EQ(*chain[1]->m_numberSource, 0.5f);
    Frame(0.0f);
    EXPECT_EQ(realm->m_merchantUnits.size(), 2u);
    Step(0.5f, 2);
    Frame(0.0f);
    ASSERT_EQ(realm->m_merchantUnits.size(), 1u);
    EXPECT_EQ(realm->m_merchantUnits.front().get(), lasting);
}

TEST_F(Purchases, OffersComingAndGoingKeepTheirOwnSlotsAndTheArrowItsPlace) {
    realm->m_merchantRosterBox = RosterHead();
    realm->m_merchantCountdown = 1e9f;
    BoxObject* arrow = Chain(realm->m_merchantRosterBox).back();
    ASSERT_TRUE(Settle(0.02f));
    const float arrowX = arrow->m_layoutPosition.x;
    // Two run out a few frames apart, so the second goes while the boxes behind it still slide.
    for (const float lifetime : {1.0f, 1.06f, 9.0f, 9.0f}) {
        realm->CreateMerchantUnit(Type(1.0f).get(), lifetime);
    }
    ASSERT_TRUE(Settle(0.02f));
    for (int frame = 0; frame < 60; ++frame) {
        Step(0.02f);
        Frame(0.0f);
        if (frame == 56) { // a new offer arrives while the others slide
            realm->CreateMerchantUnit(Type(1.0f).get(), 9.0f);
        }
    }
    ASSERT_TRUE(Settle(0.02f));
    ASSERT_EQ(realm->m_merchantUnits.size(), 3u);
    const std::vector<BoxObject*> chain = Chain(realm->m_merchantRosterBox);
    ASSERT_EQ(chain.size(), 5u);
    EXPECT_FLOAT_EQ(arrow->m_layoutPosition.x, arrowX);
    // Side by side from the first slot, one width apart.
    for (size_t i = 2; i + 1 < chain.size(); ++i) {
        EXPECT_NEAR(chain[i]->m_layoutPosition.x - chain[i - 1]->m_layoutPosition.x, chain[i]->m_baseWidth,
                    1e-4f)
            << i;
    }
}

} // namespace
