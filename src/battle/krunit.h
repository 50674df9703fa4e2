// A unit: a squad of soldiers sharing one set of statistics, one race, one side, one upkeep and one
// cost. The same record is a blueprint, a default record, a roster entry, an army-file record, the
// editor's preview and a fighting unit; it is copied by value between those places.
#pragma once

#include "platform/audio.h"
#include "platform/d3dx.h"
#include "scene/krgameobject.h"
#include "scene/sprite.h"

#include <cstdint>
#include <list>
#include <string>

class Engine;
class KRUnit;

using Race = int32_t;
inline constexpr Race RACE_ELVENKIND = 0;
inline constexpr Race RACE_DRAGONKIN = 1;
inline constexpr Race RACE_LEVIATHIAN = 2;
inline constexpr Race RACE_GOLEM = 3;
inline constexpr Race RACE_ELEMENTAL = 4;
inline constexpr Race RACE_TAIPEN = 5;
inline constexpr Race RACE_DEMON = 6;
inline constexpr Race RACE_ANGEL = 7;
inline constexpr Race RACE_UNKNOWN = 8;

// Which mastery raises a unit's soldiers at warp-in.
using UnitClass = int32_t;
inline constexpr UnitClass UNIT_CLASS_BIOLOGICAL = 0;
inline constexpr UnitClass UNIT_CLASS_MAGICAL = 1;
inline constexpr UnitClass UNIT_CLASS_BOTH = 2;

using UnitBattleState = int32_t;
inline constexpr UnitBattleState UNIT_ADVANCE = 0;
inline constexpr UnitBattleState UNIT_MOVE = 1;
inline constexpr UnitBattleState UNIT_FIGHT = 2;

using UnitLifeState = int32_t;
inline constexpr UnitLifeState UNIT_ACTIVE = 0;
inline constexpr UnitLifeState UNIT_WAITING = 1;
inline constexpr UnitLifeState UNIT_DEAD = 2;

// The statistics the editor changes one point at a time.
using StatIndex = int32_t;
inline constexpr StatIndex STAT_BATTLE_HP = 0;
inline constexpr StatIndex STAT_STR = 1;
inline constexpr StatIndex STAT_VIT = 2;
inline constexpr StatIndex STAT_DEF = 3;
inline constexpr StatIndex STAT_MOVE_SPD = 4;
inline constexpr StatIndex STAT_RANGE = 5;
inline constexpr StatIndex STAT_ACCURACY = 6;
inline constexpr StatIndex STAT_ATTK_SPD = 7;
inline constexpr StatIndex STAT_FORCE = 8;
inline constexpr StatIndex STAT_EVADE = 9;
inline constexpr StatIndex STAT_ENERGY = 10;
inline constexpr StatIndex kStatCount = 11;

// A unit's own upkeep order: Dark comes last, unlike the realm's resource order.
enum UnitUpkeep : int32_t {
    UPKEEP_FIRE = 0,
    UPKEEP_EARTH = 1,
    UPKEEP_LIGHT = 2,
    UPKEEP_NATURE = 3,
    UPKEEP_ICE = 4,
    UPKEEP_METAL = 5,
    UPKEEP_PSYCHIC = 6,
    UPKEEP_MONEY = 7,
    UPKEEP_POP = 8,
    UPKEEP_DARK = 9,
    UPKEEP_COUNT = 10
};

inline constexpr const char* kElementalUnitFile = "../Assets/Units/elemental_unit.xml";
inline constexpr const char* kUnitAuraFile = "../Assets/krbcspr.xml";
inline constexpr const char* kDefaultAuraName = "AuraRed";

// One soldier of a squad. Drawn through the base at its bounding-box position.
class KRMiniUnit : public KRGameObject {
  public:
    KRMiniUnit(KRUnit* owner, const std::string& spriteXmlFile);
    KRMiniUnit(const KRMiniUnit&) = default;
    KRMiniUnit& operator=(const KRMiniUnit&) = default;
    ~KRMiniUnit() override = default;

    // Ready for a battle or for the map: full health at the owner's position, no target.
    void Initialize() override;
    void Unload(Engine& engine) override { UnloadTextures(engine); }

    // The soldier's own frame, called by its unit: animation, the end of its death, the attack
    // cooldown and where its unit's sounds come from. Choosing targets, moving and attacking belong to
    // the battle.
    using KRGameObject::Update;
    void Update(const float* dt);

    float HP = 0.0f;
    float m_attackCooldown = 0.0f;
    // Grid position: x = column, z = row.
    plat::Vector3 m_position{0.0f, 0.0f, 0.0f};
    plat::Vector3 m_formationSpot{0.0f, 0.0f, 0.0f};
    plat::Vector3 m_ownerLastPos{0.0f, 0.0f, 0.0f};
    // Added to the drawn position each frame of the death animation.
    plat::Vector3 SoldierFling{0.0f, 0.0f, 0.0f};
    // Borrowed.
    KRMiniUnit* m_target = nullptr;
    // The unit whose squad holds this soldier; borrowed.
    KRUnit* m_owner = nullptr;
    float m_radius = 0.4f;
    bool m_dead = false;
    Race m_race = RACE_ANGEL;

    // ---- Battle (battle/unitbattle.cpp, battle/projectile.cpp) ----
    // One hit by the race damage rule, with its two messages.
    void TakeDamage(float damage, const std::string& attackerType, int32_t attackerCount, Race attackerRace,
                    bool attackerIsPlayer);
    bool KeepTarget();
    bool InRange() const;
    void StepToward(float dt);
    void Attack(float dt);
    void Move(float dt);
    // Fighting or keeping formation, by the unit's battle state; nothing before the unit warps in.
    void BattleStep(float dt);
    // The "Dead" animation has reached its end. Remembered, since the one-shot then returns to frame 0.
    bool m_deathOver = false;
};

class KRUnit : public KRGameObject {
  public:
    // The editor's preview: Elemental pictures, named "UNNAMED", soldiers not yet initialised.
    KRUnit();
    // Pictures of the type (see SpriteFileOfType), named after their file; callers set m_typeName.
    explicit KRUnit(const std::string& typeName);
    // A fresh squad of Size soldiers, no channel group, no targets.
    KRUnit(const KRUnit& other);
    // Every member, the squad and the channel group included; the copied soldiers serve this unit. The
    // group is then shared and only one of the two may release it.
    KRUnit& operator=(const KRUnit& other);
    ~KRUnit() override = default;

    // The body and box pictures; the aura's is resident from start-up.
    void Load(Engine& engine) override;
    void Initialize() override;
    void Update(float delta) override;
    void Render(Engine& engine) override;
    void Cleanup(Engine& engine) override;
    void Unload(Engine& engine) override { UnloadTextures(engine); }
    // Takes this unit's damage off the other's file HP.
    virtual void DealDamage(KRUnit& other);

    // Stores and returns the cost rule over the current statistics.
    float ComputeCost();
    // Recounts the living soldiers (the unit dies with the last) and runs their frame.
    void UpdateMiniUnits(const float* dt);
    // Drops the soldiers without health and lays the rest out around the unit.
    static void RemoveDeadMiniUnits(KRUnit* unit);
    // One point more; false only for an index that does not exist.
    bool AddStat(StatIndex index);
    // One point less, never below 0; false when refused.
    bool SubtractStat(StatIndex index);

    static std::string SpriteFileOfType(const std::string& typeName);

    UnitClass m_unitClass = UNIT_CLASS_BIOLOGICAL;
    UnitBattleState m_battleState = UNIT_ADVANCE;
    int32_t m_blocked = 0;
    UnitLifeState m_lifeState = UNIT_WAITING;
    int32_t m_stance = 1;
    Sprite m_auraSprite;
    std::string m_auraName = kDefaultAuraName;
    // Grid positions: x = column, z = row.
    plat::Vector3 m_homePos{0.0f, 0.0f, 0.0f};
    plat::Vector3 m_pos{0.0f, 0.0f, 0.0f};
    plat::Vector3 m_waypoint{-1.0f, -1.0f, -1.0f};
    // Opposing units, borrowed; the front one is fought.
    std::list<KRUnit*> m_targets;
    KRUnit* m_chaseTarget = nullptr;
    std::string m_typeName;
    float MoveSpd = 0.5f;
    float m_radius = 0.4f;
    float m_battleHP = 0.0f;
    float m_damage = 1.0f;
    float AttkSpd = 1.0f;
    float m_cooldown = 0.0f;
    int32_t Range = 1;
    float HP = 1.0f;
    float STR = 1.0f;
    float VIT = 1.0f;
    float DEF = 1.0f;
    float Accuracy = 1.0f;
    float Cost = 0.0f;
    float Force = 1.0f;
    float Evade = 1.0f;
    float Energy = 1.0f;
    float Slots = 1.0f;
    bool m_playerSide = true;
    Race m_race = RACE_ANGEL;
    float m_upkeep[UPKEEP_COUNT] = {};
    bool m_relinkTargets = true;
    // Living soldiers.
    int32_t Size = 1;
    float m_soldierCount = 1.0f;
    std::list<KRMiniUnit> m_soldiers;
    // Owned, but released only by Cleanup; null until Initialize finds the audio system.
    plat::ChannelGroup m_channelGroup;

  private:
    // The constructors' shared tail: values, squad, race and aura.
    void Build(bool initialiseSoldiers);
    void PlayAura();
    // The field a StatIndex names, for the float statistics.
    float* FloatStat(StatIndex index);
};

// "Elvenkind" .. "Angel" for 0 to 7, else "UnknownRace".
std::string RaceToName(Race race);
// The exact race word's number, else RACE_UNKNOWN.
Race RaceFromName(const std::string& name);
