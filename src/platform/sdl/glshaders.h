// The GLSL the OpenGL device draws with, made as text without a GL context so that it can be checked
// on its own.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

// Draws gathered into one batch: at most this many, and as many as the uniform block holds.
constexpr uint32_t kMaxBatchDraws = 256;

// What picks a fragment shader: each is straight-line code made for one set of states, because a
// software rasteriser runs every branch of every fragment. The stage's colour and alpha operations, whether
// each of their arguments is the texture, the alpha test's function (0 with the test off), whether the
// shader samples the one array texture bound and whether some of the batch's draws have no texture.
struct FragmentKey {
    uint32_t colourOp;
    bool colourArg1Texture;
    bool colourArg2Texture;
    uint32_t alphaOp;
    bool alphaArg1Texture;
    bool alphaArg2Texture;
    uint32_t alphaFunc;
    bool textured;
    bool untextured;

    uint32_t Pack() const {
        return (colourOp & 15) | (colourArg1Texture ? 1u << 4 : 0) | (colourArg2Texture ? 1u << 5 : 0) |
               (alphaOp & 15) << 6 | (alphaArg1Texture ? 1u << 10 : 0) | (alphaArg2Texture ? 1u << 11 : 0) |
               (alphaFunc & 15) << 12 | (textured ? 1u << 16 : 0) | (untextured ? 1u << 20 : 0);
    }
};

// Operations other than these leave the stage off: the result is the vertex colour.
bool KnownOp(uint32_t op);
// Whether the operation on these arguments reads the texture.
bool UsesTexture(uint32_t op, bool arg1Texture, bool arg2Texture);

// The one vertex shader, for a uniform block of this many draws.
std::string VertexShader(uint32_t maxDraws);
std::string FragmentShader(const FragmentKey& key);

} // namespace plat
