// The battle screen's start and end: the wave's units have one owner however the battle ends, the
// end is paid once however often the screen change is refused, a paused battle does not end, and
// leaving the screen leaves no target behind and the screen tabs working; a wave whose battle was refused
// asks for it again until it begins.
#include "battle/battle_support.h"
#include "battle/projectile.h"
#include "battle/warringstate.h"
#include "scene/boxobject.h"

#include <gtest/gtest.h>

namespace {

using battletest::BattleTest;

int g_kingdomRuns = 0;
int g_menuRuns = 0;
Engine* g_engine = nullptr;
KRState* g_battle = nullptr;

class WarringStateTest : public BattleTest {
  protected:
    void SetUp() override {
        BattleTest::SetUp();
        g_kingdomRuns = g_menuRuns = 0;
        DrawMap({"G###C"});
        realm().m_warTabBox = &warTab;
        Invasion wave;
        wave.m_commanderName = "General Test";
        wave.m_units.push_back(MakeUnit(false, 0.0f, 0.0f, 2));
        waveUnit = wave.m_units.front().get();
        realm().m_invasions.push_back(std::move(wave));
        guard = MakeUnit(true, 3.0f, 0.0f);
        guard->m_targets.push_back(waveUnit);
        realm().m_invasions.push_back(Invasion{});
    }
    void TearDown() override {
        realm().m_warTabBox = nullptr;
        BattleTest::TearDown();
    }
    void Register(bool kingdom) {
        engine->m_scripts.m_scripts["Kingdom"] = [] { ++g_kingdomRuns; };
        engine->m_scripts.m_scripts["MainMenu"] = [] { ++g_menuRuns; };
        if (!kingdom) {
            engine->m_scripts.m_scripts.erase("Kingdom");
        }
    }
    void Frames(int count, float dt) {
        engine->m_timer.gameDelta = dt;
        for (int i = 0; i < count; ++i) {
            state.Update(*engine);
        }
    }

    WarringState state;
    BoxObject warTab;
    KRUnit* waveUnit = nullptr;
    std::unique_ptr<KRUnit> guard;
};

TEST_F(WarringStateTest, TheBattleFightsCopiesAndTheWonWaveIsLetGoOncePaidOnce) {
    Register(false); // the change to the kingdom is refused at first
    state.Initialize(*engine);
    ASSERT_EQ(world().m_enemyUnits.size(), 1u);
    EXPECT_NE(world().m_enemyUnits.front().get(), waveUnit);
    EXPECT_EQ(world().m_enemyUnits.front()->m_soldiers.size(), 2u);
    EXPECT_FALSE(warTab.m_enabled);
    EXPECT_EQ(realm().m_level, 1);
    for (KRMiniUnit& soldier : world().m_enemyUnits.front()->m_soldiers) {
        soldier.HP = 0.0f;
        soldier.m_dead = true;
    }
    Frames(1, 0.0f); // paused: the battle is won but nothing advances
    const int points = realm().m_masteryPoints;
    Frames(20, 0.0f);
    EXPECT_EQ(realm().m_masteryPoints, points);
    EXPECT_EQ(realm().m_invasions.size(), 2u);
    Frames(40, 0.05f);
    EXPECT_EQ(realm().m_masteryPoints, points + 1);
    EXPECT_FLOAT_EQ(realm().m_land, 1.0f);
    EXPECT_EQ(world().m_wins, 1);
    EXPECT_EQ(realm().m_invasions.size(), 1u);
    EXPECT_TRUE(warTab.m_enabled);
    Register(true);
    Frames(1, 0.05f);
    EXPECT_GE(g_kingdomRuns, 1);
    EXPECT_EQ(realm().m_masteryPoints, points + 1);
    EXPECT_EQ(realm().m_invasions.size(), 1u);
    state.Cleanup(*engine);
    EXPECT_TRUE(world().m_enemyUnits.empty());
    EXPECT_EQ(realm().m_invasions.size(), 1u);
}

TEST_F(WarringStateTest, ADefeatSaysGameOverOnceAndLetsTheSpentWaveGo) {
    Register(true);
    state.Initialize(*engine);
    world().m_wins = 3;
    world().m_battleResult = BATTLE_DEFEAT;
    logtest::CapturedLog log;
    Frames(30, 0.05f);
    EXPECT_EQ(g_menuRuns, 1);
    EXPECT_EQ(world().m_wins, 0);
    world().m_battleResult = BATTLE_DEFEAT; // the capital is struck again before the screen goes
    Frames(5, 0.05f);
    int gameOver = 0;
    for (const std::string& line : log.Lines()) {
        gameOver += line == "Game Over";
    }
    EXPECT_EQ(gameOver, 1);
    EXPECT_EQ(realm().m_invasions.size(), 2u);
    state.Cleanup(*engine);
    EXPECT_EQ(realm().m_invasions.size(), 1u);
    EXPECT_TRUE(warTab.m_enabled);
}

TEST_F(WarringStateTest, LeavingMidBattleForgetsEveryTargetAndFreesEachUnitOnce) {
    Register(true);
    realm().m_purchasedUnits.push_back(std::move(guard));
    KRUnit* defender = realm().m_purchasedUnits.back().get();
    world().AddPlayerUnit(defender);
    state.Initialize(*engine);
    EXPECT_TRUE(defender->m_targets.empty()); // warping in forgot the last battle
    KRUnit* invader = world().m_enemyUnits.front().get();
    defender->m_targets.push_back(invader);
    defender->m_chaseTarget = invader;
    defender->m_soldiers.front().m_target = &invader->m_soldiers.front();
    defender->m_battleState = UNIT_FIGHT;
    state.Cleanup(*engine);
    EXPECT_TRUE(defender->m_targets.empty());
    EXPECT_EQ(defender->m_chaseTarget, nullptr);
    EXPECT_EQ(defender->m_soldiers.front().m_target, nullptr);
    EXPECT_EQ(defender->m_battleState, UNIT_ADVANCE);
    EXPECT_EQ(realm().m_invasions.size(), 1u);
    EXPECT_TRUE(warTab.m_enabled);
    // The realm still frees its own queue and roster at the end, each unit once (see the sanitizer).
}

TEST_F(WarringStateTest, WhilePausedAMissileOnItsTargetNeitherMovesNorHits) {
    Register(true);
    state.Initialize(*engine);
    KRMiniUnit& aimed = guard->m_soldiers.front();
    const float health = aimed.HP;
    const plat::Vector3 at = aimed.m_position;
    world().m_projectiles.push_back(
        std::make_unique<KRProjectile>(&aimed, at.x + 0.1f, at.y, at.z, 5.0f, 3, nullptr, nullptr));
    Frames(20, 0.0f);
    ASSERT_EQ(world().m_projectiles.size(), 1u);
    EXPECT_FLOAT_EQ(world().m_projectiles.front()->m_position.x, at.x + 0.1f);
    EXPECT_FLOAT_EQ(aimed.HP, health);
    Frames(1, 0.02f);
    EXPECT_TRUE(world().m_projectiles.empty());
    EXPECT_LT(aimed.HP, health);
    state.Cleanup(*engine);
}

TEST_F(WarringStateTest, WithNoWaveQueuedNothingIsTakenFromTheQueue) {
    Register(true);
    realm().m_invasions.clear();
    state.Initialize(*engine);
    EXPECT_TRUE(world().m_enemyUnits.empty());
    Frames(20, 0.05f);
    EXPECT_NEAR(g_kingdomRuns, 20 - 10, 1); // won at once, the kingdom asked for every frame after 0.5 s
    EXPECT_TRUE(realm().m_invasions.empty());
    state.Cleanup(*engine);
}

TEST_F(WarringStateTest, InvadersWithNoWayInTurnBackAndTheKingdomComesBackAtOnce) {
    Register(true);
    world().m_tileMap.SetTileType(0, 2, TILE_BUILDING); // a map shut before such changes were refused
    const int points = realm().m_masteryPoints;
    state.Initialize(*engine);
    EXPECT_TRUE(world().m_enemyUnits.empty());
    ASSERT_EQ(realm().m_invasions.size(), 1u); // only the second, empty wave is left
    EXPECT_TRUE(realm().m_invasions.front().m_units.empty());
    EXPECT_EQ(realm().m_messages.back().m_text, "The invaders found no road to your capital and turned back");
    Frames(3, 0.05f);
    EXPECT_EQ(g_kingdomRuns, 3); // at once, and until the kingdom comes
    EXPECT_EQ(g_menuRuns, 0);
    EXPECT_EQ(realm().m_masteryPoints, points);
    EXPECT_EQ(world().m_wins, 0);
    EXPECT_TRUE(warTab.m_enabled);
    state.Cleanup(*engine);
    EXPECT_EQ(realm().m_invasions.size(), 1u);
}

TEST_F(WarringStateTest, AWarRefusedForAPendingRequestIsAskedForAgainUntilItsBattleBegins) {
    Register(true);
    g_engine = engine.get();
    g_battle = &state;
    engine->m_scripts.m_scripts["Warring"] = [] { g_engine->ChangeState(g_battle); };
    realm().m_invasions.front().m_countdown = 0.5f;
    realm().m_invasions.back().m_countdown = 300.0f;
    for (int i = 0; i < 3; ++i) {
        realm().m_invasions.emplace_back().m_countdown = 400.0f;
    }
    logtest::CapturedLog log;
    engine->m_request = REQUEST_PUSH; // the pause menu asked for in the same frame
    realm().Update(1.0f);
    EXPECT_EQ(engine->m_request, REQUEST_PUSH);
    engine->m_request = REQUEST_RUN;
    realm().Update(0.05f);
    ASSERT_EQ(engine->m_request, REQUEST_CHANGE);
    EXPECT_EQ(engine->m_lastRequestedState, &state);
    engine->m_request = REQUEST_RUN;
    state.Initialize(*engine);
    EXPECT_EQ(world().m_enemyUnits.size(), 1u);
    realm().Update(0.05f); // the battle is running: nothing more is asked
    EXPECT_EQ(engine->m_request, REQUEST_RUN);
    state.Cleanup(*engine);
    EXPECT_EQ(realm().m_invasions.size(), 4u);
}

// A letter takes clicks over its whole envelope: the left button reads it, the right throws it away.
TEST_F(WarringStateTest, AClickNearALettersCornerReadsItAndARightClickThereThrowsItAway) {
    engine->m_display.width = 1024;
    engine->m_display.height = 768;
    engine->m_display.margin = 0;
    world().m_activeCamera = &world().m_perspCamera;
    MailList& letters = world().m_mailList;
    letters.AddMail("Unit Info Card :\tGuard", MAIL_HELP);
    const Mail* letter = letters.m_mails.front().get();
    // (7.7, -2.8): inside the 6 x 3 envelope about (5, -1.5), near its lower right corner.
    engine->m_input.cursorX = 512 + 493;
    engine->m_input.cursorY = 384 + 179;
    logtest::CapturedLog log;
    WarringState::PickUnderCursor(*engine, false);
    EXPECT_EQ(letter->m_read, 1);
    WarringState::PickMailUnderCursor(*engine);
    EXPECT_TRUE(letters.m_mails.empty());
}

} // namespace
