// The unit editor on the engine singleton, as its scripts reach it: statistics edited a point at a time,
// paid for in tech points or taken back, the preview following the selection, clicks on its boxes and
// mails.
#include "flow/flow_support.h"
#include "battle/uniteditorstate.h"
#include "flow/frontendstates.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace flowtest;

class UnitEditor : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSingleton());
        Engine& e = engine();
        if (e.m_scripts.m_scripts.empty()) {
            e.m_scripts.Register();
        }
        e.m_request = REQUEST_RUN;
        e.m_quitting = false;
        e.m_stack.clear();
        GameData& world = *e.m_gameData;
        world.m_hudBoxes.clear();
        world.m_mailList.Clear();
        world.m_mailList.m_showing = 0;
        world.m_playerEditor = std::make_unique<PlayerEditor>(&e, &world, [] { return 0; });
        e.m_playerEditor = world.m_playerEditor.get();
        context = std::make_unique<WorldBoxContext>(world);
        SetBoxContext(context.get());
        realm().m_baseUnits.push_back(std::make_unique<KRUnit>("Golem"));
        unit = realm().m_baseUnits.back().get();
        unit->m_name = "New Base Unit";
        unit->STR = 4.0f;
        unit->Range = 1;
        realm().m_selectedUnit = unit;
        e.m_lastRequestedState = &editor;
        Captured([&] {
            editor.Load(e);
            editor.Initialize(e);
        });
    }
    void TearDown() override {
        Captured([&] {
            editor.Cleanup(engine());
            editor.Unload(engine());
        });
        SetBoxContext(nullptr);
        engine().m_lastRequestedState = nullptr;
        engine().m_playerEditor = nullptr;
        engine().m_gameData->m_playerEditor.reset();
    }

    static Engine& engine() { return Engine::Instance(); }
    static PlayerEditor& realm() { return *engine().m_playerEditor; }
    static GameData& world() { return *engine().m_gameData; }
    static void Run(const std::string& name) { EXPECT_TRUE(RunScript(engine().m_scripts, name)) << name; }
    // The cursor over a point of the HUD plane (800 x 600, no side bars: 50 pixels a unit).
    static void PointAt(float x, float z) {
        engine().m_display.width = 800;
        engine().m_display.height = 600;
        engine().m_display.margin = 0;
        engine().m_input.cursorX = static_cast<int32_t>(400.0f + x * 50.0f);
        engine().m_input.cursorY = static_cast<int32_t>(300.0f - z * 50.0f);
    }

    UnitEditorState editor;
    std::unique_ptr<WorldBoxContext> context;
    KRUnit* unit = nullptr;
};

TEST_F(UnitEditor, PointsGoUpFreelyAndComeDownOnlyAsFarAsTheyWentUp) {
    Run("UStatAddStr");
    Run("UStatAddStr");
    EXPECT_FLOAT_EQ(editor.m_preview.STR, 6.0f);
    Run("UStatMinusStr");
    Run("UStatMinusStr");
    Run("UStatMinusStr");
    EXPECT_FLOAT_EQ(editor.m_preview.STR, 4.0f);
    EXPECT_EQ(editor.m_statCounters[STAT_STR], 0);
    // A counted point that the unit cannot give: Range stops at 0 while the counter still goes down.
    Run("UStatAddRange");
    editor.m_preview.Range = 0;
    Run("UStatMinusRange");
    EXPECT_EQ(editor.m_preview.Range, 0);
    EXPECT_EQ(editor.m_statCounters[STAT_RANGE], 0);
    // On another screen the scripts do nothing; back on top after the pause menu, the editor works again.
    PauseMenuState& pause = PauseMenuState::Instance();
    engine().m_lastRequestedState = &pause;
    engine().m_stack = {&editor, &pause};
    Run("UStatAddHp");
    EXPECT_EQ(editor.m_statCounters[STAT_BATTLE_HP], 0);
    engine().m_stack.pop_back();
    Run("UStatAddHp");
    EXPECT_EQ(editor.m_statCounters[STAT_BATTLE_HP], 1);
    engine().m_stack.clear();
}

TEST_F(UnitEditor, ConfirmingPaysTheChargedStatisticsAndGivesTheUnitThePreview) {
    Run("UStatAddStr");
    Run("UStatAddRange");
    Run("UStatAddDef");
    for (int i = 0; i < 3; ++i) {
        Run("UStatAddMoveSpd");
        editor.AddPoint(STAT_ACCURACY); // not charged
    }
    realm().m_stock[RESOURCE_PSYCHIC] = 5.0f;
    Run("UStatConfirm");
    EXPECT_FLOAT_EQ(realm().m_stock[RESOURCE_PSYCHIC], 5.0f);
    ASSERT_NE(world().m_mailList.MailAt(0), nullptr);
    EXPECT_EQ(world().m_mailList.MailAt(0)->m_text, "You Don't Have Enough Tech Points");
    EXPECT_FLOAT_EQ(unit->STR, 4.0f);

    realm().m_stock[RESOURCE_PSYCHIC] = 6.0f;
    Run("UStatConfirm");
    EXPECT_FLOAT_EQ(realm().m_stock[RESOURCE_PSYCHIC], 0.0f);
    EXPECT_FLOAT_EQ(editor.m_techPoints, 0.0f);
    EXPECT_FLOAT_EQ(unit->STR, 5.0f);
    EXPECT_EQ(unit->Range, 2);
    EXPECT_FLOAT_EQ(unit->Accuracy, 4.0f);
    for (int32_t counter : editor.m_statCounters) {
        EXPECT_EQ(counter, 0);
    }
    // (AttkSpd 1 + MoveSpd 3.5 + STR 5 + VIT 1 + DEF 2 + Accuracy 4 + Force 1 + Evade 1) x Range 2 x 0.5.
    EXPECT_FLOAT_EQ(unit->Cost, 18.5f);
    EXPECT_FLOAT_EQ(editor.m_preview.Cost, 18.5f);
}

TEST_F(UnitEditor, ConfirmWithoutASelectedUnitDoesNothing) {
    Run("UStatAddVit");
    realm().m_selectedUnit = nullptr;
    realm().m_stock[RESOURCE_PSYCHIC] = 0.0f;
    Run("UStatConfirm");
    EXPECT_TRUE(world().m_mailList.m_mails.empty());
    EXPECT_FLOAT_EQ(editor.m_preview.VIT, 2.0f);
}

TEST_F(UnitEditor, ANewCopyZeroesTheCountersAndAConfirmNeverPaysBackNorLowersTheUnit) {
    Run("UStatAddRange");
    Run("UStatReset");
    EXPECT_EQ(editor.m_statCounters[STAT_RANGE], 0);
    // A preview weaker than the unit, as another unit's copy may be: nothing paid back nor lowered.
    const int32_t range = unit->Range;
    editor.m_preview.Range = range - 1;
    editor.m_preview.STR = unit->STR - 2.0f;
    realm().m_stock[RESOURCE_PSYCHIC] = 3.0f;
    Run("UStatConfirm");
    EXPECT_FLOAT_EQ(realm().m_stock[RESOURCE_PSYCHIC], 3.0f);
    EXPECT_EQ(unit->Range, range);
}

TEST_F(UnitEditor, AClickReadsAMailFirstElseClicksTheBoxAndThePreviewFollowsItsUnit) {
    realm().m_merchantUnits.push_back(std::make_unique<KRUnit>("Angel"));
    KRUnit* offer = realm().m_merchantUnits.back().get();
    offer->STR = 9.0f;
    BoxObject* box = CreateHudBox(world(), 2.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0, 1, 0.0f, 0.0f, 0.0f, false, true,
                                  false, false, true, 0, 0);
    box->m_linkedUnit = offer;
    PointAt(2.0f, 1.0f);
    world().m_mailList.AddMail("news", MAIL_ADVICE);
    world().m_mailList.MailAt(0)->m_boundingBox.m_position = {2.0f, 0.0f, 1.0f};
    EXPECT_TRUE(editor.HitTestMail(engine()));
    EXPECT_EQ(world().m_mailList.MailAt(0)->m_read, 1);
    world().m_mailList.Clear();
    EXPECT_FALSE(editor.HitTestMail(engine()));

    editor.UpdateHover(engine());
    ASSERT_FALSE(box->m_commands.empty());
    EXPECT_EQ(box->m_commands.front().m_kind, BoxCommandKind::PressPulse);
    editor.OnClick(engine());
    ASSERT_EQ(box->m_commands.size(), 1u);
    EXPECT_EQ(box->m_commands.front().m_kind, BoxCommandKind::Click);
    EXPECT_FLOAT_EQ(editor.m_preview.STR, 9.0f);

    // Off the first page the box is neither drawn nor reached.
    box->m_panel = 4;
    box->m_commands.clear();
    editor.OnClick(engine());
    EXPECT_TRUE(box->m_commands.empty());
}

TEST_F(UnitEditor, ThePreviewAnswersAClickOnlyWhereItIsDrawn) {
    BoxObject* log = CreateHudBox(world(), 6.0f, 0.0f, -4.0f, 1.0f, 1.0f, 0, 1, 0.0f, 0.0f, 0.0f, false,
                                  false, false, false, true, 0, 0);
    realm().m_messageWindowBox = log;
    PointAt(kPreviewPosition.x, kPreviewPosition.z);
    const std::string reaction = "Couldn't find sound to play."; // no sounds are loaded here
    auto reacts = [&] { return Has(Captured([&] { editor.OnClick(engine()); }), reaction); };
    log->m_folded = true;
    realm().m_panelMode = 1;
    EXPECT_TRUE(reacts());
    realm().m_panelMode = kPanelModeMasteries;
    EXPECT_FALSE(reacts());
    realm().m_panelMode = 1;
    log->m_folded = false; // the message log open over it
    EXPECT_FALSE(reacts());
    realm().m_messageWindowBox = nullptr;
}

} // namespace
