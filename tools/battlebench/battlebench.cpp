// Measures what one battle frame costs on one core: 100 units (50 defenders, 50 invaders of five
// soldiers each, melee and ranged) on a 32 x 32 kingdom with a grid of roads, run headless on the null
// platform for a minute of game time at 60 frames a second. Prints the cost per frame.
//
//   battle_benchmark [seconds]

#include "battle/warringstate.h"
#include "engine/engine.h"
#include "engine/krlog.h"
#include "engine/krwinmain.h"
#include "kingdom/gamedata.h"
#include "platform/null/nullplatform.h"
#include "realm/playereditor.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kSide = 32;
constexpr uint32_t kCapital = 16;
constexpr int kUnitsPerSide = 50;
constexpr int kSoldiers = 5;
constexpr double kFrame = 1.0 / 60.0;

// Roads every fourth row and column; gates where they meet the top and left edges.
TileType BenchTileType(uint32_t row, uint32_t col) {
    if (row == kCapital && col == kCapital) {
        return TILE_CAPITAL;
    }
    if ((row == 0 && col % 4 == 0) || (col == 0 && row % 4 == 0)) {
        return TILE_GATE;
    }
    return row % 4 == 0 || col % 4 == 0 ? TILE_PATH : TILE_EMPTY;
}

std::unique_ptr<KRUnit> MakeUnit(int i, bool playerSide) {
    KRUnit base(playerSide ? "Golem" : "Demon Spawn");
    base.m_typeName = playerSide ? "Golem" : "Demon Spawn";
    base.m_race = playerSide ? RACE_GOLEM : RACE_DEMON;
    base.m_playerSide = playerSide;
    base.Size = kSoldiers;
    base.m_battleHP = playerSide ? 60.0f : 40.0f;
    base.STR = 4.0f;
    base.AttkSpd = 2.0f;
    base.MoveSpd = 0.8f;
    base.Range = i % 3 == 0 ? 3 : 1;
    auto unit = std::make_unique<KRUnit>(base);
    unit->Initialize();
    return unit;
}

// Standard output carries the game's log; the measurement alone is printed.
class QuietLog {
  public:
    QuietLog() {
        std::fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    ~QuietLog() {
        std::fflush(stdout);
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
    }

  private:
    int m_saved = -1;
};

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 60.0;
    InitLog();
    EnterExecutableFolder();
    std::srand(1);
    std::vector<double> costs;
    std::string outcome = "still running";
    size_t peakMissiles = 0;
    int invadersIn = 0;
    int invadersStanding = 0;
    int defendersStanding = 0;
    {
        QuietLog quiet;
        static plat::NullWindow window;
        static plat::ManualClock clock;
        static plat::RecordingMessageBox messageBox;
        plat::Install({&window, &clock, &messageBox});
        auto engine = std::make_unique<Engine>();
        GameData& world = *engine->m_gameData;
        world.m_playerEditor =
            std::make_unique<PlayerEditor>(engine.get(), &world, [] { return std::rand(); });
        engine->m_playerEditor = world.m_playerEditor.get();
        PlayerEditor& realm = *engine->m_playerEditor;
        TileMap& map = world.m_tileMap;
        map.Clear();
        map.StartGrid(kSide, kSide);
        for (uint32_t row = 0; row < kSide; ++row) {
            for (uint32_t col = 0; col < kSide; ++col) {
                map.AppendTile(std::make_unique<KRTile>(row, col, BenchTileType(row, col)));
            }
        }
        map.PlaceBuilding(kCapital, kCapital, BUILDING_CAPITAL);
        if (KRBuilding* capital = map.FindBuildingAt(kCapital, kCapital)) {
            capital->m_health = 1e9f;
        }
        // Defenders on the roads around the capital, invaders in one wave.
        for (int i = 0; i < kUnitsPerSide; ++i) {
            auto unit = MakeUnit(i, true);
            const uint32_t ring = 4 + 4 * static_cast<uint32_t>(i % 3);
            const uint32_t along = 4 + static_cast<uint32_t>(i / 3) % 24;
            unit->m_homePos = {static_cast<float>(i % 2 == 0 ? ring : along), 0.0f,
                               static_cast<float>(i % 2 == 0 ? along : ring)};
            realm.m_purchasedUnits.push_back(std::move(unit));
            world.AddPlayerUnit(realm.m_purchasedUnits.back().get());
        }
        Invasion wave;
        wave.m_commanderName = "Benchmark";
        for (int i = 0; i < kUnitsPerSide; ++i) {
            wave.m_units.push_back(MakeUnit(i, false));
        }
        realm.m_invasions.push_back(std::move(wave));

        WarringState state;
        state.Initialize(*engine);
        engine->m_timer.gameDelta = kFrame;
        engine->m_timer.rawDelta = kFrame;
        const int frames = static_cast<int>(seconds / kFrame);
        costs.reserve(static_cast<size_t>(frames));
        for (int frame = 0; frame < frames; ++frame) {
            const auto start = std::chrono::steady_clock::now();
            state.Update(*engine);
            const auto end = std::chrono::steady_clock::now();
            costs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            peakMissiles = std::max(peakMissiles, world.m_projectiles.size());
            if (world.m_battleResult != BATTLE_RUNNING) {
                outcome = world.m_battleResult == BATTLE_VICTORY ? "victory" : "defeat";
            }
        }
        for (const auto& unit : world.m_enemyUnits) {
            invadersIn += unit->m_lifeState != UNIT_WAITING;
            invadersStanding += unit->m_lifeState == UNIT_ACTIVE;
        }
        for (const KRUnit* unit : world.m_playerUnits) {
            defendersStanding += unit->m_lifeState == UNIT_ACTIVE;
        }
        state.Cleanup(*engine);
        engine.reset();
        plat::Install({});
    }
    std::vector<double> sorted = costs;
    std::sort(sorted.begin(), sorted.end());
    double total = 0.0;
    for (double cost : costs) {
        total += cost;
    }
    const double mean = costs.empty() ? 0.0 : total / static_cast<double>(costs.size());
    const double p99 = sorted.empty() ? 0.0 : sorted[sorted.size() * 99 / 100];
    const double worst = sorted.empty() ? 0.0 : sorted.back();
    std::printf(
        "battle update, %d units on %ux%u, %zu frames of %.1f ms game time: mean %.3f ms, p99 %.3f ms, "
        "max %.3f ms per frame; at most %zu missiles in flight; %d invaders warped in, %d of them and %d "
        "defenders standing at the end; %s\n",
        2 * kUnitsPerSide, kSide, kSide, costs.size(), kFrame * 1000.0, mean, p99, worst, peakMissiles,
        invadersIn, invadersStanding, defendersStanding, outcome.c_str());
    return 0;
}
