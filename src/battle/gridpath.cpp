#include "battle/gridpath.h"

#include "kingdom/tilemap.h"

#include <algorithm>
#include <deque>
#include <optional>

namespace {

GridCell CellOf(float x, float z) {
    return {static_cast<int32_t>(x), static_cast<int32_t>(z)};
}

// The grid's tile types, row-major; kNoTile where the grid has no tile yet.
constexpr TileType kNoTile = -1;

struct TypeGrid {
    int32_t m_rows = 0;
    int32_t m_cols = 0;
    std::vector<TileType> m_types;

    TileType At(GridCell cell) const {
        return m_types[static_cast<size_t>(cell.m_row) * static_cast<size_t>(m_cols) +
                       static_cast<size_t>(cell.m_col)];
    }
};

TypeGrid TypesOf(const TileMap& map) {
    TypeGrid grid;
    grid.m_rows = static_cast<int32_t>(map.Rows());
    grid.m_cols = static_cast<int32_t>(map.Cols());
    grid.m_types.assign(static_cast<size_t>(grid.m_rows) * static_cast<size_t>(grid.m_cols), kNoTile);
    const auto& tiles = map.Grid();
    for (size_t i = 0; i < tiles.size() && i < grid.m_types.size(); ++i) {
        if (tiles[i] != nullptr) {
            grid.m_types[i] = tiles[i]->m_type;
        }
    }
    return grid;
}

// Whole paths are queued, each a copy of its parent plus one cell; the grids are small.
std::vector<GridCell> Search(GridCell start, GridCell goal, const TypeGrid& grid) {
    const int32_t rows = grid.m_rows;
    const int32_t cols = grid.m_cols;
    std::vector<bool> walkable(grid.m_types.size(), false);
    for (size_t i = 0; i < walkable.size(); ++i) {
        walkable[i] = grid.m_types[i] == TILE_PATH || grid.m_types[i] == TILE_CRACK;
    }
    std::deque<std::vector<GridCell>> queue;
    queue.push_back({start});
    while (!queue.empty()) {
        const std::vector<GridCell>& path = queue.front();
        const GridCell last = path.back();
        const GridCell neighbours[] = {{last.m_col, last.m_row + 1},
                                       {last.m_col, last.m_row - 1},
                                       {last.m_col + 1, last.m_row},
                                       {last.m_col - 1, last.m_row}};
        GridCell taken[4];
        size_t takenCount = 0;
        for (const GridCell& next : neighbours) {
            if (next.m_row < 0 || next.m_row >= rows || next.m_col < 0 || next.m_col >= cols) {
                continue;
            }
            const TileType type = grid.At(next);
            if (type == kNoTile || type == TILE_BUILDING ||
                std::find(path.begin(), path.end(), next) != path.end()) {
                continue;
            }
            const size_t index =
                static_cast<size_t>(next.m_row) * static_cast<size_t>(cols) + static_cast<size_t>(next.m_col);
            if (!walkable[index] && !(next == goal)) {
                continue;
            }
            walkable[index] = false;
            taken[takenCount++] = next;
        }
        for (size_t i = 0; i < takenCount; ++i) {
            std::vector<GridCell> extended = path;
            extended.push_back(taken[i]);
            if (taken[i] == goal) {
                return extended;
            }
            queue.push_back(std::move(extended));
        }
        queue.pop_front();
    }
    return {};
}

// Whether invaders could come in: a way from some Gate to the first Capital cell.
bool AnyGateHasWayIn(const TypeGrid& grid) {
    std::vector<GridCell> gates;
    std::optional<GridCell> capital;
    for (int32_t row = 0; row < grid.m_rows; ++row) {
        for (int32_t col = 0; col < grid.m_cols; ++col) {
            const TileType type = grid.At({col, row});
            if (type == TILE_GATE) {
                gates.push_back({col, row});
            } else if (type == TILE_CAPITAL && !capital) {
                capital = GridCell{col, row};
            }
        }
    }
    return capital && std::any_of(gates.begin(), gates.end(),
                                  [&](GridCell gate) { return Search(gate, *capital, grid).size() >= 2; });
}

} // namespace

plat::Vector3 FindPath(float startX, float startZ, float goalX, float goalZ, const TileMap& map) {
    const GridCell start = CellOf(startX, startZ);
    const GridCell goal = CellOf(goalX, goalZ);
    if (start == goal) {
        return {startX, 0.0f, startZ};
    }
    const std::vector<GridCell> path = Search(start, goal, TypesOf(map));
    if (path.size() < 2) {
        return {startX, 0.0f, startZ};
    }
    return {static_cast<float>(path[1].m_col), 0.0f, static_cast<float>(path[1].m_row)};
}

std::vector<GridCell> FindPathCells(float startX, float startZ, float goalX, float goalZ,
                                    const TileMap& map) {
    const GridCell start = CellOf(startX, startZ);
    const GridCell goal = CellOf(goalX, goalZ);
    if (start == goal) {
        return {start};
    }
    return Search(start, goal, TypesOf(map));
}

bool ChangeKeepsWayIn(const TileMap& map, uint32_t row, uint32_t col, TileType type) {
    if (row >= map.Rows() || col >= map.Cols()) {
        return true;
    }
    TypeGrid grid = TypesOf(map);
    TileType& cell = grid.m_types[static_cast<size_t>(row) * map.Cols() + col];
    // A map that is shut already is left to the battle, so that the change that opens it is not refused.
    if (cell == kNoTile || !AnyGateHasWayIn(grid)) {
        return true;
    }
    cell = type;
    return AnyGateHasWayIn(grid);
}
