// Merchants: every so often one arrives with one advanced unit type of a random race, built from the
// race's blueprint and rolled stronger the further the realm has come, on sale for a while.
#include "realm/playereditor.h"

#include "battle/unitblueprint.h"
#include "engine/engine.h"
#include "kingdom/gamedata.h"

#include <memory>

namespace {

constexpr float kMerchantRate = 5.0f;
constexpr float kArrivalThreshold = 0.1f;
constexpr float kTutorialLifetime = 500.0f;
constexpr uint32_t kMerchantMessageColour = 0x55FF55FF;

struct MerchantRace {
    const char* m_blueprint;
    const char* m_typeName;
    Race m_race;
    UnitClass m_class;
    // In the unit's upkeep order; Money is the unit's cost.
    float m_upkeep[UPKEEP_COUNT];
};

// Columns: Fire, Earth, Light, Nature, Ice, Metal, Psychic, Money, Pop, Dark.
const MerchantRace kMerchantRaces[8] = {
    {"Elvenkind",
     "Elven Warrior",
     RACE_ELVENKIND,
     UNIT_CLASS_BIOLOGICAL,
     {0.0f, 0.2f, 0.3f, 0.0f, 0.0f, 0.05f, 0.0f, 0.0f, 0.0f, 0.0f}},
    {"Dragonkin",
     "Lesser Dragonkin",
     RACE_DRAGONKIN,
     UNIT_CLASS_BOTH,
     {0.4f, 0.1f, 0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.01f, 0.01f}},
    {"Leviathian",
     "Leviathian Magus",
     RACE_LEVIATHIAN,
     UNIT_CLASS_BIOLOGICAL,
     {0.0f, 0.0f, 0.1f, 0.0f, 0.35f, 0.05f, 0.1f, 0.0f, 0.0f, 0.0f}},
    {"Demon",
     "Demon Spawn",
     RACE_DEMON,
     UNIT_CLASS_BOTH,
     {0.05f, 0.0f, 0.0f, 0.0f, 0.05f, 0.05f, 0.0f, 0.0f, 0.1f, 0.15f}},
    {"Angel",
     "Angel",
     RACE_ANGEL,
     UNIT_CLASS_BOTH,
     {0.0f, 0.0f, 0.55f, 0.05f, 0.0f, 0.15f, 0.05f, 0.0f, 0.0f, 0.0f}},
    {"Golem",
     "Watcher Golem",
     RACE_GOLEM,
     UNIT_CLASS_MAGICAL,
     {0.0f, 0.35f, 0.0f, 0.1f, 0.0f, 0.1f, 0.0f, 0.0f, 0.0f, 0.01f}},
    {"Taipen",
     "Taipen Prowler",
     RACE_TAIPEN,
     UNIT_CLASS_BIOLOGICAL,
     {0.05f, 0.2f, 0.1f, 0.02f, 0.0f, 0.0f, 0.0f, 0.0f, 0.02f, 0.0f}},
    {"Elemental",
     "Minor Elemental",
     RACE_ELEMENTAL,
     UNIT_CLASS_MAGICAL,
     {0.15f, 0.0f, 0.15f, 0.0f, 0.15f, 0.0f, 0.2f, 0.0f, 0.0f, 0.0f}},
};

} // namespace

void PlayerEditor::UpdateMerchant(float dt) {
    // During the tutorial one offer at a time, and the countdown waits while it is on sale.
    if (m_tutorial && !m_merchantUnits.empty()) {
        return;
    }
    m_merchantCountdown -= kMerchantRate * dt;
    if (m_merchantCountdown > kArrivalThreshold) {
        return;
    }
    if (!m_tutorial && m_gameData != nullptr) {
        m_gameData->m_tileMap.SpreadCrack(m_engine != nullptr ? &m_engine->m_audio : nullptr);
    }
    const MerchantRace& race = kMerchantRaces[Draw() % 8];
    std::unique_ptr<KRUnit> unit = CreateUnitFromBlueprint(race.m_blueprint);
    if (unit != nullptr) {
        unit->m_typeName = race.m_typeName;
        unit->m_race = race.m_race;
        unit->m_unitClass = race.m_class;
        const float f = m_strengthFactor;
        auto roll = [this, f](float& stat) { stat *= 1.0f + static_cast<float>(Draw() % 3) * f; };
        roll(unit->VIT);
        unit->HP = unit->VIT;
        unit->m_battleHP = unit->VIT;
        roll(unit->AttkSpd);
        roll(unit->m_damage);
        unit->STR = unit->m_damage;
        roll(unit->DEF);
        roll(unit->Energy);
        unit->Force = unit->Energy;
        roll(unit->MoveSpd);
        roll(unit->Accuracy);
        roll(unit->Evade);
        const float cost = unit->ComputeCost();
        std::copy(std::begin(race.m_upkeep), std::end(race.m_upkeep), std::begin(unit->m_upkeep));
        unit->m_upkeep[UPKEEP_MONEY] = cost;
        float lifetime = static_cast<float>(4 * (Draw() % 5) + 4) * 0.1f * 30.0f;
        if (m_tutorial) {
            lifetime += kTutorialLifetime;
        }
        CreateMerchantUnit(unit.get(), lifetime);
        ReleaseUnitSounds(*unit);
    }
    // A blueprint that cannot be made skips this merchant; the next one still comes.
    m_merchantCountdown = static_cast<float>((Draw() % 3) * 2 + 2) * 30.0f;
    if (unit != nullptr && !m_tutorial) {
        AddGameMessage("New merchant unit available for sale!", 2, kMerchantMessageColour);
    }
}
