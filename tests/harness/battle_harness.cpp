// Runs the real engine on SDL into a battle on a small kingdom: a realm with two stationed units and one
// queued wave. The kingdom screen runs "Warring" on its first frame; the wave is weak ("victory", the
// default) or strong enough to take the Capital ("defeat"). What the battle does is logged once each
// for the end-to-end tests: invaders warping in, units moving, missiles, hits and falls.
//
//   battle_harness [victory|defeat]

#include "battle/krunit.h"
#include "battle/warringstate.h"
#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "engine/krtexturescan.h"
#include "engine/krwinmain.h"
#include "harnessworld.h"
#include "kingdom/kingdomeditorstate.h"
#include "platform/sdl/sdlaudio.h"
#include "platform/sdl/sdlgraphics.h"
#include "platform/sdl/sdlwindow.h"
#include "realm/playereditor.h"

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// Twelve by twelve: a Capital at row 8, column 5 with a cross of path around it, and two gates at the
// cross's far ends (row 2 above it, column 0 to its left).
constexpr uint32_t kSide = 12;
constexpr uint32_t kCapitalRow = 8;
constexpr uint32_t kCapitalCol = 5;

bool g_defeat = false;

TileType HarnessTileType(uint32_t row, uint32_t col) {
    if (row == kCapitalRow && col == kCapitalCol) {
        return TILE_CAPITAL;
    }
    if ((row == 2 && col == kCapitalCol) || (row == kCapitalRow && col == 0)) {
        return TILE_GATE;
    }
    if ((row == kCapitalRow && col >= 1 && col <= 9) || (col == kCapitalCol && row >= 3 && row <= 10)) {
        return TILE_PATH;
    }
    return TILE_EMPTY;
}

struct Stats {
    const char* type;
    Race race;
    int32_t size;
    float hp;
    float str;
    float attackSpeed;
    float moveSpeed;
    int32_t range;
};

std::unique_ptr<KRUnit> MakeUnit(const Stats& s, bool playerSide) {
    auto unit = std::make_unique<KRUnit>(s.type);
    unit->m_typeName = s.type;
    unit->m_race = s.race;
    unit->m_playerSide = playerSide;
    unit->Size = s.size;
    unit->m_soldierCount = static_cast<float>(s.size);
    unit->m_battleHP = unit->HP = unit->VIT = s.hp;
    unit->STR = s.str;
    unit->AttkSpd = s.attackSpeed;
    unit->MoveSpd = s.moveSpeed;
    unit->Range = s.range;
    // A copy brings the squad up to its size.
    return std::make_unique<KRUnit>(*unit);
}

// What the battle has shown so far, each logged the first time it is seen.
class BattleWatch {
  public:
    void Look(Engine& engine) {
        if (engine.Top() != &WarringState::Instance() || engine.m_gameData == nullptr) {
            return;
        }
        GameData& world = *engine.m_gameData;
        for (auto& unit : world.m_enemyUnits) {
            if (unit->m_lifeState != UNIT_WAITING && m_warped.insert(unit.get()).second) {
                LogLine("Battle: " + unit->m_typeName + " warped in at column " +
                        std::to_string(static_cast<int>(unit->m_pos.x)) + " row " +
                        std::to_string(static_cast<int>(unit->m_pos.z)));
                m_start[unit.get()] = unit->m_pos;
            }
        }
        auto moved = [&](const KRUnit& unit, const plat::Vector3& from) {
            return unit.m_lifeState == UNIT_ACTIVE && unit.m_pos != from;
        };
        for (auto& unit : world.m_enemyUnits) {
            auto start = m_start.find(unit.get());
            if (start != m_start.end() && moved(*unit, start->second)) {
                Once("Battle: an invader moved");
            }
        }
        for (KRUnit* unit : world.m_playerUnits) {
            if (moved(*unit, unit->m_homePos)) {
                Once("Battle: a defender moved");
            }
            if (unit->m_battleState == UNIT_FIGHT) {
                Once("Battle: a defender fights");
            }
        }
        if (!world.m_projectiles.empty()) {
            Once("Battle: a missile flies");
        }
        if (!world.m_scatterEffects.empty()) {
            Once("Battle: sparks scatter");
        }
        const PlayerEditor& realm = *engine.m_playerEditor;
        for (const GameMessage& message : realm.m_messages) {
            if (message.m_text.find(") dealt ") != std::string::npos) {
                Once(message.m_text.rfind("Your ", 0) == 0 ? "Battle: a defender struck"
                                                           : "Battle: an invader struck");
            }
        }
        auto anyFallen = [](const KRUnit& unit) {
            for (const KRMiniUnit& soldier : unit.m_soldiers) {
                if (soldier.m_dead) {
                    return true;
                }
            }
            return false;
        };
        for (auto& unit : world.m_enemyUnits) {
            if (anyFallen(*unit)) {
                Once("Battle: an invader fell");
            }
        }
        for (KRUnit* unit : world.m_playerUnits) {
            if (anyFallen(*unit)) {
                Once("Battle: a defender fell");
            }
        }
    }

  private:
    void Once(const std::string& line) {
        if (m_logged.insert(line).second) {
            LogLine(line);
        }
    }
    std::set<const KRUnit*> m_warped;
    std::map<const KRUnit*, plat::Vector3> m_start;
    std::set<std::string> m_logged;
};

BattleWatch g_watch;

class HarnessKingdom : public KingdomEditorState {
  public:
    void Load(Engine& engine) override {
        if (!m_made) {
            m_made = true;
            MakeWorld(engine);
        }
        KingdomEditorState::Load(engine);
    }
    void Update(Engine& engine) override {
        KingdomEditorState::Update(engine);
        if (!m_warStarted) {
            m_warStarted = true;
            RunScript(engine.m_scripts, "Warring");
        }
    }

  private:
    void MakeWorld(Engine& engine) {
        GameData& world = *engine.m_gameData;
        harness::LoadWorldTextures(engine);
        engine.m_audio.LoadSound(AssetPaths::kMusicSummer, plat::kAudioLoopNormal);
        engine.m_audio.LoadSound(AssetPaths::kEffectSword, plat::kAudioLoopOff);
        engine.m_audio.LoadSound(AssetPaths::kEffectEnergyBall, plat::kAudioLoopOff);
        world.m_playerEditor = std::make_unique<PlayerEditor>(&engine, &world);
        engine.m_playerEditor = world.m_playerEditor.get();
        PlayerEditor& realm = *engine.m_playerEditor;
        realm.m_onStep = [&engine](const char* step) {
            if (std::string(step) == "AdvanceClock") {
                g_watch.Look(engine);
            }
        };
        harness::MakeGrid(engine, kSide, kCapitalRow, kCapitalCol, HarnessTileType);

        const Stats archers{"Elvenkind", RACE_ELVENKIND, 4, 30.0f, 6.0f, 4.0f, 0.8f, 3};
        const Stats guards{"Golem", RACE_GOLEM, 3, 40.0f, 8.0f, 2.0f, 0.8f, 1};
        const Stats recruits{"Elvenkind", RACE_ELVENKIND, 1, 2.0f, 1.0f, 1.0f, 0.5f, 1};
        if (g_defeat) {
            harness::Station(engine, MakeUnit(recruits, true), 5, kCapitalCol);
        } else {
            harness::Station(engine, MakeUnit(archers, true), 5, kCapitalCol);
            harness::Station(engine, MakeUnit(guards, true), kCapitalRow, 3);
        }
        Invasion wave;
        wave.m_commanderName = "General Morvane";
        wave.m_race = 3;
        const Stats raiders{"Demon Spawn", RACE_DEMON, 2, 8.0f, 2.0f, 1.0f, 0.6f, 1};
        const Stats prowlers{"Taipen Prowler", RACE_TAIPEN, 2, 6.0f, 2.0f, 1.0f, 0.6f, 1};
        const Stats brutes{"Demon Spawn", RACE_DEMON, 3, 200.0f, 20.0f, 1.0f, 1.2f, 1};
        const std::vector<Stats> invaders =
            g_defeat ? std::vector<Stats>{brutes, brutes} : std::vector<Stats>{raiders, prowlers};
        for (const Stats& s : invaders) {
            auto unit = MakeUnit(s, false);
            unit->Initialize();
            wave.m_units.push_back(std::move(unit));
        }
        realm.m_invasions.push_back(std::move(wave));
    }

    bool m_made = false;
    bool m_warStarted = false;
};

// The bottom of the stack, where "MainMenu" returns to: it starts the kingdom once and logs its return.
class HarnessRoot : public KRState {
  public:
    HarnessRoot() : KRState("BattleHarness") {}
    void Load(Engine&) override {}
    void Initialize(Engine&) override { LogLine("Initializing BattleHarness"); }
    void HandleInput(Engine& engine) override {
        if (engine.m_input.KeyPressed(KEY_ESCAPE)) {
            engine.Quit();
        }
    }
    void Update(Engine& engine) override {
        if (!m_started) {
            m_started = engine.PushState(&m_kingdom);
        } else if (!m_back) {
            m_back = true;
            LogLine("Back at the harness root");
        }
    }
    void Render(Engine&) override {}
    void Cleanup(Engine&) override {}
    void Unload(Engine&) override { SetBoxContext(nullptr); }

  private:
    bool m_started = false;
    bool m_back = false;
    HarnessKingdom m_kingdom;
};

} // namespace

int main(int argc, char** argv) {
    g_defeat = argc > 1 && std::string(argv[1]) == "defeat";
    InitLog();
    EnterExecutableFolder();
    static plat::SdlWindow window;
    static plat::SteadyClock clock;
    static plat::SdlMessageBox messageBox;
    static plat::SdlAudioOutput audio;
    static plat::SdlGraphics graphics;
    plat::Install({&window, &clock, &messageBox, &graphics, &audio});
    static HarnessRoot root;
    return RunGame(
        window, []() -> Engine& { return Engine::Instance(); }, []() -> KRState& { return root; });
}
