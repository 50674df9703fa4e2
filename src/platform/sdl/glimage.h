// Pictures read from image files for textures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// Larger pictures are refused before they are decoded.
constexpr uint32_t kMaxImageSide = 4096;

struct Image {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba; // rows top first, 4 bytes a pixel
};

// Reads a PNG file, the one format the game ships. False for anything else, for a damaged file, and
// for pictures wider or taller than kMaxImageSide.
bool LoadImage(const std::string& file, Image& out);

} // namespace plat
