#include "engine/krconfig.h"
#include "engine/krlog.h"
#include "kingdom/tilemap.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// A whole decimal number and nothing else; files are not trusted.
bool ParseInt(const std::string& text, long& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end != nullptr && *end == '\0';
}

bool ParseFloat(const std::string& text, float& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtof(text.c_str(), &end);
    return end != nullptr && *end == '\0' && std::isfinite(value);
}

const std::string* AttributeAt(const ConfigAttributes& attributes, size_t index) {
    return index < attributes.size() ? &attributes[index].second : nullptr;
}

// A cell index read from a file, truncated toward zero; false when it is not one of the map.
bool CellIndex(const std::string* text, uint32_t limit, uint32_t& index) {
    float value = 0.0f;
    if (text == nullptr || !ParseFloat(*text, value) || value < 0.0f || value >= static_cast<float>(limit)) {
        return false;
    }
    index = static_cast<uint32_t>(value);
    return true;
}

} // namespace

bool TileMap::LoadMapData(const std::string& file) {
    const KRConfig config = ReadConfig(file);
    if (config.m_fileName == kConfigErrorFile) {
        return false;
    }
    auto root = config.m_attributesByElement.find(config.m_elementName);
    long rows = 0;
    long cols = 0;
    if (root != config.m_attributesByElement.end()) {
        for (const auto& [name, value] : root->second) {
            if (name == "rows" && !ParseInt(value, rows)) {
                rows = 0;
            } else if (name == "cols" && !ParseInt(value, cols)) {
                cols = 0;
            }
        }
    }
    if (rows < 1 || cols < 1 || rows > static_cast<long>(kMaxMapSide) ||
        cols > static_cast<long>(kMaxMapSide) ||
        !StartGrid(static_cast<uint32_t>(rows), static_cast<uint32_t>(cols))) {
        LogLine("Map file " + file + " refused: no usable rows and cols");
        return false;
    }
    // x is the column, y the row, z unused, then the tile type, taken by position.
    for (const ConfigNode& node : config.m_nodes) {
        uint32_t row = 0;
        uint32_t col = 0;
        long type = 0;
        const std::string* unit = AttributeAt(node.m_attributes, 3);
        if (!CellIndex(AttributeAt(node.m_attributes, 0), m_cols, col) ||
            !CellIndex(AttributeAt(node.m_attributes, 1), m_rows, row) || unit == nullptr ||
            !ParseInt(*unit, type) || type < 0 || type >= kTileTypeCount ||
            !AppendTile(std::make_unique<KRTile>(row, col, static_cast<TileType>(type)))) {
            LogLine("Map file " + file + " refused at " + node.m_name);
            Clear();
            return false;
        }
    }
    if (m_grid.size() != static_cast<size_t>(m_rows) * m_cols) {
        LogLine("Map file " + file + " refused: too few tiles");
        Clear();
        return false;
    }
    return true;
}

bool TileMap::LoadBuildingData(const std::string& file) {
    const KRConfig config = ReadConfig(file);
    if (config.m_fileName == kConfigErrorFile) {
        return false;
    }
    std::vector<std::unique_ptr<KRBuilding>> read;
    for (const ConfigNode& node : config.m_nodes) {
        long type = 0;
        long row = 0;
        long col = 0;
        float health = 0.0f;
        if (!ParseInt(node.GetChildValue("Type"), type) ||
            !KRBuilding::IsKnownType(static_cast<BuildingType>(type)) ||
            !ParseFloat(node.GetChildValue("Health"), health) || !ParseInt(node.GetChildValue("Row"), row) ||
            !ParseInt(node.GetChildValue("Col"), col) || row < 0 || col < 0 ||
            row >= static_cast<long>(m_rows) || col >= static_cast<long>(m_cols)) {
            LogLine("Building file " + file + " refused at " + node.m_name);
            return false;
        }
        auto building = std::make_unique<KRBuilding>(static_cast<BuildingType>(type));
        building->m_health = health;
        building->m_row = static_cast<uint32_t>(row);
        building->m_col = static_cast<uint32_t>(col);
        building->m_boundingBox.m_position = {static_cast<float>(col), -0.2f, -static_cast<float>(row)};
        read.push_back(std::move(building));
    }
    for (auto& building : read) {
        AddBuilding(std::move(building));
    }
    return true;
}
