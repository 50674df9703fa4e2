// One cell of the kingdom's grid: a flat picture of its type lying at (x = column, y = -0.5,
// z = -row).
#pragma once

#include "scene/krgameobject.h"

#include <cstdint>
#include <string>

class Engine;

using TileType = int32_t;
inline constexpr TileType TILE_EMPTY = 0;
inline constexpr TileType TILE_PATH = 1;
inline constexpr TileType TILE_BUILDING = 2;
inline constexpr TileType TILE_GATE = 3;
inline constexpr TileType TILE_CAPITAL = 4;
inline constexpr TileType TILE_CRACK = 5;
inline constexpr TileType TILE_BARRACKS = 6;
// Only the template and hover tiles are of this type.
inline constexpr TileType TILE_UNKNOWN = 7;
inline constexpr TileType kTileTypeCount = 8;

// The height the ground lies at.
inline constexpr float kTileHeight = -0.5f;

class KRTile : public KRGameObject {
  public:
    KRTile(uint32_t row, uint32_t col, TileType type);
    // Copies are kept as the record of paved cells. A copy has loaded nothing, so it unloads nothing.
    KRTile(const KRTile& other);
    KRTile& operator=(const KRTile& other);
    ~KRTile() override = default;

    void Load(Engine& engine) override;
    void Update(float delta) override;
    void Render(Engine& engine) override;
    // Gives back only what this tile's Load took.
    void Unload(Engine& engine) override;

    static std::string TypeName(TileType type);
    static std::string TextureConfigForType(TileType type);
    // "Tile - Path | (Row: 3, Col: 4)"
    static std::string MakeName(uint32_t row, uint32_t col, TileType type);

    // Takes the cell: row, column, name and world position.
    void MoveToCell(uint32_t row, uint32_t col);
    plat::Vector3 CellPosition() const;

    uint32_t m_row;
    uint32_t m_col;
    TileType m_type;

  private:
    bool m_textureLoaded = false;
};
