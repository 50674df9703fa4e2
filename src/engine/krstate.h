// Base of every screen. The engine keeps a stack of them and calls their operations in a fixed order.
#pragma once

#include "scene/krguisystem.h"

#include <cstdint>
#include <string>
#include <vector>

class Engine;

class KRState {
public:
    KRState() = default;
    explicit KRState(std::string name) : m_name(std::move(name)) {}
    // A screen destroyed while still stacked (an exit in the middle of a run) leaves the stack.
    virtual ~KRState();
    KRState(const KRState&) = delete;
    KRState& operator=(const KRState&) = delete;

    virtual void Load(Engine& engine) = 0;
    virtual void Initialize(Engine& engine) = 0;
    virtual void HandleInput(Engine& engine) = 0;
    virtual void Update(Engine& engine) = 0;
    virtual void Render(Engine& engine) = 0;
    virtual void Cleanup(Engine& engine) = 0;
    virtual void Unload(Engine& engine) = 0;

    const std::string& GetName() const { return m_name; }

    GUISystem m_gui;

protected:
    std::string m_name = "UnnamedState";
};

struct DebugText {
    std::string text;
    int x = 0; // virtual-screen position, 800 x 600
    int y = 0;
    uint32_t colour = 0;
};

// The texts of the debug overlay, in drawing order; empty when the overlay is off.
std::vector<DebugText> DebugOverlayTexts(Engine& engine, const KRState& state);
void DrawDebugInfo(Engine& engine, const KRState& state);

// The bodies of Update and Render shared by the screens that only show their GUI.
void DefaultStateUpdate(KRState& state, Engine& engine);
void DefaultStateRender(KRState& state, Engine& engine);
