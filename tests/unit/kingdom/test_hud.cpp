// The kingdom HUD: the boxes the builders make, in order, their ids and flags, and the action-id index.
#include "kingdom/kingdomhud.h"
#include "kingdom_support.h"
#include "realm/playereditor.h"
#include "scene/worldobject.h"

using kingdomtest::KingdomEngineTest;

namespace {

class Hud : public KingdomEngineTest {
  protected:
    void SetUp() override {
        KingdomEngineTest::SetUp();
        world().m_playerEditor = std::make_unique<PlayerEditor>(engine.get(), &world(), [] { return 0; });
        engine->m_playerEditor = world().m_playerEditor.get();
        BuildKingdomHud(*engine);
    }
    PlayerEditor& realm() { return *engine->m_playerEditor; }
    std::vector<BoxActionId> Ids() {
        std::vector<BoxActionId> ids;
        for (const auto& box : world().m_hudBoxes) {
            ids.push_back(box->m_actionId);
        }
        return ids;
    }
};

TEST_F(Hud, TheBuildersAppendTheirBoxesInOrder) {
    const std::vector<BoxActionId> expected = {76,                           // helper text
                                               81, 71, 12, 76, 101, 102, 80, // skip tutorial, the Menu chain
                                               82, 83, 84, 85, 86,  87,  88, 89, 91, 90, // resource counters
                                               1,  3,  2,                                // tabs
                                               0,                                        // rotating select
                                               98, 41, 42, // Army list: head and arrows, no rows
                                               99, 41, 5,  4,  6,   7,   9,  8,  10, 11,
                                               18, 19, 42,      // Build list
                                               44, 45, 46,      // log panel
                                               0,  0,  0,  43}; // message frame
    EXPECT_EQ(Ids(), expected);
    EXPECT_EQ(realm().m_worldMarkers.size(), 2u);
    EXPECT_EQ(realm().m_tooltipTextBox, world().m_hudBoxes.front().get());
}

TEST_F(Hud, TheIndexKeepsTheFirstBoxOfEachId) {
    EXPECT_EQ(realm().LookupBox(76), realm().m_tooltipTextBox);
    ASSERT_NE(realm().m_pauseBox, nullptr);
    EXPECT_EQ(realm().LookupBox(102), realm().m_pauseBox);
    EXPECT_EQ(realm().m_pauseBox->m_label.m_text, "Pause");
    EXPECT_EQ(realm().LookupBox(43), realm().m_messageWindowBox);
    EXPECT_EQ(realm().LookupBox(18), realm().m_landDisplayBox);
    EXPECT_EQ(realm().LookupBox(0), realm().m_unitTooltipBox);
    EXPECT_EQ(realm().m_boxByActionId.size(), 39u);

    const size_t boxes = world().m_hudBoxes.size();
    BuildKingdomHud(*engine);
    EXPECT_EQ(world().m_hudBoxes.size(), boxes);
    EXPECT_EQ(realm().m_boxByActionId.size(), 39u);
    EXPECT_EQ(realm().m_worldMarkers.size(), 2u);
}

TEST_F(Hud, MenusAndListsStartClosedAndCountersShowTheStocks) {
    ASSERT_NE(realm().m_menuBox, nullptr);
    EXPECT_FALSE(realm().m_menuBox->m_folded);
    ASSERT_EQ(realm().m_menuBox->m_members.size(), 5u);
    for (const BoxObject* entry : realm().m_menuBox->m_members) {
        EXPECT_TRUE(entry->m_folded);
        EXPECT_FALSE(entry->m_pickable);
    }
    ASSERT_NE(realm().m_buildMenuBox, nullptr);
    for (const BoxObject* row : realm().m_buildMenuBox->m_members) {
        EXPECT_TRUE(row->m_folded) << row->m_label.m_text;
        EXPECT_FALSE(row->m_pickable);
    }
    EXPECT_EQ(realm().m_buildMenuBox->m_members.front()->m_layoutPosition.x, -4.5f);
    EXPECT_EQ(realm().m_buildMenuBox->m_members.back()->m_layoutPosition.x, 3.5f);
    for (int k = 0; k < RESOURCE_COUNT; ++k) {
        ASSERT_NE(realm().m_resourceCounterBoxes[k], nullptr);
        EXPECT_EQ(realm().m_resourceCounterBoxes[k]->m_numberSource, &realm().m_stock[k]);
        EXPECT_FALSE(realm().m_resourceCounterBoxes[k]->m_pickable);
        EXPECT_NEAR(realm().m_resourceCounterBoxes[k]->m_layoutPosition.x, -7.2f + 1.6f * k, 1e-4f);
    }
    EXPECT_EQ(realm().m_messageWindowBox->m_sprite.m_fadeLevel, 2);
    EXPECT_EQ(realm().m_selectionMarker->m_sprite.m_fadeLevel, 3);
    EXPECT_FALSE(realm().m_attentionMarker->m_sprite.m_visible);
    EXPECT_EQ(realm().m_attentionMarker->m_frozen, 0);
    EXPECT_EQ(realm().m_selectionMarker->m_frozen, 1);
}

} // namespace
