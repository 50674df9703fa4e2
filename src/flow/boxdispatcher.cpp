#include "flow/boxdispatcher.h"

#include "battle/uniteditorscripts.h"
#include "engine/engine.h"
#include "flow/gamescripts.h"
#include "flow/krscripts.h"
#include "flow/savescripts.h"
#include "flow/tutorialcontroller.h"
#include "kingdom/gamedata.h"
#include "kingdom/kingdomscripts.h"
#include "realm/playereditor.h"

#include <string>

namespace {

constexpr float kLargestPurchaseGroup = 9.0f;
constexpr float kSmallestPurchaseGroup = 1.0f;
// The race boxes open the race pages, panel modes 5 to 12, in the order of their ids.
constexpr int32_t kRaceLorePanelOffset = kBoxActionFirstRacePage - 5;
// The unit panel's pages are 1 to 4.
constexpr int32_t kUnitPanelPageOffset = kBoxActionFirstUnitPage - 1;

// Through the realm's own engine, which is the one running the world.
void Script(const PlayerEditor& realm, const char* name) {
    if (realm.m_engine != nullptr) {
        RunScript(realm.m_engine->m_scripts, name);
    }
}

bool SelectedUnitIs(const PlayerEditor& realm, const char* name) {
    return realm.m_selectedUnit != nullptr && realm.m_selectedUnit->m_name == name;
}

// A select command on a menu box that is not selected yet.
void SelectMenu(BoxObject* menu) {
    if (menu != nullptr && !menu->m_selectByte) {
        menu->QueueCommand(BoxCommandKind::Select, 0.0f);
    }
}

void TogglePause(PlayerEditor& realm) {
    const char* label = "Pause";
    if (realm.m_paused) {
        Script(realm, "Resume");
        realm.m_paused = false;
    } else {
        Script(realm, "Pause");
        realm.m_paused = true;
        label = "Resume";
    }
    if (realm.m_pauseBox != nullptr) {
        realm.m_pauseBox->m_label.SetText(label, {0.0f, 0.0f, 0.0f});
    }
}

void ToggleMessageBox(PlayerEditor& realm) {
    const bool hide = realm.m_messageBoxVisible;
    if (realm.m_messageWindowBox != nullptr) {
        realm.m_messageWindowBox->m_folded = hide;
    }
    realm.m_messageBoxVisible = !hide;
}

} // namespace

void WorldBoxContext::DispatchBoxAction(BoxActionId id, BoxObject* box) {
    DispatchGameBoxAction(m_world, id, box);
}

void DispatchGameBoxAction(GameData& world, BoxActionId id, BoxObject* box) {
    PlayerEditor* realmPointer = world.m_playerEditor.get();
    if (id == kBoxActionNone || realmPointer == nullptr) {
        return;
    }
    PlayerEditor& realm = *realmPointer;
    if (realm.m_paused && id != kBoxActionPause) {
        return;
    }
    switch (id) {
    case kBoxActionKingdomTab:
        Script(realm, "Kingdom");
        break;
    case kBoxActionWarTab:
        Script(realm, "Warring");
        break;
    case kBoxActionUnitTab:
        Script(realm, "Unit");
        break;
    case kBoxActionBuildFarm:
        SelectFarmTool();
        break;
    case kBoxActionBuildHouse:
        SelectHouseTool();
        break;
    case kBoxActionBuildTower:
        SelectTowerTool();
        break;
    case kBoxActionBuildBioLab:
        SelectBioLabTool();
        break;
    case kBoxActionBuildSmith:
        SelectSmithTool();
        break;
    case kBoxActionBuildSpire:
        SelectSpireTool();
        break;
    case kBoxActionBuildLab:
        SelectLabTool();
        break;
    case kBoxActionBuildKeep:
        SelectKeepTool();
        break;
    case kBoxActionOptions:
        Script(realm, "Options");
        break;
    case kBoxActionIncreaseUnits:
        if (realm.m_purchaseGroupSize < kLargestPurchaseGroup) {
            realm.m_purchaseGroupSize += 1.0f;
        }
        break;
    case kBoxActionDecreaseUnits:
        if (realm.m_purchaseGroupSize > kSmallestPurchaseGroup) {
            realm.m_purchaseGroupSize -= 1.0f;
        }
        break;
    case kBoxActionBuyFromMerchant:
        realm.BuySelectedFromMerchant();
        break;
    case kBoxActionConfirmRecruitment:
        realm.RecruitSelectedUnit();
        // The Army list closes after a recruitment, whatever came of it.
        if (BoxObject* army = realm.LookupBox(kBoxActionArmyMenu); army != nullptr && army->m_folded) {
            army->QueueCommand(BoxCommandKind::Click, 0.0f);
        }
        break;
    case kBoxActionDisbandUnit:
        DisbandPurchasedUnit();
        break;
    case kBoxActionLayPath:
        SelectPathTool();
        break;
    case kBoxActionDemolish:
        SelectDemolishTool();
        break;
    case kBoxActionLayCrack:
        SelectCrackTool();
        break;
    case kBoxActionRaiseStrength:
        Script(realm, "UStatAddStr");
        break;
    case kBoxActionRaiseAttackSpeed:
        UStatAddAttkSpd();
        break;
    case kBoxActionRaiseVitality:
        Script(realm, "UStatAddVit");
        break;
    case kBoxActionRaiseMoveSpeed:
        Script(realm, "UStatAddMoveSpd");
        break;
    case kBoxActionRaiseDefense:
        Script(realm, "UStatAddDef");
        break;
    case kBoxActionRaiseRange:
        Script(realm, "UStatAddRange");
        break;
    case kBoxActionRaiseAccuracy:
        UStatAddAccuracy();
        break;
    case kBoxActionRaiseEvasion:
        UStatAddEvade();
        break;
    case kBoxActionRaiseEnergy:
        UStatAddEnergy();
        break;
    case kBoxActionLowerStrength:
        Script(realm, "UStatMinusStr");
        break;
    case kBoxActionLowerAttackSpeed:
        UStatMinusAttkSpd();
        break;
    case kBoxActionLowerVitality:
        Script(realm, "UStatMinusVit");
        break;
    case kBoxActionLowerMoveSpeed:
        Script(realm, "UStatMinusMovSpd");
        break;
    case kBoxActionLowerDefense:
        Script(realm, "UStatMinusDef");
        break;
    case kBoxActionLowerRange:
        Script(realm, "UStatMinusRange");
        break;
    case kBoxActionLowerAccuracy:
        UStatMinusAccuracy();
        break;
    case kBoxActionLowerEvasion:
        UStatMinusEvade();
        break;
    case kBoxActionLowerEnergy:
        UStatMinusEnergy();
        break;
    case kBoxActionConfirmStatChange:
        if (SelectedUnitIs(realm, "New Base Unit")) {
            Script(realm, "UStatConfirm");
        }
        break;
    case kBoxActionResetStatChange:
        if (realm.m_selectedUnit != nullptr) {
            Script(realm, "UStatReset");
        }
        break;
    case kBoxActionToggleLog:
        ToggleMessageBox(realm);
        break;
    case kBoxActionLogScrollUp:
        if (realm.m_firstVisibleMessage > 0) {
            --realm.m_firstVisibleMessage;
        }
        break;
    case kBoxActionLogScrollDown:
        realm.ScrollGameMessages();
        break;
    case kBoxActionUnitEditPage:
        realm.m_panelMode = 1;
        break;
    case kBoxActionWarDataPage:
        realm.m_panelMode = 2;
        break;
    case kBoxActionMasteryPage:
        realm.m_panelMode = 4;
        break;
    case kBoxActionElvesPage:
    case kBoxActionDragonkinPage:
    case kBoxActionGolemsPage:
    case kBoxActionAngelsPage:
    case kBoxActionDemonsPage:
    case kBoxActionLeviathiansPage:
    case kBoxActionElementalsPage:
    case kBoxActionTaipensPage:
        realm.m_panelMode = id - kRaceLorePanelOffset;
        break;
    case kBoxActionChooseBioMastery:
    case kBoxActionChooseMagicMastery:
    case kBoxActionChooseCommander:
    case kBoxActionChooseBerserker:
    case kBoxActionChooseFatality:
    case kBoxActionChooseSharpenedAttacks:
    case kBoxActionChooseHardenedSkin:
        realm.m_chosenMastery = id;
        break;
    case kBoxActionIncreaseMastery:
        realm.BuyMasteryLevel(realm.m_chosenMastery);
        break;
    case kBoxActionFirstUnitPage:
    case kBoxActionUnitStatsPage:
    case kBoxActionUnitUpkeepPage:
    case kBoxActionTrainUnitPage:
        realm.m_unitPanelPage = id - kUnitPanelPageOffset;
        break;
    case kBoxActionOpenSaveScreen:
        OpenSaveScreen();
        break;
    case kBoxActionSkipTutorial:
        SkipTutorial();
        break;
    case kBoxActionArmyMenu:
        SelectMenu(realm.m_buildMenuBox);
        break;
    case kBoxActionBuildMenu:
        SelectMenu(realm.m_armyRosterBox);
        break;
    case kBoxActionMuteMusic:
        Script(realm, "ToggleMuteMusic");
        break;
    case kBoxActionPause:
        TogglePause(realm);
        break;
    case kBoxActionPostMail:
        if (box != nullptr) {
            world.m_mailList.AddMail(box->m_mailText, box->m_mailKind);
            realm.m_dismissRequest = box;
        }
        break;
    case kBoxActionSaveGame:
        SaveGameToSlot();
        break;
    case kBoxActionLoadGame:
        LoadGameFromSlot();
        break;
    case kBoxActionPreviousSlot:
        PreviousSaveSlot();
        break;
    case kBoxActionNextSlot:
        NextSaveSlot();
        break;
    case kBoxActionLeaveSaveScreen:
        Script(realm, "PopState");
        break;
    default:
        // 41 to 43, 49, 71 to 79, 82 to 97, 100, 103 to 105: the box acts by itself or is a display.
        break;
    }
}
