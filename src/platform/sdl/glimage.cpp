#include "platform/sdl/glimage.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>

namespace plat {

namespace {

constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// The size a PNG declares in its header, read before anything is decoded.
bool ReadPngSize(const std::string& file, uint32_t& width, uint32_t& height) {
    std::ifstream in(file, std::ios::binary);
    std::array<uint8_t, 24> header{};
    if (!in.read(reinterpret_cast<char*>(header.data()), header.size())) {
        return false;
    }
    if (!std::equal(kPngSignature.begin(), kPngSignature.end(), header.begin()) ||
        std::memcmp(header.data() + 12, "IHDR", 4) != 0) {
        return false;
    }
    width = BigEndian32(header.data() + 16);
    height = BigEndian32(header.data() + 20);
    return true;
}

} // namespace

bool LoadImage(const std::string& file, Image& out) {
    uint32_t width = 0;
    uint32_t height = 0;
    if (!ReadPngSize(file, width, height) || width == 0 || height == 0 || width > kMaxImageSide ||
        height > kMaxImageSide) {
        return false;
    }
    SDL_RWops* stream = SDL_RWFromFile(file.c_str(), "rb");
    if (stream == nullptr) {
        return false;
    }
    SDL_Surface* decoded = IMG_LoadPNG_RW(stream);
    SDL_RWclose(stream);
    if (decoded == nullptr) {
        return false;
    }
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(decoded);
    if (rgba == nullptr) {
        return false;
    }
    const bool sizeMatches =
        static_cast<uint32_t>(rgba->w) == width && static_cast<uint32_t>(rgba->h) == height;
    if (sizeMatches && SDL_LockSurface(rgba) == 0) {
        out.width = width;
        out.height = height;
        out.rgba.resize(static_cast<size_t>(width) * height * 4);
        for (uint32_t row = 0; row < height; ++row) {
            std::memcpy(out.rgba.data() + static_cast<size_t>(row) * width * 4,
                        static_cast<const uint8_t*>(rgba->pixels) +
                            static_cast<size_t>(row) * static_cast<size_t>(rgba->pitch),
                        static_cast<size_t>(width) * 4);
        }
        SDL_UnlockSurface(rgba);
    }
    SDL_FreeSurface(rgba);
    return sizeMatches && !out.rgba.empty();
}

} // namespace plat
