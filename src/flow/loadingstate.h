// The loading screen: shown for one frame, it asks for the main menu and does the game's one-time
// loading (textures, sounds, the realm) while it is being left, so that its picture stays up meanwhile.
#pragma once

#include "engine/krstate.h"

#include <cstdint>

class LoadingState : public KRState {
  public:
    static LoadingState& Instance();
    LoadingState() : KRState("LoadingState") {}

    void Load(Engine& engine) override;
    void Initialize(Engine& engine) override;
    void HandleInput(Engine& engine) override;
    void Update(Engine& engine) override;
    void Render(Engine& engine) override;
    void Cleanup(Engine& engine) override;
    void Unload(Engine& engine) override;

    // Once per process: the texture folders, the sounds and the realm.
    static void LoadGameAssets(Engine& engine);
};

// The folders whose texture configurations the loading screen makes resident, in order.
inline constexpr const char* kLoadedTextureFolders[] = {
    "../Assets/Buttons", "../Assets/Boxes", "../Assets/Textures/SkyBox",
    "../Assets/Tiles",   "../Assets/Units", "../Assets/Buildings",
    "../Assets/Fonts"};

struct LoadedSound {
    const char* m_file;
    uint32_t m_mode;
};

// The sounds it loads, in order, with their load modes.
extern const LoadedSound kLoadedSounds[12];
