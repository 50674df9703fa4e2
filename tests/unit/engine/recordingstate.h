// A screen that records the engine's calls into a shared journal.
#pragma once

#include "engine/engine.h"

#include <functional>
#include <string>
#include <vector>

class RecordingState : public KRState {
public:
    RecordingState(std::string name, std::vector<std::string>& journal) : KRState(name), m_journal(journal) {}

    void Load(Engine& e) override { Record("Load", e); }
    void Initialize(Engine& e) override { Record("Initialize", e); }
    void HandleInput(Engine& e) override { Record("HandleInput", e); }
    void Update(Engine& e) override { Record("Update", e); }
    void Render(Engine& e) override { Record("Render", e); }
    void Cleanup(Engine& e) override { Record("Cleanup", e); }
    void Unload(Engine& e) override { Record("Unload", e); }

    // Runs once on the next call of the named operation.
    void On(const std::string& operation, std::function<void(Engine&)> action) {
        m_operation = operation;
        m_action = std::move(action);
    }

private:
    void Record(const std::string& operation, Engine& engine) {
        m_journal.push_back(m_name + "." + operation);
        if (operation == m_operation && m_action) {
            auto action = std::move(m_action);
            m_action = nullptr;
            action(engine);
        }
    }

    std::vector<std::string>& m_journal;
    std::string m_operation;
    std::function<void(Engine&)> m_action;
};
