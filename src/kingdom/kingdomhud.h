// The HUD boxes and world markers of the game screens, built once per run into GameData's box list.
#pragma once

class Engine;
class GameData;
class PlayerEditor;

// Every call after the first does nothing.
void BuildKingdomHud(Engine& engine);
// The built boxes back as the first game found them: menus and lists folded and scrolled to their
// start, nothing queued, blinking or selected. The boxes themselves stay.
void ReturnKingdomHudToRest(GameData& world);

void BuildWorldMarkers(Engine& engine, PlayerEditor& realm);
void BuildHelperTextBox(Engine& engine, PlayerEditor& realm);
void BuildTopBar(Engine& engine, PlayerEditor& realm);
void BuildSelectionGlow(Engine& engine, PlayerEditor& realm);
void BuildArmyAndBuildMenus(Engine& engine, PlayerEditor& realm);
void BuildLogPanel(Engine& engine);
void BuildMessageFrame(Engine& engine, PlayerEditor& realm);
void BuildMerchantTechButtons(Engine& engine, PlayerEditor& realm);
void BuildUnitButtons(Engine& engine, PlayerEditor& realm);
void BuildRecruitPanel(Engine& engine, PlayerEditor& realm);
void BuildStatEditor(Engine& engine, PlayerEditor& realm);
void BuildWarPanel(Engine& engine, PlayerEditor& realm);
void BuildLogoPanels(Engine& engine, PlayerEditor& realm);
void BuildMasteryPanel(Engine& engine, PlayerEditor& realm);
