// The battle's unit steps on a small map: gates and warp-in, the masteries' health, the capital
// attack, moving without overshooting, soldiers' attack timing, erasing the dead, and a whole fight, each
// on the battle screen's own frame.
#include "battle/battle_support.h"
#include "battle/gridpath.h"
#include "battle/projectile.h"
#include "battle/unitbattle.h"
#include "battle/warringstate.h"

#include <gtest/gtest.h>

namespace {

using battletest::BattleTest;

class UnitBattleTest : public BattleTest {
  protected:
    KRUnit& AddEnemy(float col, float row, int32_t size = 1) {
        world().m_enemyUnits.push_back(MakeUnit(false, col, row, size));
        return *world().m_enemyUnits.back();
    }
    // One frame of the battle screen itself, its hover, HUD and end included.
    void Frame(float dt) {
        engine->m_timer.gameDelta = dt;
        world().m_battleRunning = 1;
        state.Update(*engine);
    }

    WarringState state;
};

TEST_F(UnitBattleTest, OnlyGatesWithARoadSendInvadersThreeSecondsApartAndTheWaitingDoNothing) {
    DrawMap({
        "G##C",
        "....",
        "G...",
    });
    world().CollectGates();
    ASSERT_EQ(world().m_battleGates.size(), 1u);
    EXPECT_EQ(world().m_battleGates.front().m_row, 0);
    KRUnit& first = AddEnemy(0.0f, 0.0f);
    KRUnit& second = AddEnemy(0.0f, 0.0f);
    first.m_lifeState = second.m_lifeState = UNIT_WAITING;
    second.m_pos = {3.0f, 0.0f, 2.0f};
    int firstIn = -1;
    int secondIn = -1;
    for (int frame = 1; frame <= 400; ++frame) {
        Frame(0.02f);
        if (firstIn < 0 && first.m_lifeState == UNIT_ACTIVE) {
            firstIn = frame;
        }
        if (secondIn < 0 && second.m_lifeState == UNIT_ACTIVE) {
            secondIn = frame;
        }
        if (second.m_lifeState == UNIT_WAITING) {
            // Still at its place: a waiting invader neither walks nor looks for targets.
            EXPECT_EQ(second.m_pos, (plat::Vector3{3.0f, 0.0f, 2.0f}));
            EXPECT_TRUE(second.m_targets.empty());
        }
    }
    EXPECT_NEAR(firstIn * 0.02f, 3.0f, 0.05f);
    EXPECT_NEAR((secondIn - firstIn) * 0.02f, 3.0f, 0.05f);
    // Without a capital no gate is collected.
    DrawMap({"G##."});
    world().CollectGates();
    EXPECT_TRUE(world().m_battleGates.empty());
}

TEST_F(UnitBattleTest, MasteriesRaiseTheDefendersHealthByTheirClass) {
    DrawMap({"###C"});
    realm().m_masteryMod[MASTERY_BIO] = 5.0f;
    realm().m_masteryMod[MASTERY_MAGIC] = 10.0f;
    std::unique_ptr<KRUnit> units[3];
    for (int cls = 0; cls < 3; ++cls) {
        units[cls] = MakeUnit(true, static_cast<float>(cls), 0.0f);
        units[cls]->m_battleHP = 20.0f;
        units[cls]->m_unitClass = cls;
        units[cls]->m_targets.push_back(units[cls].get());
        world().AddPlayerUnit(units[cls].get());
    }
    world().WarpInPlayerUnits();
    EXPECT_FLOAT_EQ(units[0]->m_soldiers.front().HP, 25.0f);
    EXPECT_FLOAT_EQ(units[1]->m_soldiers.front().HP, 22.0f);
    EXPECT_FLOAT_EQ(units[2]->m_soldiers.front().HP, 27.5f);
    // Warping in forgets whatever the last battle aimed at.
    EXPECT_TRUE(units[0]->m_targets.empty());
}

TEST_F(UnitBattleTest, InvadersAtTheCapitalHitItOnTheirCooldownUntilItFalls) {
    DrawMap({"#C"});
    KRUnit& raider = AddEnemy(1.0f, 0.0f, 2);
    raider.m_damage = 1.0f;
    raider.AttkSpd = 0.0f; // counts as 1 s
    KRBuilding* capital = world().m_tileMap.FindBuildingAt(0, 1);
    ASSERT_NE(capital, nullptr);
    capital->m_health = 5.0f;
    int attacks = 0;
    float last = capital->m_health;
    for (int frame = 0; frame < 100 && world().m_battleResult == BATTLE_RUNNING; ++frame) {
        Frame(0.05f);
        if (capital->m_health < last) {
            ++attacks;
            EXPECT_FLOAT_EQ(last - capital->m_health, 2.0f);
            last = capital->m_health;
        }
    }
    EXPECT_EQ(attacks, 3);
    EXPECT_EQ(world().m_battleResult, BATTLE_DEFEAT);
}

TEST_F(UnitBattleTest, AUnitStepsOntoItsWaypointWithoutOvershootingAndStaysWithoutAPath) {
    DrawMap({"##BC"});
    KRUnit& runner = AddEnemy(0.0f, 0.0f);
    runner.MoveSpd = 30.0f; // 1.5 cells in one 0.05 s frame
    world().m_battleFrameTime = 0.05f;
    runner.m_waypoint = {1.0f, 0.0f, 0.0f};
    world().MoveUnit(&runner);
    EXPECT_EQ(runner.m_pos, (plat::Vector3{1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(runner.m_battleState, UNIT_ADVANCE);
    // Walled off by the building: the waypoint is its own place.
    KRUnit& walled = AddEnemy(0.0f, 0.0f);
    EXPECT_TRUE(world().AdvanceToCapital(&walled));
    EXPECT_EQ(walled.m_waypoint, walled.m_pos);
}

TEST_F(UnitBattleTest, SoldiersStrikeEveryFiveSecondsOverAttackSpeedAndTheBerserkerHalvesIt) {
    DrawMap({"###C"});
    auto guard = MakeUnit(true, 0.0f, 0.0f);
    KRUnit& raider = AddEnemy(0.0f, 0.0f);
    raider.m_soldiers.front().HP = 1e6f;
    guard->AttkSpd = 2.0f;
    guard->m_battleState = UNIT_FIGHT;
    guard->m_targets.push_back(&raider);
    KRMiniUnit& soldier = guard->m_soldiers.front();
    soldier.BattleStep(0.02f);
    EXPECT_FLOAT_EQ(soldier.m_attackCooldown, 2.5f);
    const float hp = raider.m_soldiers.front().HP;
    soldier.BattleStep(0.02f); // cooling down
    EXPECT_FLOAT_EQ(raider.m_soldiers.front().HP, hp);
    realm().m_masteryMod[MASTERY_BERSERKER] = 101.0f;
    soldier.m_attackCooldown = 0.0f;
    soldier.BattleStep(0.02f);
    EXPECT_FLOAT_EQ(soldier.m_attackCooldown, 1.25f);
    // A ranged soldier fires from where it stands.
    guard->Range = 3;
    soldier.m_attackCooldown = 0.0f;
    soldier.BattleStep(0.02f);
    EXPECT_EQ(world().m_projectiles.size(), 1u);
}

TEST_F(UnitBattleTest, ErasingTheDeadLeavesNoMissileOrSoldierAimedAtThem) {
    DrawMap({"###C"});
    KRUnit& raider = AddEnemy(1.0f, 0.0f, 2);
    auto guard = MakeUnit(true, 0.0f, 0.0f);
    world().AddPlayerUnit(guard.get());
    KRMiniUnit& doomed = raider.m_soldiers.front();
    guard->m_soldiers.front().m_target = &doomed;
    world().m_projectiles.push_back(
        std::make_unique<KRProjectile>(&doomed, 0.0f, 0.0f, 0.0f, 1.0f, 3, nullptr, guard.get()));
    doomed.HP = 0.0f;
    doomed.m_dead = true;
    raider.Size = 1;
    EXPECT_FALSE(world().Fight(&raider));
    EXPECT_EQ(raider.m_soldiers.size(), 1u);
    EXPECT_EQ(guard->m_soldiers.front().m_target, nullptr);
    EXPECT_EQ(world().m_projectiles.front()->m_target, nullptr);
    EXPECT_EQ(raider.m_lifeState, UNIT_ACTIVE);
}

TEST_F(UnitBattleTest, ADefenderAndAnInvaderFightUntilOneSideIsDead) {
    DrawMap({"G####C"});
    world().CollectGates();
    auto guard = MakeUnit(true, 2.0f, 0.0f, 3);
    guard->m_battleHP = 30.0f;
    guard->m_damage = 6.0f;
    world().AddPlayerUnit(guard.get());
    world().WarpInPlayerUnits();
    KRUnit& raider = AddEnemy(0.0f, 0.0f, 2);
    raider.m_lifeState = UNIT_WAITING;
    raider.m_battleHP = 10.0f;
    raider.m_damage = 2.0f;
    raider.MoveSpd = 1.0f;
    bool fought = false;
    int frame = 0;
    for (; frame < 3000 && raider.m_lifeState != UNIT_DEAD && guard->m_lifeState != UNIT_DEAD; ++frame) {
        Frame(0.02f);
        fought = fought || (guard->m_battleState == UNIT_FIGHT && raider.m_battleState == UNIT_FIGHT);
    }
    EXPECT_TRUE(fought);
    EXPECT_EQ(raider.m_lifeState, UNIT_DEAD);
    EXPECT_EQ(guard->m_lifeState, UNIT_ACTIVE);
    EXPECT_GT(realm().m_stock[RESOURCE_MONEY], 50.0f); // the kills paid
    // The guard stepped out to meet it and is no further than one cell from home.
    EXPECT_LE(Distance3(guard->m_pos, guard->m_homePos), 1.0f);
}

TEST_F(UnitBattleTest, AFallenSoldierStaysDownOnceItsDeathHasPlayedThoughTheSheetReturnsToFrameZero) {
    KRUnit unit("Elemental"); // the test sheet's "Dead" runs frames 0 to 3
    KRMiniUnit& soldier = unit.m_soldiers.front();
    soldier.HP = 0.0f;
    ApplyKill(soldier, false, nullptr);
    ASSERT_TRUE(soldier.m_sprite.m_oneShot);
    soldier.SoldierFling = {0.01f, 0.0f, 0.0f};
    const float dt = 0.05f;
    plat::Vector3 fallen{};
    for (int frame = 0; frame < 12; ++frame) {
        clock.now += 60;
        unit.UpdateMiniUnits(&dt);
        if (frame == 8) {
            fallen = soldier.m_boundingBox.m_position;
        }
    }
    EXPECT_FALSE(soldier.m_sprite.m_playing);
    EXPECT_EQ(soldier.m_sprite.m_currentFrame, 0u);
    EXPECT_TRUE(soldier.m_deathOver);
    EXPECT_FALSE(soldier.m_sprite.m_visible);
    EXPECT_EQ(soldier.m_boundingBox.m_position, fallen);
}

} // namespace
