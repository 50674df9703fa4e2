// The configuration layer and the typed configurations read through it: texture files as a sprite
// takes them, GUI layouts as the GUI system adds them, tutorial sequences and letters, unit blueprints.
#include "battle/unitblueprint.h"
#include "engine/krconfigcheck.h"
#include "flow/tutorialfiles.h"
#include "fuzz_support.h"
#include "scene/krguisystem.h"
#include "scene/sprite.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Elements from the root down, as TinyXML built them.
size_t Depth(const KRConfig& read) {
    size_t deepest = read.m_elementName.empty() ? 0 : 1;
    std::vector<std::pair<const ConfigNode*, size_t>> open;
    for (const ConfigNode& node : read.m_nodes) {
        open.emplace_back(&node, 2);
    }
    while (!open.empty()) {
        auto [node, depth] = open.back();
        open.pop_back();
        deepest = std::max(deepest, depth);
        for (const auto& child : node->m_children) {
            open.emplace_back(child.get(), depth + 1);
        }
    }
    return deepest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FreshCache fresh;
    const std::string& file = fuzz::WriteInput(data, size);
    const KRConfig read = ReadConfig(file);
    // The check before parsing must have measured the nesting TinyXML found, or a deep file would
    // overflow TinyXML's recursion.
    if (Depth(read) > kConfigMaxDepth) {
        __builtin_trap();
    }

    // The cache keeps the first typed configuration of a file and type: each reader finds it empty.
    Sprite sprite;
    sprite.InitWithXMLConfigObject(read, false);
    for (const auto& [name, animation] : sprite.m_animations) {
        sprite.SetAnimation(name);
        sprite.FrameTextureMatrix();
    }
    DestroyConfigCache();
    // Its items' sprites read the texture files the layout names, this one included.
    GUISystem gui;
    gui.LoadFromXML(file);
    DestroyConfigCache();
    TypedConfig<TutorialSeq>(read);
    DestroyConfigCache();
    TypedConfig<TutorialMessage>(read);
    DestroyConfigCache();
    TypedConfig<KRUnitConfig>(read);
    return 0;
}
