// Shared set-up of the GUI tests: the sprite tests' engine (a spy device, a scratch asset folder, a
// clock that moves only when told) with the GUI system's own pictures, a recording sound output, button
// sheets and layout files, and screens that do nothing but hold a GUI.
#pragma once

#include "engine/engine.h"
#include "platform/null/nullaudio.h"
#include "scene/krguisystem.h"
#include "sprite_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace guitest {

using spritetest::CapturedLog;
using spritetest::TextureXml;

// A screen that only holds its GUI.
class PlainState : public KRState {
  public:
    explicit PlainState(std::string name = "PlainState") : KRState(std::move(name)) {}
    void Load(Engine&) override {}
    void Initialize(Engine&) override {}
    void HandleInput(Engine&) override {}
    void Update(Engine&) override {}
    void Render(Engine&) override {}
    void Cleanup(Engine&) override {}
    void Unload(Engine&) override {}
};

inline constexpr const char* kClickSound = "../Assets/Audio/Effects/menu/click.wav";

class GUITest : public spritetest::SpriteTest {
  public:
    // Click sounds started so far.
    int Clicks() const {
        int clicks = 0;
        for (const std::string& event : audio.events) {
            if (event.rfind("start ", 0) == 0 && event.find(kClickSound) != std::string::npos) {
                ++clicks;
            }
        }
        return clicks;
    }

  protected:
    void SetUp() override {
        SpriteTest::SetUp();
        audio.record = true;
        plat::Install({&window, &clock, &messageBox, nullptr, &audio});
        ASSERT_TRUE(engine->m_audio.Init());
        engine->m_audio.LoadSound(kClickSound, plat::kAudioDefault);
        WritePicture("krguimouseptr.xml", "GUIMousePointer", 1, "");
        WritePicture("krguibgtest.xml", "GUIMainWindow", 1, "");
        // Fading to black takes frames 0 to 2, back again 3 to 5.
        WritePicture("Textures/FadeAnimation/fade.xml", "FadeAnimation", 6,
                     "<FadeToBlack><StartFrame>0</StartFrame><EndFrame>2</EndFrame></FadeToBlack>"
                     "<UnfadeFromBlack><StartFrame>3</StartFrame><EndFrame>5</EndFrame></UnfadeFromBlack>");
        sheet = WritePicture("sheet.xml", "Sheet", 4, "");
        SetBackBuffer(800, 600, 0);
    }

    // A texture configuration of `frames` columns with the given animations; returns the game's path.
    std::string WritePicture(const std::string& relative, const std::string& type, int frames,
                             const std::string& animations) {
        std::string image = assets.WritePng(relative.substr(0, relative.size() - 4) + ".png");
        std::string body = "<File>" + image + "</File><Alpha>255</Alpha><Width>" +
                           std::to_string(32 * frames) + "</Width><Height>32</Height><ScaleX>" +
                           std::to_string(frames) + "</ScaleX><ScaleY>1</ScaleY>";
        if (!animations.empty()) {
            body += "<Animation>" + animations + "</Animation>";
        }
        return assets.Write(relative, TextureXml(type, body));
    }

    // A layout file whose root carries its own type.
    std::string WriteLayout(const std::string& name, const std::string& elements) {
        return assets.Write(name + ".xml", "<?xml version=\"1.0\" ?>\n<GUI type=\"" + name + "\">\n" +
                                               elements + "</GUI>\n");
    }

    void SetBackBuffer(uint32_t width, uint32_t height, uint32_t margin) {
        engine->m_display.width = width;
        engine->m_display.height = height;
        engine->m_display.margin = margin;
    }

    plat::NullAudioOutput audio;
    std::string sheet;
};

} // namespace guitest
