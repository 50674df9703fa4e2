// Named scripts that buttons and boxes run.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>

class ScriptRegistry {
public:
    // Fills the registry with the game's scripts.
    void Register();

    std::unordered_map<std::string, std::function<void()>> m_scripts;
};
