// Draws every picture of the table and writes it, with its texture configuration, under the given
// Assets folder. The output depends only on the table, the font and the library versions, so running
// it again over the committed files changes nothing.
//
//   thornvale_imagegen ASSETS_FOLDER

#include "pictures.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kGamePrefix = "../Assets/";

// "../Assets/x/y.png" -> ASSETS_FOLDER/x/y.png
bool OutputPath(const fs::path& root, const std::string& gamePath, fs::path& out) {
    if (gamePath.rfind(kGamePrefix, 0) != 0 || gamePath.size() == kGamePrefix.size() ||
        gamePath.find("..", kGamePrefix.size()) != std::string::npos) {
        std::fprintf(stderr, "%s is not a path under %s\n", gamePath.c_str(), kGamePrefix.c_str());
        return false;
    }
    out = root / gamePath.substr(kGamePrefix.size());
    return true;
}

bool Check(const gen::Picture& p, std::set<std::string>& types) {
    int frames = p.columns * p.rows;
    if (p.frameWidth < 1 || p.frameHeight < 1 || p.columns < 1 || p.rows < 1 || !p.draw) {
        std::fprintf(stderr, "%s: bad frame grid or no drawing\n", p.config.c_str());
        return false;
    }
    if (p.type.empty() || !types.insert(p.type).second) {
        std::fprintf(stderr, "%s: type \"%s\" is empty or not unique\n", p.config.c_str(), p.type.c_str());
        return false;
    }
    for (const gen::AnimationRange& a : p.animations) {
        if (a.startFrame < 0 || a.endFrame < a.startFrame || a.endFrame >= frames) {
            std::fprintf(stderr, "%s: animation %s is outside the sheet\n", p.config.c_str(), a.name.c_str());
            return false;
        }
    }
    return true;
}

std::string ConfigXml(const gen::Picture& p) {
    int width = p.frameWidth * p.columns;
    int height = p.frameHeight * p.rows;
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" ?>\n";
    xml << "<Texture type=\"" << p.type << "\">\n";
    xml << "    <File>" << p.image << "</File>\n";
    xml << "    <Single>" << (p.columns * p.rows == 1 ? "true" : "false") << "</Single>\n";
    xml << "    <Alpha>255</Alpha>\n";
    xml << "    <Width>" << width << "</Width>\n";
    xml << "    <Height>" << height << "</Height>\n";
    xml << "    <ScaleX>" << p.columns << "</ScaleX>\n";
    xml << "    <ScaleY>" << p.rows << "</ScaleY>\n";
    xml << "    <DefaultFrame>0</DefaultFrame>\n";
    if (!p.animations.empty()) {
        xml << "    <Animation>\n";
        for (const gen::AnimationRange& a : p.animations) {
            xml << "        <" << a.name << ">\n";
            xml << "            <StartFrame>" << a.startFrame << "</StartFrame>\n";
            xml << "            <EndFrame>" << a.endFrame << "</EndFrame>\n";
            xml << "        </" << a.name << ">\n";
        }
        xml << "    </Animation>\n";
    }
    xml << "</Texture>\n";
    return xml.str();
}

bool WritePicture(const fs::path& root, const gen::Picture& p) {
    fs::path imagePath;
    fs::path configPath;
    if (!OutputPath(root, p.image, imagePath) || !OutputPath(root, p.config, configPath)) {
        return false;
    }
    gen::Canvas canvas(p.frameWidth * p.columns, p.frameHeight * p.rows);
    for (int k = 0; k < p.columns * p.rows; ++k) {
        int x = (k % p.columns) * p.frameWidth;
        int y = (k / p.columns) * p.frameHeight;
        canvas.SetClip(x, y, p.frameWidth, p.frameHeight);
        gen::Frame frame{canvas,
                         k,
                         {static_cast<float>(x), static_cast<float>(y), static_cast<float>(p.frameWidth),
                          static_cast<float>(p.frameHeight)}};
        if (!p.draw(frame)) {
            std::fprintf(stderr, "%s: frame %d could not be drawn\n", p.config.c_str(), k);
            return false;
        }
    }
    std::vector<uint8_t> pixels = canvas.Pixels();
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), canvas.Width(), canvas.Height(),
                                                              32, canvas.Width() * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) {
        std::fprintf(stderr, "%s: %s\n", p.image.c_str(), SDL_GetError());
        return false;
    }
    std::error_code ec;
    fs::create_directories(imagePath.parent_path(), ec);
    fs::create_directories(configPath.parent_path(), ec);
    int saved = IMG_SavePNG(surface, imagePath.c_str());
    SDL_FreeSurface(surface);
    if (saved != 0) {
        std::fprintf(stderr, "cannot write %s: %s\n", imagePath.c_str(), IMG_GetError());
        return false;
    }
    std::ofstream out(configPath, std::ios::binary | std::ios::trunc);
    out << ConfigXml(p);
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", configPath.c_str());
        return false;
    }
    std::printf("wrote %s and %s\n", p.config.c_str(), p.image.c_str());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ASSETS_FOLDER\n", argv[0]);
        return 2;
    }
    fs::path root = argv[1];
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "SDL_ttf: %s\n", TTF_GetError());
        return 1;
    }
    std::set<std::string> types;
    bool ok = true;
    for (const gen::Picture& p : gen::Pictures()) {
        ok = Check(p, types) && WritePicture(root, p) && ok;
    }
    TTF_Quit();
    return ok ? 0 : 1;
}
