// The grid path search: which cells carry a path, which may end one, and which of equal paths wins.
#include "battle/battle_support.h"
#include "battle/gridpath.h"

#include <gtest/gtest.h>

namespace {

using battletest::BattleTest;

class GridPathTest : public BattleTest {};

TEST_F(GridPathTest, StepsAlongPathAndCrackOnlyAndMayEndOnTheCapital) {
    DrawMap({
        "G#.",
        ".~.",
        ".#C",
    });
    // Gate (0,0) -> path (1,0) -> crack (1,1) -> path (1,2) -> capital (2,2).
    const auto cells = FindPathCells(0.0f, 0.0f, 2.0f, 2.0f, world().m_tileMap);
    const std::vector<GridCell> expected = {{0, 0}, {1, 0}, {1, 1}, {1, 2}, {2, 2}};
    EXPECT_EQ(cells, expected);
    EXPECT_EQ(FindPath(0.0f, 0.0f, 2.0f, 2.0f, world().m_tileMap), (plat::Vector3{1.0f, 0.0f, 0.0f}));
}

TEST_F(GridPathTest, GatesCapitalsAndBuildingsCarryNoPath) {
    DrawMap({
        "#G#C",
        "#B#.",
        "###.",
    });
    // Through the gate at (1,0) is shorter, but a gate is no road: the path goes round below.
    const auto cells = FindPathCells(0.0f, 0.0f, 2.0f, 0.0f, world().m_tileMap);
    const std::vector<GridCell> expected = {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}};
    EXPECT_EQ(cells, expected);
    // A goal walled in by buildings and empty ground: the start comes back unchanged.
    DrawMap({"#.C", "B..", "..."});
    EXPECT_EQ(FindPath(0.2f, 0.7f, 2.0f, 0.0f, world().m_tileMap), (plat::Vector3{0.2f, 0.0f, 0.7f}));
    EXPECT_TRUE(FindPathCells(0.0f, 0.0f, 2.0f, 0.0f, world().m_tileMap).empty());
}

TEST_F(GridPathTest, OneCellAfterTruncationGivesTheStartUnconverted) {
    DrawMap({"####"});
    EXPECT_EQ(FindPath(3.9f, 0.4f, 3.2f, 0.0f, world().m_tileMap), (plat::Vector3{3.9f, 0.0f, 0.4f}));
    EXPECT_EQ(FindPathCells(3.9f, 0.4f, 3.2f, 0.0f, world().m_tileMap), (std::vector<GridCell>{{3, 0}}));
}

TEST_F(GridPathTest, OfEqualPathsTheOneStartingDownTheRowsWins) {
    DrawMap({
        "##",
        "##",
    });
    // (0,0) to (1,1): row + 1 is tried before column + 1.
    EXPECT_EQ(FindPath(0.0f, 0.0f, 1.0f, 1.0f, world().m_tileMap), (plat::Vector3{0.0f, 0.0f, 1.0f}));
    // (1,1) to (0,0): row - 1 before column - 1.
    EXPECT_EQ(FindPath(1.0f, 1.0f, 0.0f, 0.0f, world().m_tileMap), (plat::Vector3{1.0f, 0.0f, 0.0f}));
}

} // namespace
