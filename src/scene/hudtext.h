// A line of text drawn as one glyph per character, at a fixed advance. HUD text is laid in the X-Z plane
// under the HUD camera, so that it stays put on the screen; world text stands in the scene and is seen
// through whatever camera is applied.
#pragma once

#include "platform/d3dx.h"
#include "scene/krfont.h"

#include <cstdint>
#include <string>
#include <vector>

class Engine;
class KRCamera;

// The cameras text is drawn with, both borrowed from GameData, which owns them: the fixed HUD camera,
// and the camera the world is drawn with, applied again after every glyph. Either may be null: HUD
// text is then drawn through whatever camera is applied, and nothing is applied after it.
struct TextCameras {
    KRCamera* hud = nullptr;
    KRCamera* active = nullptr;
};

// Where drawing finds the cameras of an engine's world. GameData installs its own when it holds the
// cameras; until one is installed, text is drawn with no cameras.
using TextCameraSource = TextCameras (*)(Engine& engine);
void SetTextCameraSource(TextCameraSource source);
TextCameras CamerasForText(Engine& engine);

class HudTextBlock {
  public:
    explicit HudTextBlock(const std::string& text = "", float size = 0.27f,
                          const std::string& fontXmlFile = kFontsFile, int32_t worldFlag = 0);

    // One glyph per character, each a copy of the prototype font showing its character's frame.
    void SetText(const std::string& text, const plat::Vector3& origin);
    void DrawText(Engine& engine);
    void DrawText(Engine& engine, const TextCameras& cameras);

    // The frame of the sheet that shows a character: code - 33 with the code taken as signed, so
    // that codes below 33 and above 127 land past the sheet and show its first frame.
    static uint32_t GlyphFrame(char c, uint32_t frameCount);

    std::string m_text;
    // Glyph size, and the unit of the advance (size / 1.9).
    float m_size;
    std::vector<KRFont> m_glyphs;
    plat::Vector3 m_origin{0.0f, 0.0f, 0.0f};
    KRFont m_font;
    // 0: HUD text; other: world text.
    int32_t m_worldFlag;
};
