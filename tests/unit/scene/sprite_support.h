// Shared set-up of the sprite tests: an asset folder of their own reached as "../Assets" from the
// working directory, a drawing device that remembers the transforms of every draw, and the log.
#pragma once

#include "captured_log.h"
#include "spy_renderer.h"
#include "engine/engine.h"
#include "engine/krconfig.h"
#include "platform/null/nullgraphics.h"
#include "platform/null/nullplatform.h"
#include "scene/sprite.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace spritetest {

namespace fs = std::filesystem;
using logtest::CapturedLog;
using logtest::SplitLines;

// A scratch tree <tmp>/Assets and <tmp>/run, with the working directory in run while it lives.
class TempAssets {
  public:
    TempAssets() {
        std::string pattern = (fs::temp_directory_path() / "thornvale-sprite-XXXXXX").string();
        m_root = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        fs::create_directories(m_root / "Assets");
        fs::create_directories(m_root / "run");
        m_previous = fs::current_path();
        fs::current_path(m_root / "run");
    }
    ~TempAssets() {
        std::error_code error;
        fs::current_path(m_previous, error);
        fs::remove_all(m_root, error);
    }
    TempAssets(const TempAssets&) = delete;
    TempAssets& operator=(const TempAssets&) = delete;

    // Writes Assets/<relative>; returns the path the game uses for it ("../Assets/<relative>").
    std::string Write(const std::string& relative, const std::string& content) const {
        fs::path path = m_root / "Assets" / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return "../Assets/" + relative;
    }
    // Only the signature matters to the sprite; the null device reads no pixels.
    std::string WritePng(const std::string& relative) const {
        return Write(relative, std::string("\x89PNG\r\n\x1a\n", 8) + "not decoded by the null device");
    }
    const fs::path& Root() const { return m_root; }

  private:
    fs::path m_root;
    fs::path m_previous;
};

// A texture configuration with the given body between <Texture type=...> and </Texture>.
inline std::string TextureXml(const std::string& type, const std::string& body) {
    return "<?xml version=\"1.0\" ?>\n<Texture type=\"" + type + "\">" + body + "</Texture>\n";
}

inline bool HasLineStarting(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& line : lines) {
        if (line.rfind(start, 0) == 0) {
            return true;
        }
    }
    return false;
}

// What the device held when a quad was drawn.
struct SpyDraw {
    plat::Matrix world;
    plat::Matrix texture0;
    plat::Texture* texture = nullptr;
};

class SpyDevice : public plat::NullDevice {
  public:
    explicit SpyDevice(const plat::PresentParams& params) : plat::NullDevice(params) {}

    plat::Result GetTransform(plat::TransformState state, plat::Matrix& matrix) override {
        if (failGetTransform) {
            return plat::kErrInvalidCall;
        }
        return plat::NullDevice::GetTransform(state, matrix);
    }
    plat::Result DrawIndexedPrimitive(plat::PrimitiveType type, int32_t baseVertexIndex, uint32_t minIndex,
                                      uint32_t numVertices, uint32_t startIndex,
                                      uint32_t primitiveCount) override {
        plat::Result result = plat::NullDevice::DrawIndexedPrimitive(type, baseVertexIndex, minIndex,
                                                                     numVertices, startIndex, primitiveCount);
        if (!plat::Failed(result)) {
            spyDraws.push_back({transforms[plat::kTsWorld], transforms[plat::kTsTexture0], texture});
        }
        return result;
    }

    bool failGetTransform = false;
    std::vector<SpyDraw> spyDraws;
};

// An engine whose renderer draws on a SpyDevice, with the default texture and the fade quads resident
// as after start-up, and a clock that moves only when told.
class SpriteTest : public testing::Test {
  protected:
    void SetUp() override {
        ConfigCache::Instance().Destroy();
        plat::Install({&window, &clock, &messageBox});
        engine = std::make_unique<Engine>();
        device = InstallSpyRenderer<SpyDevice>(*engine, window);
        engine->m_display.renderer->textures.Load(engine->m_display.defaultTexture);
        LoadFadeQuads(*engine);
    }
    void TearDown() override {
        engine.reset();
        plat::Install({});
        ConfigCache::Instance().Destroy();
    }

    Renderer& renderer() { return *engine->m_display.renderer; }

    // A 3 x 2 sheet with a walk (frames 1 to 3) and a blink (frame 5 alone).
    std::string WriteSheet(const std::string& name = "sheet") {
        std::string image = assets.WritePng(name + ".png");
        return assets.Write(
            name + ".xml",
            TextureXml(name, "<File>" + image +
                                 "</File><Single>false</Single><Alpha>255</Alpha>"
                                 "<Width>96</Width><Height>64</Height><ScaleX>3</ScaleX>"
                                 "<ScaleY>2</ScaleY><DefaultFrame>0</DefaultFrame><Animation>"
                                 "<Walk><StartFrame>1</StartFrame><EndFrame>3</EndFrame></Walk>"
                                 "<Blink><StartFrame>5</StartFrame><EndFrame>5</EndFrame></Blink>"
                                 "</Animation>"));
    }

    TempAssets assets;
    plat::NullWindow window;
    plat::ManualClock clock;
    plat::RecordingMessageBox messageBox;
    std::unique_ptr<Engine> engine;
    SpyDevice* device = nullptr;
};

// Where a matrix takes a texture coordinate (u, v) (D3DX row vector, w = 1 as the translation row
// applies to the texture transform).
inline std::pair<float, float> MapUv(const plat::Matrix& m, float u, float v) {
    return {u * m(0, 0) + v * m(1, 0) + m(3, 0), u * m(0, 1) + v * m(1, 1) + m(3, 1)};
}

// The lines of a log that tell of content failing to load.
inline std::vector<std::string> FailureLines(const std::vector<std::string>& lines) {
    static const char* const kFailures[] = {
        "Sprite InitWith",         "Bad texture config",     "Fail to load texture config",
        "Couldn't load texture",   "Couldn't load geometry", "Couldn't read config",
        "Error Reading Attribute", "Failed to set texture",  "Setting default texture"};
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        for (const char* failure : kFailures) {
            if (line.find(failure) != std::string::npos) {
                found.push_back(line);
                break;
            }
        }
    }
    return found;
}

// The committed content, reached as "../Assets" from a scratch working directory, with a null window
// and a screen that does nothing for the engine to start on.
class CommittedContentTest : public testing::Test {
  protected:
    void SetUp() override {
        ConfigCache::Instance().Destroy();
        plat::Install({&window, &clock, &messageBox});
        std::string pattern = (fs::temp_directory_path() / "thornvale-content-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        fs::create_directories(root / "run");
        fs::create_directory_symlink(fs::path(__FILE__).parent_path() / "../../../Assets", root / "Assets");
        previous = fs::current_path();
        fs::current_path(root / "run");
        window.Create({"KRWC", "Thornvale Oriskar", 0, 0, 0, 800, 600});
    }
    void TearDown() override {
        std::error_code error;
        fs::current_path(previous, error);
        fs::remove_all(root, error);
        plat::Install({});
        ConfigCache::Instance().Destroy();
    }

    class Idle : public KRState {
      public:
        void Load(Engine&) override {}
        void Initialize(Engine&) override {}
        void HandleInput(Engine&) override {}
        void Update(Engine&) override {}
        void Render(Engine&) override {}
        void Cleanup(Engine&) override {}
        void Unload(Engine&) override {}
    };

    fs::path root;
    fs::path previous;
    plat::NullWindow window;
    plat::ManualClock clock;
    plat::RecordingMessageBox messageBox;
    Idle idle;
};

} // namespace spritetest
