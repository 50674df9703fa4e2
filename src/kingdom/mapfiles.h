// The kingdom's two files: "mapdata.xml" (one element per tile, row by row) and "buildingdata.xml" (one
// element per building). Both go through the configuration layer; what is read is checked before the
// map is touched, so a damaged file leaves the map as it was.
#pragma once

#include "engine/krconfig.h"
#include "kingdom/krbuilding.h"
#include "kingdom/krtile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TileMap;

// One tile of a map file: x is the column, y the row, z always 0, unit the tile type in decimal.
struct TileRecord {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    std::string unit;
};

class KRMapConfig : public KRConfig {
  public:
    // A writer's configuration: the root with its type, then rows and cols.
    KRMapConfig(const std::string& file, const std::string& elementName, const std::string& type,
                uint32_t rows, uint32_t cols);
    // A read tree, before CreateTyped.
    explicit KRMapConfig(const KRConfig& read) : KRConfig(read) {}

    std::string Describe() const override { return "nothing important"; }
    // The rows, cols and records of the read tree; an element with fewer than four attributes gives
    // a record marked incomplete.
    std::unique_ptr<KRConfig> CreateTyped() const override;

    // Refused once rows x cols tiles are in.
    bool AddTile(float x, float y, float z, TileType unit);

    uint32_t m_cols = 0;
    uint32_t m_rows = 0;
    std::vector<TileRecord> m_records;
    uint32_t m_tileCount = 0;
    // Records read without their four attributes, and a rows or cols that was not a number in range.
    uint32_t m_incompleteRecords = 0;
    bool m_sizeUnreadable = false;
};

class BuildingConfig : public KRConfig {
  public:
    BuildingConfig(const std::string& file, const std::string& elementName, const std::string& type);
    explicit BuildingConfig(const KRConfig& read) : KRConfig(read) {}

    std::string Describe() const override { return "Getting Building Config Data..."; }
    std::unique_ptr<KRConfig> CreateTyped() const override;

    void AddBuilding(const KRBuilding& building);

    int32_t m_nextId = 0;
    std::vector<std::unique_ptr<KRBuilding>> m_buildings;
    // Records with a field that is not a number, or a type, health or cell the game cannot hold.
    uint32_t m_badRecords = 0;
};

// A map file checked against itself: a sane size, exactly rows x cols complete records, each in its
// row-major cell with a known tile type. Null, after one log line naming the file, when it is not.
// Without the cache the file is read as it is now, whatever was read under its type before.
std::unique_ptr<KRMapConfig> ReadMapFile(const std::string& file, bool useCache);
// A building file whose every record is a known type on a cell the map can hold (checked against the
// map when it is applied).
std::unique_ptr<BuildingConfig> ReadBuildingFile(const std::string& file, bool useCache);

// True when every building of the file stands on a cell of the map file's grid; otherwise one line
// names the first that does not.
bool BuildingsFitMap(const BuildingConfig& buildings, const KRMapConfig& map);

// The whole grid of a checked map file; false (and the map left empty) only when it does not fit.
bool ApplyMapConfig(TileMap& map, const KRMapConfig& config);
// Every building of a checked file; one outside the grid is refused.
bool ApplyBuildingConfig(TileMap& map, const BuildingConfig& config);
