// The authored content read as the game reads it: the maps and their buildings hold what the kingdom,
// the battle and the tutorial rely on; the tutorial's steps and letters, the blueprints, the soldier
// sheets and the layouts give their readers everything they look up.
#include "battle/krunit.h"
#include "flow/krscripts.h"
#include "kingdom/krbuilding.h"
#include "kingdom/krtile.h"
#include "kingdom_support.h"
#include "realm/playereditor.h"
#include "scene/krguisystem.h"
#include "scene/sprite.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <utility>

using namespace kingdomtest;

namespace {

using Cell = std::pair<int, int>; // (row, column)

struct MapFile {
    int rows = 0;
    int cols = 0;
    std::vector<TileType> types; // row-major
    std::string type;

    TileType At(Cell c) const { return types[static_cast<size_t>(c.first * cols + c.second)]; }
    void Set(Cell c, TileType t) { types[static_cast<size_t>(c.first * cols + c.second)] = t; }
    bool Inside(Cell c) const { return c.first >= 0 && c.first < rows && c.second >= 0 && c.second < cols; }
};

struct BuildingRecord {
    BuildingType type = BUILDING_UNKNOWN;
    Cell cell;
};

bool IsNumber(const std::string& text) {
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

// Every tile as the reader takes it: its first four attributes by position, in grid order.
MapFile ReadMap(const std::string& file) {
    MapFile map;
    KRConfig config = ReadConfig(file);
    EXPECT_EQ(config.m_elementName, "Map") << file;
    map.type = config.m_type;
    const ConfigAttributes& root = config.m_attributesByElement[config.m_elementName];
    EXPECT_EQ(root.size(), 3u) << file;
    if (root.size() != 3u || root[1].first != "rows" || root[2].first != "cols") {
        ADD_FAILURE() << file << ": the root's attributes are not type, rows, cols";
        return map;
    }
    map.rows = std::atoi(root[1].second.c_str());
    map.cols = std::atoi(root[2].second.c_str());
    EXPECT_EQ(config.m_nodes.size(), static_cast<size_t>(map.rows * map.cols)) << file;
    for (size_t i = 0; i < config.m_nodes.size(); ++i) {
        const ConfigNode& tile = config.m_nodes[i];
        EXPECT_EQ(tile.m_name, "Tile" + std::to_string(i)) << file;
        const ConfigAttributes& a = tile.m_attributes;
        if (a.size() < 4 || a[0].first != "x" || a[1].first != "y" || a[2].first != "z" ||
            a[3].first != "unit") {
            ADD_FAILURE() << file << " " << tile.m_name << ": not x, y, z, unit";
            continue;
        }
        EXPECT_EQ(std::atoi(a[0].second.c_str()), static_cast<int>(i) % map.cols) << tile.m_name;
        EXPECT_EQ(std::atoi(a[1].second.c_str()), static_cast<int>(i) / map.cols) << tile.m_name;
        EXPECT_EQ(std::atof(a[2].second.c_str()), 0.0) << tile.m_name;
        TileType type = std::atoi(a[3].second.c_str());
        EXPECT_TRUE(IsNumber(a[3].second) && type >= TILE_EMPTY && type <= TILE_BARRACKS) << tile.m_name;
        map.types.push_back(type);
    }
    return map;
}

std::vector<BuildingRecord> ReadBuildings(const std::string& file, std::string& type) {
    std::vector<BuildingRecord> records;
    KRConfig config = ReadConfig(file);
    EXPECT_EQ(config.m_elementName, "Building") << file;
    type = config.m_type;
    for (const ConfigNode& node : config.m_nodes) {
        EXPECT_EQ(node.m_name, "Building") << file;
        for (const char* key : {"Type", "Health", "Row", "Col"}) {
            EXPECT_TRUE(IsNumber(node.GetChildValue(key))) << file << " " << key;
        }
        BuildingRecord record{
            std::atoi(node.GetChildValue("Type").c_str()),
            {std::atoi(node.GetChildValue("Row").c_str()), std::atoi(node.GetChildValue("Col").c_str())}};
        EXPECT_EQ(node.GetChildValue("Name"), KRBuilding::TypeName(record.type)) << file;
        EXPECT_EQ(std::atof(node.GetChildValue("Health").c_str()), 5.0) << file;
        records.push_back(record);
    }
    return records;
}

// The grid search of the battle: through Path and Crack cells only, entering the goal whatever it is
// unless it is a Building. Returns the cells from start to goal, or nothing.
std::vector<Cell> FindRoute(const MapFile& map, Cell start, Cell goal) {
    std::map<Cell, Cell> cameFrom{{start, start}};
    std::deque<Cell> queue{start};
    while (!queue.empty()) {
        Cell at = queue.front();
        queue.pop_front();
        if (at == goal) {
            std::vector<Cell> route{goal};
            while (route.back() != start) {
                route.push_back(cameFrom[route.back()]);
            }
            return {route.rbegin(), route.rend()};
        }
        for (Cell next : {Cell{at.first + 1, at.second}, Cell{at.first - 1, at.second},
                          Cell{at.first, at.second + 1}, Cell{at.first, at.second - 1}}) {
            if (!map.Inside(next) || cameFrom.count(next) != 0 || map.At(next) == TILE_BUILDING) {
                continue;
            }
            if (next == goal || map.At(next) == TILE_PATH || map.At(next) == TILE_CRACK) {
                cameFrom[next] = at;
                queue.push_back(next);
            }
        }
    }
    return {};
}

std::vector<Cell> CellsOf(const MapFile& map, TileType type) {
    std::vector<Cell> cells;
    for (int i = 0; i < map.rows * map.cols; ++i) {
        if (map.types[static_cast<size_t>(i)] == type) {
            cells.emplace_back(i / map.cols, i % map.cols);
        }
    }
    return cells;
}

// What every kingdom map must give its readers: one Capital with its building, buildings only on
// building cells, and the two starting units' home cells on the road.
void ExpectAKingdom(const MapFile& map, const std::vector<BuildingRecord>& buildings) {
    std::vector<Cell> capitals = CellsOf(map, TILE_CAPITAL);
    ASSERT_EQ(capitals.size(), 1u);
    std::set<Cell> built;
    for (const BuildingRecord& b : buildings) {
        ASSERT_TRUE(map.Inside(b.cell));
        EXPECT_TRUE(built.insert(b.cell).second)
            << "two buildings on " << b.cell.first << "," << b.cell.second;
        EXPECT_GE(b.type, BUILDING_CAPITAL);
        EXPECT_LE(b.type, BUILDING_KEEP);
        EXPECT_EQ(map.At(b.cell), b.type == BUILDING_CAPITAL ? TILE_CAPITAL : TILE_BUILDING);
        EXPECT_EQ(b.type == BUILDING_CAPITAL, b.cell == capitals[0]);
    }
    EXPECT_EQ(built.count(capitals[0]), 1u) << "the Capital tile has no Capital building";
    for (Cell cell : CellsOf(map, TILE_BUILDING)) {
        EXPECT_EQ(built.count(cell), 1u) << "an empty building cell at " << cell.first << "," << cell.second;
    }
    // Primal Guardian at column 11, row 13 and Primal Mage at column 11, row 12; units move only on roads.
    EXPECT_EQ(map.At({13, 11}), TILE_PATH);
    EXPECT_EQ(map.At({12, 11}), TILE_PATH);
    EXPECT_FALSE(CellsOf(map, TILE_GATE).empty());
}

void ExpectEveryGateReachesTheCapital(const MapFile& map) {
    Cell capital = CellsOf(map, TILE_CAPITAL).at(0);
    for (Cell gate : CellsOf(map, TILE_GATE)) {
        EXPECT_FALSE(FindRoute(map, gate, capital).empty()) << "gate " << gate.first << "," << gate.second;
    }
}

class AuthoredData : public KingdomEngineTest {
  protected:
    void SetUp() override {
        ConfigCache::Instance().Destroy();
        KingdomEngineTest::SetUp();
        engine->m_display.width = 800;
        engine->m_display.height = 600;
    }
    void TearDown() override {
        KingdomEngineTest::TearDown();
        ConfigCache::Instance().Destroy();
    }
};

bool IsFailure(const std::string& line) {
    for (const char* failure :
         {"couldn't load", "Couldn't", "Fail to load", "Bad texture config", "Error Reading"}) {
        if (line.find(failure) != std::string::npos) {
            return true;
        }
    }
    return false;
}

void ExpectNoFailure(const std::string& log) {
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        EXPECT_FALSE(IsFailure(line)) << line;
    }
}

TEST_F(AuthoredData, TheDefaultKingdomIsWholeAndEveryGateHasARoadToTheCapital) {
    MapFile map = ReadMap("../Assets/SaveData/default_mapdata.xml");
    std::string buildingsType;
    std::vector<BuildingRecord> buildings =
        ReadBuildings("../Assets/SaveData/default_buildingdata.xml", buildingsType);
    ExpectAKingdom(map, buildings);
    ExpectEveryGateReachesTheCapital(map);
    EXPECT_GE(CellsOf(map, TILE_GATE).size(), 2u);
}

TEST_F(AuthoredData, TheTutorialMapHoldsEveryCellTheTutorialWorksOn) {
    MapFile map = ReadMap("../Assets/Tutorial/mapdata.xml");
    std::string buildingsType;
    std::vector<BuildingRecord> buildings =
        ReadBuildings("../Assets/Tutorial/buildingdata.xml", buildingsType);
    ExpectAKingdom(map, buildings);
    ASSERT_GE(map.rows, 17);
    ASSERT_GE(map.cols, 17);

    // The Keep to tear down, and something else that may be torn down by mistake.
    bool keep = false;
    bool other = false;
    for (const BuildingRecord& b : buildings) {
        keep = keep || (b.type == BUILDING_KEEP && b.cell == Cell{13, 13});
        other = other || (b.type != BUILDING_KEEP && b.type != BUILDING_CAPITAL);
    }
    EXPECT_TRUE(keep);
    EXPECT_TRUE(other);
    // A Farm and a House need two free road cells.
    int freeRoad = 0;
    for (Cell cell : CellsOf(map, TILE_PATH)) {
        freeRoad += cell != Cell{12, 11} && cell != Cell{13, 11} ? 1 : 0;
    }
    EXPECT_GE(freeRoad, 2);

    // The road to pave, in order: each cell Empty and touching a cell in use when its turn comes.
    for (Cell cell : {Cell{16, 13}, Cell{16, 12}, Cell{16, 11}, Cell{15, 11}, Cell{14, 11}}) {
        ASSERT_EQ(map.At(cell), TILE_EMPTY) << cell.first << "," << cell.second;
        bool touches = false;
        for (Cell n : {Cell{cell.first + 1, cell.second}, Cell{cell.first - 1, cell.second},
                       Cell{cell.first, cell.second - 1}, Cell{cell.first, cell.second + 1}}) {
            touches = touches || (map.Inside(n) && map.At(n) != TILE_EMPTY);
        }
        EXPECT_TRUE(touches) << cell.first << "," << cell.second;
        map.Set(cell, TILE_PATH);
    }
    // Then the crack runs from column 14, row 16 to the Capital along a road, and the army meets the
    // invaders at the gates it can reach.
    Cell capital = CellsOf(map, TILE_CAPITAL).at(0);
    std::vector<Cell> crack = FindRoute(map, {16, 14}, capital);
    ASSERT_GE(crack.size(), 3u);
    EXPECT_EQ(map.At({16, 14}), TILE_GATE);
    EXPECT_NE(std::find(crack.begin(), crack.end(), Cell{14, 11}), crack.end())
        << "the unit's post is off the crack";
    ExpectEveryGateReachesTheCapital(map);
}

TEST_F(AuthoredData, EveryMapAndBuildingFileHasATypeOfItsOwn) {
    std::set<std::string> types;
    for (const char* file : {"../Assets/Tutorial/mapdata.xml", "../Assets/SaveData/default_mapdata.xml"}) {
        EXPECT_TRUE(types.insert(ReadMap(file).type).second) << file;
    }
    for (const char* file :
         {"../Assets/Tutorial/buildingdata.xml", "../Assets/SaveData/default_buildingdata.xml"}) {
        std::string type;
        ReadBuildings(file, type);
        EXPECT_TRUE(types.insert(type).second) << file;
    }
    EXPECT_EQ(types.count(""), 0u);
}

// The steps the tutorial controller acts on; "Skip" is entered only by skipping.
const std::set<std::string> kControllerSteps = {
    "Mail",           "Basic",          "Menu",        "SkipTutorial",  "ShowCapital",   "BuildFarmTown1",
    "BuildFarmTown2", "BuildFarmTown3", "BuildScroll", "BuildDestroy1", "BuildDestroy2", "BuildPath1",
    "BuildPath2",     "BuildCrack",     "DepolyUnit",  "ToWar",         "InWar",         "EndWar",
    "ToUnit",         "Merchant1",      "Merchant2",   "AddStats1",     "AddStats2",     "TrainArmy",
    "TrainArmy2",     "TrainArmy3",     "End"};

// The letter pop-up, 540 x 320 of the screen at the mail's letter size, holds 76 characters by 18 lines;
// the glyph sheets hold the printable ASCII characters.
constexpr size_t kLetterColumns = 76;
constexpr size_t kLetterLines = 18;

TEST_F(AuthoredData, TheTutorialWalksKnownStepsToTheEndAndEachStepHasALetterThatFits) {
    KRConfig sequence = ReadConfig("../Assets/Tutorial/tutorialseq.xml");
    std::vector<std::string> steps;
    for (const ConfigNode& node : sequence.m_nodes) {
        if (node.m_name == "Tutorial") {
            for (const auto& step : node.m_children) {
                steps.push_back(step->m_name);
            }
        }
    }
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), "Mail");
    EXPECT_EQ(steps.back(), "End");
    EXPECT_EQ(std::set<std::string>(steps.begin(), steps.end()).size(), steps.size()) << "a step twice";
    for (const std::string& step : steps) {
        EXPECT_EQ(kControllerSteps.count(step), 1u) << step;
    }

    KRConfig letters = ReadConfig("../Assets/Tutorial/tutorialmessage.xml");
    EXPECT_NE(sequence.m_type, letters.m_type);
    std::map<std::string, std::vector<std::string>> text;
    for (const ConfigNode& node : letters.m_nodes) {
        EXPECT_EQ(text.count(node.m_name), 0u) << "a second letter for " << node.m_name;
        for (const auto& line : node.m_children) {
            if (line->m_name == "n") {
                text[node.m_name].push_back(line->m_text);
            }
        }
    }
    for (const std::string& step : steps) {
        ASSERT_EQ(text.count(step), 1u) << "no letter for " << step;
        const std::vector<std::string>& lines = text[step];
        EXPECT_LT(lines.size(), kLetterLines) << step;
        EXPECT_FALSE(lines.front().empty()) << step;
        for (const std::string& line : lines) {
            EXPECT_LE(line.size(), kLetterColumns) << step << ": " << line;
            for (char c : line) {
                EXPECT_TRUE(c >= ' ' && c <= '~') << step << ": " << line;
            }
        }
    }
    for (const auto& [step, lines] : text) {
        EXPECT_NE(std::find(steps.begin(), steps.end(), step), steps.end())
            << "a letter never sent: " << step;
    }
}

TEST_F(AuthoredData, EveryRaceHasABlueprintWithEveryStatisticAndItsCost) {
    KRConfig blueprints = ReadConfig("../Assets/BaseUnitBluePrint.xml");
    EXPECT_FALSE(blueprints.m_type.empty());
    std::set<std::string> races;
    for (const ConfigNode& unit : blueprints.m_nodes) {
        races.insert(unit.m_name);
        std::map<std::string, double> stat;
        for (const char* key : {"HP", "STR", "VIT", "DEF", "MoveSpd", "Range", "Accuracy", "Cost", "AttkSpd",
                                "Evade", "Energy", "Force", "Slots"}) {
            std::string value = unit.GetChildValue(key);
            EXPECT_TRUE(IsNumber(value)) << unit.m_name << " " << key << " '" << value << "'";
            stat[key] = std::atof(value.c_str());
        }
        // Range is read with atoi, and 0 would make a unit free and harmless.
        EXPECT_EQ(unit.GetChildValue("Range"),
                  std::to_string(std::atoi(unit.GetChildValue("Range").c_str())));
        EXPECT_GE(stat["Range"], 1.0) << unit.m_name;
        EXPECT_GT(stat["AttkSpd"], 0.0) << unit.m_name;
        EXPECT_GT(stat["MoveSpd"], 0.0) << unit.m_name;
        EXPECT_GT(stat["HP"], 0.0) << unit.m_name;
        float sum = static_cast<float>(stat["AttkSpd"]) + static_cast<float>(stat["MoveSpd"]) +
                    static_cast<float>(stat["STR"]) + static_cast<float>(stat["VIT"]) +
                    static_cast<float>(stat["DEF"]) + static_cast<float>(stat["Accuracy"]) +
                    static_cast<float>(stat["Force"]) + static_cast<float>(stat["Evade"]);
        EXPECT_NEAR(stat["Cost"], sum * static_cast<float>(stat["Range"]) * 0.5f, 1e-3) << unit.m_name;
    }
    EXPECT_EQ(blueprints.m_nodes.size(), 8u);
    EXPECT_EQ(races, (std::set<std::string>{"Elvenkind", "Dragonkin", "Leviathian", "Golem", "Taipen",
                                            "Angel", "Demon", "Elemental"}));
}

TEST_F(AuthoredData, EachBlueprintBecomesAUnitOfItsOwnRaceDrawnFromItsOwnSheet) {
    KRConfig blueprints = ReadConfig("../Assets/BaseUnitBluePrint.xml");
    std::set<std::string> sheets;
    for (const ConfigNode& blueprint : blueprints.m_nodes) {
        const std::string& word = blueprint.m_name;
        EXPECT_EQ(RaceToName(RaceFromName(word)), word);
        Log log;
        KRUnit unit(word);
        unit.Load(*engine);
        ExpectNoFailure(log.Text());
        std::string lower = word;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        EXPECT_EQ(unit.m_sprite.m_xmlName, "../Assets/Units/" + lower + "_unit.xml");
        EXPECT_EQ(unit.m_sprite.m_textureFile, "../Assets/Units/" + lower + "_unit.png");
        sheets.insert(unit.m_sprite.m_textureFile);
    }
    EXPECT_EQ(sheets.size(), 8u);
}

// Width and height from a PNG's header.
std::pair<int, int> PngSize(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char header[24] = {};
    in.read(reinterpret_cast<char*>(header), sizeof(header));
    auto word = [&](int at) {
        return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
    };
    return in ? std::pair{word(16), word(20)} : std::pair{0, 0};
}

TEST_F(AuthoredData, EverySoldierSheetLoadsWithTheAnimationsTheBattlePlays) {
    std::set<std::string> types;
    for (const char* race :
         {"elvenkind", "dragonkin", "leviathian", "golem", "taipen", "angel", "demon", "elemental"}) {
        std::string file = std::string("../Assets/Units/") + race + "_unit.xml";
        Log log;
        Sprite sprite(&clock);
        sprite.InitWithXML(file, false);
        sprite.Load(*engine);
        ExpectNoFailure(log.Text());
        types.insert(ReadConfig(file).m_type);

        EXPECT_EQ(sprite.m_textureFile, std::string("../Assets/Units/") + race + "_unit.png");
        EXPECT_EQ(PngSize(sprite.m_textureFile), (std::pair{sprite.m_width, sprite.m_height})) << race;
        ASSERT_GT(sprite.m_columns * sprite.m_rows, 1u) << race;
        for (const char* name : {"Warp", "Attack", "Dead"}) {
            ASSERT_EQ(sprite.m_animations.count(name), 1u) << race << " " << name;
            const Animation& a = sprite.m_animations.at(name);
            EXPECT_GE(a.m_startFrame, 1)
                << race << " " << name << " must leave frame 0 to the standing soldier";
            EXPECT_LT(static_cast<size_t>(a.m_endFrame), sprite.m_frames.size()) << race << " " << name;
        }
        // The fall has frames to play before a dead soldier is hidden at its last one.
        EXPECT_GT(sprite.m_animations.at("Dead").m_endFrame, sprite.m_animations.at("Dead").m_startFrame);
    }
    EXPECT_EQ(types.size(), 8u);
}

TEST_F(AuthoredData, TheMapEditorLayoutsHoldTheItemsItsScriptsMoveAndTheGameScreensLayoutsLoad) {
    ScriptRegistry scripts;
    scripts.Register();
    std::set<std::string> types;
    for (const char* file : {"../Assets/guimastereditor.xml", "../Assets/guikingdomeditor.xml"}) {
        Log log;
        GUISystem gui;
        gui.Init(*engine);
        ASSERT_TRUE(gui.LoadFromXML(file)) << file;
        ExpectNoFailure(log.Text());
        types.insert(ReadConfig(file).m_type);
        KRGUIObject* overlay = gui.FindByName("Overlay");
        auto* unit = dynamic_cast<KRGUIButton*>(gui.FindByName("ChangeUnitType"));
        auto* tile = dynamic_cast<KRGUIButton*>(gui.FindByName("ChangeTileType"));
        ASSERT_NE(overlay, nullptr) << file;
        ASSERT_NE(unit, nullptr) << file;
        ASSERT_NE(tile, nullptr) << file;
        EXPECT_EQ(dynamic_cast<KRGUIButton*>(overlay), nullptr) << "the overlay must not take clicks";
        EXPECT_EQ(unit->m_action, "ChangeUnitType");
        EXPECT_EQ(tile->m_action, "ChangeTileType");
        // The overlay is moved onto either button and must cover it.
        for (const KRGUIObject* button : {static_cast<KRGUIObject*>(unit), static_cast<KRGUIObject*>(tile)}) {
            EXPECT_EQ(overlay->m_w, button->m_w);
            EXPECT_EQ(overlay->m_h, button->m_h);
        }
        for (const auto& item : gui.m_items) {
            if (auto* button = dynamic_cast<KRGUIButton*>(item.get())) {
                EXPECT_EQ(scripts.m_scripts.count(button->m_action), 1u) << button->m_action;
            }
            EXPECT_LE(item->m_x + item->m_w, 800.0f) << item->m_name;
            EXPECT_LE(item->m_y + item->m_h, 600.0f) << item->m_name;
        }
        gui.Destroy();
    }
    for (const char* file : {"../Assets/guiuniteditor.xml", "../Assets/guiwarring.xml"}) {
        Log log;
        GUISystem gui;
        gui.Init(*engine);
        EXPECT_TRUE(gui.LoadFromXML(file)) << file;
        ExpectNoFailure(log.Text());
        types.insert(ReadConfig(file).m_type);
        gui.Destroy();
    }
    EXPECT_EQ(types.size(), 4u);
}

TEST_F(AuthoredData, TheOpeningStocksAreThoseOfAFreshRealmInTheArmyDataLayout) {
    KRConfig data = ReadConfig("../Assets/SaveData/resourcedata.xml");
    EXPECT_EQ(data.m_elementName, "ArmyData");
    EXPECT_FALSE(data.m_type.empty());
    const ConfigNode* resource = nullptr;
    for (const ConfigNode& node : data.m_nodes) {
        resource = node.m_name == "Resource" ? &node : resource;
    }
    ASSERT_NE(resource, nullptr);
    const char* const names[] = {"Fire",  "Earth",   "Light",    "Nature", "Magic",
                                 "Metal", "Psychic", "Darkness", "Money",  "Population"};
    PlayerEditor fresh(engine.get(), &world());
    for (size_t i = 0; i < 10; ++i) {
        ASSERT_NE(resource->FindChild(names[i]), nullptr) << names[i];
        EXPECT_FLOAT_EQ(static_cast<float>(std::atof(resource->GetChildValue(names[i]).c_str())),
                        fresh.m_stock[i])
            << names[i];
    }
}

} // namespace
