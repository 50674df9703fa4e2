// How long a save and a load take on a 32 x 32 map with a full roster: the three files of a slot
// written as the game saves them, then read, checked and applied to a fresh world. Run by saveload.sh
// from the build folder (the units read their pictures' configurations from "../Assets").
#include "engine/krlog.h"
#include "flow/saveloadstate.h"
#include "kingdom/gamedata.h"
#include "kingdom/mapfiles.h"
#include "realm/armyconfig.h"
#include "realm/playereditor.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kSide = 32;
constexpr int kTechUnits = 8;
constexpr int kPurchasedUnits = 60;
constexpr int kRuns = 20;

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void MakeWorld(GameData& world, PlayerEditor& realm) {
    TileMap& map = world.m_tileMap;
    map.StartGrid(kSide, kSide);
    for (uint32_t row = 0; row < kSide; ++row) {
        for (uint32_t col = 0; col < kSide; ++col) {
            map.AppendTile(std::make_unique<KRTile>(row, col, static_cast<TileType>((row * 7 + col) % 7)));
        }
    }
    for (uint32_t i = 0; i < 200; ++i) {
        map.PlaceBuilding(i / kSide, i % kSide, static_cast<BuildingType>(2 + i % 8));
    }
    for (int i = 0; i < kTechUnits; ++i) {
        realm.m_baseUnits.push_back(std::make_unique<KRUnit>(RaceToName(i)));
        realm.m_baseUnits.back()->m_race = i;
    }
    for (int i = 0; i < kPurchasedUnits; ++i) {
        KRUnit model(RaceToName(i % 8));
        model.m_race = i % 8;
        model.Size = 9;
        model.m_pos = {static_cast<float>(1 + i % 30), 0.0f, static_cast<float>(1 + i / 30)};
        realm.m_purchasedUnits.push_back(std::make_unique<KRUnit>(model));
    }
    for (float& stock : realm.m_stock) {
        stock = 1234.5f;
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = (argc > 1 ? std::string(argv[1]) : std::string("/tmp")) + "/";
    std::vector<double> saves;
    std::vector<double> loads;
    GameData world;
    PlayerEditor realm(nullptr, &world);
    MakeWorld(world, realm);
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        // As the game saves a slot: the three files written beside it, which then take its place.
        const std::string failure = WriteSlotAsOne(folder, [&](const std::string& spare) {
            return realm.SaveArmyData("ArmyData", spare + "armydata.xml") &&
                   world.m_tileMap.WriteMapData(spare + "mapdata.xml", "MapData") &&
                   world.m_tileMap.WriteBuildingData(spare + "buildingdata.xml", "BuildData");
        });
        if (!failure.empty()) {
            std::fprintf(stderr, "the slot was not saved: %s\n", failure.c_str());
            return 1;
        }
        saves.push_back(Milliseconds(std::chrono::steady_clock::now() - start));

        GameData loadedWorld;
        PlayerEditor loaded(nullptr, &loadedWorld);
        const auto begin = std::chrono::steady_clock::now();
        auto map = ReadMapFile(folder + "mapdata.xml", false);
        auto buildings = ReadBuildingFile(folder + "buildingdata.xml", false);
        auto army = ReadArmyFile(folder + "armydata.xml", false);
        if (!map || !buildings || !army) {
            std::fprintf(stderr, "the slot did not read back\n");
            return 1;
        }
        ApplyMapConfig(loadedWorld.m_tileMap, *map);
        ApplyBuildingConfig(loadedWorld.m_tileMap, *buildings);
        loaded.ApplyArmyConfig(*army);
        loads.push_back(Milliseconds(std::chrono::steady_clock::now() - begin));
        loadedWorld.m_playerUnits.clear();
    }
    std::sort(saves.begin(), saves.end());
    std::sort(loads.begin(), loads.end());
    std::printf("32 x 32 map, 200 buildings, %d technologies, %d purchased units of 9 soldiers, %d runs\n",
                kTechUnits, kPurchasedUnits, kRuns);
    std::printf("save: median %.2f ms, worst %.2f ms\n", saves[kRuns / 2], saves.back());
    std::printf("load: median %.2f ms, worst %.2f ms\n", loads[kRuns / 2], loads.back());
    return 0;
}
