#include "engine/engine.h"

#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "engine/krtexturescan.h"
#include "scene/sprite.h"

#include <algorithm>

namespace {
std::vector<Engine*> g_liveEngines;
}

void Engine::ForgetState(const KRState* state) {
    for (Engine* engine : g_liveEngines) {
        std::erase(engine->m_stack, state);
        if (engine->m_lastRequestedState == state) {
            engine->m_lastRequestedState = nullptr;
        }
    }
}

Engine& Engine::Instance() {
    static Engine engine;
    return engine;
}

Engine* Engine::Current() {
    return g_liveEngines.empty() ? nullptr : g_liveEngines.back();
}

Engine::Engine() : m_gameData(std::make_unique<GameData>()) {
    m_stack.reserve(4);
    m_audio.Attach(&m_timer, [this]() -> plat::Channel* {
        return m_gameData ? &m_gameData->m_musicChannel : nullptr;
    });
    g_liveEngines.push_back(this);
}

Engine::~Engine() {
    std::erase(g_liveEngines, this);
    Shutdown();
    m_audio.Release();
    m_playerEditor = nullptr;
    m_gameData.reset();
    m_display.Shutdown();
}

bool Engine::Init(plat::Window* window, KRState* initialState) {
    m_window = window;
    m_timer.maxDelta = 0.05;
    m_timer.clampOn = true;
    if (!m_display.Init(window)) {
        LogLine("DisplaySys failed to load.");
        return false;
    }
    if (!window->RegisterRawInputDevices()) {
        LogLine("InputSys failed to load.");
        return false;
    }
    if (!m_audio.Init()) {
        return false;
    }
    m_scripts.Register();
    m_lastRequestedState = initialState;
    m_request = REQUEST_PUSH;
    // The fade quads and the overlay stay resident for the whole run; the sprites that loaded them go.
    {
        Sprite fadeQuads;
        fadeQuads.InitWithXML(AssetPaths::kBoundingBoxSprite, false);
        for (int alpha : {190, 127, 63, 0}) {
            fadeQuads.m_quad.SetAlpha(alpha);
            fadeQuads.Load(*this);
        }
        Sprite overlay;
        overlay.InitWithXML(AssetPaths::kOverlay, false);
        overlay.Load(*this);
    }
    m_audio.LoadSound(AssetPaths::kMusicLament, plat::kAudioLoopNormal);
    m_audio.LoadSound(AssetPaths::kEffectClick, plat::kAudioDefault);
    ListTextureConfigFiles(kAssetsFolderWide, *m_gameData);
    LoadTextureConfigFiles(kAssetsFolder, *m_gameData, *this);
    ListTextureConfigFiles(kFadeAnimationFolderWide, *m_gameData);
    LoadTextureConfigFiles(kFadeAnimationFolder, *m_gameData, *this);
    return true;
}

bool Engine::IsStacked(const KRState* state) const {
    return std::find(m_stack.begin(), m_stack.end(), state) != m_stack.end();
}

void Engine::PopTop() {
    KRState* top = m_stack.back();
    top->Cleanup(*this);
    top->Unload(*this);
    m_stack.pop_back();
}

void Engine::Frame() {
    switch (m_request) {
    case REQUEST_RUN: {
        if (m_stack.empty()) {
            break;
        }
        KRState* top = m_stack.back();
        top->HandleInput(*this);
        top->Update(*this);
        Renderer* renderer = m_display.renderer.get();
        if (renderer != nullptr && renderer->CheckDevice()) {
            renderer->BeginFrame();
            top->Render(*this);
            renderer->device->EndScene();
            renderer->device->Present();
        }
        break;
    }
    case REQUEST_RESTART: {
        if (m_stack.empty()) {
            break;
        }
        KRState* top = m_stack.back();
        top->Cleanup(*this);
        top->Initialize(*this);
        m_request = REQUEST_RUN;
        break;
    }
    case REQUEST_PUSH:
        EnterRequestedState("Pushed state");
        break;
    case REQUEST_POP:
        if (!m_stack.empty()) {
            PopTop();
        }
        if (!m_stack.empty()) {
            m_request = REQUEST_RUN;
        } else {
            m_request = REQUEST_QUIT;
            m_quitting = true;
        }
        break;
    case REQUEST_CHANGE:
        if (!m_stack.empty()) {
            PopTop();
        }
        EnterRequestedState("Changed state");
        break;
    case REQUEST_CHANGE_ABOVE_ROOT: {
        while (m_stack.size() > 1) {
            PopTop();
        }
        auto between = std::move(m_betweenUnwindAndLoad);
        m_betweenUnwindAndLoad = nullptr;
        if (between) {
            between(*this);
        }
        EnterRequestedState("Changed state");
        break;
    }
    case REQUEST_POP_TO_ROOT:
        while (m_stack.size() > 1) {
            PopTop();
        }
        m_request = REQUEST_RUN;
        break;
    case REQUEST_QUIT:
        while (!m_stack.empty()) {
            PopTop();
        }
        m_betweenUnwindAndLoad = nullptr;
        m_audio.trackIndex = -1;
        m_running = false;
        break;
    default:
        break;
    }
    m_audio.Update();
    m_input.EndFrame();
}

bool Engine::PushState(KRState* state) {
    bool stacked = IsStacked(state);
    if (!m_quitting && m_request == REQUEST_RUN && !stacked) {
        m_lastRequestedState = state;
        m_request = REQUEST_PUSH;
        return true;
    }
    if (m_quitting || m_request != REQUEST_RUN) {
        LogLine("Push State request rejected.");
    }
    return false;
}

void Engine::EnterRequestedState(const char* line) {
    m_stack.push_back(m_lastRequestedState);
    LogLine(line);
    m_stack.back()->Load(*this);
    m_stack.back()->Initialize(*this);
    m_request = REQUEST_RUN;
}

bool Engine::ChangeState(KRState* state) {
    bool stacked = IsStacked(state);
    if (!m_quitting && m_request == REQUEST_RUN && !stacked) {
        m_lastRequestedState = state;
        m_request = REQUEST_CHANGE;
        return true;
    }
    if (m_quitting || m_request != REQUEST_RUN) {
        LogLine("Change State request rejected.");
    }
    return false;
}

bool Engine::ChangeStateAboveRoot(KRState* state, std::function<void(Engine&)> between) {
    const bool root = !m_stack.empty() && m_stack.front() == state;
    if (!m_quitting && m_request == REQUEST_RUN && !root) {
        m_lastRequestedState = state;
        m_betweenUnwindAndLoad = std::move(between);
        m_request = REQUEST_CHANGE_ABOVE_ROOT;
        return true;
    }
    LogLine("Change State request rejected.");
    return false;
}

void Engine::PopState() {
    if (!m_quitting && m_request == REQUEST_RUN) {
        m_request = REQUEST_POP;
    } else {
        LogLine("Pop State request rejected.");
    }
}

void Engine::ReturnToRootState() {
    if (!m_quitting && m_request == REQUEST_RUN) {
        m_request = REQUEST_POP_TO_ROOT;
    } else {
        LogLine("Return to Root State request rejected.");
    }
}

void Engine::Quit() {
    m_quitting = true;
    m_request = REQUEST_QUIT;
}

bool Engine::Shutdown() {
    while (!m_stack.empty()) {
        m_stack.back()->Unload(*this);
        m_stack.pop_back();
    }
    m_request = REQUEST_IDLE;
    if (m_gameData != nullptr) {
        for (const auto& tile : m_gameData->m_tileMap.m_templateTiles) {
            tile->Unload(*this);
        }
    }
    return true;
}
