#include "kingdom/tilemap.h"

#include "engine/engine.h"
#include "engine/krlog.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <utility>

namespace {

constexpr float kBuildingHeight = kTileHeight + 0.3f;
constexpr float kCapitalWidth = 1.5f;
constexpr float kCapitalHeight = 2.0f;
constexpr uint32_t kDefaultGridSide = 5;

bool IsCrackSide(TileType type) {
    return type == TILE_CRACK || type == TILE_GATE || type == TILE_CAPITAL;
}

// An index below n from one draw; a negative draw cannot come from rand() but is still kept in range.
size_t Pick(const TileMap::RandomDraw& draw, size_t n) {
    const long long value = draw();
    return static_cast<size_t>(value < 0 ? -value : value) % n;
}

} // namespace

TileMap::TileMap(uint32_t rows, uint32_t cols)
    : m_hoverTile(0, 0, TILE_UNKNOWN), m_buildingCounts(kBuildingCountSlots, 0), m_rows(rows), m_cols(cols) {
    m_hoverTile.m_sprite.SetAnimation("Hover");
    CreateTemplateTiles();
    if (rows <= kMaxMapSide && cols <= kMaxMapSide) {
        m_grid.reserve(static_cast<size_t>(rows) * cols);
    }
}

TileMap::~TileMap() {
    for (auto& tile : m_templateTiles) {
        tile.reset();
    }
    Clear();
}

void TileMap::CreateTemplateTiles() {
    for (TileType type = 0; type < kTileTypeCount; ++type) {
        m_templateTiles[static_cast<size_t>(type)] = std::make_unique<KRTile>(0, 0, type);
    }
}

std::unique_ptr<KRTile> TileMap::MakeTile(uint32_t row, uint32_t col, TileType type) const {
    // The constructor places it on its cell.
    return std::make_unique<KRTile>(row, col, type);
}

size_t TileMap::GridIndex(uint32_t row, uint32_t col) const {
    return static_cast<size_t>(row) * m_cols + col;
}

void TileMap::Notify(const KRTile* gone, KRTile* replacement) const {
    if (m_tileReplaced) {
        m_tileReplaced(gone, replacement);
    }
}

void TileMap::AddGate(KRTile* tile) {
    // In grid order, so that a gate drawn by index is the same gate whichever way the list was built.
    auto before = std::find_if(m_gates.begin(), m_gates.end(), [tile](const KRTile* gate) {
        return gate->m_row > tile->m_row || (gate->m_row == tile->m_row && gate->m_col > tile->m_col);
    });
    m_gates.insert(before, tile);
}

KRTile* TileMap::GetTile(uint32_t row, uint32_t col) const {
    if (row >= m_rows || col >= m_cols) {
        return nullptr;
    }
    // A map still being read, or never loaded, has fewer tiles than cells.
    const size_t index = GridIndex(row, col);
    return index < m_grid.size() ? m_grid[index].get() : nullptr;
}

KRBuilding* TileMap::FindBuildingAt(uint32_t row, uint32_t col) const {
    for (const auto& building : m_buildings) {
        if (building != nullptr && building->m_row == row && building->m_col == col) {
            return building.get();
        }
    }
    return nullptr;
}

std::unique_ptr<KRBuilding> TileMap::PlaceBuilding(uint32_t row, uint32_t col, BuildingType type) {
    auto building = std::make_unique<KRBuilding>(type);
    building->m_row = row;
    building->m_col = col;
    building->m_boundingBox.m_position = {static_cast<float>(col), kTileHeight, -static_cast<float>(row)};
    for (auto& slot : m_buildings) {
        if (slot != nullptr && slot->m_row == row && slot->m_col == col) {
            std::swap(slot, building);
            return building;
        }
    }
    m_buildings.push_back(std::move(building));
    return nullptr;
}

bool TileMap::RemoveBuildingAt(uint32_t row, uint32_t col) {
    auto found = std::find_if(m_buildings.begin(), m_buildings.end(), [row, col](const auto& building) {
        return building != nullptr && building->m_row == row && building->m_col == col;
    });
    if (found == m_buildings.end()) {
        return false;
    }
    m_buildings.erase(found);
    SetTileType(row, col, TILE_PATH);
    return true;
}

KRTile* TileMap::SetTileType(uint32_t row, uint32_t col, TileType type) {
    if (GetTile(row, col) == nullptr) {
        return nullptr;
    }
    std::unique_ptr<KRTile>& slot = m_grid[GridIndex(row, col)];
    std::unique_ptr<KRTile> gone = std::exchange(slot, MakeTile(row, col, type));
    KRTile* replacement = slot.get();
    std::erase(m_gates, gone.get());
    if (type == TILE_GATE) {
        AddGate(replacement);
    }
    // Told while the old tile still exists, so that listeners can compare and read it.
    Notify(gone.get(), replacement);
    return replacement;
}

void TileMap::DestroyGrid() {
    m_gates.clear();
    for (const auto& tile : m_grid) {
        Notify(tile.get(), nullptr);
    }
    m_grid.clear();
}

void TileMap::Clear() {
    DestroyGrid();
    m_buildings.clear();
}

bool TileMap::StartGrid(uint32_t rows, uint32_t cols) {
    Clear();
    if (rows < 1 || cols < 1 || rows > kMaxMapSide || cols > kMaxMapSide) {
        LogLine(FormatString("Map size %u x %u refused", rows, cols));
        return false;
    }
    m_rows = rows;
    m_cols = cols;
    m_grid.reserve(static_cast<size_t>(rows) * cols);
    return true;
}

bool TileMap::AppendTile(std::unique_ptr<KRTile> tile) {
    if (tile == nullptr) {
        return false;
    }
    const size_t cells = static_cast<size_t>(m_rows) * m_cols;
    const size_t index = m_grid.size();
    if (index >= cells || tile->m_row != index / m_cols || tile->m_col != index % m_cols) {
        LogLine(FormatString("Tile (Row: %u, Col: %u) refused: cell %zu of %zu is next", tile->m_row,
                             tile->m_col, index, cells));
        return false;
    }
    tile->MoveToCell(tile->m_row, tile->m_col);
    KRTile* added = tile.get();
    m_grid.push_back(std::move(tile));
    if (added->m_type == TILE_GATE) {
        AddGate(added);
    }
    return true;
}

bool TileMap::AddBuilding(std::unique_ptr<KRBuilding> building) {
    if (building == nullptr) {
        return false;
    }
    if (!KRBuilding::IsKnownType(building->m_buildingType)) {
        LogLine(FormatString("Building of unknown type %d refused", building->m_buildingType));
        return false;
    }
    m_buildings.push_back(std::move(building));
    return true;
}

std::vector<KRTile*> TileMap::NonEmptyNeighbours(uint32_t row, uint32_t col) const {
    std::vector<KRTile*> out;
    // Unsigned: row - 1 of row 0 is far outside the grid.
    const uint32_t candidates[4][2] = {{row + 1, col}, {row - 1, col}, {row, col - 1}, {row, col + 1}};
    for (const auto& cell : candidates) {
        KRTile* tile = GetTile(cell[0], cell[1]);
        if (tile != nullptr && tile->m_type != TILE_EMPTY) {
            out.push_back(tile);
        }
    }
    return out;
}

void TileMap::SplitNeighbours(uint32_t row, uint32_t col, std::vector<KRTile*>& crackSide,
                              std::vector<KRTile*>& otherSide) const {
    const uint32_t candidates[4][2] = {{row + 1, col}, {row - 1, col}, {row, col - 1}, {row, col + 1}};
    for (const auto& cell : candidates) {
        KRTile* tile = GetTile(cell[0], cell[1]);
        if (tile != nullptr) {
            (IsCrackSide(tile->m_type) ? crackSide : otherSide).push_back(tile);
        }
    }
}

void TileMap::CountBuildings() {
    m_buildingCounts.assign(kBuildingCountSlots, 0);
    for (const auto& building : m_buildings) {
        // A type the game does not know is not a building the economy can count.
        if (building != nullptr && KRBuilding::IsKnownType(building->m_buildingType)) {
            ++m_buildingCounts[static_cast<size_t>(building->m_buildingType)];
        }
    }
}

void TileMap::PlayGateAnimations() {
    for (const auto& tile : m_grid) {
        if (tile->m_type == TILE_GATE) {
            tile->m_sprite.SetAnimation("Gate");
        }
    }
}

void TileMap::PlaceBuildingForDrawing(KRBuilding& building) {
    const float x = static_cast<float>(building.m_col);
    const float z = -static_cast<float>(building.m_row);
    if (building.m_buildingType == BUILDING_CAPITAL) {
        building.m_boundingBox.m_scale[0] = kCapitalWidth;
        building.m_boundingBox.m_scale[1] = kCapitalHeight;
        // Its foot on the ground.
        building.m_boundingBox.m_position = {x, kCapitalHeight * 0.5f + kTileHeight, z};
    } else {
        building.m_boundingBox.m_position = {x, kBuildingHeight, z};
    }
}

namespace {

// Whether next, drawn on its own, would show what the run of `length` cells from first shows on its
// next cell along the row: the same single picture, flat, unturned, one cell on.
bool ContinuesRun(const KRTile& first, const KRTile& next, uint32_t length) {
    const Sprite& a = first.m_sprite;
    const Sprite& b = next.m_sprite;
    const BoundingBox& boxA = first.m_boundingBox;
    const BoundingBox& boxB = next.m_boundingBox;
    const auto plain = [](const KRGameObject& tile) {
        const Sprite& sprite = tile.m_sprite;
        return sprite.m_visible && sprite.m_layFlat && !sprite.m_billboard && sprite.m_columns <= 1 &&
               sprite.m_rows <= 1 && sprite.m_repeatAcross == 1 &&
               !(tile.m_boundingBox.m_showFlagA && tile.m_boundingBox.m_showFlagB) &&
               tile.m_rotationMatrix == plat::D3DXMatrixIdentity();
    };
    return plain(first) && plain(next) && a.m_textureFile == b.m_textureFile &&
           a.m_currentFrame == b.m_currentFrame && a.m_fadeLevel == b.m_fadeLevel &&
           boxA.m_scale[0] == boxB.m_scale[0] && boxA.m_scale[1] == boxB.m_scale[1] &&
           boxB.m_position.y == boxA.m_position.y && boxB.m_position.z == boxA.m_position.z &&
           boxB.m_position.x == boxA.m_position.x + static_cast<float>(length) * boxA.m_scale[0];
}

// Draws the run as one quad `length` cells long, its picture repeated once per cell.
void DrawRun(Engine& engine, KRTile& first, uint32_t length) {
    if (length == 1) {
        first.Render(engine);
        return;
    }
    BoundingBox& box = first.m_boundingBox;
    const plat::Vector3 cell = box.m_position;
    const float width = box.m_scale[0];
    box.m_position.x += 0.5f * width * static_cast<float>(length - 1);
    box.m_scale[0] = width * static_cast<float>(length);
    first.m_sprite.m_repeatAcross = length;
    first.Render(engine);
    first.m_sprite.m_repeatAcross = 1;
    box.m_scale[0] = width;
    box.m_position = cell;
    first.BuildScaleTranslation();
}

} // namespace

void TileMap::Render(Engine& engine) {
    for (const auto& tile : m_grid) {
        tile->m_rotationMatrix = plat::D3DXMatrixIdentity();
    }
    // Alike neighbours along a row are drawn as one quad: the software rasteriser's cost goes by the
    // triangle, and most of a kingdom is plain ground.
    for (size_t index = 0; index < m_grid.size();) {
        KRTile& first = *m_grid[index];
        uint32_t length = 1;
        while (m_cols != 0 && index + length < m_grid.size() && (index + length) % m_cols != 0 &&
               ContinuesRun(first, *m_grid[index + length], length)) {
            ++length;
        }
        DrawRun(engine, first, length);
        index += length;
    }
    const GameData* world = engine.m_gameData.get();
    const bool topView = world != nullptr && world->m_activeCamera == &world->m_kingdomCamera;
    for (const auto& building : m_buildings) {
        if (building == nullptr) {
            continue;
        }
        PlaceBuildingForDrawing(*building);
        // Buildings stand upright; seen from straight above they would be edges, so the top view lays
        // them on the ground over their cells.
        building->m_rotationMatrix = topView ? MatrixSwapYZ() : plat::D3DXMatrixIdentity();
        building->Render(engine);
    }
    m_hoverTile.m_rotationMatrix = plat::D3DXMatrixIdentity();
    m_hoverTile.Render(engine);
}

void TileMap::ResetMap() {
    for (uint32_t row = 0; row < m_rows; ++row) {
        for (uint32_t col = 0; col < m_cols; ++col) {
            const KRTile* tile = GetTile(row, col);
            if (tile == nullptr) {
                continue;
            }
            if (tile->m_type != TILE_CAPITAL && tile->m_type != TILE_GATE) {
                SetTileType(row, col, TILE_EMPTY);
            }
            const KRBuilding* building = FindBuildingAt(row, col);
            if (building != nullptr && building->m_buildingType != BUILDING_UNKNOWN &&
                building->m_buildingType != BUILDING_CAPITAL) {
                RemoveBuildingAt(row, col);
                SetTileType(row, col, TILE_EMPTY);
            }
        }
    }
}

void TileMap::ExpandMap() {
    if (m_rows < 1 || m_cols < 1) {
        return;
    }
    if (m_rows + 2 > kMaxMapSide || m_cols + 2 > kMaxMapSide) {
        LogLine("Map too large to expand");
        return;
    }
    const uint32_t rows = m_rows + 2;
    const uint32_t cols = m_cols + 2;
    std::vector<std::unique_ptr<KRTile>> grid;
    grid.reserve(static_cast<size_t>(rows) * cols);
    for (uint32_t row = 0; row < rows; ++row) {
        for (uint32_t col = 0; col < cols; ++col) {
            grid.push_back(MakeTile(row, col, TILE_EMPTY));
        }
    }
    // The tiles themselves move, so every pointer to them stays good.
    for (size_t index = 0; index < m_grid.size(); ++index) {
        const auto row = static_cast<uint32_t>(index / m_cols) + 1;
        const auto col = static_cast<uint32_t>(index % m_cols) + 1;
        m_grid[index]->MoveToCell(row, col);
        grid[static_cast<size_t>(row) * cols + col] = std::move(m_grid[index]);
    }
    m_grid = std::move(grid);
    m_rows = rows;
    m_cols = cols;
    m_buildings.clear();
}

void TileMap::CreateDefaultGrid() {
    // Tiles appended after an old grid would sit at the wrong indices.
    if (!m_grid.empty()) {
        Clear();
    }
    m_rows = kDefaultGridSide;
    m_cols = kDefaultGridSide;
    for (uint32_t row = 0; row < kDefaultGridSide; ++row) {
        for (uint32_t col = 0; col < kDefaultGridSide; ++col) {
            m_grid.push_back(MakeTile(row, col, TILE_PATH));
        }
    }
}

bool TileMap::SpreadCrack(AudioSys* audio, RandomDraw draw) {
    if (m_gates.empty()) {
        return false;
    }
    if (!draw) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        draw = [] { return std::rand(); };
    }
    const KRTile* gate = m_gates[Pick(draw, m_gates.size())];
    std::vector<KRTile*> cracked;
    std::vector<KRTile*> other;
    SplitNeighbours(gate->m_row, gate->m_col, cracked, other);
    // A walk through the cracked ground until it borders something else; given up when it is shut in
    // or wanders longer than the map is big.
    size_t hops = 0;
    while (other.empty()) {
        if (cracked.empty() || hops++ >= m_grid.size()) {
            return false;
        }
        const KRTile* next = cracked[Pick(draw, cracked.size())];
        const uint32_t row = next->m_row;
        const uint32_t col = next->m_col;
        cracked.clear();
        other.clear();
        SplitNeighbours(row, col, cracked, other);
    }
    const KRTile* target = other[Pick(draw, other.size())];
    // Removing a building replaces the tile, so the cell is read first.
    const uint32_t row = target->m_row;
    const uint32_t col = target->m_col;
    if (target->m_type == TILE_BUILDING) {
        RemoveBuildingAt(row, col);
    }
    SetTileType(row, col, TILE_CRACK);
    if (audio != nullptr) {
        audio->PlayEffect(kCrackEffectFile);
    }
    return true;
}
