// The first screen until the intro exists: logs its lifecycle and quits on Esc.
#pragma once

#include "engine/krstate.h"

class StartState : public KRState {
public:
    static StartState& Instance();
    StartState() : KRState("StartState") {}

    void Load(Engine& engine) override;
    void Initialize(Engine& engine) override;
    void HandleInput(Engine& engine) override;
    void Update(Engine& engine) override;
    void Render(Engine& engine) override;
    void Cleanup(Engine& engine) override;
    void Unload(Engine& engine) override;
};
