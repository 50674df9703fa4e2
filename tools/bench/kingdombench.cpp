// Measures what one frame costs the main thread on the real engine on SDL and OpenGL (run it on a
// display; gamebench.py starts one): the kingdom screen over a 32 x 32 map with roads, buildings, twenty
// stationed units and the full HUD; or, with "battle", a battle of 100 units (50 defenders and a wave
// of 50 invaders) on that map. Per frame it times input, update and the draw calls; the present, which
// waits for the display and the rasteriser's own threads, is left out. The figure is the main thread's
// CPU time, which other programs on the machine do not inflate; wall time is shown beside it. After a
// warm-up it measures the given number of frames, prints the costs and quits.
//
//   kingdom_benchmark [frames] [battle]

#include "battle/krunit.h"
#include "battle/warringstate.h"
#include "engine/engine.h"
#include "engine/krlog.h"
#include "engine/krtexturescan.h"
#include "engine/krwinmain.h"
#include "harnessworld.h"
#include "kingdom/kingdomeditorstate.h"
#include "platform/sdl/sdlaudio.h"
#include "platform/sdl/sdlgraphics.h"
#include "platform/sdl/sdlwindow.h"
#include "realm/playereditor.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kSide = 32;
constexpr uint32_t kCapital = 16;
constexpr int kUnits = 20;
constexpr int kBattleUnitsPerSide = 50;
constexpr int kWarmUpFrames = 60;

using Clock = std::chrono::steady_clock;

// CPU time of the calling thread: unlike the wall clock, it does not grow while other programs have the
// core.
double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Roads every fourth row and column, gates where they meet the top and left edges, buildings beside
// the roads.
TileType BenchTileType(uint32_t row, uint32_t col) {
    if (row == kCapital && col == kCapital) {
        return TILE_CAPITAL;
    }
    if ((row == 0 && col % 4 == 0) || (col == 0 && row % 4 == 0)) {
        return TILE_GATE;
    }
    return row % 4 == 0 || col % 4 == 0 ? TILE_PATH : TILE_EMPTY;
}

// A realm on the 32 x 32 map.
void MakeMap(Engine& engine, const char* message) {
    GameData& world = *engine.m_gameData;
    harness::LoadWorldTextures(engine);
    world.m_playerEditor = std::make_unique<PlayerEditor>(&engine, &world);
    engine.m_playerEditor = world.m_playerEditor.get();
    PlayerEditor& realm = *engine.m_playerEditor;
    realm.m_stock[RESOURCE_MONEY] = 1000.0f;
    realm.m_land = 20.0f;
    realm.AddGameMessage(message, 1, 0xFFFFFFFF);
    harness::MakeGrid(engine, kSide, kCapital, kCapital, BenchTileType);
}

void MakeKingdom(Engine& engine) {
    MakeMap(engine, "Benchmark kingdom");
    TileMap& map = engine.m_gameData->m_tileMap;
    // One building in every other empty cell beside a road: about two hundred.
    int placed = 0;
    for (uint32_t row = 1; row < kSide; ++row) {
        for (uint32_t col = 1; col < kSide; ++col) {
            if (BenchTileType(row, col) == TILE_EMPTY && (row % 4 == 1 || col % 4 == 1) &&
                (row + col) % 2 == 0) {
                map.PlaceBuilding(row, col, BUILDING_BARRACKS + placed++ % 8);
            }
        }
    }
    for (int i = 0; i < kUnits; ++i) {
        harness::StationType(engine, RaceToName(static_cast<Race>(i % 8)),
                             4 * static_cast<uint32_t>(1 + i % 7), static_cast<uint32_t>(2 + i));
    }
}

// Defenders on the roads around the Capital, which holds; the invaders of every race in one wave.
void MakeBattle(Engine& engine) {
    MakeMap(engine, "Benchmark battle");
    if (KRBuilding* capital = engine.m_gameData->m_tileMap.FindBuildingAt(kCapital, kCapital)) {
        capital->m_health = 1e9f;
    }
    for (int i = 0; i < kBattleUnitsPerSide; ++i) {
        const uint32_t ring = 4 + 4 * static_cast<uint32_t>(i % 3);
        const uint32_t along = 4 + static_cast<uint32_t>(i / 3) % 24;
        harness::StationType(engine, RaceToName(static_cast<Race>(i % 8)), i % 2 == 0 ? along : ring,
                             i % 2 == 0 ? ring : along);
    }
    Invasion wave;
    wave.m_commanderName = "Benchmark";
    // Being fought already: its countdown would otherwise start the game's own battle screen.
    wave.m_battleStarted = true;
    wave.m_alertPending = false;
    for (int i = 0; i < kBattleUnitsPerSide; ++i) {
        const std::string type = RaceToName(static_cast<Race>(i % 8));
        auto unit = std::make_unique<KRUnit>(type);
        unit->m_typeName = type;
        unit->m_playerSide = false;
        for (KRMiniUnit& soldier : unit->m_soldiers) {
            soldier.Load(engine);
        }
        wave.m_units.push_back(std::move(unit));
    }
    engine.m_playerEditor->m_invasions.push_back(std::move(wave));
}

// The screen, timed: what it is called in the report, and the world it is given before it first loads.
template <typename Screen> class Timed : public Screen {
  public:
    Timed(int frames, const char* what, void (*makeWorld)(Engine&))
        : m_frames(frames), m_what(what), m_makeWorld(makeWorld) {
        m_costs.reserve(static_cast<size_t>(frames));
    }

    void Load(Engine& engine) override {
        if (!m_made) {
            m_made = true;
            m_makeWorld(engine);
        }
        Screen::Load(engine);
    }
    void HandleInput(Engine& engine) override {
        m_start = Clock::now();
        m_startCpu = ThreadCpuMs();
        Screen::HandleInput(engine);
    }
    void Update(Engine& engine) override {
        Screen::Update(engine);
        m_updated = Clock::now();
    }
    void Render(Engine& engine) override {
        Screen::Render(engine);
        const double draw = std::chrono::duration<double, std::milli>(Clock::now() - m_updated).count();
        const double cost = std::chrono::duration<double, std::milli>(Clock::now() - m_start).count();
        const double cpu = ThreadCpuMs() - m_startCpu;
        if (++m_seen > kWarmUpFrames && static_cast<int>(m_costs.size()) < m_frames) {
            if (m_costs.empty()) {
                m_first = m_start;
            }
            m_costs.push_back(cost);
            m_drawTotal += draw;
            m_cpuTotal += cpu;
            if (static_cast<int>(m_costs.size()) == m_frames) {
                Report();
                engine.Quit();
            }
        }
    }

  private:
    void Report() const {
        std::vector<double> sorted = m_costs;
        std::sort(sorted.begin(), sorted.end());
        double total = 0.0;
        for (double cost : m_costs) {
            total += cost;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - m_first).count();
        const double frames = static_cast<double>(sorted.size());
        std::printf(
            "%s, %zu frames: main thread %.3f ms CPU time per frame; wall time mean %.3f ms (%.3f ms of "
            "it drawing), median %.3f ms, p99 %.3f ms, max %.3f ms; %.1f frames a second\n",
            m_what, sorted.size(), m_cpuTotal / frames, total / frames, m_drawTotal / frames,
            sorted[sorted.size() / 2], sorted[sorted.size() * 99 / 100], sorted.back(), frames / seconds);
        std::fflush(stdout);
    }

    int m_frames;
    const char* m_what;
    void (*m_makeWorld)(Engine&);
    bool m_made = false;
    int m_seen = 0;
    Clock::time_point m_start;
    Clock::time_point m_updated;
    Clock::time_point m_first;
    double m_drawTotal = 0.0;
    double m_startCpu = 0.0;
    double m_cpuTotal = 0.0;
    std::vector<double> m_costs;
};

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 600;
    const bool battle = argc > 2 && std::string(argv[2]) == "battle";
    InitLog();
    EnterExecutableFolder();
    static plat::SdlWindow window;
    static plat::SteadyClock clock;
    static plat::SdlMessageBox messageBox;
    static plat::SdlAudioOutput audio;
    static plat::SdlGraphics graphics;
    plat::Install({&window, &clock, &messageBox, &graphics, &audio});
    static Timed<KingdomEditorState> kingdom(frames, "kingdom frame, 32x32 map, 20 units, full HUD",
                                             MakeKingdom);
    static Timed<WarringState> war(frames, "battle frame, 32x32 map, 100 units", MakeBattle);
    return RunGame(
        window, []() -> Engine& { return Engine::Instance(); },
        [battle]() -> KRState& {
            return battle ? static_cast<KRState&>(war) : static_cast<KRState&>(kingdom);
        });
}
