// Reading map and building files: a file that does not fit the grid is refused whole.
#include "kingdom_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using kingdomtest::Log;

class MapRead : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "thornvale-mapread-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // Each call writes a new file, so that no cached reading stands in for it.
    std::string Write(const std::string& root, const std::string& attributes, const std::string& body) {
        const fs::path path = m_folder / ("f" + std::to_string(m_count++) + ".xml");
        std::ofstream(path) << "<?xml version=\"1.0\" ?>\n<" << root << " " << attributes << ">\n"
                            << body << "</" << root << ">\n";
        return path.string();
    }
    static std::string Tile(const char* x, const char* y, const char* unit) {
        return std::string("<Tile x=\"") + x + "\" y=\"" + y + "\" z=\"0.00\" unit=\"" + unit + "\" />\n";
    }
    static std::string Building(const char* type, const char* row, const char* col) {
        return std::string("<Building><Name>X</Name><Type>") + type + "</Type><Health>5</Health><Row>" + row +
               "</Row><Col>" + col + "</Col></Building>\n";
    }

    fs::path m_folder;
    int m_count = 0;
};

TEST_F(MapRead, AFittingMapAndItsBuildingsLoadAndEveryMisfitIsRefusedWhole) {
    Log log;
    const std::string size = "type=\"MapDataT\" rows=\"1\" cols=\"2\"";
    const std::string good = Tile("0.00", "0.00", "4") + Tile("1.99", "0.00", "1");
    TileMap map(7, 7);
    EXPECT_TRUE(map.LoadMapData(Write("Map", size, good)));
    ASSERT_EQ(map.Grid().size(), 2u);
    EXPECT_EQ(map.GetTile(0, 0)->m_type, TILE_CAPITAL);
    EXPECT_EQ(map.GetTile(0, 1)->m_type, TILE_PATH);

    const std::string buildings = "type=\"BuildDataT\"";
    EXPECT_TRUE(map.LoadBuildingData(Write("Building", buildings, Building("1", "0", "0"))));
    ASSERT_NE(map.FindBuildingAt(0, 0), nullptr);
    for (const std::string& bad :
         {Building("1", "1", "0"), Building("12", "0", "1"), Building("x", "0", "1")}) {
        EXPECT_FALSE(map.LoadBuildingData(Write("Building", buildings, Building("3", "0", "1") + bad)))
            << bad;
        EXPECT_EQ(map.FindBuildingAt(0, 1), nullptr) << bad;
    }

    const std::string misfits[] = {Tile("0.00", "0.00", "4"),                             // too few tiles
                                   good + Tile("0.00", "1.00", "1"),                      // one past the grid
                                   Tile("1.00", "0.00", "4") + Tile("0.00", "0.00", "1"), // out of order
                                   Tile("0.00", "0.00", "9") + Tile("1.00", "0.00", "1"), // no such type
                                   Tile("0.00", "0.00", "1x") + Tile("1.00", "0.00", "1"), // not a number
                                   Tile("nan", "0.00", "1") + Tile("1.00", "0.00", "1"),   // not a cell
                                   Tile("-1.00", "0.00", "1") + Tile("1.00", "0.00", "1")};
    for (const std::string& body : misfits) {
        EXPECT_FALSE(map.LoadMapData(Write("Map", size, body))) << body;
        EXPECT_TRUE(map.Grid().empty()) << body;
    }
    for (const char* wrong :
         {"rows=\"0\" cols=\"2\"", "rows=\"1\" cols=\"99999999999\"", "rows=\"a\" cols=\"2\""}) {
        EXPECT_FALSE(map.LoadMapData(Write("Map", std::string("type=\"M\" ") + wrong, good))) << wrong;
        EXPECT_TRUE(map.Grid().empty()) << wrong;
    }
}

} // namespace
