#include "battle/krunit.h"

#include "engine/engine.h"
#include "engine/kraudiosys.h"
#include "engine/krlog.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace {

constexpr float kSoldierScale = 0.4f;
// Soldiers stand a little below their unit.
constexpr float kSoldierHeight = -0.25f;
constexpr float kFlingFall = 0.01f;
constexpr float kFormationSpacing = 0.25f;
constexpr size_t kLargestFormation = 9;

// Offsets (column, row) in units of the spacing, for squads of 1 to 9, soldiers in list order.
struct Offset {
    int8_t dx;
    int8_t dz;
};
const Offset kFormation1[] = {{0, 0}};
const Offset kFormation2[] = {{-1, 0}, {1, 0}};
const Offset kFormation3[] = {{-1, 0}, {0, 0}, {1, 0}};
const Offset kFormation4[] = {{-1, 1}, {1, 1}, {-1, -1}, {1, -1}};
const Offset kFormation5[] = {{-1, 1}, {1, 1}, {0, 0}, {-1, -1}, {1, -1}};
const Offset kFormation6[] = {{-1, 1}, {1, 1}, {-1, 0}, {1, 0}, {-1, -1}, {1, -1}};
const Offset kFormation7[] = {{-1, 1}, {1, 1}, {-1, 0}, {0, 0}, {1, 0}, {-1, -1}, {1, -1}};
const Offset kFormation8[] = {{-1, 1}, {0, 1}, {1, 1}, {-1, 0}, {1, 0}, {-1, -1}, {0, -1}, {1, -1}};
const Offset kFormation9[] = {{-1, 1}, {0, 1}, {1, 1}, {-1, 0}, {0, 0}, {1, 0}, {-1, -1}, {0, -1}, {1, -1}};
const Offset* const kFormations[kLargestFormation + 1] = {nullptr,     kFormation1, kFormation2, kFormation3,
                                                          kFormation4, kFormation5, kFormation6, kFormation7,
                                                          kFormation8, kFormation9};

const char* const kRaceNames[] = {"Elvenkind", "Dragonkin", "Leviathian", "Golem",
                                  "Elemental", "Taipen",    "Demon",      "Angel"};

struct TypeSprite {
    const char* typeName;
    const char* file;
};
const TypeSprite kTypeSprites[] = {
    {"Elvenkind", "../Assets/Units/elvenkind_unit.xml"},
    {"Elven Warrior", "../Assets/Units/elvenkind_unit.xml"},
    {"Dragonkin", "../Assets/Units/dragonkin_unit.xml"},
    {"Lesser Dragonkin", "../Assets/Units/dragonkin_unit.xml"},
    {"Leviathian", "../Assets/Units/leviathian_unit.xml"},
    {"Leviathian Magus", "../Assets/Units/leviathian_unit.xml"},
    {"Golem", "../Assets/Units/golem_unit.xml"},
    {"Watcher Golem", "../Assets/Units/golem_unit.xml"},
    {"Taipen", "../Assets/Units/taipen_unit.xml"},
    {"Taipen Prowler", "../Assets/Units/taipen_unit.xml"},
    {"Angel", "../Assets/Units/angel_unit.xml"},
    {"Demon", "../Assets/Units/demon_unit.xml"},
    {"Demon Spawn", "../Assets/Units/demon_unit.xml"},
};

// A small random throw: sideways either way, always upwards first.
plat::Vector3 RandomFling() {
    const float x = static_cast<float>(std::rand() % 41 - 20) * 0.001f;
    const float y = static_cast<float>(std::rand() % 31 + 20) * 0.001f;
    const float z = static_cast<float>(std::rand() % 41 - 20) * 0.001f;
    return {x, y, z};
}

} // namespace

// ---- KRMiniUnit ----

KRMiniUnit::KRMiniUnit(KRUnit* owner, const std::string& spriteXmlFile)
    : KRGameObject("KRUnit", spriteXmlFile), SoldierFling(RandomFling()), m_owner(owner) {
    m_boundingBox.m_scale[0] = kSoldierScale;
    m_boundingBox.m_scale[1] = kSoldierScale;
    if (owner != nullptr) {
        m_position = owner->m_pos;
        m_race = owner->m_race;
        m_attackCooldown = owner->AttkSpd;
    }
    m_sprite.m_visible = true;
    m_target = nullptr;
}

void KRMiniUnit::Initialize() {
    m_target = nullptr;
    m_deathOver = false;
    m_sprite.m_visible = true;
    m_attackCooldown = 0.0f;
    m_formationSpot.x = 0.0f;
    if (m_owner == nullptr) {
        return;
    }
    HP = m_owner->m_battleHP;
    m_position = m_owner->m_pos;
    m_ownerLastPos = m_owner->m_pos;
    m_radius = m_owner->m_radius;
    // A race outside the table leaves the soldier's as it was.
    if (m_owner->m_race >= RACE_ELVENKIND && m_owner->m_race <= RACE_UNKNOWN) {
        m_race = m_owner->m_race;
    }
}

void KRMiniUnit::Update(const float* dt) {
    m_sprite.Animate(dt);
    if (HP <= 0.0f) {
        if (m_sprite.m_currentFrame >= m_sprite.m_endFrame || !m_sprite.m_playing) {
            m_deathOver = true;
        }
        if (m_deathOver) {
            m_sprite.m_visible = false;
        }
        return;
    }
    const float delta = dt != nullptr ? *dt : 0.0f;
    BattleStep(delta);
    if (m_attackCooldown > 0.0f) {
        m_attackCooldown -= delta;
    }
    if (m_owner != nullptr && !m_owner->m_channelGroup.Handle().IsNull()) {
        const plat::Vector3& drawn = m_owner->m_boundingBox.m_position;
        const plat::AudioVector position{drawn.x, drawn.y, drawn.z};
        m_owner->m_channelGroup.Override3DAttributes(&position, nullptr);
    }
}

// ---- KRUnit ----

KRUnit::KRUnit() : KRGameObject("KRUnit", kElementalUnitFile) {
    m_auraSprite.InitWithXML(kUnitAuraFile, false);
    m_name = "UNNAMED";
    Build(false);
}

KRUnit::KRUnit(const std::string& typeName) : KRGameObject("KRUnit", SpriteFileOfType(typeName)) {
    m_auraSprite.InitWithXML(kUnitAuraFile, false);
    m_name = m_sprite.m_xmlName;
    m_battleHP = 10.0f;
    Build(true);
}

void KRUnit::Build(bool initialiseSoldiers) {
    ComputeCost();
    m_lifeState = UNIT_WAITING;
    const std::string spriteFile = m_sprite.m_xmlName;
    // At least one soldier, whatever Size says.
    for (int32_t i = 1; i == 1 || i <= Size; ++i) {
        KRMiniUnit& soldier = m_soldiers.emplace_back(this, spriteFile);
        if (initialiseSoldiers) {
            soldier.Initialize();
        }
    }
    m_race = RACE_ANGEL;
    for (KRMiniUnit& soldier : m_soldiers) {
        soldier.m_race = m_race;
    }
    PlayAura();
    m_sprite.m_visible = true;
    m_unitClass = UNIT_CLASS_BIOLOGICAL;
}

KRUnit::KRUnit(const KRUnit& other)
    : KRGameObject("KRUnit", other.m_sprite.m_xmlName), m_unitClass(other.m_unitClass),
      m_battleState(other.m_battleState), m_blocked(0), m_lifeState(other.m_lifeState),
      m_stance(other.m_stance), m_auraName(other.m_auraName), m_homePos(other.m_homePos), m_pos(other.m_pos),
      m_waypoint(other.m_waypoint), m_typeName(other.m_typeName), MoveSpd(other.MoveSpd),
      m_radius(other.m_radius), m_battleHP(other.m_battleHP), m_damage(other.m_damage),
      AttkSpd(other.AttkSpd), m_cooldown(other.m_cooldown), Range(other.Range), HP(other.HP), STR(other.STR),
      VIT(other.VIT), DEF(other.DEF), Accuracy(other.Accuracy), Force(other.Force), Evade(other.Evade),
      Energy(other.Energy), Slots(other.Slots), m_playerSide(other.m_playerSide), m_race(other.m_race),
      m_relinkTargets(true), Size(other.Size), m_soldierCount(other.m_soldierCount) {
    m_auraSprite.InitWithXML(kUnitAuraFile, false);
    m_sprite = other.m_sprite;
    m_name = other.m_name;
    std::copy(std::begin(other.m_upkeep), std::end(other.m_upkeep), std::begin(m_upkeep));
    ComputeCost();
    // A fresh squad, not the source's soldiers with their wounds.
    const std::string spriteFile = m_sprite.m_xmlName;
    for (int32_t i = 1; i <= Size; ++i) {
        m_soldiers.emplace_back(this, spriteFile).Initialize();
    }
    for (KRMiniUnit& soldier : m_soldiers) {
        soldier.m_race = m_race;
    }
    PlayAura();
    m_sprite.m_visible = true;
}

KRUnit& KRUnit::operator=(const KRUnit& other) {
    if (this == &other) {
        return *this;
    }
    KRGameObject::operator=(other);
    m_unitClass = other.m_unitClass;
    m_battleState = other.m_battleState;
    m_blocked = other.m_blocked;
    m_lifeState = other.m_lifeState;
    m_stance = other.m_stance;
    m_auraSprite = other.m_auraSprite;
    m_auraName = other.m_auraName;
    m_homePos = other.m_homePos;
    m_pos = other.m_pos;
    m_waypoint = other.m_waypoint;
    m_targets = other.m_targets;
    m_chaseTarget = other.m_chaseTarget;
    m_typeName = other.m_typeName;
    MoveSpd = other.MoveSpd;
    m_radius = other.m_radius;
    m_battleHP = other.m_battleHP;
    m_damage = other.m_damage;
    AttkSpd = other.AttkSpd;
    m_cooldown = other.m_cooldown;
    Range = other.Range;
    HP = other.HP;
    STR = other.STR;
    VIT = other.VIT;
    DEF = other.DEF;
    Accuracy = other.Accuracy;
    Cost = other.Cost;
    Force = other.Force;
    Evade = other.Evade;
    Energy = other.Energy;
    Slots = other.Slots;
    m_playerSide = other.m_playerSide;
    m_race = other.m_race;
    std::copy(std::begin(other.m_upkeep), std::end(other.m_upkeep), std::begin(m_upkeep));
    m_relinkTargets = other.m_relinkTargets;
    Size = other.Size;
    m_soldierCount = other.m_soldierCount;
    m_soldiers = other.m_soldiers;
    // The copied soldiers belong to this squad: left naming the source, they would take its position
    // and health when initialised, and read a freed unit once the source is gone.
    for (KRMiniUnit& soldier : m_soldiers) {
        soldier.m_owner = this;
    }
    m_channelGroup = other.m_channelGroup;
    return *this;
}

void KRUnit::PlayAura() {
    m_auraSprite.SetAnimation(m_auraName);
}

void KRUnit::Load(Engine& engine) {
    m_sprite.Load(engine);
    m_boundingBox.m_sprite.Load(engine);
}

void KRUnit::Initialize() {
    Engine* engine = Engine::Current();
    if (engine != nullptr && engine->m_audio.system) {
        // Placing a unit again must not leave its old group behind.
        if (!m_channelGroup.Handle().IsNull()) {
            m_channelGroup.Release();
            m_channelGroup = plat::ChannelGroup();
        }
        if (!CheckFmodResult(
                engine->m_audio.system->CreateChannelGroup(m_typeName.c_str(), &m_channelGroup))) {
            m_channelGroup = plat::ChannelGroup();
        }
    } else {
        PrintCheckFailure("krunit", 226, "\"Audio system not init, cannot create channel group for Unit.\"");
    }
    m_battleState = UNIT_ADVANCE;
    m_lifeState = UNIT_WAITING;
    m_cooldown = 0.0f;
    m_waypoint = {0.0f, 0.0f, 0.0f};
    m_damage = STR;
    m_sprite.m_visible = false;
    ComputeCost();
    for (KRMiniUnit& soldier : m_soldiers) {
        soldier.Initialize();
    }
}

void KRUnit::Update(float delta) {
    m_sprite.Animate(&delta);
    if (!m_channelGroup.Handle().IsNull()) {
        const plat::Vector3& p = m_boundingBox.m_position;
        const plat::AudioVector position{p.x, p.y, p.z};
        m_channelGroup.Override3DAttributes(&position, nullptr);
    }
}

void KRUnit::Render(Engine& engine) {
    if (!m_sprite.m_visible) {
        return;
    }
    DrawWithWorldTransform(engine);
    m_auraSprite.Draw(engine);
}

void KRUnit::Cleanup(Engine& engine) {
    (void)engine;
    if (!m_channelGroup.Handle().IsNull()) {
        m_channelGroup.Release();
        m_channelGroup = plat::ChannelGroup();
    }
}

void KRUnit::DealDamage(KRUnit& other) {
    other.HP -= m_damage;
}

float KRUnit::ComputeCost() {
    const float sum = AttkSpd + MoveSpd + STR + VIT + DEF + Accuracy + Force + Evade;
    Cost = sum * static_cast<float>(Range) * 0.5f;
    return Cost;
}

void KRUnit::UpdateMiniUnits(const float* dt) {
    int32_t living = 0;
    for (const KRMiniUnit& soldier : m_soldiers) {
        if (!soldier.m_dead) {
            ++living;
        }
    }
    Size = living;
    m_soldierCount = static_cast<float>(living);
    if (living == 0) {
        m_lifeState = UNIT_DEAD;
    }
    for (KRMiniUnit& soldier : m_soldiers) {
        soldier.Update(dt);
        plat::Vector3& drawn = soldier.m_boundingBox.m_position;
        if (soldier.HP > 0.0f) {
            drawn = {soldier.m_position.x, kSoldierHeight, -soldier.m_position.z};
        } else if (!soldier.m_deathOver) {
            drawn.x += soldier.SoldierFling.x;
            drawn.y += soldier.SoldierFling.y;
            drawn.z += soldier.SoldierFling.z;
            if (soldier.SoldierFling.y >= 0.0f) {
                soldier.SoldierFling.y -= kFlingFall;
            }
        }
    }
}

void KRUnit::RemoveDeadMiniUnits(KRUnit* unit) {
    if (unit == nullptr || unit->m_soldiers.empty()) {
        return;
    }
    unit->m_soldiers.remove_if([](const KRMiniUnit& soldier) { return soldier.HP <= 0.0f; });
    const size_t count = unit->m_soldiers.size();
    if (count == 0) {
        return;
    }
    // Larger squads than the table knows all stand on the unit's cell.
    const Offset* offsets = count <= kLargestFormation ? kFormations[count] : nullptr;
    size_t i = 0;
    for (KRMiniUnit& soldier : unit->m_soldiers) {
        soldier.m_formationSpot = unit->m_pos;
        if (offsets != nullptr) {
            soldier.m_formationSpot.x += offsets[i].dx * kFormationSpacing;
            soldier.m_formationSpot.z += offsets[i].dz * kFormationSpacing;
        }
        ++i;
    }
}

float* KRUnit::FloatStat(StatIndex index) {
    switch (index) {
    case STAT_BATTLE_HP:
        return &m_battleHP;
    case STAT_STR:
        return &STR;
    case STAT_VIT:
        return &VIT;
    case STAT_DEF:
        return &DEF;
    case STAT_MOVE_SPD:
        return &MoveSpd;
    case STAT_ACCURACY:
        return &Accuracy;
    case STAT_ATTK_SPD:
        return &AttkSpd;
    case STAT_FORCE:
        return &Force;
    case STAT_EVADE:
        return &Evade;
    case STAT_ENERGY:
        return &Energy;
    default:
        return nullptr;
    }
}

bool KRUnit::AddStat(StatIndex index) {
    if (index == STAT_RANGE) {
        ++Range;
        return true;
    }
    float* stat = FloatStat(index);
    if (stat == nullptr) {
        return false;
    }
    *stat += 1.0f;
    return true;
}

bool KRUnit::SubtractStat(StatIndex index) {
    if (index == STAT_RANGE) {
        if (Range < 1) {
            return false;
        }
        --Range;
        return true;
    }
    float* stat = FloatStat(index);
    if (stat == nullptr || !(*stat >= 1.0f)) {
        return false;
    }
    *stat -= 1.0f;
    return true;
}

std::string KRUnit::SpriteFileOfType(const std::string& typeName) {
    for (const TypeSprite& entry : kTypeSprites) {
        if (typeName == entry.typeName) {
            return entry.file;
        }
    }
    return kElementalUnitFile;
}

std::string RaceToName(Race race) {
    if (race >= RACE_ELVENKIND && race <= RACE_ANGEL) {
        return kRaceNames[race];
    }
    return "UnknownRace";
}

Race RaceFromName(const std::string& name) {
    for (Race race = RACE_ELVENKIND; race <= RACE_ANGEL; ++race) {
        if (name == kRaceNames[race]) {
            return race;
        }
    }
    return RACE_UNKNOWN;
}
