// Units and their soldiers: what each constructor builds, the two copies, the channel group, the cost
// rule, statistics by index, the squad's recount, death fling and formation, and the name tables.
#include "battle/unit_support.h"

#include "engine/engine.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using unittest::GroupName;
using unittest::kAudioMissingLine;
using unittest::UnitTest;

std::vector<KRMiniUnit*> Soldiers(KRUnit& unit) {
    std::vector<KRMiniUnit*> soldiers;
    for (KRMiniUnit& soldier : unit.m_soldiers) {
        soldiers.push_back(&soldier);
    }
    return soldiers;
}

void ExpectAt(const plat::Vector3& actual, float x, float y, float z) {
    EXPECT_FLOAT_EQ(actual.x, x);
    EXPECT_FLOAT_EQ(actual.y, y);
    EXPECT_FLOAT_EQ(actual.z, z);
}

// A squad of n soldiers with the given health each.
void MakeSquad(KRUnit& unit, const std::vector<float>& health) {
    unit.m_soldiers.clear();
    for (float hp : health) {
        unit.m_soldiers.emplace_back(&unit, unit.m_sprite.m_xmlName).HP = hp;
    }
    unit.Size = static_cast<int32_t>(health.size());
}

TEST_F(UnitTest, TheDefaultUnitIsAnUnnamedElementalPreviewWithOneUninitialisedSoldier) {
    KRUnit unit;
    EXPECT_EQ(unit.m_name, "UNNAMED");
    EXPECT_EQ(unit.m_sprite.m_xmlName, kElementalUnitFile);
    EXPECT_TRUE(unit.m_typeName.empty());
    EXPECT_FLOAT_EQ(unit.Cost, 3.75f);
    EXPECT_EQ(unit.HP, 1.0f);
    EXPECT_EQ(unit.m_battleHP, 0.0f);
    EXPECT_EQ(unit.MoveSpd, 0.5f);
    EXPECT_EQ(unit.Range, 1);
    EXPECT_EQ(unit.Size, 1);
    EXPECT_EQ(unit.m_race, RACE_ANGEL);
    EXPECT_EQ(unit.m_lifeState, UNIT_WAITING);
    EXPECT_EQ(unit.m_stance, 1);
    EXPECT_TRUE(unit.m_playerSide);
    EXPECT_TRUE(unit.m_relinkTargets);
    ExpectAt(unit.m_waypoint, -1.0f, -1.0f, -1.0f);
    EXPECT_TRUE(unit.m_sprite.m_visible);
    EXPECT_TRUE(unit.m_channelGroup.Handle().IsNull());
    for (float upkeep : unit.m_upkeep) {
        EXPECT_EQ(upkeep, 0.0f);
    }
    ASSERT_EQ(unit.m_soldiers.size(), 1u);
    const KRMiniUnit& soldier = unit.m_soldiers.front();
    EXPECT_EQ(soldier.m_name, "KRUnit");
    EXPECT_EQ(soldier.m_owner, &unit);
    EXPECT_EQ(soldier.HP, 0.0f);
    EXPECT_EQ(soldier.m_race, RACE_ANGEL);
    EXPECT_EQ(soldier.m_attackCooldown, unit.AttkSpd);
    EXPECT_EQ(soldier.m_boundingBox.m_scale[0], 0.4f);
    EXPECT_EQ(soldier.m_boundingBox.m_scale[1], 0.4f);
    // The red aura plays from its first frame.
    EXPECT_EQ(unit.m_auraName, "AuraRed");
    EXPECT_TRUE(unit.m_auraSprite.m_playing);
    EXPECT_EQ(unit.m_auraSprite.m_currentFrame, 2u);
    EXPECT_EQ(unit.m_auraSprite.m_endFrame, 3u);
}

TEST_F(UnitTest, TheNamedUnitTakesItsTypesPicturesAndReadySoldiersButNoTypeName) {
    KRUnit unit("Watcher Golem");
    EXPECT_EQ(unit.m_sprite.m_xmlName, "../Assets/Units/golem_unit.xml");
    EXPECT_EQ(unit.m_name, "../Assets/Units/golem_unit.xml");
    EXPECT_TRUE(unit.m_typeName.empty());
    EXPECT_EQ(unit.m_battleHP, 10.0f);
    EXPECT_FLOAT_EQ(unit.Cost, 3.75f);
    ASSERT_EQ(unit.m_soldiers.size(), 1u);
    EXPECT_EQ(unit.m_soldiers.front().HP, 10.0f);
    EXPECT_EQ(unit.m_soldiers.front().m_sprite.m_xmlName, "../Assets/Units/golem_unit.xml");
    EXPECT_TRUE(unit.m_sprite.m_visible);
}

TEST_F(UnitTest, TypeNamesPickTheirPicturesExactlyAndEverythingElseIsElemental) {
    const std::pair<const char*, const char*> table[] = {
        {"Elvenkind", "elvenkind"},
        {"Elven Warrior", "elvenkind"},
        {"Dragonkin", "dragonkin"},
        {"Lesser Dragonkin", "dragonkin"},
        {"Leviathian", "leviathian"},
        {"Leviathian Magus", "leviathian"},
        {"Golem", "golem"},
        {"Watcher Golem", "golem"},
        {"Taipen", "taipen"},
        {"Taipen Prowler", "taipen"},
        {"Angel", "angel"},
        {"Demon", "demon"},
        {"Demon Spawn", "demon"},
        {"Minor Elemental", "elemental"},
        {"", "elemental"},
        {"golem", "elemental"},
        {"Angel ", "elemental"},
        {"../Assets/Units/demon_unit.xml", "elemental"},
    };
    for (const auto& [type, race] : table) {
        EXPECT_EQ(KRUnit::SpriteFileOfType(type), std::string("../Assets/Units/") + race + "_unit.xml")
            << type;
    }
}

TEST_F(UnitTest, RaceWordsAndNumbersTranslateBothWaysAndCaseMatters) {
    const char* words[] = {"Elvenkind", "Dragonkin", "Leviathian", "Golem",
                           "Elemental", "Taipen",    "Demon",      "Angel"};
    for (Race race = 0; race < 8; ++race) {
        EXPECT_EQ(RaceToName(race), words[race]);
        EXPECT_EQ(RaceFromName(words[race]), race);
    }
    EXPECT_EQ(RaceToName(8), "UnknownRace");
    EXPECT_EQ(RaceToName(-1), "UnknownRace");
    EXPECT_EQ(RaceFromName("golem"), RACE_UNKNOWN);
    EXPECT_EQ(RaceFromName("Leviathan"), RACE_UNKNOWN);
    EXPECT_EQ(RaceFromName(""), RACE_UNKNOWN);
}

TEST_F(UnitTest, TheCostRuleSumsTheEightFightingStatisticsTimesRangeAndHalf) {
    KRUnit unit;
    unit.AttkSpd = 2.0f;
    unit.MoveSpd = 1.5f;
    unit.STR = 3.0f;
    unit.VIT = 4.0f;
    unit.DEF = 5.0f;
    unit.Accuracy = 6.0f;
    unit.Force = 7.0f;
    unit.Evade = 8.0f;
    unit.Range = 3;
    // Health, energy, slots and upkeep are not paid for.
    unit.HP = 100.0f;
    unit.m_battleHP = 50.0f;
    unit.Energy = 9.0f;
    unit.Slots = 4.0f;
    unit.m_upkeep[UPKEEP_MONEY] = 12.0f;
    EXPECT_FLOAT_EQ(unit.ComputeCost(), 36.5f * 3.0f * 0.5f);
    EXPECT_FLOAT_EQ(unit.Cost, 54.75f);
    unit.Range = 0;
    EXPECT_EQ(unit.ComputeCost(), 0.0f);
}

TEST_F(UnitTest, EachStatisticIndexChangesItsOwnFieldByOnePoint) {
    struct Named {
        StatIndex index;
        float KRUnit::*field;
    };
    const Named floats[] = {{STAT_BATTLE_HP, &KRUnit::m_battleHP},
                            {STAT_STR, &KRUnit::STR},
                            {STAT_VIT, &KRUnit::VIT},
                            {STAT_DEF, &KRUnit::DEF},
                            {STAT_MOVE_SPD, &KRUnit::MoveSpd},
                            {STAT_ACCURACY, &KRUnit::Accuracy},
                            {STAT_ATTK_SPD, &KRUnit::AttkSpd},
                            {STAT_FORCE, &KRUnit::Force},
                            {STAT_EVADE, &KRUnit::Evade},
                            {STAT_ENERGY, &KRUnit::Energy}};
    for (const Named& stat : floats) {
        KRUnit unit;
        const KRUnit before = unit;
        ASSERT_TRUE(unit.AddStat(stat.index)) << stat.index;
        EXPECT_EQ(unit.*stat.field, before.*stat.field + 1.0f) << stat.index;
        for (const Named& other : floats) {
            if (other.index != stat.index) {
                EXPECT_EQ(unit.*other.field, before.*other.field) << stat.index << " moved " << other.index;
            }
        }
        EXPECT_EQ(unit.Range, 1);
        EXPECT_TRUE(unit.SubtractStat(stat.index));
        EXPECT_EQ(unit.*stat.field, before.*stat.field) << stat.index;
    }
    KRUnit unit;
    EXPECT_TRUE(unit.AddStat(STAT_RANGE));
    EXPECT_EQ(unit.Range, 2);
    // Neither the file HP, the cost nor the slots have an index, and no index past 10 exists.
    EXPECT_FALSE(unit.AddStat(kStatCount));
    EXPECT_FALSE(unit.SubtractStat(-1));
    EXPECT_EQ(unit.HP, 1.0f);
    EXPECT_EQ(unit.Slots, 1.0f);
}

TEST_F(UnitTest, SubtractingReachesZeroButNeverGoesBelow) {
    KRUnit unit;
    EXPECT_TRUE(unit.SubtractStat(STAT_RANGE));
    EXPECT_EQ(unit.Range, 0);
    EXPECT_FALSE(unit.SubtractStat(STAT_RANGE));
    EXPECT_EQ(unit.Range, 0);
    // MoveSpd starts at 0.5: less than a whole point to give.
    EXPECT_FALSE(unit.SubtractStat(STAT_MOVE_SPD));
    EXPECT_EQ(unit.MoveSpd, 0.5f);
    unit.STR = 1.5f;
    EXPECT_TRUE(unit.SubtractStat(STAT_STR));
    EXPECT_EQ(unit.STR, 0.5f);
    EXPECT_FALSE(unit.SubtractStat(STAT_STR));
    // The battle HP of a default unit is already 0.
    EXPECT_FALSE(unit.SubtractStat(STAT_BATTLE_HP));
}

TEST_F(UnitTest, ACopyBuildsAFreshSquadOfSizeSoldiersAtTheSourcesBattleHealth) {
    KRUnit source("Golem");
    source.m_typeName = "Watcher Golem";
    source.m_name = "Watcher Golem (3)";
    source.m_race = RACE_GOLEM;
    source.m_battleHP = 50.0f;
    source.m_pos = {2.0f, 0.0f, 5.0f};
    source.m_homePos = {2.0f, 0.0f, 5.0f};
    source.STR = 4.0f;
    source.Range = 2;
    source.m_unitClass = UNIT_CLASS_BOTH;
    source.m_stance = 0;
    source.m_blocked = 1;
    source.m_relinkTargets = false;
    source.m_upkeep[UPKEEP_DARK] = 3.0f;
    source.m_auraName = "AuraBlue";
    KRUnit enemy;
    source.m_targets.push_back(&enemy);
    source.m_chaseTarget = &enemy;
    source.Cost = 999.0f;
    MakeSquad(source, {1.0f, -3.0f, 7.0f});
    source.Size = 7;

    const KRUnit copy(source);
    EXPECT_EQ(copy.m_typeName, "Watcher Golem");
    EXPECT_EQ(copy.m_name, "Watcher Golem (3)");
    EXPECT_EQ(copy.m_sprite.m_xmlName, "../Assets/Units/golem_unit.xml");
    EXPECT_EQ(copy.m_race, RACE_GOLEM);
    EXPECT_EQ(copy.STR, 4.0f);
    EXPECT_EQ(copy.Range, 2);
    EXPECT_EQ(copy.m_unitClass, UNIT_CLASS_BOTH);
    EXPECT_EQ(copy.m_stance, 0);
    EXPECT_EQ(copy.m_upkeep[UPKEEP_DARK], 3.0f);
    ExpectAt(copy.m_homePos, 2.0f, 0.0f, 5.0f);
    // Fighting links and waits are not copied; the cost is worked out again.
    EXPECT_EQ(copy.m_blocked, 0);
    EXPECT_TRUE(copy.m_relinkTargets);
    EXPECT_TRUE(copy.m_targets.empty());
    EXPECT_EQ(copy.m_chaseTarget, nullptr);
    EXPECT_FLOAT_EQ(copy.Cost, 10.5f);
    EXPECT_EQ(copy.m_auraName, "AuraBlue");
    EXPECT_EQ(copy.m_auraSprite.m_currentFrame, 1u);
    ASSERT_EQ(copy.m_soldiers.size(), 7u);
    for (const KRMiniUnit& soldier : copy.m_soldiers) {
        EXPECT_EQ(soldier.HP, 50.0f);
        EXPECT_EQ(soldier.m_owner, &copy);
        EXPECT_EQ(soldier.m_race, RACE_GOLEM);
        ExpectAt(soldier.m_position, 2.0f, 0.0f, 5.0f);
    }

    source.Size = 0;
    const KRUnit empty(source);
    EXPECT_TRUE(empty.m_soldiers.empty());
    source.Size = -2;
    EXPECT_TRUE(KRUnit(source).m_soldiers.empty());
}

TEST_F(UnitTest, AssignmentCopiesTheSquadAsItIsAndSharesTheChannelGroup) {
    StartAudio();
    KRUnit source("Demon");
    source.m_typeName = "Demon Spawn";
    source.Initialize();
    ASSERT_EQ(GroupName(source.m_channelGroup), "Demon Spawn");
    KRUnit enemy;
    source.m_targets.push_back(&enemy);
    source.m_chaseTarget = &enemy;
    MakeSquad(source, {4.0f, -1.0f});
    source.m_soldiers.back().m_dead = true;
    source.Cost = 123.0f;

    KRUnit assigned;
    assigned = source;
    EXPECT_EQ(assigned.m_channelGroup, source.m_channelGroup);
    EXPECT_EQ(assigned.m_typeName, "Demon Spawn");
    EXPECT_EQ(assigned.m_targets, source.m_targets);
    EXPECT_EQ(assigned.m_chaseTarget, &enemy);
    // Member by member: the cost is not worked out again, wounds and deaths stay.
    EXPECT_EQ(assigned.Cost, 123.0f);
    ASSERT_EQ(assigned.m_soldiers.size(), 2u);
    EXPECT_EQ(assigned.m_soldiers.front().HP, 4.0f);
    EXPECT_TRUE(assigned.m_soldiers.back().m_dead);
    // Only one of the two may give the shared group back.
    source.Cleanup(*engine);
    EXPECT_TRUE(source.m_channelGroup.Handle().IsNull());
    EXPECT_EQ(GroupName(assigned.m_channelGroup), "");
}

TEST_F(UnitTest, AssignedSoldiersServeTheirNewUnitEvenAfterTheSourceIsGone) {
    KRUnit assigned;
    {
        KRUnit source("Angel");
        source.m_battleHP = 30.0f;
        source.m_pos = {9.0f, 0.0f, 9.0f};
        MakeSquad(source, {30.0f, 30.0f, 30.0f});
        assigned = source;
    }
    for (const KRMiniUnit& soldier : assigned.m_soldiers) {
        EXPECT_EQ(soldier.m_owner, &assigned);
    }
    // Placing the unit readies its soldiers from its own values, not from the unit it was copied from.
    assigned.m_pos = {3.0f, 0.0f, 4.0f};
    assigned.m_battleHP = 12.0f;
    spritetest::CapturedLog log;
    assigned.Initialize();
    for (const KRMiniUnit& soldier : assigned.m_soldiers) {
        EXPECT_EQ(soldier.HP, 12.0f);
        ExpectAt(soldier.m_position, 3.0f, 0.0f, 4.0f);
    }
}

TEST_F(UnitTest, InitialiseWithoutSoundLogsTheCheckAndStillReadiesTheUnit) {
    KRUnit unit("Golem");
    unit.STR = 6.0f;
    unit.m_battleHP = 20.0f;
    unit.m_pos = {4.0f, 0.0f, 2.0f};
    unit.m_battleState = UNIT_FIGHT;
    unit.m_lifeState = UNIT_DEAD;
    unit.m_cooldown = 2.0f;
    MakeSquad(unit, {0.0f, -5.0f});
    unit.m_soldiers.front().m_sprite.m_visible = false;
    unit.m_soldiers.front().m_attackCooldown = 3.0f;

    spritetest::CapturedLog log;
    unit.Initialize();
    EXPECT_EQ(log.Lines(), std::vector<std::string>{kAudioMissingLine});
    EXPECT_TRUE(unit.m_channelGroup.Handle().IsNull());
    EXPECT_EQ(unit.m_battleState, UNIT_ADVANCE);
    EXPECT_EQ(unit.m_lifeState, UNIT_WAITING);
    EXPECT_EQ(unit.m_cooldown, 0.0f);
    ExpectAt(unit.m_waypoint, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(unit.m_damage, 6.0f);
    EXPECT_FALSE(unit.m_sprite.m_visible);
    EXPECT_FLOAT_EQ(unit.Cost, 6.25f);
    for (const KRMiniUnit& soldier : unit.m_soldiers) {
        EXPECT_EQ(soldier.HP, 20.0f);
        ExpectAt(soldier.m_position, 4.0f, 0.0f, 2.0f);
        ExpectAt(soldier.m_ownerLastPos, 4.0f, 0.0f, 2.0f);
        EXPECT_TRUE(soldier.m_sprite.m_visible);
        EXPECT_EQ(soldier.m_attackCooldown, 0.0f);
        EXPECT_EQ(soldier.m_target, nullptr);
    }
}

TEST_F(UnitTest, InitialiseWithSoundMakesOneGroupNamedByTheTypeAndCleanupGivesItBack) {
    StartAudio();
    KRUnit unit("Taipen");
    unit.m_typeName = "Taipen Prowler";
    spritetest::CapturedLog log;
    unit.Initialize();
    const plat::ChannelGroup first = unit.m_channelGroup;
    EXPECT_EQ(GroupName(first), "Taipen Prowler");
    // Placed again: a new group, and the old one is not left behind.
    unit.Initialize();
    EXPECT_NE(unit.m_channelGroup, first);
    EXPECT_EQ(GroupName(unit.m_channelGroup), "Taipen Prowler");
    EXPECT_EQ(GroupName(first), "");
    EXPECT_TRUE(log.Lines().empty());

    const plat::ChannelGroup second = unit.m_channelGroup;
    unit.Cleanup(*engine);
    EXPECT_EQ(GroupName(second), "");
    EXPECT_TRUE(unit.m_channelGroup.Handle().IsNull());
    // A copy never takes the group.
    unit.Initialize();
    EXPECT_TRUE(KRUnit(unit).m_channelGroup.Handle().IsNull());
}

TEST_F(UnitTest, TheUnitAndItsLivingSoldiersPlaceTheGroupsSoundsWhereTheUnitIsDrawn) {
    audioOut.autoFinish = false;
    StartAudio();
    ASSERT_TRUE(engine->m_audio.LoadSound("hit.wav", plat::kAudioDefault));
    KRUnit unit("Golem");
    unit.m_typeName = "Golem";
    unit.Initialize();
    ASSERT_TRUE(engine->m_audio.PlayInGroup("hit.wav", &unit.m_channelGroup));
    auto pan = [this] {
        engine->m_audio.Update();
        for (const plat::NullAudioOutput::Voice& voice : audioOut.voices) {
            if (voice.sounding) {
                return voice.pan;
            }
        }
        ADD_FAILURE() << "nothing sounds";
        return 0.0f;
    };
    // The listener stands at the origin looking along +z, so +x is heard on the right.
    unit.m_boundingBox.m_position = {10.0f, 0.0f, 0.0f};
    unit.Update(0.016f);
    EXPECT_GT(pan(), 0.9f);
    unit.m_boundingBox.m_position = {-10.0f, 0.0f, 0.0f};
    const float dt = 0.016f;
    unit.UpdateMiniUnits(&dt);
    EXPECT_LT(pan(), -0.9f);
    // A dead soldier no longer moves the sound.
    unit.m_soldiers.front().HP = 0.0f;
    unit.m_boundingBox.m_position = {10.0f, 0.0f, 0.0f};
    unit.UpdateMiniUnits(&dt);
    EXPECT_LT(pan(), -0.9f);
}

TEST_F(UnitTest, TheRecountFollowsTheDeadFlagsAndTheLastDeathKillsTheUnit) {
    KRUnit unit;
    MakeSquad(unit, {5.0f, 5.0f, 5.0f});
    unit.m_lifeState = UNIT_ACTIVE;
    const float dt = 0.016f;
    unit.UpdateMiniUnits(&dt);
    EXPECT_EQ(unit.Size, 3);
    EXPECT_EQ(unit.m_soldierCount, 3.0f);
    EXPECT_EQ(unit.m_lifeState, UNIT_ACTIVE);

    std::vector<KRMiniUnit*> soldiers = Soldiers(unit);
    soldiers[0]->m_dead = true;
    soldiers[2]->m_dead = true;
    unit.UpdateMiniUnits(&dt);
    EXPECT_EQ(unit.Size, 1);
    EXPECT_EQ(unit.m_soldierCount, 1.0f);
    EXPECT_EQ(unit.m_lifeState, UNIT_ACTIVE);
    soldiers[1]->m_dead = true;
    unit.UpdateMiniUnits(&dt);
    EXPECT_EQ(unit.Size, 0);
    EXPECT_EQ(unit.m_soldierCount, 0.0f);
    EXPECT_EQ(unit.m_lifeState, UNIT_DEAD);
    // The dead stay in the squad until they are removed.
    EXPECT_EQ(unit.m_soldiers.size(), 3u);
}

TEST_F(UnitTest, LivingSoldiersStandBelowTheirCellAndTheDeadAreFlungUntilTheirLastFrame) {
    KRUnit unit;
    MakeSquad(unit, {5.0f, 0.0f});
    std::vector<KRMiniUnit*> soldiers = Soldiers(unit);
    soldiers[0]->m_position = {3.0f, 0.0f, 7.0f};
    KRMiniUnit& dying = *soldiers[1];
    ASSERT_TRUE(dying.m_sprite.SetAnimation("Dead"));
    dying.m_boundingBox.m_position = {1.0f, 0.0f, -1.0f};
    dying.SoldierFling = {0.01f, 0.015f, -0.02f};

    const float dt = 0.02f;
    unit.UpdateMiniUnits(&dt);
    ExpectAt(soldiers[0]->m_boundingBox.m_position, 3.0f, -0.25f, -7.0f);
    ExpectAt(dying.m_boundingBox.m_position, 1.01f, 0.015f, -1.02f);
    EXPECT_FLOAT_EQ(dying.SoldierFling.y, 0.005f);
    unit.UpdateMiniUnits(&dt);
    ExpectAt(dying.m_boundingBox.m_position, 1.02f, 0.02f, -1.04f);
    EXPECT_FLOAT_EQ(dying.SoldierFling.y, -0.005f);
    // Falling now: the fling no longer slows.
    unit.UpdateMiniUnits(&dt);
    EXPECT_FLOAT_EQ(dying.SoldierFling.y, -0.005f);
    EXPECT_FLOAT_EQ(dying.m_boundingBox.m_position.y, 0.015f);
    EXPECT_TRUE(dying.m_sprite.m_visible);

    // At the last frame of its death the soldier is hidden and stays where it fell.
    dying.m_sprite.m_currentFrame = dying.m_sprite.m_endFrame;
    dying.m_sprite.m_playing = false;
    const plat::Vector3 fallen = dying.m_boundingBox.m_position;
    unit.UpdateMiniUnits(&dt);
    EXPECT_FALSE(dying.m_sprite.m_visible);
    ExpectAt(dying.m_boundingBox.m_position, fallen.x, fallen.y, fallen.z);
}

TEST_F(UnitTest, ALivingSoldiersAttackCooldownRunsDownWithGameTimeOnly) {
    KRUnit unit;
    MakeSquad(unit, {5.0f});
    KRMiniUnit& soldier = unit.m_soldiers.front();
    soldier.m_attackCooldown = 0.5f;
    const float dt = 0.2f;
    soldier.Update(&dt);
    EXPECT_FLOAT_EQ(soldier.m_attackCooldown, 0.3f);
    const float paused = 0.0f;
    soldier.Update(&paused);
    EXPECT_FLOAT_EQ(soldier.m_attackCooldown, 0.3f);
    soldier.Update(&dt);
    soldier.Update(&dt);
    EXPECT_FLOAT_EQ(soldier.m_attackCooldown, -0.1f);
    // Once ready it waits for its attack.
    soldier.Update(&dt);
    EXPECT_FLOAT_EQ(soldier.m_attackCooldown, -0.1f);
}

TEST_F(UnitTest, ASoldierTakesItsOwnersRaceOnlyFromTheTable) {
    KRUnit unit;
    MakeSquad(unit, {1.0f});
    KRMiniUnit& soldier = unit.m_soldiers.front();
    for (Race race : {RACE_ELVENKIND, RACE_DEMON, RACE_UNKNOWN}) {
        unit.m_race = race;
        soldier.Initialize();
        EXPECT_EQ(soldier.m_race, race);
    }
    unit.m_race = 9;
    soldier.Initialize();
    EXPECT_EQ(soldier.m_race, RACE_UNKNOWN);
    unit.m_race = -1;
    soldier.Initialize();
    EXPECT_EQ(soldier.m_race, RACE_UNKNOWN);
}

TEST_F(UnitTest, RemovingTheDeadKeepsTheSurvivorsInOrderAndLinesThemUp) {
    KRUnit unit;
    unit.m_pos = {4.0f, 0.0f, 6.0f};
    MakeSquad(unit, {3.0f, 0.0f, 2.0f, -4.0f, 1.0f});
    KRUnit::RemoveDeadMiniUnits(&unit);
    std::vector<KRMiniUnit*> survivors = Soldiers(unit);
    ASSERT_EQ(survivors.size(), 3u);
    EXPECT_EQ(survivors[0]->HP, 3.0f);
    EXPECT_EQ(survivors[1]->HP, 2.0f);
    EXPECT_EQ(survivors[2]->HP, 1.0f);
    ExpectAt(survivors[0]->m_formationSpot, 3.75f, 0.0f, 6.0f);
    ExpectAt(survivors[1]->m_formationSpot, 4.0f, 0.0f, 6.0f);
    ExpectAt(survivors[2]->m_formationSpot, 4.25f, 0.0f, 6.0f);

    MakeSquad(unit, {0.0f, -1.0f});
    KRUnit::RemoveDeadMiniUnits(&unit);
    EXPECT_TRUE(unit.m_soldiers.empty());
    KRUnit::RemoveDeadMiniUnits(&unit);
    KRUnit::RemoveDeadMiniUnits(nullptr);
}

TEST_F(UnitTest, EachSquadSizeUpToNineHasItsFormationAndLargerOnesStandTogether) {
    using Spots = std::vector<std::pair<float, float>>;
    const float d = 0.25f;
    const Spots table[] = {
        {{0, 0}},
        {{-d, 0}, {d, 0}},
        {{-d, 0}, {0, 0}, {d, 0}},
        {{-d, d}, {d, d}, {-d, -d}, {d, -d}},
        {{-d, d}, {d, d}, {0, 0}, {-d, -d}, {d, -d}},
        {{-d, d}, {d, d}, {-d, 0}, {d, 0}, {-d, -d}, {d, -d}},
        {{-d, d}, {d, d}, {-d, 0}, {0, 0}, {d, 0}, {-d, -d}, {d, -d}},
        {{-d, d}, {0, d}, {d, d}, {-d, 0}, {d, 0}, {-d, -d}, {0, -d}, {d, -d}},
        {{-d, d}, {0, d}, {d, d}, {-d, 0}, {0, 0}, {d, 0}, {-d, -d}, {0, -d}, {d, -d}},
    };
    KRUnit unit;
    unit.m_pos = {2.0f, 0.5f, 3.0f};
    for (size_t n = 1; n <= 10; ++n) {
        MakeSquad(unit, std::vector<float>(n, 1.0f));
        for (KRMiniUnit& soldier : unit.m_soldiers) {
            soldier.m_formationSpot = {-9.0f, -9.0f, -9.0f};
        }
        KRUnit::RemoveDeadMiniUnits(&unit);
        std::vector<KRMiniUnit*> soldiers = Soldiers(unit);
        ASSERT_EQ(soldiers.size(), n);
        for (size_t i = 0; i < n; ++i) {
            const auto [dx, dz] = n <= 9 ? table[n - 1][i] : std::pair<float, float>{0.0f, 0.0f};
            SCOPED_TRACE(testing::Message() << "squad of " << n << ", soldier " << i);
            ExpectAt(soldiers[i]->m_formationSpot, 2.0f + dx, 0.5f, 3.0f + dz);
        }
    }
}

TEST_F(UnitTest, DealingDamageTakesTheDamageOffTheOthersFileHealth) {
    KRUnit attacker;
    KRUnit defender;
    attacker.m_damage = 2.5f;
    defender.HP = 10.0f;
    MakeSquad(defender, {4.0f});
    attacker.DealDamage(defender);
    EXPECT_EQ(defender.HP, 7.5f);
    EXPECT_EQ(defender.m_soldiers.front().HP, 4.0f);
    EXPECT_EQ(attacker.HP, 1.0f);
}

TEST_F(UnitTest, AHiddenUnitDrawsNothingAndAShownOneDrawsItsBodyThenItsAura) {
    KRUnit unit;
    unit.Load(*engine);
    unit.m_sprite.m_visible = false;
    unit.Render(*engine);
    EXPECT_TRUE(device->spyDraws.empty());
    unit.m_sprite.m_visible = true;
    unit.m_boundingBox.m_position = {1.0f, 0.0f, -2.0f};
    unit.Render(*engine);
    ASSERT_EQ(device->spyDraws.size(), 2u);
    EXPECT_EQ(device->spyDraws[0].texture, TextureOf(unit.m_sprite.m_textureFile));
    EXPECT_EQ(device->spyDraws[1].texture, TextureOf(unit.m_auraSprite.m_textureFile));
    EXPECT_NE(TextureOf(unit.m_sprite.m_textureFile), TextureOf(unit.m_auraSprite.m_textureFile));
    EXPECT_FLOAT_EQ(device->spyDraws[0].world(3, 0), 1.0f);
    EXPECT_FLOAT_EQ(device->spyDraws[0].world(3, 2), -2.0f);
}

TEST_F(UnitTest, LoadTakesTheBodyAndBoxPicturesAndUnloadGivesThemBack) {
    KRUnit unit;
    const std::string body = unit.m_sprite.m_textureFile;
    const std::string box = unit.m_boundingBox.m_sprite.m_textureFile;
    ASSERT_NE(body, box);
    unit.Load(*engine);
    EXPECT_NE(TextureOf(body), nullptr);
    EXPECT_NE(TextureOf(box), nullptr);
    unit.Unload(*engine);
    EXPECT_EQ(TextureOf(body), nullptr);
    EXPECT_EQ(TextureOf(box), nullptr);
    spritetest::CapturedLog log;
    unit.Unload(*engine);
    std::vector<std::string> refusals;
    for (const std::string& line : log.Lines()) {
        if (line.rfind("Couldn't unload texture ", 0) == 0) {
            refusals.push_back(line);
        }
    }
    EXPECT_EQ(refusals, (std::vector<std::string>{"Couldn't unload texture " + body,
                                                  "Couldn't unload texture " + box}));
}

} // namespace
