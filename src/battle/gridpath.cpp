#include "battle/gridpath.h"

#include "kingdom/tilemap.h"

#include <algorithm>
#include <deque>

namespace {

GridCell CellOf(float x, float z) {
    return {static_cast<int32_t>(x), static_cast<int32_t>(z)};
}

// Whole paths are queued, each a copy of its parent plus one cell; the grids are small.
std::vector<GridCell> Search(GridCell start, GridCell goal, const TileMap& map) {
    const int32_t rows = static_cast<int32_t>(map.Rows());
    const int32_t cols = static_cast<int32_t>(map.Cols());
    std::vector<bool> walkable(static_cast<size_t>(rows) * static_cast<size_t>(cols), false);
    const auto& grid = map.Grid();
    for (size_t i = 0; i < grid.size() && i < walkable.size(); ++i) {
        walkable[i] = grid[i] != nullptr && (grid[i]->m_type == TILE_PATH || grid[i]->m_type == TILE_CRACK);
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
            const KRTile* tile =
                map.GetTile(static_cast<uint32_t>(next.m_row), static_cast<uint32_t>(next.m_col));
            if (tile == nullptr || tile->m_type == TILE_BUILDING ||
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

} // namespace

plat::Vector3 FindPath(float startX, float startZ, float goalX, float goalZ, const TileMap& map) {
    const GridCell start = CellOf(startX, startZ);
    const GridCell goal = CellOf(goalX, goalZ);
    if (start == goal) {
        return {startX, 0.0f, startZ};
    }
    const std::vector<GridCell> path = Search(start, goal, map);
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
    return Search(start, goal, map);
}
