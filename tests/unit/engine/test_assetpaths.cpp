// The named asset paths against the committed content: every named file is there, in its format.
#include "engine/krassetpaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Content that the screens still to come bring with them: unit blueprints, GUI layouts of the front-end
// and game screens, the tutorial and the default save data. Each entry leaves this list in the change
// that adds its file; the test fails for an entry whose file has arrived.
const std::set<std::string> kContentOfLaterScreens = {};

const std::string kGamePrefix = "../Assets/";

fs::path RepositoryAssets() {
    return fs::path(__FILE__).parent_path() / "../../../Assets";
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string Head(const fs::path& file, size_t bytes) {
    std::ifstream in(file, std::ios::binary);
    std::string head(bytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(bytes));
    head.resize(static_cast<size_t>(in.gcount()));
    return head;
}

// Whether the first bytes are those of the format the file's name gives.
bool LooksLikeItsName(const fs::path& file, const std::string& name) {
    const std::string head = Head(file, 16);
    if (EndsWith(name, ".xml")) {
        return head.rfind("<?xml", 0) == 0 || head.rfind("<", 0) == 0;
    }
    if (EndsWith(name, ".ogg")) {
        return head.rfind("OggS", 0) == 0;
    }
    if (EndsWith(name, ".wav")) {
        return head.rfind("RIFF", 0) == 0 && head.compare(8, 4, "WAVE") == 0;
    }
    if (EndsWith(name, ".mp3")) {
        return head.rfind("ID3", 0) == 0 ||
               (head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
                (static_cast<unsigned char>(head[1]) & 0xE0) == 0xE0);
    }
    return false;
}

TEST(AssetPaths, OnlyThePopulationTileIsNamedTwice) {
    std::map<std::string, int> seen;
    for (const char* path : AssetPaths::kAll) {
        ++seen[path];
    }
    for (const auto& [path, count] : seen) {
        EXPECT_EQ(count, path == std::string(AssetPaths::kTilePop) ? 2 : 1) << path;
    }
    // The second and the fifth tile sprite.
    EXPECT_STREQ(AssetPaths::kAll[77], AssetPaths::kTilePop);
    EXPECT_STREQ(AssetPaths::kAll[80], AssetPaths::kTilePop);
}

TEST(AssetPaths, EveryNamedFileIsInTheAssetsFolderInTheFormatOfItsName) {
    const fs::path root = RepositoryAssets();
    ASSERT_TRUE(fs::is_directory(root)) << root;
    std::vector<std::string> missing;
    for (const char* constant : AssetPaths::kAll) {
        const std::string path = constant;
        if (path.rfind(kGamePrefix, 0) != 0) {
            continue; // aura names and the pieces of save paths
        }
        const fs::path onDisk = root / path.substr(kGamePrefix.size());
        const bool folder = EndsWith(path, "/");
        const bool present = folder ? fs::is_directory(onDisk) : fs::is_regular_file(onDisk);
        if (kContentOfLaterScreens.count(path) != 0) {
            EXPECT_FALSE(present) << path << " has arrived: take it off kContentOfLaterScreens";
            if (!present) {
                missing.push_back(path);
            }
            continue;
        }
        EXPECT_TRUE(present) << path << " is named but not in Assets";
        if (present && !folder) {
            EXPECT_TRUE(LooksLikeItsName(onDisk, path)) << path << " is not in the format of its name";
        }
    }
    std::string list;
    for (const std::string& path : missing) {
        list += "\n  " + path;
    }
    std::cout << "Still to come with later screens (" << missing.size() << "):" << list << std::endl;
}

TEST(AssetPaths, BothSpellingsOfTheSkyboxFolderReachTheSameSixFaces) {
    const fs::path root = RepositoryAssets() / "Textures";
    for (const char* folder : {"Skybox", "SkyBox"}) {
        for (const char* face : {"top", "bottom", "left", "right", "front", "back"}) {
            EXPECT_TRUE(fs::is_regular_file(root / folder / (std::string(face) + ".xml")))
                << folder << " " << face;
        }
    }
    EXPECT_TRUE(fs::equivalent(root / "Skybox", root / "SkyBox"));
}

} // namespace
