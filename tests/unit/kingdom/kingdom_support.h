// Shared set-up of the kingdom tests: maps drawn as character pictures, the log, and an engine on the
// null platform whose device remembers every draw. The game's own content is read as "../Assets" from
// the build folder.
#pragma once

#include "spy_renderer.h"
#include "engine/engine.h"
#include "engine/krconfig.h"
#include "kingdom/gamedata.h"
#include "kingdom/tilemap.h"
#include "platform/null/nullgraphics.h"
#include "platform/null/nullplatform.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kingdomtest {

// One character per tile type: . Empty, # Path, B Building, G Gate, C Capital, x Crack, K Barracks,
// ? Unknown.
inline constexpr char kTileChars[] = ".#BGCxK?";

inline TileType TypeOfChar(char c) {
    for (TileType type = 0; type < kTileTypeCount; ++type) {
        if (kTileChars[type] == c) {
            return type;
        }
    }
    ADD_FAILURE() << "no tile type for '" << c << "'";
    return TILE_EMPTY;
}

// Builds the map from rows of characters, all of one length.
inline void MakeMap(TileMap& map, const std::vector<std::string>& rows) {
    ASSERT_FALSE(rows.empty());
    ASSERT_TRUE(map.StartGrid(static_cast<uint32_t>(rows.size()), static_cast<uint32_t>(rows[0].size())));
    for (uint32_t row = 0; row < rows.size(); ++row) {
        ASSERT_EQ(rows[row].size(), rows[0].size());
        for (uint32_t col = 0; col < rows[row].size(); ++col) {
            ASSERT_TRUE(map.AppendTile(std::make_unique<KRTile>(row, col, TypeOfChar(rows[row][col]))));
        }
    }
}

// The map read back as rows of characters, through GetTile.
inline std::vector<std::string> Picture(const TileMap& map) {
    std::vector<std::string> rows;
    for (uint32_t row = 0; row < map.Rows(); ++row) {
        std::string line;
        for (uint32_t col = 0; col < map.Cols(); ++col) {
            const KRTile* tile = map.GetTile(row, col);
            line.push_back(tile == nullptr                                      ? ' '
                           : tile->m_type >= 0 && tile->m_type < kTileTypeCount ? kTileChars[tile->m_type]
                                                                                : '!');
        }
        rows.push_back(line);
    }
    return rows;
}

// Standard output while it lives.
class Log {
  public:
    Log() { testing::internal::CaptureStdout(); }
    ~Log() {
        if (!m_taken) {
            testing::internal::GetCapturedStdout();
        }
    }
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    std::string Text() {
        m_taken = true;
        return testing::internal::GetCapturedStdout();
    }

  private:
    bool m_taken = false;
};

// What the device held when a quad was drawn.
struct Draw {
    plat::Matrix world;
    plat::Matrix view;
    std::string texture;
    plat::Matrix texture0;
};

class RecordingDevice : public plat::NullDevice {
  public:
    explicit RecordingDevice(const plat::PresentParams& params) : plat::NullDevice(params) {}

    plat::Result DrawIndexedPrimitive(plat::PrimitiveType type, int32_t baseVertexIndex, uint32_t minIndex,
                                      uint32_t numVertices, uint32_t startIndex,
                                      uint32_t primitiveCount) override {
        plat::Result result = plat::NullDevice::DrawIndexedPrimitive(type, baseVertexIndex, minIndex,
                                                                     numVertices, startIndex, primitiveCount);
        if (!plat::Failed(result)) {
            std::string file;
            for (const auto& [path, entry] : textures->Entries()) {
                if (entry.texture.get() == texture) {
                    file = path;
                }
            }
            draws.push_back(
                {transforms[plat::kTsWorld], transforms[plat::kTsView], file, transforms[plat::kTsTexture0]});
        }
        return result;
    }

    const TextureManager* textures = nullptr;
    std::vector<Draw> draws;
};

// An engine on the null platform with a renderer that records, the fade quads resident as after
// start-up.
class KingdomEngineTest : public testing::Test {
  protected:
    void SetUp() override {
        plat::Install({&window, &clock, &messageBox});
        engine = std::make_unique<Engine>();
        device = InstallSpyRenderer<RecordingDevice>(*engine, window);
        device->textures = &engine->m_display.renderer->textures;
        engine->m_display.renderer->textures.Load(engine->m_display.defaultTexture);
        LoadFadeQuads(*engine);
    }
    void TearDown() override {
        engine.reset();
        plat::Install({});
    }

    GameData& world() { return *engine->m_gameData; }
    TextureManager& textures() { return engine->m_display.renderer->textures; }
    int32_t TextureCount(const std::string& file) {
        auto found = textures().Entries().find(file);
        return found == textures().Entries().end() ? 0 : found->second.count;
    }
    // Makes a texture configuration's picture resident, as the loading screen's folder scan does.
    void LoadPicture(const std::string& xmlFile) {
        Sprite sprite;
        sprite.InitWithXML(xmlFile, false);
        sprite.Load(*engine);
    }

    plat::NullWindow window;
    plat::ManualClock clock;
    plat::RecordingMessageBox messageBox;
    std::unique_ptr<Engine> engine;
    RecordingDevice* device = nullptr;
};

// Where a D3DX matrix takes a point (row vector, w = 1).
inline plat::Vector3 Apply(const plat::Matrix& m, const plat::Vector3& p) {
    return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + m(3, 0),
            p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + m(3, 1),
            p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + m(3, 2)};
}

} // namespace kingdomtest
