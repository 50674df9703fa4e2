// Shared set-up of the scene object tests: the sprite tests' scratch assets and log capture, a device
// that remembers every transform of every draw, and the sprite files the objects are built from.
#pragma once

#include "spy_renderer.h"
#include "sprite_support.h"

#include "platform/d3dx.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace scenetest {

using spritetest::CapturedLog;
using spritetest::TempAssets;
using spritetest::TextureXml;

// What the device held when a quad was drawn.
struct SceneDraw {
    plat::Matrix world;
    plat::Matrix view;
    plat::Matrix projection;
    plat::Matrix texture0;
    plat::Texture* texture = nullptr;
};

class SceneSpyDevice : public plat::NullDevice {
  public:
    explicit SceneSpyDevice(const plat::PresentParams& params) : plat::NullDevice(params) {}

    plat::Result DrawIndexedPrimitive(plat::PrimitiveType type, int32_t baseVertexIndex, uint32_t minIndex,
                                      uint32_t numVertices, uint32_t startIndex,
                                      uint32_t primitiveCount) override {
        plat::Result result = plat::NullDevice::DrawIndexedPrimitive(type, baseVertexIndex, minIndex,
                                                                     numVertices, startIndex, primitiveCount);
        if (!plat::Failed(result)) {
            sceneDraws.push_back({transforms[plat::kTsWorld], transforms[plat::kTsView],
                                  transforms[plat::kTsProjection], transforms[plat::kTsTexture0], texture});
        }
        return result;
    }

    std::vector<SceneDraw> sceneDraws;
};

// Where a D3DX matrix takes a point (row vector, w = 1); the w of the result is dropped.
inline plat::Vector3 Apply(const plat::Matrix& m, const plat::Vector3& p) {
    return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + m(3, 0),
            p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + m(3, 1),
            p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + m(3, 2)};
}

// A matrix from its rows, as D3DX numbers them.
inline plat::Matrix Rows(const std::array<std::array<float, 4>, 4>& rows) {
    plat::Matrix m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            m(r, c) = rows[static_cast<size_t>(r)][static_cast<size_t>(c)];
        }
    }
    return m;
}

inline void ExpectMatrixNear(const plat::Matrix& actual, const plat::Matrix& expected,
                             float tolerance = 1e-5f) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(actual(r, c), expected(r, c), tolerance) << "row " << r << " column " << c;
        }
    }
}

inline void ExpectVectorNear(const plat::Vector3& actual, const plat::Vector3& expected,
                             float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// The (column, row) of the frame a texture matrix shows on a sheet of the given grid.
inline std::pair<int, int> ShownFrame(const plat::Matrix& texture, uint32_t columns, uint32_t rows) {
    auto [u, v] = spritetest::MapUv(texture, 0.0f, 0.0f);
    return {static_cast<int>(u * static_cast<float>(columns) + 0.5f),
            static_cast<int>(v * static_cast<float>(rows) + 0.5f)};
}

inline constexpr const char* kObjectSprite = "../Assets/object.xml";
inline constexpr uint32_t kGlyphColumns = 16;
inline constexpr uint32_t kGlyphRows = 6;

// An engine whose renderer draws on a SceneSpyDevice, with the fade quads resident as after start-up,
// a clock that moves only when told, and the sprite files of game objects, fonts and markers.
class SceneTest : public testing::Test {
  protected:
    void SetUp() override {
        ConfigCache::Instance().Destroy();
        plat::Install({&window, &clock, &messageBox});
        engine = std::make_unique<Engine>();
        device = InstallSpyRenderer<SceneSpyDevice>(*engine, window);
        LoadFadeQuads(*engine);
        WriteSheet("krbcspr.xml", "BoundingBoxSprite", "krbcspr.png", 3, 3, "");
        WriteSheet("object.xml", "TestObject", "object.png", 2, 2,
                   "<Animation><Spin><StartFrame>0</StartFrame><EndFrame>3</EndFrame></Spin></Animation>");
        WriteSheet("fonts.xml", "SpriteFontHud", "Fonts/fonts.png", kGlyphColumns, kGlyphRows, "");
        WriteSheet("Buttons/ButtonDarkBlue.xml", "ButtonDarkBlue", "Buttons/buttondarkblue.png", 1, 1, "");
        WriteSheet("camera.xml", "CameraSprite", "camera.png", 1, 1, "");
    }
    void TearDown() override {
        engine.reset();
        plat::Install({});
        ConfigCache::Instance().Destroy();
    }

    Renderer& renderer() { return *engine->m_display.renderer; }

    // A sheet of the given grid whose image exists; loaded into the texture manager so that it binds.
    void WriteSheet(const std::string& xml, const std::string& type, const std::string& image,
                    uint32_t columns, uint32_t rows, const std::string& animations) {
        const std::string imagePath = assets.WritePng(image);
        assets.Write(xml, TextureXml(type, "<File>" + imagePath + "</File><Alpha>255</Alpha><Width>" +
                                               std::to_string(columns * 32) + "</Width><Height>" +
                                               std::to_string(rows * 32) + "</Height><ScaleX>" +
                                               std::to_string(columns) + "</ScaleX><ScaleY>" +
                                               std::to_string(rows) + "</ScaleY>" + animations));
        engine->m_display.renderer->textures.Load({imagePath, 32, 32, 255});
    }

    TempAssets assets;
    plat::NullWindow window;
    plat::ManualClock clock;
    plat::RecordingMessageBox messageBox;
    std::unique_ptr<Engine> engine;
    SceneSpyDevice* device = nullptr;
};

} // namespace scenetest
