// The named scripts that GUI buttons run, and running them by name.
#pragma once

#include <string>
#include <unordered_map>

// A script: no arguments, no result; it reaches what it acts on through the engine singleton.
using ScriptFunction = void (*)();

class ScriptRegistry {
  public:
    // Fills the registry once, in the game's registration order.
    void Register();

    std::unordered_map<std::string, ScriptFunction> m_scripts;
};

// Runs the script of exactly that name. A name that is not registered logs "Cannot find script by name"
// and gives false; otherwise true, whatever the script did.
bool RunScript(const ScriptRegistry& registry, const std::string& name);

// The registration order, one row per name.
struct ScriptRow {
    const char* m_name;
    ScriptFunction m_function;
};
extern const ScriptRow kScriptTable[52];
