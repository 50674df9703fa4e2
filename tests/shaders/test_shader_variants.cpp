// Every shader the OpenGL device can make, put through the reference GLSL compiler and read for arrays of
// samplers: a driver may sample the wrong texture for an index that differs within a draw call, and only
// a software rasteriser is ever run here.
#include "platform/gfx.h"
#include "platform/sdl/glshaders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using plat::FragmentKey;

// The fragment shaders of every key the device can ask for, each text once.
std::vector<std::string> FragmentVariants() {
    std::vector<uint32_t> ops{plat::kTopDisable};
    for (uint32_t op = 0; op < 16; ++op) {
        if (plat::KnownOp(op)) {
            ops.push_back(op);
        }
    }
    std::set<std::string> texts;
    for (uint32_t colourOp : ops) {
        for (uint32_t alphaOp : ops) {
            for (uint32_t args = 0; args < 16; ++args) {
                for (uint32_t func = 0; func < plat::kCmpAlways; ++func) {
                    for (bool textured : {false, true}) {
                        for (bool untextured : {false, true}) {
                            const FragmentKey key{colourOp, (args & 1) != 0, (args & 2) != 0,
                                                  alphaOp,  (args & 4) != 0, (args & 8) != 0,
                                                  func,     textured,        untextured};
                            texts.insert(plat::FragmentShader(key));
                        }
                    }
                }
            }
        }
    }
    return {texts.begin(), texts.end()};
}

std::vector<std::string> VertexVariants() {
    std::vector<std::string> texts;
    for (uint32_t draws = 1; draws <= plat::kMaxBatchDraws; ++draws) {
        texts.push_back(plat::VertexShader(draws));
    }
    return texts;
}

// Compiles the texts with glslangValidator, each for its own #version, in as many runs as keep the
// command lines short; empty when all compile, the compiler's output otherwise.
std::string Validate(const std::vector<std::string>& texts, const char* stage) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("shader-variants-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::string failures;
    constexpr size_t kPerRun = 2000;
    for (size_t first = 0; first < texts.size() && failures.empty(); first += kPerRun) {
        std::string command = "glslangValidator";
        for (size_t i = first; i < std::min(texts.size(), first + kPerRun); ++i) {
            const auto file = folder / (std::to_string(i) + "." + stage);
            std::ofstream(file) << texts[i];
            command += " " + file.string();
        }
        command += " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            failures = "cannot run glslangValidator";
            break;
        }
        std::string output;
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;) {
            output.append(buffer, got);
        }
        const int status = pclose(pipe);
        if (status != 0) {
            // It names every file it reads: only those with errors, and the errors.
            failures = "glslangValidator ended with " + std::to_string(status) + " on files in " +
                       folder.string() + ":\n";
            std::istringstream lines(output);
            std::string file;
            for (std::string line; std::getline(lines, line);) {
                if (line.rfind(folder.string(), 0) == 0) {
                    file = line;
                } else if (!line.empty()) {
                    failures += file + ": " + line + "\n";
                }
            }
        }
    }
    if (failures.empty()) {
        std::filesystem::remove_all(folder);
    }
    return failures;
}

TEST(ShaderVariants, EveryFragmentAndVertexShaderCompilesForItsVersion) {
    const std::vector<std::string> fragments = FragmentVariants();
    const std::vector<std::string> vertices = VertexVariants();
    EXPECT_EQ(Validate(fragments, "frag"), "");
    EXPECT_EQ(Validate(vertices, "vert"), "");
}

// A sampler array indexed by anything but a constant or a uniform is undefined on most drivers; the
// device binds each draw's array instead, so no shader declares one.
TEST(ShaderVariants, NoShaderDeclaresAnArrayOfSamplers) {
    const std::regex samplerArray(R"(uniform\s+\w*sampler\w*\s+\w+\s*\[)");
    size_t sampling = 0;
    for (const std::string& text : FragmentVariants()) {
        sampling += text.find("uniform sampler") != std::string::npos ? 1 : 0;
        EXPECT_FALSE(std::regex_search(text, samplerArray)) << text;
    }
    for (const std::string& text : VertexVariants()) {
        EXPECT_FALSE(std::regex_search(text, samplerArray)) << text;
    }
    // The textured variants are there to be read.
    EXPECT_GT(sampling, 0u);
}

} // namespace
