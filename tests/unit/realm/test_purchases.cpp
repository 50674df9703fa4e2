// The rosters: what technologies, offers and groups cost and refuse, the entry boxes chained into the
// HUD lists, their removal and the expiry of offers, and the box actions that buy.
#include "realm_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using realmtest::RealmTest;

class Purchases : public RealmTest {};

TEST_F(Purchases, ATechnologyCostsItsCostOnceAndAnOfferBoughtLeavesTheMerchant) {
    realm->m_techRosterBox = RosterHead();
    realm->m_merchantRosterBox = RosterHead();
    auto type = Type(2.5f); // costs 10
    realm->m_purchaseGroupSize = 4.0f;
    realm->CreateMerchantUnit(type.get(), 30.0f);
    ASSERT_EQ(realm->m_merchantUnits.size(), 1u);
    KRUnit* offer = realm->m_merchantUnits.front().get();
    EXPECT_EQ(offer->m_name, "New Merchant Unit");
    EXPECT_EQ(offer->Size, 4);

    realm->m_stock[RESOURCE_MONEY] = 9.99f;
    realm->m_selectedUnit = offer;
    realm->BuySelectedFromMerchant();
    EXPECT_TRUE(realm->m_baseUnits.empty());
    EXPECT_EQ(realm->m_merchantUnits.size(), 1u);
    EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 9.99f);

    realm->m_stock[RESOURCE_MONEY] = 10.0f;
    realm->BuySelectedFromMerchant();
    EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 0.0f);
    ASSERT_EQ(realm->m_baseUnits.size(), 1u);
    const KRUnit& tech = *realm->m_baseUnits.front();
    EXPECT_EQ(tech.m_name, "New Base Unit");
    EXPECT_FALSE(tech.m_sprite.m_visible);
    EXPECT_EQ(tech.Size, 4);
    EXPECT_TRUE(realm->m_merchantUnits.empty());
    EXPECT_EQ(realm->m_selectedUnit, nullptr);
    EXPECT_EQ(Chain(realm->m_merchantRosterBox).size(), 2u); // only the arrows are left

    // A type that is not on offer leaves the merchant's roster as it was.
    realm->CreateMerchantUnit(type.get(), 30.0f);
    realm->m_stock[RESOURCE_MONEY] = 100.0f;
    realm->CreateBaseUnit(type.get());
    EXPECT_EQ(realm->m_baseUnits.size(), 2u);
    EXPECT_EQ(realm->m_merchantUnits.size(), 1u);
    EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 90.0f);
    // Only an offer is bought from the merchant, only a technology recruited.
    realm->m_selectedUnit = realm->m_baseUnits.front().get();
    realm->BuySelectedFromMerchant();
    EXPECT_EQ(realm->m_baseUnits.size(), 2u);
    realm->m_selectedUnit = realm->m_merchantUnits.front().get();
    realm->RecruitSelectedUnit();
    EXPECT_TRUE(realm->m_purchasedUnits.empty());
}

TEST_F(Purchases, AGroupCostsCostAndUpkeepTimesItsSizeOrNothingAtAll) {
    realm->m_armyRosterBox = RosterHead();
    auto type = Type(2.5f); // costs 10
    type->m_upkeep[UPKEEP_FIRE] = 0.5f;
    type->m_upkeep[UPKEEP_ICE] = 1.0f;  // charged to Magic
    type->m_upkeep[UPKEEP_DARK] = 2.0f; // charged to Darkness
    type->m_upkeep[UPKEEP_POP] = 0.25f;
    type->m_upkeep[UPKEEP_MONEY] = 1000.0f; // never tested
    realm->m_purchaseGroupSize = 3.0f;
    auto stock = [&](float money, float fire, float magic, float dark, float pop) {
        std::fill(std::begin(realm->m_stock), std::end(realm->m_stock), 0.0f);
        realm->m_stock[RESOURCE_MONEY] = money;
        realm->m_stock[RESOURCE_FIRE] = fire;
        realm->m_stock[RESOURCE_MAGIC] = magic;
        realm->m_stock[RESOURCE_DARKNESS] = dark;
        realm->m_stock[RESOURCE_POPULATION] = pop;
    };
    // One short of any single charge refuses the whole purchase.
    const float exact[] = {30.0f, 1.5f, 3.0f, 6.0f, 0.75f};
    for (int shortOf = 0; shortOf < 5; ++shortOf) {
        float given[5];
        std::copy(std::begin(exact), std::end(exact), given);
        given[shortOf] = std::nextafter(given[shortOf], 0.0f);
        stock(given[0], given[1], given[2], given[3], given[4]);
        realm->CreatePurchasedUnit(type.get());
        EXPECT_TRUE(realm->m_purchasedUnits.empty()) << shortOf;
        EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], given[0]) << shortOf;
    }
    stock(exact[0], exact[1], exact[2], exact[3], exact[4]);
    realm->CreatePurchasedUnit(type.get());
    ASSERT_EQ(realm->m_purchasedUnits.size(), 1u);
    for (int r = 0; r < RESOURCE_COUNT; ++r) {
        EXPECT_EQ(realm->m_stock[r], 0.0f) << r;
    }
    const KRUnit& group = *realm->m_purchasedUnits.front();
    EXPECT_EQ(group.m_name, "New Purchased Unit");
    EXPECT_EQ(group.Size, 3);
    EXPECT_EQ(group.m_soldierCount, 3.0f);
    EXPECT_EQ(group.m_soldiers.size(), 3u);
    // The money upkeep is the cost of one soldier.
    EXPECT_EQ(group.m_upkeep[UPKEEP_MONEY], 10.0f);
    EXPECT_EQ(Chain(realm->m_armyRosterBox)[1]->m_numberSource, &group.m_soldierCount);

    // A group size from outside 1 to 9 is put back inside before it is charged.
    for (float size : {0.0f, -4.0f, NAN}) {
        realm->m_purchaseGroupSize = size;
        stock(10.0f, 0.5f, 1.0f, 2.0f, 0.25f);
        realm->CreatePurchasedUnit(type.get());
        EXPECT_EQ(realm->m_purchaseGroupSize, 1.0f);
        EXPECT_EQ(realm->m_purchasedUnits.back()->m_upkeep[UPKEEP_MONEY], 10.0f);
        EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 0.0f);
    }
    realm->m_purchaseGroupSize = 1e9f;
    stock(1e6f, 1e6f, 1e6f, 1e6f, 1e6f);
    realm->CreatePurchasedUnit(type.get());
    EXPECT_EQ(realm->m_purchasedUnits.back()->Size, 9);
    EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 1e6f - 90.0f);

    // Recruiting takes the selected technology.
    realm->m_purchaseGroupSize = 1.0f;
    realm->m_baseUnits.push_back(Type(2.5f));
    realm->m_baseUnits.back()->m_name = "New Base Unit";
    realm->m_selectedUnit = realm->m_baseUnits.back().get();
    const size_t before = realm->m_purchasedUnits.size();
    realm->RecruitSelectedUnit();
    EXPECT_EQ(realm->m_purchasedUnits.size(), before + 1);
}

TEST_F(Purchases, ASavedGroupComesBackUnchargedWithItsBox) {
    realm->m_armyRosterBox = RosterHead();
    std::fill(std::begin(realm->m_stock), std::end(realm->m_stock), 0.0f);
    auto saved = Type(100.0f);
    saved->m_upkeep[UPKEEP_FIRE] = 5.0f;
    KRUnit* group = saved.get();
    realm->RestorePurchasedUnit(std::move(saved));
    ASSERT_EQ(realm->m_purchasedUnits.size(), 1u);
    EXPECT_EQ(realm->m_stock[RESOURCE_MONEY], 0.0f);
    const BoxObject* box = Chain(realm->m_armyRosterBox)[1];
    EXPECT_EQ(box->m_linkedUnit, group);
    EXPECT_EQ(box->m_numberSource, &group->m_soldierCount);
}

TEST_F(Purchases, TheGroupSizeActionsStayWithinOneToNine) {
    for (int i = 0; i < 8; ++i) {
        realm->IncreasePurchaseGroupSize();
    }
    EXPECT_EQ(realm->m_purchaseGroupSize, 9.0f);
    realm->IncreasePurchaseGroupSize();
    EXPECT_EQ(realm->m_purchaseGroupSize, 9.0f);
    realm->m_purchaseGroupSize = 1.5f;
    realm->DecreasePurchaseGroupSize();
    EXPECT_EQ(realm->m_purchaseGroupSize, 1.0f);
    realm->DecreasePurchaseGroupSize();
    EXPECT_EQ(realm->m_purchaseGroupSize, 1.0f);
}

TEST_F(Purchases, EntriesChainBeforeTheEndArrowAndFoldAwayPastEight) {
    BoxObject* head = RosterHead();
    realm->m_techRosterBox = head;
    realm->m_stock[RESOURCE_MONEY] = 1000.0f;
    auto type = Type(1.0f, 1, "Golem");
    const std::vector<BoxObject*> arrows = Chain(head);
    ASSERT_EQ(arrows.size(), 2u);
    for (int i = 0; i < 9; ++i) {
        realm->CreateBaseUnit(type.get());
    }
    const std::vector<BoxObject*> chain = Chain(head);
    ASSERT_EQ(chain.size(), 11u);
    EXPECT_EQ(chain.front(), arrows[0]);
    EXPECT_EQ(chain.back(), arrows[1]);
    EXPECT_EQ(chain.back()->m_anchor, chain[9]);
    EXPECT_EQ(head->m_members, chain);
    auto unit = realm->m_baseUnits.begin();
    for (int i = 1; i <= 9; ++i, ++unit) {
        const BoxObject* entry = chain[i];
        EXPECT_EQ(entry->m_linkedUnit, unit->get()) << i;
        EXPECT_EQ(entry->m_actionId, 104) << i;
        EXPECT_EQ(entry->m_panel, ROSTER_TECH_OR_OFFER) << i;
        EXPECT_EQ(entry->m_label.m_text, "New Base Unit") << i;
        EXPECT_EQ(entry->m_ownTexture, KRUnit::SpriteFileOfType("Golem")) << i;
        EXPECT_TRUE(entry->m_screenFlags.m_unitEditor && !entry->m_screenFlags.m_kingdom) << i;
        EXPECT_EQ(entry->m_anchor, chain[i - 1]) << i;
        if (i <= 8) {
            // One step further along from the "<<" arrow each.
            EXPECT_FLOAT_EQ(entry->m_layoutPosition.x, -4.5f + static_cast<float>(i)) << i;
            EXPECT_FLOAT_EQ(entry->m_layoutPosition.z, -5.0f) << i;
            EXPECT_TRUE(entry->m_sprite.m_visible && !entry->m_folded && entry->m_pickable) << i;
        }
    }
    // The ninth starts folded onto the eighth, out of sight.
    EXPECT_TRUE(chain[9]->m_folded);
    EXPECT_FALSE(chain[9]->m_pickable);
    EXPECT_FALSE(chain[9]->m_sprite.m_visible);
    EXPECT_FLOAT_EQ(chain[9]->m_layoutPosition.x, chain[8]->m_layoutPosition.x);

    // A closed list's entries start folded like the arrow before them.
    BoxObject* closed = RosterHead(true);
    realm->m_armyRosterBox = closed;
    realm->CreatePurchasedUnit(type.get());
    const BoxObject* placed = Chain(closed)[1];
    EXPECT_TRUE(placed->m_folded);
    EXPECT_TRUE(placed->m_sprite.m_visible);
    EXPECT_EQ(placed->m_panel, ROSTER_PURCHASED);
    EXPECT_TRUE(placed->m_screenFlags.m_kingdom && placed->m_screenFlags.m_battle);
}

TEST_F(Purchases, RemovingAnEntryRelinksItsChainAndBringsTheNextFoldedGroupIntoView) {
    BoxObject* army = RosterHead();
    BoxObject* tech = RosterHead();
    realm->m_armyRosterBox = army;
    realm->m_techRosterBox = tech;
    realm->m_stock[RESOURCE_MONEY] = 1000.0f;
    auto type = Type(1.0f);
    for (int i = 0; i < 9; ++i) {
        realm->CreatePurchasedUnit(type.get());
    }
    for (int i = 0; i < 3; ++i) {
        realm->CreateBaseUnit(type.get());
    }
    std::vector<BoxObject*> chain = Chain(army);
    ASSERT_EQ(chain.size(), 11u);
    ASSERT_TRUE(chain[9]->m_folded);
    chain[3]->QueueCommand(BoxCommandKind::Wait, 0.0f, {}, 5.0f);
    KRUnit* second = chain[2]->m_linkedUnit;
    realm->m_hoveredBox = chain[2];
    realm->m_selectedUnit = chain[5]->m_linkedUnit;
    realm->RemovePurchasedUnit(second);

    EXPECT_EQ(realm->m_purchasedUnits.size(), 8u);
    EXPECT_EQ(realm->m_hoveredBox, nullptr);
    EXPECT_EQ(realm->m_selectedUnit, nullptr);
    EXPECT_EQ(chain[1]->m_next, chain[3]);
    EXPECT_EQ(chain[3]->m_anchor, chain[1]);
    EXPECT_EQ(army->m_members.size(), 10u);
    EXPECT_EQ(army->m_members[2], chain[3]);
    // Every box after it slides one place along, queued behind what it was doing.
    for (size_t i = 3; i < chain.size(); ++i) {
        ASSERT_FALSE(chain[i]->m_commands.empty()) << i;
        EXPECT_EQ(chain[i]->m_commands.back().m_kind, BoxCommandKind::SlideLeft) << i;
    }
    EXPECT_EQ(chain[3]->m_commands.size(), 2u);
    EXPECT_FALSE(chain[9]->m_folded);
    EXPECT_TRUE(chain[9]->m_sprite.m_visible);

    // Technology boxes drop their queue for the slide.
    std::vector<BoxObject*> techChain = Chain(tech);
    techChain[3]->QueueCommand(BoxCommandKind::Wait, 0.0f, {}, 5.0f);
    realm->RemoveBaseUnit(techChain[2]->m_linkedUnit);
    ASSERT_EQ(techChain[3]->m_commands.size(), 1u);
    EXPECT_EQ(techChain[3]->m_commands.front().m_kind, BoxCommandKind::SlideLeft);
    EXPECT_EQ(Chain(tech).size(), 4u);

    // A unit in no roster changes nothing.
    KRUnit stray("Golem");
    const size_t boxes = gameData.m_hudBoxes.size();
    realm->RemovePurchasedUnit(&stray);
    EXPECT_EQ(gameData.m_hudBoxes.size(), boxes);
}

TEST_F(Purchases, AnOfferGoesWhenItsBoxRunsOutOfTime) {
    BoxObject* merchant = RosterHead();
    realm->m_merchantRosterBox = merchant;
    realm->m_merchantCountdown = 1e9f; // no merchant of its own during the test
    auto type = Type(1.0f);
    realm->CreateMerchantUnit(type.get(), 2.0f);
    realm->CreateMerchantUnit(type.get(), 5.0f);
    std::vector<BoxObject*> chain = Chain(merchant);
    ASSERT_EQ(chain.size(), 4u);
    EXPECT_EQ(chain[1]->m_actionId, 103);
    EXPECT_FLOAT_EQ(*chain[1]->m_numberSource, 2.0f);
    KRUnit* lasting = chain[2]->m_linkedUnit;

    Step(0.5f, 3);
    realm->Update(0.0f);
    EXPECT_EQ(realm->m_merchantUnits.size(), 2u);
    EXPECT_FLOAT_EQ(*chain[1]->m_numberSource, 0.5f);
    Step(0.5f, 2);
    realm->Update(0.0f);
    ASSERT_EQ(realm->m_merchantUnits.size(), 1u);
    EXPECT_EQ(realm->m_merchantUnits.front().get(), lasting);
    EXPECT_EQ(Chain(merchant).size(), 3u);
}

} // namespace
