#include "kingdom/kingdomscripts.h"

#include "battle/krunit.h"
#include "engine/engine.h"
#include "kingdom/gamedata.h"
#include "kingdom/kingdomeditorstate.h"
#include "realm/playereditor.h"

#include <memory>

namespace {

void SelectTool(ToolMode mode) {
    Engine& engine = Engine::Instance();
    if (engine.m_gameData != nullptr) {
        engine.m_gameData->m_toolMode = mode;
    }
    if (engine.m_playerEditor != nullptr) {
        engine.m_playerEditor->m_selectedUnit = nullptr;
    }
}

// Puts the "Overlay" item onto a button of the map editor's layout and shows it.
void MarkButton(KRState& screen, const KRGUIObject& button) {
    if (KRGUIObject* overlay = screen.m_gui.FindByName("Overlay")) {
        overlay->m_x = button.m_x;
        overlay->m_y = button.m_y;
        overlay->m_active = true;
    }
}

} // namespace

void ScriptKingdom() {
    Engine& engine = Engine::Instance();
    engine.ChangeState(&KingdomEditorState::Instance());
    if (engine.m_gameData != nullptr) {
        engine.m_gameData->m_gameMode = GAME_MODE_KINGDOM;
    }
    engine.m_lastRequestedState = &KingdomEditorState::Instance();
}

void ScriptChangeTileType() {
    Engine& engine = Engine::Instance();
    // Any kingdom screen, a derived one included, is the current screen.
    auto* screen = dynamic_cast<KingdomEditorState*>(engine.m_lastRequestedState);
    GameData* world = engine.m_gameData.get();
    if (screen == nullptr || world == nullptr) {
        return;
    }
    world->m_toolMode = TOOL_SELECT;
    KRGUIObject* button = screen->m_gui.FindByName("ChangeTileType");
    if (button == nullptr || screen->m_gui.FindByName("Overlay") == nullptr || world->m_tileSprites.empty()) {
        return;
    }
    int32_t index = world->m_typeToPlace;
    if (world->m_editSubMode == 2) {
        index = index + 1 >= static_cast<int32_t>(world->m_tileSprites.size()) ? 0 : index + 1;
    }
    if (index < 0 || index >= static_cast<int32_t>(world->m_tileSprites.size())) {
        index = 0;
    }
    world->m_editSubMode = 2;
    world->m_typeToPlace = index;
    MarkButton(*screen, *button);
    button->m_sprite = world->m_tileSprites[static_cast<size_t>(index)];
    world->m_previewObject = std::make_unique<KRTile>(0, 0, index);
}

void ScriptChangeUnitType() {
    Engine& engine = Engine::Instance();
    // Any kingdom screen, a derived one included, is the current screen.
    auto* screen = dynamic_cast<KingdomEditorState*>(engine.m_lastRequestedState);
    GameData* world = engine.m_gameData.get();
    if (screen == nullptr || world == nullptr) {
        return;
    }
    // Only a layout with the editor's button and its overlay has a unit preview.
    const KRGUIObject* button = screen->m_gui.FindByName("ChangeUnitType");
    if (button == nullptr || screen->m_gui.FindByName("Overlay") == nullptr) {
        return;
    }
    MarkButton(*screen, *button);
    world->m_previewObject.reset();
    world->m_previewObject = std::make_unique<KRUnit>(kElementalUnitFile);
    world->m_editSubMode = 1;
}

void ScriptAddMoney() {
    PlayerEditor* realm = Engine::Instance().m_playerEditor;
    if (realm == nullptr) {
        return;
    }
    for (int k = 0; k < RESOURCE_COUNT; ++k) {
        realm->m_stock[k] += k == RESOURCE_MONEY ? 1000.0f : 10.0f;
    }
    realm->m_land += 10.0f;
    realm->m_masteryPoints += 10;
}

void SelectTowerTool() {
    SelectTool(2);
}
void SelectFarmTool() {
    SelectTool(3);
}
void SelectHouseTool() {
    SelectTool(4);
}
void SelectSmithTool() {
    SelectTool(5);
}
void SelectLabTool() {
    SelectTool(6);
}
void SelectSpireTool() {
    SelectTool(7);
}
void SelectBioLabTool() {
    SelectTool(8);
}
void SelectKeepTool() {
    SelectTool(9);
}
void SelectDemolishTool() {
    SelectTool(TOOL_DEMOLISH);
}
void SelectPathTool() {
    SelectTool(TOOL_PATH);
}
void SelectCrackTool() {
    SelectTool(TOOL_CRACK);
}
