#include "flow/gamescripts.h"

#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "flow/tutorialcontroller.h"
#include "kingdom/gamedata.h"
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/kingdomhud.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"

#include <string>

namespace {


} // namespace

void ClearCarriedOverPlay() {
    PlayerEditor* realm = Engine::Instance().m_playerEditor;
    if (realm == nullptr) {
        return;
    }
    realm->m_paused = false;
    if (realm->m_pauseBox != nullptr) {
        realm->m_pauseBox->m_label.SetText("Pause", {0.0f, 0.0f, 0.0f});
    }
    // A wave left over from a lost battle would hold the queue for ever.
    realm->m_invasions.clear();
    realm->m_level = 0;
    realm->m_strengthFactor = kNewGameStrengthFactor;
    realm->m_invasionBudget = kNewGameInvasionBudget;
}

void ScriptStartGame() {
    Engine& engine = Engine::Instance();
    GameData* world = engine.m_gameData.get();
    // While another request is pending the game is left as it is; the story asks again.
    if (world == nullptr || !engine.ChangeState(&KingdomEditorState::Instance())) {
        return;
    }
    BuildKingdomHud(engine);
    world->ResetForNewGame();
    ClearCarriedOverPlay();
    if (PlayerEditor* realm = engine.m_playerEditor) {
        realm->ClearBaseUnits();
        realm->ClearMerchantUnits();
        realm->ClearPurchasedUnits();
    }
    world->SpawnPlayerUnits();
    world->WarpInPlayerUnits();
    TutorialController& tutorial = TutorialController::Instance();
    tutorial.Stop(*world);
    tutorial.Start(*world);
    world->m_clickedTile = nullptr;
    world->m_tileMap.Clear();
    world->m_tileMap.LoadMapData(AssetPaths::kTutorialMapData);
    world->m_tileMap.LoadBuildingData(AssetPaths::kTutorialBuildingData);
    world->FindCapitalTile();
}

void DisbandPurchasedUnit() {
    PlayerEditor* realm = Engine::Instance().m_playerEditor;
    if (realm == nullptr || realm->m_selectedUnit == nullptr) {
        return;
    }
    if (realm->m_selectedUnit->m_name == "New Purchased Unit") {
        realm->RemovePurchasedUnit(realm->m_selectedUnit);
    } else {
        LogLine("what! disbanding a unit thats not called new purchased unit!!");
    }
}
