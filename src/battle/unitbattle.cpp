// The battle's unit steps on the world, and what a soldier does in them.
#include "battle/unitbattle.h"

#include "battle/gridpath.h"
#include "battle/projectile.h"
#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float kRangeSlack = 0.05f;
constexpr float kCapitalReach = 0.75f;
constexpr float kBlockingDistance = 1.0f;
constexpr float kArrived = 0.05f;
constexpr float kSoldierPace = 1.5f;
constexpr float kMeleeReach = 0.1f;
constexpr float kAttackPeriod = 5.0f;

plat::Vector3 CellPosition(const KRTile& tile) {
    return {static_cast<float>(tile.m_col), 0.0f, static_cast<float>(tile.m_row)};
}

// One axis of a step toward a goal, never past it.
float StepAxis(float from, float to, float step) {
    if (to > from) {
        return std::min(from + step, to);
    }
    if (to < from) {
        return std::max(from - step, to);
    }
    return from;
}

plat::Vector3 Truncated(const plat::Vector3& v) {
    return {std::trunc(v.x), std::trunc(v.y), std::trunc(v.z)};
}

bool AppendTargetsInRange(KRUnit& unit, KRUnit& other) {
    if (&other == &unit || other.m_lifeState != UNIT_ACTIVE || !IsTargetInRange(unit, other)) {
        return false;
    }
    if (std::find(unit.m_targets.begin(), unit.m_targets.end(), &other) == unit.m_targets.end()) {
        unit.m_targets.push_back(&other);
    }
    return true;
}

// Each soldier in turn takes the next soldier of the front target, from its first again when it runs out.
void LinkSoldiersToFront(KRUnit& unit) {
    if (unit.m_targets.empty() || unit.m_targets.front()->m_soldiers.empty()) {
        return;
    }
    std::list<KRMiniUnit>& enemies = unit.m_targets.front()->m_soldiers;
    auto next = enemies.begin();
    for (KRMiniUnit& soldier : unit.m_soldiers) {
        soldier.m_target = &*next;
        if (++next == enemies.end()) {
            next = enemies.begin();
        }
    }
    unit.m_relinkTargets = false;
}

void StartWarp(KRMiniUnit& soldier) {
    soldier.m_sprite.m_oneShot = false;
    soldier.m_sprite.SetAnimation("Warp");
}

} // namespace

GameData* BattleWorld() {
    Engine* engine = Engine::Current();
    return engine != nullptr ? engine->m_gameData.get() : nullptr;
}

PlayerEditor* BattleRealm() {
    Engine* engine = Engine::Current();
    return engine != nullptr ? engine->m_playerEditor : nullptr;
}

bool IsTargetInRange(const KRUnit& unit, const KRUnit& other) {
    return Distance3(unit.m_pos, other.m_pos) <= static_cast<float>(unit.Range) + kRangeSlack;
}

void SortTargetsByDistance(KRUnit& unit) {
    if (unit.m_targets.size() < 2) {
        return;
    }
    auto nearest = unit.m_targets.begin();
    float best = Distance3(unit.m_pos, (*nearest)->m_pos);
    for (auto it = std::next(unit.m_targets.begin()); it != unit.m_targets.end(); ++it) {
        const float d = Distance3(unit.m_pos, (*it)->m_pos);
        if (d < best) {
            best = d;
            nearest = it;
        }
    }
    std::iter_swap(unit.m_targets.begin(), nearest);
}

void UpdateUnitSoundPosition(KRUnit& unit) {
    unit.m_boundingBox.m_position = {unit.m_pos.x, 0.0f, -unit.m_pos.z};
}

void ClearBattleTargets(KRUnit& unit) {
    unit.m_targets.clear();
    unit.m_chaseTarget = nullptr;
    unit.m_relinkTargets = true;
    for (KRMiniUnit& soldier : unit.m_soldiers) {
        soldier.m_target = nullptr;
    }
}

float EffectiveAttackSpeed(const KRUnit& unit) {
    return unit.AttkSpd > 0.0f ? unit.AttkSpd : 1.0f;
}

// ---- Set-up ----

void GameData::CollectGates() {
    m_battleGates.clear();
    if (m_capitalTile == nullptr) {
        return;
    }
    const plat::Vector3 capital = CellPosition(*m_capitalTile);
    for (const auto& tile : m_tileMap.Grid()) {
        if (tile == nullptr || tile->m_type != TILE_GATE) {
            continue;
        }
        const plat::Vector3 gate = CellPosition(*tile);
        if (FindPath(gate.x, gate.z, capital.x, capital.z, m_tileMap) != gate) {
            m_battleGates.push_back(
                {static_cast<int32_t>(tile->m_col), static_cast<int32_t>(tile->m_row), kGateWarpInterval});
        }
    }
}

void GameData::ResetBattleFlags() {
    for (auto& unit : m_enemyUnits) {
        unit->m_sprite.m_visible = false;
        for (KRMiniUnit& soldier : unit->m_soldiers) {
            soldier.m_sprite.m_visible = false;
        }
    }
    for (KRUnit* unit : m_playerUnits) {
        unit->m_sprite.m_visible = false;
    }
}

void GameData::WarpInEnemies() {
    for (BattleGate& gate : m_battleGates) {
        if (gate.m_timer > 0.0f) {
            gate.m_timer -= m_battleFrameTime;
            continue;
        }
        auto waiting = std::find_if(m_enemyUnits.begin(), m_enemyUnits.end(),
                                    [](const auto& unit) { return unit->m_lifeState == UNIT_WAITING; });
        if (waiting == m_enemyUnits.end()) {
            continue;
        }
        KRUnit& unit = **waiting;
        unit.m_pos = {static_cast<float>(gate.m_col), 0.0f, static_cast<float>(gate.m_row)};
        unit.m_waypoint = unit.m_pos;
        ClearBattleTargets(unit);
        for (KRMiniUnit& soldier : unit.m_soldiers) {
            soldier.Initialize();
            StartWarp(soldier);
        }
        KRUnit::RemoveDeadMiniUnits(&unit);
        unit.m_lifeState = UNIT_ACTIVE;
        unit.m_battleState = UNIT_ADVANCE;
        UpdateUnitSoundPosition(unit);
        gate.m_timer = kGateWarpInterval;
    }
}

void GameData::WarpInPlayerUnits() {
    const float* mod = m_playerEditor != nullptr ? m_playerEditor->m_masteryMod : nullptr;
    for (KRUnit* unit : m_playerUnits) {
        unit->m_pos = unit->m_homePos;
        unit->m_waypoint = unit->m_pos;
        unit->m_lifeState = UNIT_ACTIVE;
        unit->m_battleState = UNIT_ADVANCE;
        ClearBattleTargets(*unit);
        for (KRMiniUnit& soldier : unit->m_soldiers) {
            soldier.Initialize();
            if (mod != nullptr && unit->m_unitClass != UNIT_CLASS_MAGICAL) {
                soldier.HP += mod[MASTERY_BIO];
            }
            if (mod != nullptr && unit->m_unitClass != UNIT_CLASS_BIOLOGICAL) {
                soldier.HP *= (mod[MASTERY_MAGIC] + 100.0f) / 100.0f;
            }
            StartWarp(soldier);
        }
        KRUnit::RemoveDeadMiniUnits(unit);
        UpdateUnitSoundPosition(*unit);
    }
}

// ---- Unit steps ----

bool GameData::AdvanceToCapital(KRUnit* unit) {
    if (m_capitalTile == nullptr) {
        FindCapitalTile();
        return false;
    }
    const plat::Vector3 capital = CellPosition(*m_capitalTile);
    if (Distance3(unit->m_pos, capital) < kCapitalReach) {
        AttackCapital(unit);
        return false;
    }
    unit->m_waypoint = FindPath(unit->m_pos.x, unit->m_pos.z, capital.x, capital.z, m_tileMap);
    return true;
}

void GameData::AttackCapital(KRUnit* unit) {
    if (unit->m_cooldown > 0.0f || unit->m_lifeState != UNIT_ACTIVE) {
        unit->m_cooldown -= m_battleFrameTime;
        return;
    }
    if (m_capitalTile != nullptr) {
        KRBuilding* capital = m_tileMap.FindBuildingAt(m_capitalTile->m_row, m_capitalTile->m_col);
        if (capital != nullptr) {
            capital->m_health -= static_cast<float>(unit->m_soldiers.size()) * unit->m_damage;
            if (capital->m_health <= 0.0f) {
                m_battleResult = BATTLE_DEFEAT;
            }
        }
    }
    unit->m_cooldown = EffectiveAttackSpeed(*unit);
}

bool GameData::PlayerUnitAdvance(KRUnit* unit) {
    auto takeAllInRange = [&]() {
        for (auto& enemy : m_enemyUnits) {
            AppendTargetsInRange(*unit, *enemy);
        }
        if (unit->m_targets.empty()) {
            return false;
        }
        SortTargetsByDistance(*unit);
        return true;
    };
    if (unit->m_stance == 0) {
        return takeAllInRange();
    }
    if (unit->m_stance != 1) {
        return false;
    }
    if (unit->m_chaseTarget == nullptr) {
        if (takeAllInRange()) {
            return true;
        }
        if (unit->m_pos == unit->m_homePos) {
            return false;
        }
        if (unit->m_waypoint == unit->m_pos) {
            unit->m_waypoint =
                FindPath(unit->m_pos.x, unit->m_pos.z, unit->m_homePos.x, unit->m_homePos.z, m_tileMap);
        }
        MoveUnit(unit);
        return false;
    }
    for (auto& enemy : m_enemyUnits) {
        if (AppendTargetsInRange(*unit, *enemy)) {
            return true;
        }
    }
    const plat::Vector3 chased = unit->m_chaseTarget->m_pos;
    unit->m_waypoint = FindPath(unit->m_pos.x, unit->m_pos.z, chased.x, chased.z, m_tileMap);
    unit->m_battleState = UNIT_MOVE;
    if (chased == unit->m_pos) {
        unit->m_chaseTarget = nullptr;
    }
    return false;
}

bool GameData::FindTargets(KRUnit* unit, bool searchPlayerUnits) {
    bool found = false;
    auto consider = [&](KRUnit& other) {
        if (AppendTargetsInRange(*unit, other)) {
            unit->m_battleState = UNIT_FIGHT;
            found = true;
        }
    };
    if (searchPlayerUnits) {
        for (KRUnit* other : m_playerUnits) {
            consider(*other);
        }
    } else {
        for (auto& other : m_enemyUnits) {
            consider(*other);
        }
    }
    SortTargetsByDistance(*unit);
    return found;
}

void GameData::MoveUnit(KRUnit* unit) {
    if (unit->m_lifeState != UNIT_ACTIVE) {
        return;
    }
    const float step = unit->MoveSpd * m_battleFrameTime;
    const plat::Vector3 goalCell = Truncated(unit->m_waypoint);
    for (auto& owned : m_enemyUnits) {
        const KRUnit& other = *owned;
        if (&other == unit || other.m_lifeState != UNIT_ACTIVE ||
            Distance3(other.m_pos, unit->m_pos) >= kBlockingDistance) {
            continue;
        }
        const bool holding = !other.m_targets.empty() && (other.Range == 1 || other.m_blocked != 0);
        if (holding && Truncated(other.m_pos) == goalCell) {
            unit->m_blocked = 1;
            return;
        }
    }
    unit->m_blocked = 0;
    unit->m_pos.x = StepAxis(unit->m_pos.x, unit->m_waypoint.x, step);
    unit->m_pos.y = StepAxis(unit->m_pos.y, unit->m_waypoint.y, step);
    unit->m_pos.z = StepAxis(unit->m_pos.z, unit->m_waypoint.z, step);
    if (Distance3(unit->m_pos, unit->m_waypoint) <= kArrived) {
        unit->m_pos = unit->m_waypoint;
        unit->m_battleState = UNIT_ADVANCE;
    }
}

bool GameData::Fight(KRUnit* unit) {
    while (!unit->m_targets.empty()) {
        KRUnit* front = unit->m_targets.front();
        if (front->m_lifeState != UNIT_ACTIVE) {
            unit->m_targets.pop_front();
            unit->m_relinkTargets = true;
            unit->m_chaseTarget = nullptr;
            break;
        }
        if (IsTargetInRange(*unit, *front)) {
            return true;
        }
        unit->m_targets.pop_front();
    }
    if (unit->Size > 0) {
        EraseDeadSoldiers(*unit);
    }
    if (unit->Size == 0) {
        unit->m_lifeState = UNIT_DEAD;
    }
    return false;
}

void GameData::EraseDeadSoldiers(KRUnit& unit) {
    auto forget = [&](const KRMiniUnit* gone) {
        for (auto& missile : m_projectiles) {
            if (missile->m_target == gone) {
                missile->m_target = nullptr;
            }
        }
        auto clearIn = [gone](KRUnit& other) {
            for (KRMiniUnit& soldier : other.m_soldiers) {
                if (soldier.m_target == gone) {
                    soldier.m_target = nullptr;
                }
            }
        };
        for (auto& other : m_enemyUnits) {
            clearIn(*other);
        }
        for (KRUnit* other : m_playerUnits) {
            clearIn(*other);
        }
    };
    for (auto it = unit.m_soldiers.begin(); it != unit.m_soldiers.end();) {
        if (it->HP <= 0.0f) {
            forget(&*it);
            it = unit.m_soldiers.erase(it);
        } else {
            ++it;
        }
    }
}

void GameData::LinkMiniUnitTargets(KRUnit* unit) {
    LinkSoldiersToFront(*unit);
    unit->m_relinkTargets = false;
}

void GameData::EnemyUnitStep(KRUnit* unit) {
    switch (unit->m_battleState) {
    case UNIT_ADVANCE:
        if (AdvanceToCapital(unit)) {
            unit->m_battleState = UNIT_MOVE;
        }
        break;
    case UNIT_MOVE:
        if (!FindTargets(unit, true)) {
            MoveUnit(unit);
        }
        break;
    case UNIT_FIGHT:
        if (Fight(unit)) {
            if (unit->m_relinkTargets) {
                LinkMiniUnitTargets(unit);
            }
        } else {
            unit->m_battleState = UNIT_MOVE;
        }
        break;
    default:
        break;
    }
    UpdateUnitSoundPosition(*unit);
}

void GameData::PlayerUnitStep(KRUnit* unit) {
    switch (unit->m_battleState) {
    case UNIT_ADVANCE:
        if (PlayerUnitAdvance(unit)) {
            unit->m_battleState = UNIT_FIGHT;
        }
        break;
    case UNIT_MOVE:
        if (!FindTargets(unit, false)) {
            MoveUnit(unit);
        }
        break;
    case UNIT_FIGHT:
        if (Fight(unit)) {
            if (unit->m_relinkTargets) {
                LinkSoldiersToFront(*unit);
            }
        } else {
            unit->m_battleState = UNIT_ADVANCE;
        }
        break;
    default:
        break;
    }
    UpdateUnitSoundPosition(*unit);
}

// ---- Soldiers ----

bool KRMiniUnit::KeepTarget() {
    if (m_target != nullptr && m_target->HP > 0.0f) {
        return true;
    }
    m_target = nullptr;
    if (m_owner == nullptr || m_owner->m_targets.empty()) {
        return false;
    }
    for (KRMiniUnit& enemy : m_owner->m_targets.front()->m_soldiers) {
        if (enemy.HP > 0.0f) {
            m_target = &enemy;
            return true;
        }
    }
    return false;
}

bool KRMiniUnit::InRange() const {
    if (m_owner == nullptr || m_target == nullptr) {
        return false;
    }
    if (m_owner->Range != 1) {
        return true;
    }
    return Distance3(m_position, m_target->m_position) <= (m_radius + m_target->m_radius) * kMeleeReach;
}

void KRMiniUnit::StepToward(float dt) {
    if (m_owner == nullptr || m_target == nullptr) {
        return;
    }
    const plat::Vector3 to = m_target->m_position - m_position;
    const float length = std::sqrt(to.x * to.x + to.y * to.y + to.z * to.z);
    if (length <= 0.0f) {
        return;
    }
    const float step = std::min(m_owner->MoveSpd * kSoldierPace * dt, length);
    m_position += to * (step / length);
}

void KRMiniUnit::Move(float dt) {
    if (m_owner == nullptr) {
        return;
    }
    const float step = m_owner->MoveSpd * kSoldierPace * dt;
    const plat::Vector3 d = m_formationSpot - m_position;
    m_formationSpot += m_owner->m_pos - m_ownerLastPos;
    m_ownerLastPos = m_owner->m_pos;
    for (int axis = 0; axis < 3; ++axis) {
        if (d[axis] == 0.0f) {
            continue;
        }
        if (d[axis] > step) {
            m_position[axis] += step;
        } else if (d[axis] < -step) {
            m_position[axis] -= step;
        } else {
            m_position[axis] = m_formationSpot[axis];
        }
    }
}

void KRMiniUnit::Attack(float) {
    if (m_attackCooldown > 0.0f || m_owner == nullptr || m_target == nullptr) {
        return;
    }
    KRUnit& unit = *m_owner;
    m_sprite.SetAnimation("Attack");
    m_sprite.m_oneShot = true;
    m_sprite.m_hold = false;
    Engine* engine = Engine::Current();
    GameData* world = BattleWorld();
    PlayerEditor* realm = BattleRealm();
    float* money = realm != nullptr ? &realm->m_stock[RESOURCE_MONEY] : nullptr;
    plat::ChannelGroup* group = unit.m_channelGroup.Handle().IsNull() ? nullptr : &unit.m_channelGroup;
    if (unit.Range < 2) {
        if (engine != nullptr && engine->m_audio.system) {
            engine->m_audio.PlayInGroup(AssetPaths::kEffectSword, group);
        }
        m_target->TakeDamage(unit.m_damage, unit.m_typeName, unit.Size, m_race, unit.m_playerSide);
        ApplyKill(*m_target, unit.m_playerSide, money);
    } else {
        if (engine != nullptr && engine->m_audio.system) {
            engine->m_audio.PlayInGroup(AssetPaths::kEffectEnergyBall, group);
        }
        if (world != nullptr) {
            auto missile = std::make_unique<KRProjectile>(m_target, m_position.x, m_position.y, m_position.z,
                                                          unit.m_damage, unit.Range, money, &unit);
            missile->TakeScatterPieces(world->m_scatterEffects);
            world->m_projectiles.push_back(std::move(missile));
        }
    }
    m_attackCooldown = kAttackPeriod / EffectiveAttackSpeed(unit);
    const float berserker = realm != nullptr ? realm->m_masteryMod[MASTERY_BERSERKER] : 0.0f;
    if (static_cast<float>(std::rand() % 100 + 1) < berserker) {
        m_attackCooldown *= 0.5f;
    }
}

void KRMiniUnit::BattleStep(float dt) {
    if (m_owner == nullptr || m_owner->m_lifeState == UNIT_WAITING) {
        return;
    }
    KRUnit& unit = *m_owner;
    if (unit.m_battleState == UNIT_FIGHT) {
        if (!KeepTarget()) {
            if (!unit.m_targets.empty()) {
                unit.m_targets.front()->m_lifeState = UNIT_DEAD;
            }
            unit.m_relinkTargets = true;
        } else if (InRange()) {
            Attack(dt);
        } else {
            StepToward(dt);
        }
    } else {
        Move(dt);
    }
}
