// The configuration layer and the typed configurations read through it: texture files as a sprite
// takes them, GUI layouts as the GUI system adds them, tutorial sequences and letters, unit blueprints.
#include "battle/unitblueprint.h"
#include "flow/tutorialfiles.h"
#include "fuzz_support.h"
#include "scene/krguisystem.h"
#include "scene/sprite.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FreshCache fresh;
    const std::string& file = fuzz::WriteInput(data, size);
    const KRConfig read = ReadConfig(file);

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
