// The main menu: the root of the screen stack for the whole run. Its buttons run scripts; Esc asks
// whether to quit.
#pragma once

#include "engine/krstate.h"

class KRMainMenuState : public KRState {
  public:
    static KRMainMenuState& Instance();
    KRMainMenuState() : KRState("KRMainMenuState") {}

    void Load(Engine& engine) override;
    // Starts the menu music; it plays while the menu is the active screen and under pushed screens.
    void Initialize(Engine& engine) override;
    void HandleInput(Engine& engine) override;
    void Update(Engine& engine) override;
    void Render(Engine& engine) override;
    void Cleanup(Engine& engine) override;
    void Unload(Engine& engine) override;
};

// Plays a music file on the world's music channel, ending any play list, and lets it sound.
void PlayScreenMusic(Engine& engine, const char* file);
