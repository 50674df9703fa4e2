#include "platform/sdl/glshaders.h"

#include "platform/gfx.h"

namespace plat {

namespace {

// Follows "#define MAX_DRAWS n".
const char* const kVertexBody = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColour;
layout(location = 2) in vec3 aTexCoord;
layout(location = 3) in uint aDraw;
struct Draw {
    mat4 worldViewProj;
    mat4 texMatrix;
    ivec4 flags; // layer, texture transform, has texture, unused
};
layout(std140) uniform Draws {
    Draw uDraws[MAX_DRAWS];
};
out vec4 vColour;
out vec2 vTexCoord;
// The texture's layer, negative without a texture.
flat out float vLayer;
void main() {
    Draw draw = uDraws[aDraw];
    vec4 p = draw.worldViewProj * vec4(aPosition, 1.0);
    // Direct3D's clip depth runs from 0 to w, OpenGL's from -w to w.
    p.z = 2.0 * p.z - p.w;
    gl_Position = p;
    vColour = aColour;
    vTexCoord = draw.flags.y != 0 ? (draw.texMatrix * vec4(aTexCoord, 1.0)).xy : aTexCoord.xy;
    vLayer = draw.flags.z != 0 ? float(draw.flags.x) : -1.0;
}
)";

// The stage's operation on the given components ("rgb" or "a") of its arguments; at the first stage both
// the diffuse and the current colour are the vertex colour.
std::string Combine(uint32_t op, bool arg1Texture, bool arg2Texture, const char* part) {
    const std::string a = std::string(arg1Texture ? "texel." : "vColour.") + part;
    const std::string b = std::string(arg2Texture ? "texel." : "vColour.") + part;
    switch (op) {
    case kTopSelectArg1:
        return a;
    case kTopSelectArg2:
        return b;
    case kTopModulate:
        return a + " * " + b;
    case kTopModulate2x:
        return "min(" + a + " * " + b + " * 2.0, 1.0)";
    case kTopModulate4x:
        return "min(" + a + " * " + b + " * 4.0, 1.0)";
    case kTopAdd:
        return "min(" + a + " + " + b + ", 1.0)";
    case kTopSubtract:
        return "max(" + a + " - " + b + ", 0.0)";
    default:
        return std::string("vColour.") + part;
    }
}

// The alpha test as a condition on the alpha in 0..255 that keeps the fragment; empty when all pass.
std::string AlphaTest(uint32_t func) {
    switch (func) {
    case kCmpNever:
        return "false";
    case kCmpLess:
        return "level < uAlphaRef";
    case kCmpEqual:
        return "level == uAlphaRef";
    case kCmpLessEqual:
        return "level <= uAlphaRef";
    case kCmpGreater:
        return "level > uAlphaRef";
    case kCmpNotEqual:
        return "level != uAlphaRef";
    case kCmpGreaterEqual:
        return "level >= uAlphaRef";
    default:
        return "";
    }
}

} // namespace

bool KnownOp(uint32_t op) {
    return op == kTopSelectArg1 || op == kTopSelectArg2 || op == kTopModulate || op == kTopModulate2x ||
           op == kTopModulate4x || op == kTopAdd || op == kTopSubtract;
}

bool UsesTexture(uint32_t op, bool arg1Texture, bool arg2Texture) {
    switch (op) {
    case kTopSelectArg1:
        return arg1Texture;
    case kTopSelectArg2:
        return arg2Texture;
    default:
        return KnownOp(op) && (arg1Texture || arg2Texture);
    }
}

std::string VertexShader(uint32_t maxDraws) {
    return "#version 330 core\n#define MAX_DRAWS " + std::to_string(maxDraws) + kVertexBody;
}

std::string FragmentShader(const FragmentKey& key) {
    std::string text = "#version 330 core\n"
                       "in vec4 vColour;\n"
                       "in vec2 vTexCoord;\n"
                       "flat in float vLayer;\n"
                       "uniform float uAlphaRef;\n"
                       "out vec4 fragColour;\n";
    if (key.textured) {
        text += "uniform sampler2DArray uTexture;\n";
    }
    text += "void main() {\n";
    if (!key.textured) {
        text += "    vec4 texel = vec4(1.0);\n";
    } else {
        // Point sampling without mip maps: the explicit level changes nothing and takes no derivatives.
        text += "    vec4 texel = textureLod(uTexture, vec3(vTexCoord, vLayer), 0.0);\n";
    }
    if (key.textured && key.untextured) {
        text += "    texel = vLayer >= 0.0 ? texel : vec4(1.0);\n";
    }
    text +=
        "    float alpha = " + Combine(key.alphaOp, key.alphaArg1Texture, key.alphaArg2Texture, "a") + ";\n";
    const std::string test = AlphaTest(key.alphaFunc);
    if (!test.empty()) {
        text += "    float level = floor(alpha * 255.0 + 0.5);\n";
        text += "    if (!(" + test + ")) discard;\n";
    }
    text += "    fragColour = vec4(" +
            Combine(key.colourOp, key.colourArg1Texture, key.colourArg2Texture, "rgb") + ", alpha);\n}\n";
    return text;
}

} // namespace plat
