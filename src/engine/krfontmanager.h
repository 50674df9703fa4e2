// The two text fonts, by name, and the debug text drawn with one of them.
#pragma once

#include "platform/gfx.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

class FontManager {
  public:
    // The device is borrowed; every font goes before it does.
    void SetDevice(plat::Device* device) { m_device = device; }

    // Sizes follow the back buffer and the side bars they are given.
    void CreateFonts(uint32_t backBufferWidth, uint32_t backBufferHeight, uint32_t margin);
    void ReleaseFonts();
    // Text at a position of the 800 x 600 virtual screen.
    void DrawDebugText(const std::string& text, uint32_t colour, float x, float y);

    void OnLostDevice();
    void OnResetDevice();

    plat::Font* Find(const std::string& name) const;

  private:
    plat::Device* m_device = nullptr;
    uint32_t m_backBufferWidth = 0;
    uint32_t m_backBufferHeight = 0;
    uint32_t m_margin = 0;
    std::unordered_map<std::string, std::unique_ptr<plat::Font>> m_fonts;
};
