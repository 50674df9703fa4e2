// The realm: its fresh values, the fixed order of a frame and of its texts (watched step by step, with
// boxes and units that record their own deletion), dismissing boxes, the box helpers and the rosters.
#include "battle/krunit.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"
#include "scene/test_box_support.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace {

using Journal = std::vector<std::string>;

// A box that notes its deletion in the journal.
class RecordingBox : public BoxObject {
  public:
    RecordingBox(Journal& journal, std::string name) : m_journal(journal), m_tag(std::move(name)) {}
    ~RecordingBox() override { m_journal.push_back("delete " + m_tag); }

  private:
    Journal& m_journal;
    std::string m_tag;
};

// A roster unit that notes its deletion.
class RecordingUnit : public KRUnit {
  public:
    RecordingUnit(Journal& journal, std::string name) : m_journal(journal), m_tag(std::move(name)) {
        m_name = m_tag;
    }
    ~RecordingUnit() override { m_journal.push_back("delete " + m_tag); }

  private:
    Journal& m_journal;
    std::string m_tag;
};

class Realm : public boxtest::BoxTest {
  protected:
    void SetUp() override {
        BoxTest::SetUp();
        realm = std::make_unique<PlayerEditor>(engine.get(), &gameData);
        realm->m_onStep = [this](const char* step) { journal.push_back(step); };
    }
    void TearDown() override {
        realm.reset();
        BoxTest::TearDown();
    }

    RecordingBox* AddRecordingBox(const std::string& name) {
        auto owned = std::make_unique<RecordingBox>(journal, name);
        RecordingBox* box = owned.get();
        gameData.m_hudBoxes.push_back(std::move(owned));
        return box;
    }

    KRUnit* AddUnit(std::list<std::unique_ptr<KRUnit>>& roster, const std::string& name) {
        roster.push_back(std::make_unique<RecordingUnit>(journal, name));
        return roster.back().get();
    }

    Journal Steps() const {
        Journal steps;
        for (const std::string& entry : journal) {
            if (entry.rfind("delete ", 0) != 0) {
                steps.push_back(entry);
            }
        }
        return steps;
    }

    Journal journal;
    std::unique_ptr<PlayerEditor> realm;
};

TEST_F(Realm, AFreshRealmHoldsTheStartingStocksMasteriesCommandersAndAnEmptyQueue) {
    const PlayerEditor& r = *realm;
    for (int i = 0; i < RESOURCE_COUNT; ++i) {
        const float expected = i == RESOURCE_PSYCHIC ? 5.0f : i == RESOURCE_MONEY ? 50.0f : 0.0f;
        EXPECT_EQ(r.m_stock[i], expected) << i;
        EXPECT_EQ(r.m_income[i], 0.0f) << i;
        EXPECT_EQ(r.m_upkeep[i], 0.0f) << i;
    }
    EXPECT_EQ(r.m_land, 0.0f);
    EXPECT_EQ(r.m_masteryPoints, 1);
    for (int m = 0; m < MASTERY_COUNT; ++m) {
        EXPECT_EQ(r.m_masteryLevel[m], 0.0f) << m;
        EXPECT_EQ(r.m_masteryMod[m], m == MASTERY_SHARPENED_ATTACKS ? 2.0f : 0.0f) << m;
    }
    EXPECT_EQ(std::vector<float>(std::begin(r.m_masteryNextMod), std::end(r.m_masteryNextMod)),
              (std::vector<float>{11, 5, 1, 10, 11, 5, 5}));
    ASSERT_EQ(r.m_commanders.size(), 15u);
    for (const EnemyCommander& commander : r.m_commanders) {
        EXPECT_GE(commander.m_race, 1);
        EXPECT_LE(commander.m_race, 8);
        EXPECT_NE(commander.m_name.find(' '), std::string::npos) << commander.m_name;
    }
    EXPECT_TRUE(r.m_invasions.empty());
    EXPECT_EQ(r.m_invasionBudget, 25.0f);
    EXPECT_EQ(r.m_strengthFactor, 1.0f);
    EXPECT_EQ(r.m_merchantCountdown, 5.0f);
    EXPECT_EQ(r.m_panelMode, 1);
    EXPECT_EQ(r.m_clock, 0.0f);
    EXPECT_EQ(r.m_purchaseGroupSize, 1.0f);
    EXPECT_EQ(r.m_messageLineBudget, 25);
    EXPECT_TRUE(r.m_messageBoxVisible);
    EXPECT_EQ(r.m_messageBoxPosition.x, -5.0f);
    EXPECT_EQ(r.m_messageBoxPosition.y, 3.0f);
    EXPECT_EQ(r.m_messageBoxPosition.z, 0.75f);
    EXPECT_FALSE(r.m_paused);
    EXPECT_FALSE(r.m_tutorial);
    EXPECT_EQ(r.m_text.m_text, ".");
    EXPECT_EQ(r.m_text.m_size, 0.27f);
    EXPECT_EQ(r.m_gameData, &gameData);
    EXPECT_EQ(r.m_engine, engine.get());
    EXPECT_TRUE(r.m_boxByActionId.empty());
    EXPECT_EQ(r.m_landDisplayBox, nullptr);
}

TEST_F(Realm, CommandersAreDrawnRaceFirstThenTitleThenName) {
    // Each commander takes three draws: race, title, personal name.
    std::deque<int> draws;
    for (int i = 0; i < 15; ++i) {
        draws.insert(draws.end(), {i, 10 + i, 35 + 2 * i});
    }
    PlayerEditor seeded(engine.get(), &gameData, [&draws] {
        int value = draws.front();
        draws.pop_front();
        return value;
    });
    EXPECT_TRUE(draws.empty());
    ASSERT_EQ(seeded.m_commanders.size(), 15u);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(seeded.m_commanders[i].m_race, i % 8 + 1) << i;
    }
    // Commanders 0 and 10 draw titles 10 and 20, the same entry; their names are entries 0 and 20.
    auto title = [&](int i) {
        const std::string& name = seeded.m_commanders[i].m_name;
        return name.substr(0, name.find(' ') + 1);
    };
    EXPECT_EQ(title(0), title(10));
    EXPECT_NE(title(0), title(1));
    EXPECT_NE(seeded.m_commanders[0].m_name, seeded.m_commanders[10].m_name);
}

TEST_F(Realm, AFrameRunsItsStepsInTheFixedOrderAndDismissesAfterTheInvasions) {
    RecordingBox* notice = AddRecordingBox("notice");
    realm->m_dismissRequest = notice;
    realm->Update(0.25f);
    EXPECT_EQ(journal, (Journal{"AdvanceClock", "UpdateEconomy", "ShowLand", "UpdateMerchant",
                                "RemoveExpiredMerchantUnits", "UpdateInvasions", "ForgetChosenMastery",
                                "DismissRequestedBox", "delete notice", "UpdateUnitInfoPanel",
                                "ClearHelpText", "SyncHoverTooltip"}));
    EXPECT_EQ(realm->m_dismissRequest, nullptr);
    EXPECT_TRUE(gameData.m_hudBoxes.empty());
    EXPECT_FLOAT_EQ(realm->m_clock, 0.25f);

    // With a help box the tool-tip text is updated instead of cleared; nothing is dismissed twice.
    BoxObject* help = NewBox();
    realm->m_helpBox = help;
    journal.clear();
    realm->Update(0.5f);
    EXPECT_EQ(Steps(), (Journal{"AdvanceClock", "UpdateEconomy", "ShowLand", "UpdateMerchant",
                                "RemoveExpiredMerchantUnits", "UpdateInvasions", "ForgetChosenMastery",
                                "DismissRequestedBox", "UpdateUnitInfoPanel", "UpdateTooltipText",
                                "SyncHoverTooltip"}));
    EXPECT_EQ(journal.size(), Steps().size());
    EXPECT_FLOAT_EQ(realm->m_clock, 0.75f);
}

TEST_F(Realm, APausedFrameStandsTheClockStillAndLeavesTheHoverToolTipAlone) {
    realm->m_clock = 12.5f;
    realm->Update(0.0f);
    EXPECT_EQ(realm->m_clock, 12.5f);
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back(), "ClearHelpText");
    for (const std::string& step : journal) {
        EXPECT_NE(step, "SyncHoverTooltip");
    }
    // Still every other step, economy and invasions included.
    EXPECT_EQ(journal.size(), 10u);
}

TEST_F(Realm, AFrameShowsTheLandForgetsTheChosenMasteryOffItsPageAndSetsTheHelpText) {
    BoxObject* land = NewBox();
    BoxObject* helpText = NewBox();
    helpText->m_label.SetText("Build a farm", {1.0f, 2.0f, 3.0f});
    realm->m_landDisplayBox = land;
    realm->m_tooltipTextBox = helpText;
    realm->m_land = 7.0f;
    realm->m_chosenMastery = 61;
    realm->m_panelMode = kPanelModeMasteries;
    realm->Update(0.1f);
    EXPECT_EQ(land->m_numberSource, &realm->m_land);
    EXPECT_EQ(realm->m_chosenMastery, 61);
    EXPECT_EQ(helpText->m_label.m_text, "");
    EXPECT_EQ(helpText->m_label.m_origin.x, 0.0f);
    EXPECT_EQ(helpText->m_label.m_origin.y, 0.0f);
    EXPECT_EQ(helpText->m_label.m_origin.z, 0.0f);

    // Off the mastery page the choice goes, paused or not; a help box gives its id's help text.
    realm->m_panelMode = 2;
    BoxObject* pause = NewBox();
    pause->m_actionId = kBoxActionPause;
    realm->m_helpBox = pause;
    realm->Update(0.0f);
    EXPECT_EQ(realm->m_chosenMastery, 0);
    EXPECT_EQ(helpText->m_label.m_text, "Pauses or resumes the game");
}

TEST_F(Realm, TheHudTextsFollowTheViewAndThePanelMode) {
    struct Case {
        GameMode mode;
        int32_t panel;
        Journal steps;
    };
    const Case cases[] = {
        {GAME_MODE_KINGDOM, 1, {"DrawGameMessages", "DrawNextEnemyCountdown"}},
        {GAME_MODE_WAR, 1, {"DrawGameMessages"}},
        {GAME_MODE_WAR, 2, {"DrawGameMessages"}},
        {GAME_MODE_UNIT_EDITOR, 1, {"DrawGameMessages", "DrawMerchantPage"}},
        {GAME_MODE_UNIT_EDITOR, 2, {"DrawGameMessages", "DrawInvaderListPage"}},
        {GAME_MODE_UNIT_EDITOR, 4, {"DrawGameMessages", "DrawMasteryPage"}},
        {GAME_MODE_UNIT_EDITOR, 5, {"DrawGameMessages", "DrawRaceLorePage"}},
        {GAME_MODE_UNIT_EDITOR, 12, {"DrawGameMessages", "DrawRaceLorePage"}},
        {GAME_MODE_UNIT_EDITOR, 13, {"DrawGameMessages"}},
        {GAME_MODE_UNIT_EDITOR, 3, {"DrawGameMessages"}},
        {GAME_MODE_SAVE_LOAD, 1, {"DrawGameMessages"}},
    };
    for (const Case& c : cases) {
        gameData.m_gameMode = c.mode;
        realm->m_panelMode = c.panel;
        journal.clear();
        realm->DrawHudTexts();
        EXPECT_EQ(journal, c.steps) << "mode " << c.mode << " panel " << c.panel;
    }
}

TEST_F(Realm, DismissingABoxClosesItsChainAndMovesTheNextOnesUp) {
    BoxObject* head = CreateHudBox(gameData, -2.0f, 0.0f, 1.0f, 1.0f, 0.5f, 1, 4, 1.0f, 0.0f, 0.0f, true,
                                   true, true, true, true, 0, 0);
    BoxObject* second = head->m_next;
    ASSERT_NE(second, nullptr);
    BoxObject* third = second->m_next;
    ASSERT_NE(third, nullptr);
    BoxObject* fourth = third->m_next;
    ASSERT_NE(fourth, nullptr);
    ASSERT_EQ(head->m_members, (std::vector<BoxObject*>{second, third, fourth}));
    const plat::Vector3 place = second->m_layoutPosition;
    realm->m_hoveredBox = second;
    realm->m_helpBox = second;
    realm->m_lastClickedBox = second;
    realm->m_boxByActionId[7] = second;
    realm->m_boxByActionId[8] = third;

    realm->DismissBox(second);
    EXPECT_EQ(gameData.m_hudBoxes.size(), 3u);
    EXPECT_EQ(head->m_next, third);
    EXPECT_EQ(third->m_anchor, head);
    // Its place in the group is taken by the last member.
    EXPECT_EQ(head->m_members, (std::vector<BoxObject*>{fourth, third}));
    ASSERT_EQ(third->m_commands.size(), 1u);
    EXPECT_EQ(third->m_commands.front().m_kind, BoxCommandKind::MoveTo);
    EXPECT_EQ(third->m_commands.front().m_speed, 2.0f);
    EXPECT_EQ(third->m_commands.front().m_x, place.x);
    EXPECT_EQ(third->m_commands.front().m_y, place.y);
    EXPECT_EQ(third->m_commands.front().m_z, place.z);
    ASSERT_EQ(fourth->m_commands.size(), 1u);
    EXPECT_EQ(fourth->m_commands.front().m_kind, BoxCommandKind::ReturnToAnchor);
    EXPECT_EQ(fourth->m_commands.front().m_speed, 2.0f);
    // Nothing the realm keeps points at the deleted box.
    EXPECT_EQ(realm->m_hoveredBox, nullptr);
    EXPECT_EQ(realm->m_helpBox, nullptr);
    EXPECT_EQ(realm->m_lastClickedBox, nullptr);
    EXPECT_EQ(realm->LookupBox(7), nullptr);
    EXPECT_EQ(realm->LookupBox(8), third);

    // The last box of a chain goes without moving anything.
    third->m_commands.clear();
    fourth->m_commands.clear();
    realm->DismissBox(fourth);
    EXPECT_EQ(third->m_next, nullptr);
    EXPECT_TRUE(third->m_commands.empty());
    EXPECT_EQ(head->m_members, (std::vector<BoxObject*>{third}));
}

TEST_F(Realm, ABoxOutsideTheWorldsListIsNotDismissed) {
    BoxObject* listed = NewBox();
    BoxObject stray;
    realm->m_hoveredBox = &stray;
    realm->m_dismissRequest = &stray;
    realm->Update(0.1f);
    EXPECT_EQ(realm->m_dismissRequest, nullptr);
    EXPECT_EQ(realm->m_hoveredBox, &stray);
    ASSERT_EQ(gameData.m_hudBoxes.size(), 1u);
    EXPECT_EQ(gameData.m_hudBoxes.front().get(), listed);
    realm->DismissBox(nullptr);
    EXPECT_EQ(gameData.m_hudBoxes.size(), 1u);
    realm->m_hoveredBox = nullptr;
}

TEST_F(Realm, ForgettingABoxClearsEveryPointerAndIndexEntryToIt) {
    BoxObject* box = NewBox();
    BoxObject* other = NewBox();
    realm->m_pauseBox = box;
    realm->m_messageWindowBox = box;
    realm->m_resourceCounterBoxes[3] = box;
    realm->m_resourceCounterBoxes[4] = other;
    realm->m_raceLogoBox = other;
    realm->m_boxByActionId = {{102, box}, {43, box}, {1, other}};
    realm->ForgetBox(box);
    EXPECT_EQ(realm->m_pauseBox, nullptr);
    EXPECT_EQ(realm->m_messageWindowBox, nullptr);
    EXPECT_EQ(realm->m_resourceCounterBoxes[3], nullptr);
    EXPECT_EQ(realm->m_resourceCounterBoxes[4], other);
    EXPECT_EQ(realm->m_raceLogoBox, other);
    EXPECT_EQ(realm->m_boxByActionId, (std::map<int32_t, BoxObject*>{{1, other}}));
}

TEST_F(Realm, LookupCopyPlacementAndEnableChain) {
    BoxObject* source = NewBox(3.0f, -2.0f, 1.25f, 0.5f);
    source->m_layoutPosition.y = 0.5f;
    BoxObject* target = NewBox();
    target->m_folded = true;
    target->m_sprite.m_visible = false;
    realm->m_boxByActionId[104] = source;
    EXPECT_EQ(realm->LookupBox(104), source);
    EXPECT_EQ(realm->LookupBox(105), nullptr);
    EXPECT_EQ(realm->LookupBox(0), nullptr);

    realm->CopyBoxPlacement(source, target);
    EXPECT_EQ(target->m_boundingBox.m_scale[0], 1.25f);
    EXPECT_EQ(target->m_boundingBox.m_scale[1], 0.5f);
    EXPECT_EQ(target->m_layoutPosition.x, 3.0f);
    EXPECT_EQ(target->m_layoutPosition.y, 0.5f);
    EXPECT_EQ(target->m_layoutPosition.z, -2.0f);
    EXPECT_TRUE(target->m_sprite.m_visible);
    EXPECT_FALSE(target->m_folded);
    realm->CopyBoxPlacement(nullptr, target);
    realm->CopyBoxPlacement(source, nullptr);

    BoxObject* head = CreateHudBox(gameData, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1, 3, 1.0f, 0.0f, 0.0f, true, true,
                                   true, true, true, 0, 0);
    BoxObject* before = NewBox();
    before->m_next = head;
    before->Disable();
    for (BoxObject* box = head; box != nullptr; box = box->m_next) {
        box->SetTexture("../Assets/Boxes/PlainBorder.xml");
        box->Disable();
    }
    // A chain that loops back is walked once.
    head->m_next->m_next->m_next = head;
    realm->EnableBoxChain(head);
    head->m_next->m_next->m_next = nullptr;
    for (BoxObject* box = head; box != nullptr; box = box->m_next) {
        EXPECT_TRUE(box->m_enabled);
        EXPECT_EQ(box->m_sprite.m_xmlName, "../Assets/Boxes/PlainBorder.xml");
    }
    EXPECT_FALSE(before->m_enabled);
    realm->EnableBoxChain(nullptr);
}

TEST_F(Realm, AUnitLeavingItsRosterLeavesTheMapTheSelectionAndItsBox) {
    KRUnit* placed = AddUnit(realm->m_purchasedUnits, "placed");
    KRUnit* other = AddUnit(realm->m_purchasedUnits, "other");
    KRUnit* tech = AddUnit(realm->m_baseUnits, "tech");
    gameData.AddPlayerUnit(placed);
    gameData.AddPlayerUnit(other);
    BoxObject* placedBox = AddRecordingBox("placed box");
    placedBox->m_linkedUnit = placed;
    BoxObject* otherBox = AddRecordingBox("other box");
    otherBox->m_linkedUnit = other;
    realm->m_selectedUnit = placed;
    realm->RemovePurchasedUnit(placed);
    EXPECT_EQ(gameData.m_playerUnits, (std::list<KRUnit*>{other}));
    EXPECT_EQ(realm->m_selectedUnit, nullptr);
    // Its box goes with it; the other unit's stays.
    ASSERT_EQ(gameData.m_hudBoxes.size(), 1u);
    EXPECT_EQ(gameData.m_hudBoxes.front().get(), otherBox);
    EXPECT_EQ(otherBox->m_linkedUnit, other);
    realm->RemoveBaseUnit(tech);
    EXPECT_EQ(gameData.m_playerUnits, (std::list<KRUnit*>{other}));
    realm->ClearPurchasedUnits();
    EXPECT_TRUE(gameData.m_playerUnits.empty());

    // A realm that goes takes its units off the map with it.
    gameData.AddPlayerUnit(AddUnit(realm->m_purchasedUnits, "last"));
    realm.reset();
    EXPECT_TRUE(gameData.m_playerUnits.empty());
}

TEST_F(Realm, ClearingARosterDeletesItsUnitsFromTheFrontEvenWithoutBoxes) {
    KRUnit* a = AddUnit(realm->m_baseUnits, "tech a");
    AddUnit(realm->m_baseUnits, "tech b");
    KRUnit* offer = AddUnit(realm->m_merchantUnits, "offer");
    KRUnit* group = AddUnit(realm->m_purchasedUnits, "group");
    realm->m_selectedUnit = a;
    realm->m_editedUnit = offer;

    realm->ClearBaseUnits();
    EXPECT_EQ(journal, (Journal{"delete tech a", "delete tech b"}));
    EXPECT_TRUE(realm->m_baseUnits.empty());
    EXPECT_EQ(realm->m_selectedUnit, nullptr);

    realm->m_selectedUnit = group;
    realm->ClearMerchantUnits();
    EXPECT_EQ(realm->m_editedUnit, nullptr);
    // Only a purchased unit's removal always drops the selection.
    EXPECT_EQ(realm->m_selectedUnit, group);
    realm->ClearPurchasedUnits();
    EXPECT_EQ(realm->m_selectedUnit, nullptr);
    EXPECT_EQ(journal, (Journal{"delete tech a", "delete tech b", "delete offer", "delete group"}));

    KRUnit* tech = AddUnit(realm->m_baseUnits, "tech c");
    KRUnit* bought = AddUnit(realm->m_purchasedUnits, "bought");
    realm->m_selectedUnit = tech;
    realm->RemovePurchasedUnit(tech);
    realm->RemoveMerchantUnit(bought);
    EXPECT_EQ(realm->m_baseUnits.size(), 1u);
    EXPECT_EQ(realm->m_purchasedUnits.size(), 1u);
    EXPECT_EQ(realm->m_selectedUnit, tech);
    realm->RemovePurchasedUnit(bought);
    EXPECT_EQ(realm->m_selectedUnit, nullptr);
    EXPECT_EQ(journal.back(), "delete bought");
}

TEST_F(Realm, TheRealmDeletesItsRostersAndWavesWhenItGoes) {
    AddUnit(realm->m_baseUnits, "tech");
    AddUnit(realm->m_merchantUnits, "offer");
    AddUnit(realm->m_purchasedUnits, "group");
    Invasion& wave = realm->m_invasions.emplace_back();
    wave.m_units.push_back(std::make_unique<RecordingUnit>(journal, "invader 1"));
    wave.m_units.push_back(std::make_unique<RecordingUnit>(journal, "invader 2"));
    realm.reset();
    EXPECT_EQ(journal, (Journal{"delete tech", "delete offer", "delete group", "delete invader 1",
                                "delete invader 2"}));
}

TEST_F(Realm, NumbersAreWrittenWithTheStreamsDefaultsAndTextLinesReplaceEachOther) {
    EXPECT_EQ(PlayerEditor::IntToString(11), "11");
    EXPECT_EQ(PlayerEditor::IntToString(-3), "-3");
    EXPECT_EQ(PlayerEditor::FloatToString(21.333333f), "21.3333");
    EXPECT_EQ(PlayerEditor::FloatToString(2.0f), "2");
    EXPECT_EQ(PlayerEditor::FloatToString(0.05f), "0.05");
    EXPECT_EQ(PlayerEditor::FloatToString(1234567.0f), "1.23457e+06");

    {
        spritetest::CapturedLog log;
        realm->DrawTextLine("Level : 3", 3.5f, 5.0f, 4.5f);
        realm->DrawTextLine("Next", 1.0f, 2.0f, 3.0f);
    }
    EXPECT_EQ(realm->m_text.m_text, "Next");
    EXPECT_EQ(realm->m_text.m_glyphs.size(), 4u);
    EXPECT_EQ(realm->m_text.m_origin.x, 1.0f);
    EXPECT_EQ(realm->m_text.m_origin.y, 2.0f);
    EXPECT_EQ(realm->m_text.m_origin.z, 3.0f);
}

TEST_F(Realm, TheUnitToolTipWindowFollowsAHoveredRosterBoxOnlyWithAUnitSelected) {
    BoxObject* window = NewBox();
    BoxObject* roster = NewBox(-3.0f, -4.5f, 0.75f, 0.75f);
    roster->m_actionId = kBoxActionRosterUnit;
    roster->m_panel = ROSTER_PURCHASED;
    BoxObject* other = NewBox(2.0f, 2.0f);
    other->m_actionId = kBoxActionBuildFarm;
    BoxObject* army = NewBox();
    army->m_selectByte = false; // the Army list is open
    realm->m_unitTooltipBox = window;
    realm->m_armyRosterBox = army;
    KRUnit unit("Golem");

    // Nothing hovered: hidden, whatever was selected.
    realm->m_selectedUnit = &unit;
    realm->Update(0.016f);
    EXPECT_FALSE(window->m_sprite.m_visible);

    realm->m_hoveredBox = roster;
    realm->Update(0.016f);
    EXPECT_TRUE(window->m_sprite.m_visible);
    EXPECT_FLOAT_EQ(window->m_layoutPosition.x, -3.0f);
    EXPECT_FLOAT_EQ(window->m_boundingBox.m_scale[0], 0.75f);
    EXPECT_EQ(realm->m_tooltipActionId, kBoxActionRosterUnit);
    EXPECT_EQ(realm->m_tooltipKind, ROSTER_PURCHASED);

    // Moving onto another box keeps the window where it was, shown only while the Army list is closed.
    realm->m_hoveredBox = other;
    realm->Update(0.016f);
    EXPECT_FALSE(window->m_sprite.m_visible);
    EXPECT_FLOAT_EQ(window->m_layoutPosition.x, -3.0f);
    army->m_selectByte = true;
    realm->Update(0.016f);
    EXPECT_TRUE(window->m_sprite.m_visible);

    // Without a selected unit the window never shows.
    realm->m_selectedUnit = nullptr;
    realm->m_hoveredBox = roster;
    realm->Update(0.016f);
    EXPECT_FALSE(window->m_sprite.m_visible);
    EXPECT_EQ(realm->m_tooltipActionId, 0);
    realm->m_hoveredBox = nullptr;
}

} // namespace
