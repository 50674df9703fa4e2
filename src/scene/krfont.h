// One glyph of a sprite font: a game object whose sprite shows one frame of a glyph sheet. The sheet's
// frame k holds the character of code 33 + k, and its last frame is the space.
#pragma once

#include "scene/krgameobject.h"

#include <string>

inline constexpr const char* kFontsFile = "../Assets/fonts.xml";

class KRFont : public KRGameObject {
  public:
    explicit KRFont(const std::string& spriteXmlFile);
    KRFont(const KRFont&) = default;
    KRFont& operator=(const KRFont&) = default;

    // Not drawn; text lives in HudTextBlock.
    std::string m_text;
};
