// The kingdom's grid of tiles, stored row by row, with the buildings standing on it.
#pragma once

#include "kingdom/krbuilding.h"
#include "kingdom/krtile.h"

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

class AudioSys;
class Engine;

inline constexpr const char* kCrackEffectFile = "../Assets/Audio/Effects/Crack.mp3";
// A side longer than this is taken for a damaged file, and a map is not expanded past it.
inline constexpr uint32_t kMaxMapSide = 128;
// One slot per building type the table can hold, more than the known ones.
inline constexpr size_t kBuildingCountSlots = 13;

class TileMap {
  public:
    // Called whenever a grid tile is destroyed: with its replacement, or with null when the cell goes
    // too. Whoever borrows tile pointers listens here.
    using TileReplaced = std::function<void(const KRTile* gone, KRTile* replacement)>;
    // A draw from the random generator, as rand() gives it.
    using RandomDraw = std::function<int()>;

    // The grid stays empty until a map is loaded or made.
    TileMap(uint32_t rows, uint32_t cols);
    ~TileMap();
    TileMap(const TileMap&) = delete;
    TileMap& operator=(const TileMap&) = delete;

    KRTile* GetTile(uint32_t row, uint32_t col) const;
    KRBuilding* FindBuildingAt(uint32_t row, uint32_t col) const;
    // Returns the building it displaced; the caller owns it.
    std::unique_ptr<KRBuilding> PlaceBuilding(uint32_t row, uint32_t col, BuildingType type);
    // The building there goes and the cell becomes Path. False when no building stood there.
    bool RemoveBuildingAt(uint32_t row, uint32_t col);
    // Null when the cell is outside the grid.
    KRTile* SetTileType(uint32_t row, uint32_t col, TileType type);
    // Rows and columns stay.
    void Clear();

    // Empties the map and gives it a new size for the tiles that AppendTile brings, row by row. A size
    // of 0 or past the cap is refused and leaves the map empty with its old size.
    bool StartGrid(uint32_t rows, uint32_t cols);
    // The next cell of the grid; refused when the grid is full or the tile is not that cell.
    bool AppendTile(std::unique_ptr<KRTile> tile);
    // A building read from a file; one of a type the game does not know is refused.
    bool AddBuilding(std::unique_ptr<KRBuilding> building);

    // Below, above, left, right; cells outside the grid are skipped.
    std::vector<KRTile*> NonEmptyNeighbours(uint32_t row, uint32_t col) const;
    // Crack, Gate and Capital neighbours to one side, every other to the other.
    void SplitNeighbours(uint32_t row, uint32_t col, std::vector<KRTile*>& crackSide,
                         std::vector<KRTile*>& otherSide) const;

    void CountBuildings();
    void PlayGateAnimations();
    void Render(Engine& engine);
    void ResetMap();
    void ExpandMap();
    void CreateDefaultGrid();

    // The map files, type stamped with the calendar time. A write reports whether the file is whole.
    bool WriteMapData(const std::string& file, const std::string& type) const;
    bool WriteBuildingData(const std::string& file, const std::string& type) const;
    // A damaged or missing file is refused with a line and leaves the map as it was. The map's world
    // takes its capital from the new grid.
    bool LoadMapData(const std::string& file);
    bool LoadBuildingData(const std::string& file);
    // Cracks one more cell next to the cracked ground around a gate. Without a draw the generator is
    // seeded with the calendar time and rand() is used. False when nothing cracked.
    bool SpreadCrack(AudioSys* audio, RandomDraw draw = nullptr);

    // The building's place on the map; the Capital stands taller, on the ground.
    static void PlaceBuildingForDrawing(KRBuilding& building);

    uint32_t Rows() const { return m_rows; }
    uint32_t Cols() const { return m_cols; }
    const std::vector<std::unique_ptr<KRTile>>& Grid() const { return m_grid; }
    const std::vector<std::unique_ptr<KRBuilding>>& Buildings() const { return m_buildings; }
    const std::vector<KRTile*>& Gates() const { return m_gates; }

    std::array<std::unique_ptr<KRTile>, kTileTypeCount> m_templateTiles;
    KRTile m_hoverTile;
    // What the path tool paved and the demolish tool removed, oldest first.
    std::list<KRTile> m_pavedTiles;
    std::list<KRBuilding> m_removedBuildings;
    std::vector<int32_t> m_buildingCounts;
    TileReplaced m_tileReplaced;

  private:
    void CreateTemplateTiles();
    std::unique_ptr<KRTile> MakeTile(uint32_t row, uint32_t col, TileType type) const;
    void DestroyGrid();
    void Notify(const KRTile* gone, KRTile* replacement) const;
    size_t GridIndex(uint32_t row, uint32_t col) const;
    void AddGate(KRTile* tile);

    std::vector<std::unique_ptr<KRTile>> m_grid;
    // Null entries are skipped everywhere.
    std::vector<std::unique_ptr<KRBuilding>> m_buildings;
    // Borrowed from the grid, in grid order; kept in step with it.
    std::vector<KRTile*> m_gates;
    uint32_t m_rows;
    uint32_t m_cols;
};
