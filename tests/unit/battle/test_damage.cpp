// The race damage rule with its messages and the kill, and the missile's flight, hit and sparks.
#include "battle/battle_support.h"
#include "battle/projectile.h"
#include "kingdom/unitinfocard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

using battletest::BattleTest;

class DamageTest : public BattleTest {};

TEST_F(DamageTest, RaceFactorArmourAndFloor) {
    auto golem = MakeUnit(false, 0.0f, 0.0f);
    golem->DEF = 5.0f;
    KRMiniUnit& soldier = golem->m_soldiers.front();
    soldier.HP = 100.0f;
    soldier.TakeDamage(10.0f, "Watcher Golem", 3, RACE_GOLEM, true);
    EXPECT_FLOAT_EQ(soldier.HP, 55.0f); // 10 x 5 - 5
    golem->DEF = 1000.0f;
    soldier.TakeDamage(10.0f, "Watcher Golem", 3, RACE_GOLEM, true);
    EXPECT_FLOAT_EQ(soldier.HP, 54.0f); // never less than 1

    EXPECT_FLOAT_EQ(RaceMultiplier(RACE_ANGEL, RACE_DEMON), 10.0f);
    EXPECT_FLOAT_EQ(RaceMultiplier(RACE_DEMON, RACE_DEMON), 5.0f);
    EXPECT_FLOAT_EQ(RaceMultiplier(RACE_TAIPEN, RACE_LEVIATHIAN), 0.25f);
    EXPECT_FLOAT_EQ(RaceMultiplier(RACE_ELEMENTAL, RACE_GOLEM), 0.5f);
    EXPECT_FLOAT_EQ(RaceMultiplier(RACE_UNKNOWN, RACE_DEMON), 1.0f);
    EXPECT_FLOAT_EQ(RaceMultiplier(RACE_ANGEL, -1), 1.0f);
}

TEST_F(DamageTest, MasteriesAndTheTwoMessages) {
    auto defender = MakeUnit(true, 0.0f, 0.0f, 3);
    defender->m_typeName = "Watcher Golem";
    defender->DEF = 2.0f;
    defender->Size = 3;
    KRMiniUnit& soldier = defender->m_soldiers.front();
    soldier.HP = 100.0f;
    realm().m_masteryMod[MASTERY_COMMANDER] = 5.0f;  // the player's only
    realm().m_masteryMod[MASTERY_FATALITY] = 101.0f; // always critical
    realm().m_masteryMod[MASTERY_SHARPENED_ATTACKS] = 2.0f;
    realm().m_masteryMod[MASTERY_HARDENED_SKIN] = 50.0f;
    soldier.TakeDamage(10.0f, "Demon Spawn", 4, RACE_DEMON, false);
    // Demon on Golem x1, critical x2, armour 2 x 1.5.
    EXPECT_FLOAT_EQ(soldier.HP, 100.0f - 17.0f);
    ASSERT_EQ(realm().m_messages.size(), 2u);
    EXPECT_EQ(realm().m_messages.front().m_text, "Enemy'sDemon Spawn(4) dealt 17(1X)");
    EXPECT_EQ(realm().m_messages.front().m_lineCount, 1);
    EXPECT_EQ(realm().m_messages.back().m_text, "dmg to YourWatcher Golem(3)");
    EXPECT_EQ(realm().m_messages.back().m_lineCount, 2);
    EXPECT_EQ(realm().m_messages.back().m_colour, 0xFFFFFFFFu);
    realm().m_masteryMod[MASTERY_FATALITY] = 0.0f;
    soldier.TakeDamage(10.0f, "Elven Warrior", 2, RACE_ELVENKIND, true);
    EXPECT_EQ(realm().m_messages.back().m_text.substr(0, 14), "dmg to Enemy's");
    EXPECT_EQ(std::next(realm().m_messages.rbegin())->m_text, "Your Elven Warrior(2) dealt 42(3X)");
}

TEST_F(DamageTest, OnlyThePlayersKillsPay) {
    auto enemy = MakeUnit(false, 0.0f, 0.0f);
    KRMiniUnit& soldier = enemy->m_soldiers.front();
    const float reward = enemy->ComputeCost() / 10.0f;
    float money = 50.0f;
    soldier.HP = 0.0f;
    ApplyKill(soldier, false, &money);
    EXPECT_TRUE(soldier.m_dead);
    EXPECT_FLOAT_EQ(money, 50.0f);
    EXPECT_FLOAT_EQ(soldier.HP, 0.0f);
    ApplyKill(soldier, true, &money);
    EXPECT_FLOAT_EQ(money, 50.0f + reward);
    EXPECT_FLOAT_EQ(soldier.HP, -9999.9f);
    soldier.HP = 1.0f;
    soldier.m_dead = false;
    ApplyKill(soldier, true, &money);
    EXPECT_FALSE(soldier.m_dead);
}

TEST_F(DamageTest, AMissileArcsOverAboutTwoSeconds) {
    auto shooter = MakeUnit(true, 0.0f, 0.0f);
    auto target = MakeUnit(false, 4.0f, 0.0f);
    KRMiniUnit& aimed = target->m_soldiers.front();
    KRProjectile missile(&aimed, 0.0f, 0.0f, 0.0f, 5.0f, 3, nullptr, shooter.get());
    EXPECT_FLOAT_EQ(missile.m_distance, 4.0f);
    missile.m_frameTime = 0.02f;
    float highest = 0.0f;
    int frames = 0;
    while (!missile.HasHit() && frames < 400) {
        missile.Move();
        highest = std::max(highest, missile.m_position.y);
        ASSERT_LE(missile.m_position.x, 4.0f);
        ++frames;
    }
    EXPECT_GT(highest, 0.8f);
    EXPECT_NEAR(frames * 0.02f, 2.0f, 0.25f);
}

TEST_F(DamageTest, ALaunchStraightAboveItsTargetFallsOntoIt) {
    auto target = MakeUnit(false, 2.0f, 2.0f);
    KRMiniUnit& aimed = target->m_soldiers.front();
    const plat::Vector3 below = aimed.m_position;
    KRProjectile missile(&aimed, below.x, below.y + 0.5f, below.z, 5.0f, 3, nullptr, nullptr);
    EXPECT_FALSE(missile.HasHit()); // 0.5 above, radius 0.4: out of reach
    missile.m_frameTime = 0.02f;
    int frames = 0;
    while (!missile.HasHit() && frames < 200) {
        missile.Move();
        ++frames;
    }
    EXPECT_LT(frames, 100);
    EXPECT_FLOAT_EQ(missile.m_position.x, below.x);
    EXPECT_FLOAT_EQ(missile.m_position.z, below.z);
}

TEST_F(DamageTest, ImpactHurtsSendsTheTargetAfterTheShooterAndScatters) {
    auto shooter = MakeUnit(true, 0.0f, 0.0f);
    shooter->m_damage = 3.0f;
    auto target = MakeUnit(false, 3.0f, 0.0f);
    target->DEF = 0.0f;
    KRMiniUnit& aimed = target->m_soldiers.front();
    aimed.HP = 20.0f;
    float money = 0.0f;
    KRProjectile missile(&aimed, 0.0f, 0.0f, 0.0f, 3.0f, 3, &money, shooter.get());
    missile.Impact();
    EXPECT_FLOAT_EQ(aimed.HP, 20.0f - 3.0f * 5.0f); // Golem on Golem
    EXPECT_EQ(target->m_chaseTarget, shooter.get());
    std::list<std::unique_ptr<KRGameObject>> sparks;
    missile.TakeScatterPieces(sparks);
    ASSERT_FALSE(sparks.empty());
    for (int frame = 0; frame < 100; ++frame) {
        for (auto& spark : sparks) {
            KRProjectile::Scatter(static_cast<ScatterPiece&>(*spark), 0.02f);
        }
        sparks.remove_if(
            [](const auto& spark) { return static_cast<ScatterPiece&>(*spark).m_finished == 1; });
    }
    EXPECT_TRUE(sparks.empty());
    // A missile whose target was taken away is done without effect.
    missile.m_target = nullptr;
    EXPECT_FALSE(missile.HasHit());
    EXPECT_TRUE(missile.m_done);
}

TEST_F(DamageTest, TheInfoCardOfAClickedUnit) {
    KRUnit unit;
    unit.m_name = "Primal Mage";
    unit.m_damage = 20.0f;
    unit.DEF = 1.0f;
    unit.m_battleHP = 10.0f;
    unit.AttkSpd = 2.0f;
    unit.MoveSpd = 0.5f;
    EXPECT_EQ(BuildUnitInfoCardText(unit),
              "Unit Info Card :\tPrimal Mage\nDamage : Defense : Health ---- 20 : 1 : "
              "10\nattackSpeed : MoveSpeed   ---- 2 : 0.5\n");
}

} // namespace
