// The kingdom HUD: the boxes the builders make, in order, their ids and flags, and the action-id index.
#include "kingdom/kingdomhud.h"
#include "kingdom_support.h"
#include "realm/playereditor.h"
#include "scene/worldobject.h"

#include <set>

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
    std::vector<BoxActionId> editor = {77,  41, 42, 73, 41, 42, // merchant and tech lists, empty
                                       68,  69, 70, 15, 17,     // unit buttons
                                       100, 13, 14, 16};        // recruit panel
    editor.insert(editor.end(), 9 + 10 + 10, 0);                // stat names, now and new columns
    editor.insert(editor.end(), {21, 22, 23, 25, 29, 24, 26, 27, 28, 30, 31, 32, 34, 38, 33, 35, 36, 37});
    editor.insert(editor.end(), 3 * 11, 0);                                      // upkeep, income and tax
    editor.insert(editor.end(), {39, 40, 0,                                      // stat buttons, unit name
                                 47, 48, 50, 49, 54, 55, 52, 57, 58, 56, 53, 51, // war panel
                                 0,  0,                                          // logo and frame
                                 59, 60, 61, 62, 63, 64, 65, 0,  66});           // masteries
    std::vector<BoxActionId> all = expected;
    all.insert(all.end(), editor.begin(), editor.end());
    EXPECT_EQ(Ids(), all);
    // Only the unit editor draws and picks the panels of the last seven builders.
    for (auto box = std::next(world().m_hudBoxes.begin(), static_cast<long>(expected.size()));
         box != world().m_hudBoxes.end(); ++box) {
        const ScreenFlags& flags = (*box)->m_screenFlags;
        EXPECT_TRUE(!flags.m_battle && flags.m_unitEditor && !flags.m_kingdom && !flags.m_fourth);
    }
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
    EXPECT_EQ(realm().LookupBox(66), realm().m_increaseMasteryBox);
    EXPECT_EQ(realm().LookupBox(77), realm().m_merchantRosterBox);
    EXPECT_EQ(realm().LookupBox(15), realm().m_buyFromMerchantBox);
    EXPECT_EQ(realm().m_boxByActionId.size(), 90u);

    const size_t boxes = world().m_hudBoxes.size();
    BuildKingdomHud(*engine);
    EXPECT_EQ(world().m_hudBoxes.size(), boxes);
    EXPECT_EQ(realm().m_boxByActionId.size(), 90u);
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

// A tutorial greys the resource boxes out and enables them again: each comes back on its own picture
// of the button sheet, a frame of its own, not on the fallback texture.
TEST_F(Hud, AResourceBoxEnabledAgainShowsItsOwnPicture) {
    std::set<uint32_t> frames;
    for (BoxObject* box :
         {realm().m_resourceCounterBoxes[RESOURCE_MONEY], realm().m_upkeepColumnBox->m_members[0]}) {
        ASSERT_NE(box, nullptr);
        const uint32_t shown = box->m_sprite.m_currentFrame;
        box->Disable();
        box->Enable();
        EXPECT_EQ(box->m_sprite.m_xmlName, "../Assets/guibuttonsheet.xml");
        EXPECT_EQ(box->m_sprite.m_currentFrame, shown);
        EXPECT_LT(shown, box->m_sprite.m_frames.size());
        frames.insert(shown);
    }
    for (BoxObject* counter : realm().m_resourceCounterBoxes) {
        frames.insert(counter->m_sprite.m_currentFrame);
    }
    EXPECT_EQ(frames.size(), static_cast<size_t>(RESOURCE_COUNT));
}

TEST_F(Hud, TheUnitEditorsPagesShowTheirOwnPanels) {
    world().m_gameMode = GAME_MODE_UNIT_EDITOR;
    PlayerEditor& r = realm();
    BoxObject* statName = r.m_statNameColumnBox;
    BoxObject* plus = r.LookupBox(21);
    BoxObject* upkeep = r.m_upkeepColumnBox->m_members.front();
    BoxObject* recruit = r.LookupBox(16);
    BoxObject* logo = r.m_raceLogoBox;
    BoxObject* mastery = r.LookupBox(59);
    BoxObject* war = r.m_warDataTabBox;
    struct Case {
        int32_t mode, page;
        bool statName, plus, upkeep, recruit, logo, mastery;
    };
    const Case cases[] = {
        {1, 2, true, true, false, false, false, false},  {1, 3, false, false, true, false, false, false},
        {1, 4, false, false, false, true, false, false}, {4, 2, false, false, false, false, false, true},
        {5, 2, false, false, false, false, true, false}, {12, 4, false, false, false, false, true, false},
        {2, 2, false, false, false, false, false, false}};
    for (const Case& c : cases) {
        r.m_panelMode = c.mode;
        r.m_unitPanelPage = c.page;
        const std::string at = "mode " + std::to_string(c.mode) + " page " + std::to_string(c.page);
        EXPECT_EQ(statName->ShownOnCurrentPage(), c.statName) << at;
        EXPECT_EQ(plus->ShownOnCurrentPage(), c.plus) << at;
        EXPECT_EQ(upkeep->ShownOnCurrentPage(), c.upkeep) << at;
        EXPECT_EQ(recruit->ShownOnCurrentPage(), c.recruit) << at;
        EXPECT_EQ(logo->ShownOnCurrentPage(), c.logo) << at;
        EXPECT_EQ(mastery->ShownOnCurrentPage(), c.mastery) << at;
        EXPECT_TRUE(war->ShownOnCurrentPage()) << at;
    }
}

TEST_F(Hud, TheMerchantAndTechListsStartOpenAndTheMasteryBoxesShowTheLevels) {
    PlayerEditor& r = realm();
    for (BoxObject* head : {r.m_merchantRosterBox, r.m_techRosterBox}) {
        EXPECT_FALSE(head->m_pickable);
        ASSERT_EQ(head->m_members.size(), 2u); // the arrows only
        EXPECT_TRUE(!head->m_members[0]->m_folded && head->m_members[0]->m_pickable);
        EXPECT_EQ(head->m_members[1]->m_layoutPosition.x, 4.5f);
    }
    for (int m = 0; m < MASTERY_COUNT; ++m) {
        EXPECT_EQ(r.LookupBox(59 + m)->m_numberSource, &r.m_masteryLevel[m]);
        EXPECT_FALSE(r.LookupBox(59 + m)->m_showLabel);
    }
    EXPECT_EQ(r.m_statNowColumnBox->m_members.back()->m_layoutPosition.z, 0.0f);
    EXPECT_FALSE(r.LookupBox(49)->m_pickable);
    EXPECT_EQ(r.LookupBox(51)->m_layoutPosition.z, -1.0f);
}

} // namespace
