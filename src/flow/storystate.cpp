#include "flow/storystate.h"

#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "flow/mainmenustate.h"

#include <string>

namespace {

constexpr const char* kStoryLayout = "../Assets/guistory.xml";

void SetShown(KRGUIObject* page, bool shown) {
    if (page != nullptr) {
        page->m_active = shown;
    }
}

} // namespace

StoryState& StoryState::Instance() {
    static StoryState state;
    return state;
}

StoryState::StoryState(plat::Clock* clock) : KRState("StoryState"), m_timer(clock) {}

void StoryState::Load(Engine& engine) {
    LogLine("Loading StoryState");
    m_gui.LoadScreen(engine, kStoryLayout);
    m_gui.UnfadeFromBlack();
}

void StoryState::Initialize(Engine& engine) {
    LogLine("Initializing StoryState");
    PlayScreenMusic(engine, AssetPaths::kMusicGypsy);
    for (uint32_t i = 0; i < kPageCount; ++i) {
        m_pages[i] = m_gui.FindByName("Story" + std::to_string(i + 1));
        if (m_pages[i] == nullptr) {
            LogLine("Crap.");
        }
    }
    for (uint32_t i = 1; i < kPageCount; ++i) {
        SetShown(m_pages[i], false);
    }
    m_page = 0;
    m_phase = kFadingIn;
    m_timer.Reset();
    m_skipped = false;
}

void StoryState::StartGame(Engine& engine) {
    RunScript(engine.m_scripts, "StartGame");
}

void StoryState::HandleInput(Engine& engine) {
    m_gui.HandleScreenInput(engine);
    const InputSys& input = engine.m_input;
    if (input.KeyPressed(KEY_ESCAPE)) {
        StartGame(engine);
        m_skipped = true;
    }
    if (input.ButtonReleased(0) || input.KeyPressed(KEY_ENTER) || input.KeyPressed(KEY_SPACE)) {
        if (m_phase == kShowingPage) {
            m_phase = kFadingOut;
            m_gui.FadeToBlack();
        }
    }
}

void StoryState::Update(Engine& engine) {
    m_timer.Tick();
    if (m_phase == kFadingOut && m_gui.m_fadeState == FADE_BLACK) {
        m_phase = kFadingIn;
        m_gui.UnfadeFromBlack();
        // Past the last page the index stays put; each further fade-out only asks for the new game
        // again, in case the first request was refused.
        if (m_page < kPageCount) {
            SetShown(m_pages[m_page], false);
            ++m_page;
        }
        if (m_page < kPageCount) {
            SetShown(m_pages[m_page], true);
        } else if (!m_skipped) {
            StartGame(engine);
        }
    }
    if (m_phase == kFadingIn && m_gui.m_fadeState == FADE_IDLE) {
        m_phase = kShowingPage;
        m_timer.Reset();
    }
    if (m_phase == kShowingPage && m_timer.Elapsed() > kPageSeconds) {
        m_phase = kFadingOut;
        m_gui.FadeToBlack();
        m_timer.Reset();
    }
    DefaultStateUpdate(*this, engine);
}

void StoryState::Render(Engine& engine) {
    DefaultStateRender(*this, engine);
}

void StoryState::Cleanup(Engine&) {
    LogLine("Cleanup StoryState");
}

void StoryState::Unload(Engine& engine) {
    LogLine("Unloading StoryState");
    // The pages are items of the GUI that goes now.
    for (KRGUIObject*& page : m_pages) {
        page = nullptr;
    }
    m_gui.UnloadScreen(engine);
}
