// The grid, its neighbour queries, buildings, whole-map operations and crack spreading.
#include "kingdom_support.h"

#include <set>
#include <utility>

namespace {

using kingdomtest::Log;
using kingdomtest::MakeMap;
using kingdomtest::Picture;
using Cells = std::vector<std::pair<uint32_t, uint32_t>>;

Cells CellsOf(const std::vector<KRTile*>& tiles) {
    Cells out;
    for (const KRTile* tile : tiles) {
        out.emplace_back(tile->m_row, tile->m_col);
    }
    return out;
}

// Draws in the given order, then 0 for ever.
TileMap::RandomDraw Draws(std::vector<int> values) {
    auto next = std::make_shared<size_t>(0);
    return [values = std::move(values), next]() { return *next < values.size() ? values[(*next)++] : 0; };
}

TEST(TileMapCells, LookupsStopAtTheEdgesAndOnAMapNotYetLoaded) {
    TileMap unloaded(7, 7);
    EXPECT_EQ(unloaded.GetTile(0, 0), nullptr);
    EXPECT_EQ(unloaded.GetTile(6, 6), nullptr);

    TileMap map(1, 1);
    MakeMap(map, {"#..", "...", "..G", ".C."});
    EXPECT_EQ(map.GetTile(4, 0), nullptr);
    EXPECT_EQ(map.GetTile(0, 3), nullptr);
    EXPECT_EQ(map.GetTile(UINT32_MAX, 0), nullptr);
    EXPECT_EQ(map.GetTile(3, 2), map.Grid().back().get());
    const KRTile* gate = map.GetTile(2, 2);
    ASSERT_NE(gate, nullptr);
    EXPECT_EQ(gate->m_type, TILE_GATE);
    EXPECT_EQ(gate->m_name, "Tile - Gate | (Row: 2, Col: 2)");
    // Row r, column c lies at x = c, z = -r, on the ground.
    EXPECT_EQ(gate->m_boundingBox.m_position, (plat::Vector3{2.0f, -0.5f, -2.0f}));
    EXPECT_EQ(map.Gates(), std::vector<KRTile*>{map.GetTile(2, 2)});
}

TEST(TileMapCells, ATileIsNamedAfterItsTypeAndSharedSheetsShowTheirOwnFrame) {
    EXPECT_EQ(KRTile::MakeName(3, 4, TILE_PATH), "Tile - Path | (Row: 3, Col: 4)");
    EXPECT_EQ(KRTile::TypeName(TILE_UNKNOWN), "Unknown");
    EXPECT_EQ(KRTile::TypeName(8), "Unknown");
    EXPECT_EQ(KRTile::TypeName(-1), "Unknown");
    EXPECT_EQ(KRTile::TextureConfigForType(TILE_UNKNOWN), "../Assets/overlay.xml");
    EXPECT_EQ(KRTile::TextureConfigForType(8), "../Assets/defaulttexture.xml");
    EXPECT_EQ(KRTile::TextureConfigForType(-1), "../Assets/defaulttexture.xml");

    // Building, Capital and Barracks share one sheet; each must still look like itself.
    const KRTile building(0, 0, TILE_BUILDING);
    const KRTile capital(0, 0, TILE_CAPITAL);
    const KRTile barracks(0, 0, TILE_BARRACKS);
    EXPECT_EQ(building.m_sprite.m_textureFile, capital.m_sprite.m_textureFile);
    EXPECT_EQ(capital.m_sprite.m_textureFile, barracks.m_sprite.m_textureFile);
    std::set<uint32_t> frames = {building.m_sprite.m_currentFrame, capital.m_sprite.m_currentFrame,
                                 barracks.m_sprite.m_currentFrame};
    EXPECT_EQ(frames.size(), 3u);
    EXPECT_TRUE(building.m_sprite.m_layFlat);
}

TEST(TileMapNeighbours, CornersAndEdgesOfferOnlyTheCellsInsideInTheirOrder) {
    TileMap map(1, 1);
    MakeMap(map, {"####", "####", "####"});
    EXPECT_EQ(CellsOf(map.NonEmptyNeighbours(0, 0)), (Cells{{1, 0}, {0, 1}}));
    EXPECT_EQ(CellsOf(map.NonEmptyNeighbours(2, 3)), (Cells{{1, 3}, {2, 2}}));
    EXPECT_EQ(CellsOf(map.NonEmptyNeighbours(0, 3)), (Cells{{1, 3}, {0, 2}}));
    EXPECT_EQ(CellsOf(map.NonEmptyNeighbours(2, 0)), (Cells{{1, 0}, {2, 1}}));
    // Below, above, left, right.
    EXPECT_EQ(CellsOf(map.NonEmptyNeighbours(1, 1)), (Cells{{2, 1}, {0, 1}, {1, 0}, {1, 2}}));
    // A cell outside the grid has at most the neighbours that are inside.
    EXPECT_EQ(CellsOf(map.NonEmptyNeighbours(3, 0)), (Cells{{2, 0}}));
    EXPECT_TRUE(map.NonEmptyNeighbours(5, 5).empty());

    TileMap mixed(1, 1);
    MakeMap(mixed, {".x.", "GBC", ".K#"});
    EXPECT_EQ(CellsOf(mixed.NonEmptyNeighbours(1, 1)), (Cells{{2, 1}, {0, 1}, {1, 0}, {1, 2}}));
    EXPECT_EQ(CellsOf(mixed.NonEmptyNeighbours(0, 0)), (Cells{{1, 0}, {0, 1}}));
    EXPECT_EQ(CellsOf(mixed.NonEmptyNeighbours(2, 2)), (Cells{{1, 2}, {2, 1}}));
    EXPECT_EQ(CellsOf(mixed.NonEmptyNeighbours(0, 2)), (Cells{{1, 2}, {0, 1}}));

    std::vector<KRTile*> cracked;
    std::vector<KRTile*> other;
    mixed.SplitNeighbours(1, 1, cracked, other);
    EXPECT_EQ(CellsOf(cracked), (Cells{{0, 1}, {1, 0}, {1, 2}}));
    EXPECT_EQ(CellsOf(other), (Cells{{2, 1}}));
    cracked.clear();
    other.clear();
    mixed.SplitNeighbours(0, 0, cracked, other);
    EXPECT_EQ(CellsOf(cracked), (Cells{{1, 0}, {0, 1}}));
    EXPECT_TRUE(other.empty());
}

TEST(TileMapGrid, AMapFileOutOfOrderOrOutOfSizeIsRefused) {
    TileMap map(1, 1);
    Log log;
    EXPECT_FALSE(map.StartGrid(0, 4));
    EXPECT_FALSE(map.StartGrid(3, kMaxMapSide + 1));
    ASSERT_TRUE(map.StartGrid(2, 2));
    EXPECT_FALSE(map.AppendTile(std::make_unique<KRTile>(0, 1, TILE_PATH)));
    EXPECT_TRUE(map.AppendTile(std::make_unique<KRTile>(0, 0, TILE_PATH)));
    EXPECT_TRUE(map.AppendTile(std::make_unique<KRTile>(0, 1, TILE_GATE)));
    EXPECT_TRUE(map.AppendTile(std::make_unique<KRTile>(1, 0, TILE_PATH)));
    EXPECT_TRUE(map.AppendTile(std::make_unique<KRTile>(1, 1, TILE_PATH)));
    EXPECT_FALSE(map.AppendTile(std::make_unique<KRTile>(2, 0, TILE_PATH)));
    EXPECT_FALSE(map.AppendTile(nullptr));
    const std::string text = log.Text();
    EXPECT_NE(text.find("Map size 0 x 4 refused"), std::string::npos);
    EXPECT_NE(text.find("Tile (Row: 0, Col: 1) refused"), std::string::npos);
    EXPECT_NE(text.find("Tile (Row: 2, Col: 0) refused"), std::string::npos);
    EXPECT_EQ(map.Grid().size(), 4u);
    EXPECT_EQ(Picture(map), (std::vector<std::string>{"#G", "##"}));
}

TEST(TileMapBuildings, CountsFollowPlacingReplacingAndRemoving) {
    TileMap map(1, 1);
    MakeMap(map, {"###", "###"});
    map.CountBuildings();
    EXPECT_EQ(map.m_buildingCounts, std::vector<int32_t>(13, 0));

    EXPECT_EQ(map.PlaceBuilding(0, 0, BUILDING_FARM), nullptr);
    EXPECT_EQ(map.PlaceBuilding(0, 1, BUILDING_FARM), nullptr);
    EXPECT_EQ(map.PlaceBuilding(1, 2, BUILDING_HOUSE), nullptr);
    map.CountBuildings();
    EXPECT_EQ(map.m_buildingCounts[BUILDING_FARM], 2);
    EXPECT_EQ(map.m_buildingCounts[BUILDING_HOUSE], 1);

    // The new building takes the old one's place in the list; the old one comes back to the caller.
    std::unique_ptr<KRBuilding> displaced = map.PlaceBuilding(0, 1, BUILDING_SMITH);
    ASSERT_NE(displaced, nullptr);
    EXPECT_EQ(displaced->m_buildingType, BUILDING_FARM);
    ASSERT_EQ(map.Buildings().size(), 3u);
    EXPECT_EQ(map.Buildings()[1]->m_buildingType, BUILDING_SMITH);
    EXPECT_EQ(map.FindBuildingAt(0, 1), map.Buildings()[1].get());
    map.CountBuildings();
    EXPECT_EQ(map.m_buildingCounts[BUILDING_FARM], 1);
    EXPECT_EQ(map.m_buildingCounts[BUILDING_SMITH], 1);

    // Removing leaves Path, and the later buildings move up.
    EXPECT_TRUE(map.RemoveBuildingAt(0, 0));
    EXPECT_EQ(map.GetTile(0, 0)->m_type, TILE_PATH);
    EXPECT_EQ(map.FindBuildingAt(0, 0), nullptr);
    ASSERT_EQ(map.Buildings().size(), 2u);
    EXPECT_EQ(map.Buildings()[0]->m_buildingType, BUILDING_SMITH);
    EXPECT_FALSE(map.RemoveBuildingAt(1, 0));
    EXPECT_EQ(map.GetTile(1, 0)->m_type, TILE_PATH);
    map.CountBuildings();
    EXPECT_EQ(map.m_buildingCounts[BUILDING_FARM], 0);
    EXPECT_EQ(map.m_buildingCounts[BUILDING_SMITH], 1);
    EXPECT_EQ(map.m_buildingCounts[BUILDING_HOUSE], 1);
}

TEST(TileMapBuildings, AnUnknownTypeIsNeitherCountedNorAcceptedFromAFile) {
    TileMap map(1, 1);
    MakeMap(map, {"###"});
    // A tool mode outside 2 to 9 still places something; it must not count past the table.
    map.PlaceBuilding(0, 0, 14);
    map.PlaceBuilding(0, 1, -3);
    map.PlaceBuilding(0, 2, BUILDING_KEEP);
    map.CountBuildings();
    std::vector<int32_t> expected(13, 0);
    expected[BUILDING_KEEP] = 1;
    EXPECT_EQ(map.m_buildingCounts, expected);

    TileMap read(1, 1);
    MakeMap(read, {"##"});
    auto ten = std::make_unique<KRBuilding>(10);
    auto negative = std::make_unique<KRBuilding>(-1);
    auto capital = std::make_unique<KRBuilding>(BUILDING_CAPITAL);
    Log log;
    EXPECT_FALSE(read.AddBuilding(std::move(ten)));
    EXPECT_FALSE(read.AddBuilding(std::move(negative)));
    EXPECT_FALSE(read.AddBuilding(nullptr));
    EXPECT_TRUE(read.AddBuilding(std::move(capital)));
    EXPECT_EQ(log.Text(), "Building of unknown type 10 refused\nBuilding of unknown type -1 refused\n");
    EXPECT_EQ(read.Buildings().size(), 1u);
}

TEST(TileMapBuildings, TheTypeTableNamesAndPicturesEveryType) {
    EXPECT_EQ(KRBuilding::TypeName(BUILDING_UNKNOWN), "Unknown");
    EXPECT_EQ(KRBuilding::TextureConfigForType(BUILDING_UNKNOWN), "../Assets/Tiles/tilegate.xml");
    EXPECT_EQ(KRBuilding::TypeName(BUILDING_TECHLAB), "TechLab");
    EXPECT_EQ(KRBuilding::TextureConfigForType(BUILDING_KEEP), "../Assets/Buildings/dark_bldg.xml");
    EXPECT_EQ(KRBuilding::TextureConfigForType(BUILDING_CAPITAL), "../Assets/tilecapital.xml");
    for (BuildingType type : {10, 12, 99, -1}) {
        EXPECT_EQ(KRBuilding::TypeName(type), "Unknown") << type;
        EXPECT_EQ(KRBuilding::TextureConfigForType(type), "../Assets/Units/elemental_unit.xml") << type;
    }
    const KRBuilding farm(BUILDING_FARM);
    EXPECT_EQ(farm.TypeName(), "Farm");
    EXPECT_EQ(farm.m_name, "KRBuilding");
    EXPECT_EQ(farm.m_health, 5.0f);
    EXPECT_EQ(farm.m_maxHealth, 5.0f);
    // Every known building has a picture of its own.
    std::set<std::string> pictures;
    for (BuildingType type = BUILDING_BARRACKS; type <= BUILDING_KEEP; ++type) {
        pictures.insert(KRBuilding(type).m_sprite.m_textureFile);
    }
    EXPECT_EQ(pictures.size(), 8u);
}

TEST(TileMapWhole, ResetKeepsTheCapitalTheGatesAndTheirBuildings) {
    TileMap map(1, 1);
    MakeMap(map, {"C#B", "GxK"});
    map.PlaceBuilding(0, 0, BUILDING_CAPITAL);
    map.PlaceBuilding(0, 2, BUILDING_FARM);
    map.PlaceBuilding(1, 0, BUILDING_UNKNOWN);
    map.ResetMap();
    EXPECT_EQ(Picture(map), (std::vector<std::string>{"C..", "G.."}));
    ASSERT_EQ(map.Buildings().size(), 2u);
    EXPECT_NE(map.FindBuildingAt(0, 0), nullptr);
    EXPECT_NE(map.FindBuildingAt(1, 0), nullptr);
    EXPECT_EQ(map.FindBuildingAt(0, 2), nullptr);
    EXPECT_EQ(map.Gates(), std::vector<KRTile*>{map.GetTile(1, 0)});
}

TEST(TileMapWhole, ExpandingMovesEveryTileOneCellInAndDropsTheBuildings) {
    TileMap map(1, 1);
    MakeMap(map, {"#......", ".......", "...C...", ".......", ".......", ".......", "......G"});
    map.PlaceBuilding(2, 3, BUILDING_CAPITAL);
    const KRTile* corner = map.GetTile(0, 0);
    const KRTile* capital = map.GetTile(2, 3);
    const KRTile* gate = map.GetTile(6, 6);
    map.ExpandMap();
    ASSERT_EQ(map.Rows(), 9u);
    ASSERT_EQ(map.Cols(), 9u);
    EXPECT_EQ(map.Grid().size(), 81u);
    // The same tiles, one row down and one column right.
    EXPECT_EQ(map.GetTile(1, 1), corner);
    EXPECT_EQ(map.GetTile(3, 4), capital);
    EXPECT_EQ(map.GetTile(7, 7), gate);
    EXPECT_EQ(corner->m_name, "Tile - Path | (Row: 1, Col: 1)");
    EXPECT_EQ(corner->m_row, 1u);
    EXPECT_EQ(corner->m_col, 1u);
    EXPECT_EQ(corner->m_boundingBox.m_position, (plat::Vector3{1.0f, -0.5f, -1.0f}));
    EXPECT_EQ(map.Gates(), std::vector<KRTile*>{map.GetTile(7, 7)});
    for (uint32_t i = 0; i < 9; ++i) {
        for (const auto& [row, col] : Cells{{0, i}, {8, i}, {i, 0}, {i, 8}}) {
            EXPECT_EQ(map.GetTile(row, col)->m_type, TILE_EMPTY) << row << "," << col;
            EXPECT_EQ(map.GetTile(row, col)->m_row, row);
            EXPECT_EQ(map.GetTile(row, col)->m_col, col);
        }
    }
    EXPECT_TRUE(map.Buildings().empty());

    TileMap unloaded(2, 3);
    unloaded.ExpandMap();
    EXPECT_EQ(Picture(unloaded), (std::vector<std::string>{".....", ".....", ".....", "....."}));
}

TEST(TileMapWhole, TheDefaultGridReplacesWhateverWasThere) {
    TileMap map(1, 1);
    MakeMap(map, {"..G", "C.."});
    map.PlaceBuilding(1, 0, BUILDING_CAPITAL);
    map.CreateDefaultGrid();
    EXPECT_EQ(Picture(map), (std::vector<std::string>(5, "#####")));
    EXPECT_EQ(map.Grid().size(), 25u);
    EXPECT_TRUE(map.Gates().empty());
    EXPECT_TRUE(map.Buildings().empty());
    EXPECT_EQ(map.GetTile(4, 4)->m_row, 4u);
    EXPECT_EQ(map.GetTile(4, 4)->m_col, 4u);
}

TEST(TileMapCrack, ACrackGrowsNextToTheGateOrTheCrackedGroundAroundIt) {
    TileMap map(1, 1);
    MakeMap(map, {".....", ".....", "..G..", ".....", "....."});
    // Gate 0, then the first of its plain neighbours: the one below.
    EXPECT_TRUE(map.SpreadCrack(nullptr, Draws({0, 0})));
    EXPECT_EQ(Picture(map), (std::vector<std::string>{".....", ".....", "..G..", "..x..", "....."}));
    // The crack below now counts with the gate; the first plain neighbour left is the one above.
    EXPECT_TRUE(map.SpreadCrack(nullptr, Draws({0, 0})));
    EXPECT_EQ(Picture(map), (std::vector<std::string>{".....", "..x..", "..G..", "..x..", "....."}));

    // Shut in by cracks, the walk crosses them to the first cell that is not cracked: gate, the crack
    // beside it, then the second of that crack's cracked neighbours, whose right neighbour is a path.
    TileMap line(1, 1);
    MakeMap(line, {"Gxx#."});
    EXPECT_TRUE(line.SpreadCrack(nullptr, Draws({0, 0, 1, 0})));
    EXPECT_EQ(Picture(line), (std::vector<std::string>{"Gxxx."}));
}

TEST(TileMapCrack, ACrackedBuildingCellLosesItsBuilding) {
    TileMap map(1, 1);
    MakeMap(map, {"GB#"});
    map.PlaceBuilding(0, 1, BUILDING_FARM);
    map.PlaceBuilding(0, 2, BUILDING_HOUSE);
    EXPECT_TRUE(map.SpreadCrack(nullptr, Draws({})));
    EXPECT_EQ(Picture(map), (std::vector<std::string>{"Gx#"}));
    EXPECT_EQ(map.FindBuildingAt(0, 1), nullptr);
    ASSERT_EQ(map.Buildings().size(), 1u);
    EXPECT_EQ(map.Buildings()[0]->m_buildingType, BUILDING_HOUSE);
}

TEST(TileMapCrack, NoGateOrNothingLeftToCrackEndsWithoutACrack) {
    TileMap none(1, 1);
    MakeMap(none, {"...", ".#."});
    EXPECT_FALSE(none.SpreadCrack(nullptr, Draws({})));
    EXPECT_EQ(Picture(none), (std::vector<std::string>{"...", ".#."}));

    TileMap alone(1, 1);
    MakeMap(alone, {"G"});
    EXPECT_FALSE(alone.SpreadCrack(nullptr, Draws({})));

    TileMap cracked(1, 1);
    MakeMap(cracked, {"Gxx", "xCx", "xxG"});
    EXPECT_FALSE(cracked.SpreadCrack(nullptr, Draws({1, 3, 2, 0, 1})));
    EXPECT_EQ(Picture(cracked), (std::vector<std::string>{"Gxx", "xCx", "xxG"}));
}

TEST(TileMapCrack, WithoutADrawTheGameGeneratorPicksANeighbourOfTheGate) {
    TileMap map(1, 1);
    MakeMap(map, {"...", ".G.", "..."});
    EXPECT_TRUE(map.SpreadCrack(nullptr));
    const std::vector<std::string> after = Picture(map);
    int cracks = 0;
    for (const auto& [row, col] : Cells{{0, 1}, {1, 0}, {1, 2}, {2, 1}}) {
        cracks += after[row][col] == 'x' ? 1 : 0;
    }
    EXPECT_EQ(cracks, 1);
    EXPECT_EQ(after[0][0], '.');
    EXPECT_EQ(after[2][2], '.');
}

} // namespace
