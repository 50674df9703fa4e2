#include "kingdom/mapfiles.h"

#include "engine/engine.h"
#include "engine/krfilenumbers.h"
#include "engine/krlog.h"
#include "kingdom/gamedata.h"
#include "kingdom/tilemap.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

constexpr size_t kTileAttributes = 4;

std::string TimeStamp() {
    return FormatString("%lld", static_cast<long long>(std::time(nullptr)));
}

// A rows or cols attribute: a whole number of 1 to the largest side.
bool ReadSide(const ConfigAttributes& attributes, const char* name, uint32_t& side) {
    for (const auto& [key, value] : attributes) {
        if (key == name) {
            const int32_t read = FileInt(value);
            if (read < 1 || static_cast<uint32_t>(read) > kMaxMapSide) {
                return false;
            }
            side = static_cast<uint32_t>(read);
            return true;
        }
    }
    return false;
}

// A cell index of a record: finite, not negative, truncated toward zero, inside the side.
bool CellOf(float value, uint32_t side, uint32_t& cell) {
    if (!std::isfinite(value) || value < 0.0f || value >= static_cast<float>(side)) {
        return false;
    }
    cell = static_cast<uint32_t>(value);
    return true;
}

bool TileTypeOf(const std::string& unit, TileType& type) {
    const int32_t read = FileInt(unit);
    if (read < 0 || read >= kTileTypeCount) {
        return false;
    }
    type = read;
    return true;
}

void RefuseFile(const std::string& file, const std::string& reason) {
    LogLine("Refused " + file + ": " + reason);
}

// The typed configuration of a file, through the cache or straight from the file as it is now.
template <class T> std::unique_ptr<T> ReadTyped(const std::string& file, bool useCache) {
    KRConfig read = ReadConfig(file);
    if (read.m_fileName == kConfigErrorFile) {
        return nullptr;
    }
    if (useCache) {
        return TypedConfig<T>(read);
    }
    return ConfigCast<T>(T(read).CreateTyped());
}

} // namespace

KRMapConfig::KRMapConfig(const std::string& file, const std::string& elementName, const std::string& type,
                         uint32_t rows, uint32_t cols)
    : KRConfig(file, elementName, type), m_cols(cols), m_rows(rows) {
    ConfigAttributes& root = m_attributesByElement[m_elementName];
    root.emplace_back("rows", FormatString("%d", static_cast<int>(rows)));
    root.emplace_back("cols", FormatString("%d", static_cast<int>(cols)));
}

std::unique_ptr<KRConfig> KRMapConfig::CreateTyped() const {
    auto typed = std::make_unique<KRMapConfig>(static_cast<const KRConfig&>(*this));
    typed->m_records.clear();
    auto root = m_attributesByElement.find(m_elementName);
    const ConfigAttributes none;
    const ConfigAttributes& rootAttributes = root != m_attributesByElement.end() ? root->second : none;
    typed->m_sizeUnreadable =
        !ReadSide(rootAttributes, "rows", typed->m_rows) || !ReadSide(rootAttributes, "cols", typed->m_cols);
    // Past the largest grid there is nothing to keep: the count alone refuses the file.
    const size_t cap = static_cast<size_t>(kMaxMapSide) * kMaxMapSide + 1;
    typed->m_records.reserve(std::min(m_nodes.size(), cap));
    for (const ConfigNode& node : m_nodes) {
        if (typed->m_records.size() >= cap) {
            break;
        }
        TileRecord record;
        // A tile has no child elements, whose attributes would stand first in the list.
        if (!node.m_children.empty() || node.m_attributes.size() < kTileAttributes) {
            ++typed->m_incompleteRecords;
        } else {
            const ConfigAttributes& a = node.m_attributes;
            FileFloat(a[0].second, record.x);
            FileFloat(a[1].second, record.y);
            FileFloat(a[2].second, record.z);
            record.unit = a[3].second;
        }
        typed->m_records.push_back(std::move(record));
    }
    typed->m_tileCount = static_cast<uint32_t>(typed->m_records.size());
    return typed;
}

bool KRMapConfig::AddTile(float x, float y, float z, TileType unit) {
    if (static_cast<uint64_t>(m_tileCount) + 1 > static_cast<uint64_t>(m_rows) * m_cols) {
        return false;
    }
    ConfigNode node(FormatString("Tile%u", m_tileCount), "", false);
    node.m_attributes = {{"x", FormatString("%.2f", x)},
                         {"y", FormatString("%.2f", y)},
                         {"z", FormatString("%.2f", z)},
                         {"unit", FormatString("%d", unit)}};
    m_nodes.push_back(std::move(node));
    ++m_tileCount;
    return true;
}

BuildingConfig::BuildingConfig(const std::string& file, const std::string& elementName,
                               const std::string& type)
    : KRConfig(file, elementName, type) {}

std::unique_ptr<KRConfig> BuildingConfig::CreateTyped() const {
    auto typed = std::make_unique<BuildingConfig>(static_cast<const KRConfig&>(*this));
    for (const ConfigNode& node : m_nodes) {
        const BuildingType type = FileInt(node.GetChildValue("Type"));
        const int32_t row = FileInt(node.GetChildValue("Row"));
        const int32_t col = FileInt(node.GetChildValue("Col"));
        float health = 0.0f;
        const bool healthRead = FileFloat(node.GetChildValue("Health"), health);
        if (!KRBuilding::IsKnownType(type) || !healthRead || row < 0 || col < 0 ||
            static_cast<uint32_t>(row) >= kMaxMapSide || static_cast<uint32_t>(col) >= kMaxMapSide) {
            ++typed->m_badRecords;
            continue;
        }
        auto building = std::make_unique<KRBuilding>(type);
        building->m_health = std::clamp(health, 0.0f, building->m_maxHealth);
        building->m_row = static_cast<uint32_t>(row);
        building->m_col = static_cast<uint32_t>(col);
        typed->m_buildings.push_back(std::move(building));
    }
    return typed;
}

void BuildingConfig::AddBuilding(const KRBuilding& building) {
    ConfigNode node("Building", "", false);
    node.m_attributes = {{"id", FormatString("%d", m_nextId)}};
    node.AddChild(ConfigNode("Name", building.TypeName(), true));
    node.AddChild(ConfigNode("Type", FormatString("%d", building.m_buildingType), true));
    node.AddChild(ConfigNode("Health", FormatString("%d", static_cast<int>(building.m_health)), true));
    node.AddChild(ConfigNode("Row", FormatString("%d", static_cast<int>(building.m_row)), true));
    node.AddChild(ConfigNode("Col", FormatString("%d", static_cast<int>(building.m_col)), true));
    m_nodes.push_back(std::move(node));
    ++m_nextId;
}

std::unique_ptr<KRMapConfig> ReadMapFile(const std::string& file, bool useCache) {
    std::unique_ptr<KRMapConfig> map = ReadTyped<KRMapConfig>(file, useCache);
    if (!map) {
        RefuseFile(file, "not map data");
        return nullptr;
    }
    if (map->m_sizeUnreadable) {
        RefuseFile(file, FormatString("rows and cols must be 1 to %u", kMaxMapSide));
        return nullptr;
    }
    const size_t cells = static_cast<size_t>(map->m_rows) * map->m_cols;
    if (map->m_records.size() != cells) {
        RefuseFile(file,
                   FormatString("%zu tiles for %u x %u", map->m_records.size(), map->m_rows, map->m_cols));
        return nullptr;
    }
    if (map->m_incompleteRecords != 0) {
        RefuseFile(file, FormatString("%u tiles without x, y, z and unit", map->m_incompleteRecords));
        return nullptr;
    }
    for (size_t i = 0; i < cells; ++i) {
        const TileRecord& record = map->m_records[i];
        uint32_t row = 0;
        uint32_t col = 0;
        TileType type = 0;
        if (!CellOf(record.y, map->m_rows, row) || !CellOf(record.x, map->m_cols, col) ||
            row * map->m_cols + col != i || !TileTypeOf(record.unit, type)) {
            RefuseFile(file, FormatString("tile %zu is not a known tile in its cell", i));
            return nullptr;
        }
    }
    return map;
}

std::unique_ptr<BuildingConfig> ReadBuildingFile(const std::string& file, bool useCache) {
    std::unique_ptr<BuildingConfig> buildings = ReadTyped<BuildingConfig>(file, useCache);
    if (!buildings) {
        RefuseFile(file, "not building data");
        return nullptr;
    }
    if (buildings->m_badRecords != 0) {
        RefuseFile(file,
                   FormatString("%u buildings of unknown type, health or cell", buildings->m_badRecords));
        return nullptr;
    }
    return buildings;
}

bool BuildingsFitMap(const BuildingConfig& buildings, const KRMapConfig& map) {
    for (const auto& building : buildings.m_buildings) {
        if (building->m_row >= map.m_rows || building->m_col >= map.m_cols) {
            RefuseFile(buildings.m_fileName,
                       FormatString("building (Row: %u, Col: %u) outside the %u x %u map", building->m_row,
                                    building->m_col, map.m_rows, map.m_cols));
            return false;
        }
    }
    return true;
}

bool ApplyMapConfig(TileMap& map, const KRMapConfig& config) {
    if (!map.StartGrid(config.m_rows, config.m_cols)) {
        return false;
    }
    for (const TileRecord& record : config.m_records) {
        TileType type = 0;
        if (!TileTypeOf(record.unit, type) || record.x < 0.0f || record.y < 0.0f ||
            !map.AppendTile(std::make_unique<KRTile>(static_cast<uint32_t>(record.y),
                                                     static_cast<uint32_t>(record.x), type))) {
            map.Clear();
            return false;
        }
    }
    map.PlayGateAnimations();
    return true;
}

bool ApplyBuildingConfig(TileMap& map, const BuildingConfig& config) {
    bool all = true;
    for (const auto& read : config.m_buildings) {
        if (read->m_row >= map.Rows() || read->m_col >= map.Cols()) {
            LogLine(FormatString("Building (Row: %u, Col: %u) is outside the map", read->m_row, read->m_col));
            all = false;
            continue;
        }
        auto building = std::make_unique<KRBuilding>(*read);
        TileMap::PlaceBuildingForDrawing(*building);
        all = map.AddBuilding(std::move(building)) && all;
    }
    return all;
}

bool TileMap::WriteMapData(const std::string& file, const std::string& type) const {
    KRMapConfig config(file, "Map", type + TimeStamp(), m_rows, m_cols);
    for (uint32_t row = 0; row < m_rows; ++row) {
        for (uint32_t col = 0; col < m_cols; ++col) {
            const KRTile* tile = GetTile(row, col);
            config.AddTile(static_cast<float>(col), static_cast<float>(row), 0.0f,
                           tile != nullptr ? tile->m_type : TILE_EMPTY);
        }
    }
    return WriteConfig(config);
}

bool TileMap::WriteBuildingData(const std::string& file, const std::string& type) const {
    BuildingConfig config(file, "Building", type + TimeStamp());
    for (const auto& building : m_buildings) {
        if (building != nullptr) {
            config.AddBuilding(*building);
        }
    }
    return WriteConfig(config);
}

bool TileMap::LoadMapData(const std::string& file) {
    std::unique_ptr<KRMapConfig> config = ReadMapFile(file, true);
    if (!config || !ApplyMapConfig(*this, *config)) {
        return false;
    }
    // The world whose map this is takes its capital from the new grid.
    Engine* engine = Engine::Current();
    if (engine != nullptr && engine->m_gameData != nullptr && &engine->m_gameData->m_tileMap == this) {
        engine->m_gameData->FindCapitalTile();
    }
    return true;
}

bool TileMap::LoadBuildingData(const std::string& file) {
    std::unique_ptr<BuildingConfig> config = ReadBuildingFile(file, true);
    return config != nullptr && ApplyBuildingConfig(*this, *config);
}
