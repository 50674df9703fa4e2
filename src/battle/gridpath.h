// Breadth-first paths over the kingdom's grid: units walk only Path and Crack cells, and may end on any
// cell but a building's.
#pragma once

#include "platform/d3dx.h"

#include <cstdint>
#include <vector>

class TileMap;

struct GridCell {
    int32_t m_col = 0;
    int32_t m_row = 0;
    bool operator==(const GridCell& other) const = default;
};

// The next cell on the way from (startX, startZ) to (goalX, goalZ), as (column, 0, row). The start
// position itself, unconverted, when both lie in one cell or no path exists.
plat::Vector3 FindPath(float startX, float startZ, float goalX, float goalZ, const TileMap& map);
// The whole path, start cell first and goal cell last; only the start cell when both lie in one cell,
// empty when no path exists.
std::vector<GridCell> FindPathCells(float startX, float startZ, float goalX, float goalZ, const TileMap& map);

// False when the cell (row, col) turned to the tile type given would leave no Gate from which the
// search above reaches the Capital, where one does now; a battle on such a map has no way in.
bool ChangeKeepsWayIn(const TileMap& map, uint32_t row, uint32_t col, int32_t type);

// A gate that invaders warp in at: its cell and the seconds until the next one appears.
struct BattleGate {
    int32_t m_col = 0;
    int32_t m_row = 0;
    float m_timer = 0.0f;
};
