#include "kingdom/krtile.h"

#include "engine/engine.h"
#include "engine/krlog.h"

namespace {

struct TileRow {
    const char* name;
    const char* textureConfig;
};

const TileRow kTileTable[kTileTypeCount] = {
    {"Empty", "../Assets/Tiles/tileempty.xml"},       {"Path", "../Assets/Tiles/tilepath.xml"},
    {"Building", "../Assets/Tiles/tilebldgbase.xml"}, {"Gate", "../Assets/Tiles/tilegate.xml"},
    {"Capital", "../Assets/Tiles/tilebldgbase.xml"},  {"Crack", "../Assets/Tiles/tile_crack.xml"},
    {"Barracks", "../Assets/Tiles/tilebldgbase.xml"}, {"Unknown", "../Assets/overlay.xml"},
};

constexpr const char* kUnknownTileName = "Unknown";
constexpr const char* kUnknownTileTexture = "../Assets/defaulttexture.xml";

bool IsTableType(TileType type) {
    return type >= 0 && type < kTileTypeCount;
}

} // namespace

KRTile::KRTile(uint32_t row, uint32_t col, TileType type)
    : KRGameObject(MakeName(row, col, type), TextureConfigForType(type)), m_row(row), m_col(col),
      m_type(type) {
    // The quad is built upright; the ground is the X-Z plane, seen from above by the top view.
    m_sprite.m_layFlat = true;
    // Types that share a sheet differ only by their animation, so it is chosen before any draw.
    m_sprite.SetAnimation(TypeName(type));
    m_boundingBox.m_position = CellPosition();
}

KRTile::KRTile(const KRTile& other)
    : KRGameObject(other), m_row(other.m_row), m_col(other.m_col), m_type(other.m_type) {}

KRTile& KRTile::operator=(const KRTile& other) {
    if (this != &other) {
        KRGameObject::operator=(other);
        m_row = other.m_row;
        m_col = other.m_col;
        m_type = other.m_type;
        m_textureLoaded = false;
    }
    return *this;
}

std::string KRTile::TypeName(TileType type) {
    return IsTableType(type) ? kTileTable[type].name : kUnknownTileName;
}

std::string KRTile::TextureConfigForType(TileType type) {
    return IsTableType(type) ? kTileTable[type].textureConfig : kUnknownTileTexture;
}

std::string KRTile::MakeName(uint32_t row, uint32_t col, TileType type) {
    return "Tile - " + TypeName(type) + " | " +
           FormatString("(Row: %d, Col: %d)", static_cast<int>(row), static_cast<int>(col));
}

plat::Vector3 KRTile::CellPosition() const {
    return {static_cast<float>(m_col), kTileHeight, -static_cast<float>(m_row)};
}

void KRTile::MoveToCell(uint32_t row, uint32_t col) {
    m_row = row;
    m_col = col;
    m_name = MakeName(row, col, m_type);
    m_boundingBox.m_position = CellPosition();
}

void KRTile::Load(Engine& engine) {
    m_sprite.Load(engine);
    m_boundingBox.m_sprite.Load(engine);
    m_textureLoaded = true;
    m_sprite.SetAnimation(TypeName(m_type));
}

void KRTile::Update(float delta) {
    m_sprite.Animate(&delta);
}

void KRTile::Render(Engine& engine) {
    DrawWithWorldTransform(engine);
}

void KRTile::Unload(Engine& engine) {
    if (!m_textureLoaded) {
        return;
    }
    m_textureLoaded = false;
    Renderer* renderer = engine.m_display.renderer.get();
    if (renderer == nullptr || !renderer->textures.Unload(m_sprite.m_textureFile)) {
        LogLine("Couldn't unload texture " + m_sprite.m_textureFile);
    }
}
