// The story: eight pages, each faded in, shown for ten seconds (or until a click, Enter or Space) and
// faded out; after the last one a new game starts. Esc starts it at once.
#pragma once

#include "engine/krstate.h"
#include "engine/krtimer.h"

#include <cstdint>

class KRGUIObject;

class StoryState : public KRState {
  public:
    static StoryState& Instance();
    // The timer reads the platform's clock unless given one.
    explicit StoryState(plat::Clock* clock = nullptr);

    void Load(Engine& engine) override;
    void Initialize(Engine& engine) override;
    void HandleInput(Engine& engine) override;
    void Update(Engine& engine) override;
    void Render(Engine& engine) override;
    void Cleanup(Engine& engine) override;
    void Unload(Engine& engine) override;

    static constexpr int32_t kShowingPage = 0;
    static constexpr int32_t kFadingOut = 1;
    static constexpr int32_t kFadingIn = 2;
    static constexpr uint32_t kPageCount = 8;
    static constexpr float kPageSeconds = 10.0f;

    int32_t m_phase = kFadingIn;
    // The page shown; kPageCount once the last one has been left.
    uint32_t m_page = 0;
    // Items of the GUI, borrowed; null where the layout has no such page.
    KRGUIObject* m_pages[kPageCount] = {};
    FrameTimer m_timer;
    bool m_skipped = false;

  private:
    void StartGame(Engine& engine);
};
