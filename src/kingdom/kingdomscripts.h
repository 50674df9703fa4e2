// The kingdom screen's scripts: reaching the screen, the map editor's tile preview, the money cheat,
// and the tool selectors that the Build menu's boxes run.
#pragma once

void ScriptKingdom();
void ScriptChangeTileType();
void ScriptChangeUnitType();
void ScriptAddMoney();

void SelectTowerTool();
void SelectFarmTool();
void SelectHouseTool();
void SelectSmithTool();
void SelectLabTool();
void SelectSpireTool();
void SelectBioLabTool();
void SelectKeepTool();
void SelectDemolishTool();
void SelectPathTool();
void SelectCrackTool();
