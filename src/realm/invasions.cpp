// Enemy waves: built from a commander and a few rolled unit types, queued, counted down together while
// the queue is full, announced 20 s ahead, and fought when a countdown runs out.
#include "realm/playereditor.h"

#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "flow/krscripts.h"
#include "kingdom/gamedata.h"

#include <algorithm>
#include <vector>

namespace {

constexpr size_t kFullQueue = 5;
constexpr float kAlertAhead = 20.0f;
constexpr uint32_t kAlertColour = 0xFFFFFFFF;
// A rolled attack speed of 0 or below would stop a soldier's attacks or let it strike every frame.
constexpr float kSlowestAttackSpeed = 0.1f;
constexpr float kStrengthPerWave = 0.1f;

struct InvaderType {
    const char* m_typeName;
    Race m_race;
};

// By invader race number 1 to 8.
constexpr InvaderType kInvaderTypes[8] = {
    {"Taipen Prowler", RACE_TAIPEN},       {"Angel", RACE_ANGEL},
    {"Demon Spawn", RACE_DEMON},           {"Elven Warrior", RACE_ELVENKIND},
    {"Watcher Golem", RACE_GOLEM},         {"Minor Elemental", RACE_ELEMENTAL},
    {"Leviathian Magus", RACE_LEVIATHIAN}, {"Lesser Dragonkin", RACE_DRAGONKIN}};

const InvaderType& InvaderTypeOf(int32_t raceNumber) {
    return kInvaderTypes[std::clamp(raceNumber, 1, 8) - 1];
}

} // namespace

int PlayerEditor::RandomRaceNumber() {
    return Draw() % 8 + 1;
}

void PlayerEditor::UpdateInvasions(float dt) {
    const auto base = static_cast<float>(Draw() % 50 + 180);
    // The oldest wave's battle is running. A wave that became the oldest with its time run out, whose
    // countdown was cut below zero from outside (the editor's right click), or whose screen change was
    // refused, still starts its battle below, or no wave would ever come again.
    if (!m_invasions.empty() && m_invasions.front().m_countdown <= 0.0f &&
        m_invasions.front().m_battleStarted) {
        return;
    }
    if (m_invasions.size() < kFullQueue) {
        if (Draw() % 10 == 5) {
            CreateInvasion(base);
        }
        return;
    }
    int due = 0;
    for (Invasion& wave : m_invasions) {
        if (!m_tutorial) {
            wave.m_countdown -= dt;
        }
        // Once per wave, even on a frame that jumps past zero.
        if (wave.m_countdown <= kAlertAhead && wave.m_alertPending) {
            AddGameMessage("ALERT!! Enemy " + wave.m_commanderName, 1, kAlertColour);
            AddGameMessage("IS APPROACHING IN 20 SECONDS!!", 2, kAlertColour);
            wave.m_alertPending = false;
            if (m_engine != nullptr) {
                m_engine->m_audio.PlayEffect(AssetPaths::kMusicValseFantasie);
            }
        }
        if (wave.m_countdown <= 0.0f) {
            ++due;
        }
    }
    // The battle takes the oldest wave; a later one whose time also ran out starts its own afterwards.
    // Run once the queue is no longer walked: the battle takes its wave from it.
    for (int i = 0; i < due && m_engine != nullptr; ++i) {
        RunScript(m_engine->m_scripts, "Warring");
    }
}

void PlayerEditor::CreateInvasion(float base) {
    if (m_commanders.empty()) {
        return;
    }
    const EnemyCommander& commander =
        m_commanders[static_cast<size_t>(Draw() % kEnemyCommanderCount) % m_commanders.size()];
    const int types = Draw() % 4 + 1;
    Invasion wave;
    wave.m_race = commander.m_race;
    wave.m_commanderName = commander.m_name;
    wave.m_alertPending = true;
    const float newest = m_invasions.empty() ? 0.0f : m_invasions.back().m_countdown;
    const auto spread = static_cast<float>(Draw() % 30);
    // Absolute: every wave counts down from its own arrival time.
    wave.m_countdown = spread + newest + base;

    const float f = m_strengthFactor;
    std::vector<std::unique_ptr<KRUnit>> rolled;
    for (int i = 0; i < types; ++i) {
        int32_t race = commander.m_race;
        if (Draw() % 100 > 60) {
            race = RandomRaceNumber();
        }
        const InvaderType& type = InvaderTypeOf(race);
        auto unit = std::make_unique<KRUnit>(type.m_typeName);
        unit->m_typeName = type.m_typeName;
        unit->Initialize();
        unit->m_name = type.m_typeName;
        unit->m_race = type.m_race;
        unit->m_playerSide = false;

        const float damage = static_cast<float>(Draw() % 3 + 1) * 3.0f + f;
        unit->m_damage = damage;
        unit->STR = damage;
        unit->MoveSpd = static_cast<float>(Draw() % 4 + 1) * 3.0f * 0.1f + 0.2f + f * 0.01f;
        const float toughness = static_cast<float>(Draw() % 10 + 1) * f * 0.1f;
        unit->HP = static_cast<float>(Draw() % 10 + 1) * 3.0f + 1.0f + toughness;
        unit->m_battleHP = unit->HP;
        unit->VIT = unit->HP;
        unit->m_cooldown = 0.0f;
        float speed = static_cast<float>(Draw() % 10 + 1) * f * 0.01f;
        speed += static_cast<float>(Draw() % 10 + 1) * 3.0f * 0.1f;
        const auto sign = static_cast<float>(1 - 2 * (Draw() % 2));
        unit->AttkSpd = std::max(sign * speed + 3.0f, kSlowestAttackSpeed);
        const int soldiers = Draw() % 8 + 1;
        unit->Size = soldiers;
        unit->m_soldierCount = static_cast<float>(soldiers);
        const int reach = Draw() % 10 + 1;
        const int extra = Draw() % 3;
        unit->Range = reach >= 9 ? 1 + extra : 1;
        rolled.push_back(std::move(unit));
    }

    // The second factor is drawn first.
    const float strength = static_cast<float>(Draw() % 4 + 1) * f;
    const auto scale = static_cast<float>(Draw() % 5 + 11);
    float budget = scale * strength + m_invasionBudget;
    m_invasionBudget = budget;
    // At least one unit, whatever it costs.
    do {
        KRUnit& type = *rolled[static_cast<size_t>(Draw() % types)];
        wave.m_units.push_back(std::make_unique<KRUnit>(type));
        const float spent = type.ComputeCost() * type.m_soldierCount;
        budget -= spent;
        // A type that cost nothing would never use the budget up.
        if (!(spent > 0.0f)) {
            break;
        }
    } while (budget > 0.0f);

    for (const auto& type : rolled) {
        ReleaseUnitSounds(*type);
    }
    m_invasions.push_back(std::move(wave));
    m_strengthFactor += kStrengthPerWave;
}
