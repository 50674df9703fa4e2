// The map and building files: their exact text, reading back what was written, and damaged files
// refused with the map left as it was.
#include "captured_log.h"
#include "kingdom/kingdom_support.h"
#include "kingdom/mapfiles.h"
#include "kingdom/tilemap.h"
#include "save_support.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using kingdomtest::MakeMap;
using kingdomtest::Picture;
using savetest::DataFile;
using savetest::ReadText;
using savetest::Scratch;

TEST(MapFiles, WrittenTextIsTheFormatAndReadsBackTheSameMap) {
    Scratch scratch;
    TileMap map(7, 7);
    const std::vector<std::string> picture = {".......", "..#C#..", "...#...", "...G...",
                                              "x......", ".....K?", "BBB...."};
    MakeMap(map, picture);
    map.PlaceBuilding(1, 3, 1);
    map.PlaceBuilding(6, 0, 3);
    map.FindBuildingAt(6, 0)->m_health = 2.75f;
    const std::string mapFile = scratch.Folder() + "mapdata.xml";
    const std::string buildingFile = scratch.Folder() + "buildingdata.xml";
    ASSERT_TRUE(map.WriteMapData(mapFile, "MapData"));
    ASSERT_TRUE(map.WriteBuildingData(buildingFile, "BuildData"));

    const std::string text = ReadText(mapFile);
    EXPECT_TRUE(
        std::regex_search(text, std::regex("<\\?xml version=\"1.0\" \\?>\n<Map type=\"MapData[0-9]+\" "
                                           "rows=\"7\" cols=\"7\">\n")))
        << text;
    EXPECT_NE(text.find("<Tile17 x=\"3.00\" y=\"2.00\" z=\"0.00\" unit=\"1\" />"), std::string::npos);
    EXPECT_NE(text.find("<Tile48 x=\"6.00\" y=\"6.00\" z=\"0.00\" unit=\"0\" />"), std::string::npos);
    EXPECT_EQ(text.find("<Tile49"), std::string::npos);
    const std::string buildings = ReadText(buildingFile);
    EXPECT_TRUE(std::regex_search(buildings, std::regex("<Building type=\"BuildData[0-9]+\">")));
    EXPECT_NE(buildings.find("<Building id=\"0\">\n        <Name>Capital</Name>\n        <Type>1</Type>\n"
                             "        <Health>5</Health>\n        <Row>1</Row>\n        <Col>3</Col>"),
              std::string::npos)
        << buildings;
    EXPECT_NE(buildings.find("<Building id=\"1\">\n        <Name>Farm</Name>\n        <Type>3</Type>\n"
                             "        <Health>2</Health>"),
              std::string::npos);

    TileMap loaded(7, 7);
    ASSERT_TRUE(loaded.LoadMapData(mapFile));
    ASSERT_TRUE(loaded.LoadBuildingData(buildingFile));
    EXPECT_EQ(Picture(loaded), picture);
    ASSERT_EQ(loaded.Gates().size(), 1u);
    ASSERT_EQ(loaded.Buildings().size(), 2u);
    EXPECT_EQ(loaded.FindBuildingAt(1, 3)->m_health, 5.0f);
    EXPECT_EQ(loaded.FindBuildingAt(6, 0)->m_health, 2.0f);
    EXPECT_EQ(loaded.FindBuildingAt(6, 0)->m_maxHealth, 5.0f);
}

TEST(MapFiles, FractionalCellsAreTruncatedAndTilesPastTheGridAreNotWritten) {
    Scratch scratch;
    const std::string file = scratch.Folder() + "fraction.xml";
    savetest::WriteText(file,
                        "<?xml version=\"1.0\" ?>\n<Map type=\"MapDataFraction\" rows=\"1\" cols=\"4\">\n"
                        "<A x=\"0\" y=\"0.7\" z=\"0\" unit=\"1\"/><B x=\"1.5\" y=\"0\" z=\"0\" unit=\"2\"/>"
                        "<C x=\"2\" y=\"0\" z=\"0\" unit=\"3\"/><D x=\"3.99\" y=\"0.99\" z=\"9\" unit=\"5\"/>"
                        "</Map>\n");
    TileMap map(1, 1);
    ASSERT_TRUE(map.LoadMapData(file));
    EXPECT_EQ(Picture(map), std::vector<std::string>{"#BGx"});

    KRMapConfig config("unused.xml", "Map", "MapDataFull", 1, 2);
    EXPECT_TRUE(config.AddTile(0, 0, 0, TILE_PATH));
    EXPECT_TRUE(config.AddTile(1, 0, 0, TILE_PATH));
    EXPECT_FALSE(config.AddTile(2, 0, 0, TILE_PATH));
    EXPECT_EQ(config.m_nodes.size(), 2u);
}

class DamagedMapFile : public testing::TestWithParam<const char*> {};

TEST_P(DamagedMapFile, IsRefusedAndTheMapStaysAsItWas) {
    TileMap map(2, 2);
    MakeMap(map, {"#C", "G."});
    map.PlaceBuilding(0, 1, 1);
    const std::string file = DataFile(GetParam());
    const bool isMap = std::string(GetParam()).rfind("map_", 0) == 0;
    const std::vector<std::string> lines =
        logtest::Captured([&] { EXPECT_FALSE(isMap ? map.LoadMapData(file) : map.LoadBuildingData(file)); });
    EXPECT_EQ(Picture(map), (std::vector<std::string>{"#C", "G."}));
    EXPECT_EQ(map.Buildings().size(), 1u);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("Refused " + file, 0), 0u) << lines.back();
}

INSTANTIATE_TEST_SUITE_P(SaveFiles, DamagedMapFile,
                         testing::Values("map_negative_rows.xml", "map_huge_side.xml",
                                         "map_too_few_tiles.xml", "map_missing_attribute.xml",
                                         "map_out_of_order.xml", "map_cell_outside.xml",
                                         "map_unknown_tile.xml", "map_nan_position.xml",
                                         "buildings_unknown_type.xml", "buildings_infinite_health.xml",
                                         "buildings_negative_cell.xml"));

TEST(MapFiles, ABuildingOutsideTheMapIsNotPlaced) {
    Scratch scratch;
    TileMap big(2, 9);
    MakeMap(big, {"#########", "#########"});
    big.PlaceBuilding(1, 8, 3);
    const std::string file = scratch.Folder() + "b.xml";
    ASSERT_TRUE(big.WriteBuildingData(file, "BuildData"));
    TileMap small(2, 2);
    MakeMap(small, {"##", "##"});
    EXPECT_FALSE(small.LoadBuildingData(file));
    EXPECT_TRUE(small.Buildings().empty());
}

} // namespace
