// The first screen: two splash pictures for five seconds each, then a fade to black and the loading
// screen. A mouse release, Esc, Enter or Space skips straight to the loading screen.
#pragma once

#include "engine/krstate.h"
#include "engine/krtimer.h"

#include <cstdint>

class IntroState : public KRState {
  public:
    static IntroState& Instance();
    // The timer reads the platform's clock unless given one.
    explicit IntroState(plat::Clock* clock = nullptr);

    void Load(Engine& engine) override;
    void Initialize(Engine& engine) override;
    void HandleInput(Engine& engine) override;
    void Update(Engine& engine) override;
    void Render(Engine& engine) override;
    void Cleanup(Engine& engine) override;
    void Unload(Engine& engine) override;

    // First splash, second splash, fading out.
    void AdvanceDisplayState();

    static constexpr int32_t kFirstSplash = 2;
    static constexpr int32_t kSecondSplash = 1;
    static constexpr int32_t kFadingOut = 0;
    static constexpr float kSplashSeconds = 5.0f;

    int32_t m_displayState = kFirstSplash;
    FrameTimer m_timer;
};
