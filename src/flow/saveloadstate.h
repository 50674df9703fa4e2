// The save and load screen: the slot folders under the documents folder, one shown at a time with its
// summary, and the boxes that save into it, load from it, step through the slots and go back.
#pragma once

#include "engine/krstate.h"
#include "scene/boxactions.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class BoxObject;
class Engine;
struct ArmyDataBlock;

// Files of a slot, in the order they are written.
inline constexpr const char* kSlotFiles[3] = {"armydata.xml", "mapdata.xml", "buildingdata.xml"};

// Replaces the three files of a slot folder (ending in "/") as one: write puts them all into a spare
// folder beside the slot, which then takes the slot's place in one step. Empty when the slot holds the
// new files; otherwise why not, in the player's words, and the slot keeps its old files untouched. A slot
// that is a link to a folder elsewhere is saved there, the link kept.
std::string WriteSlotAsOne(const std::string& slot,
                           const std::function<bool(const std::string& folder)>& write);

// The save screen's boxes, built once per run into GameData's box list.
void BuildSaveSlotScreen(Engine& engine);

class SaveLoadState : public KRState {
  public:
    static SaveLoadState& Instance();
    SaveLoadState();

    void Load(Engine& engine) override;
    void Initialize(Engine& engine) override;
    void HandleInput(Engine& engine) override;
    void Update(Engine& engine) override;
    void Render(Engine& engine) override;
    void Cleanup(Engine& engine) override;
    void Unload(Engine& engine) override;

    // Rebuilds the slot list from the disk, sorted by name with numbers by their value (Data2 before
    // Data10); the selected index stays within it. False when the documents folder is unknown or cannot
    // be listed.
    bool ScanSaveFolder();
    // Shows the slot at the index already stored as selected: true for a real slot. "Load Game" is
    // greyed for "New Data" and for a slot whose army file cannot be read.
    bool SelectSlot(uint32_t index);
    // The folder to write the selected slot into, made first for "New Data" under the first free
    // "Data%d" name; empty when there is no save folder or it cannot be made.
    std::string GetOrCreateSlotFolder();
    // The selected slot's folder; empty for "New Data".
    std::string SlotPath() const;
    void ShowSlotInfo(const ArmyDataBlock& summary);

    static bool PickOnClick(Engine& engine);
    static void UpdateHover(Engine& engine);

    uint32_t m_selectedSlot = 0;
    std::vector<std::string> m_slotPaths;
    // The documents folder followed by "/Thornvale Oriskar/SaveData/"; empty until it is found.
    std::string m_saveFolder;
    // The game mode of the screen below, put back when this screen goes.
    int32_t m_coveredMode = 0;
};
