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
constexpr BoxActionId kBoxActionArmyMenu = 98;
constexpr int32_t kRaceLorePanelOffset = 46;
constexpr int32_t kUnitPanelPageOffset = 66;

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
    if (id == 0 || realmPointer == nullptr) {
        return;
    }
    PlayerEditor& realm = *realmPointer;
    if (realm.m_paused && id != kBoxActionPause) {
        return;
    }
    switch (id) {
    case 1:
        Script(realm, "Kingdom");
        break;
    case 2:
        Script(realm, "Warring");
        break;
    case 3:
        Script(realm, "Unit");
        break;
    case 4:
        SelectFarmTool();
        break;
    case 5:
        SelectHouseTool();
        break;
    case 6:
        SelectTowerTool();
        break;
    case 7:
        SelectBioLabTool();
        break;
    case 8:
        SelectSmithTool();
        break;
    case 9:
        SelectSpireTool();
        break;
    case 10:
        SelectLabTool();
        break;
    case 11:
        SelectKeepTool();
        break;
    case 12:
        Script(realm, "Options");
        break;
    case 13:
        if (realm.m_purchaseGroupSize < kLargestPurchaseGroup) {
            realm.m_purchaseGroupSize += 1.0f;
        }
        break;
    case 14:
        if (realm.m_purchaseGroupSize > kSmallestPurchaseGroup) {
            realm.m_purchaseGroupSize -= 1.0f;
        }
        break;
    case 15:
        realm.BuySelectedFromMerchant();
        break;
    case 16:
        realm.RecruitSelectedUnit();
        // The Army list closes after a recruitment, whatever came of it.
        if (BoxObject* army = realm.LookupBox(kBoxActionArmyMenu); army != nullptr && army->m_folded) {
            army->QueueCommand(BoxCommandKind::Click, 0.0f);
        }
        break;
    case 17:
        DisbandPurchasedUnit();
        break;
    case 18:
        SelectPathTool();
        break;
    case 19:
        SelectDemolishTool();
        break;
    case 20:
        SelectCrackTool();
        break;
    case 21:
        Script(realm, "UStatAddStr");
        break;
    case 22:
        UStatAddAttkSpd();
        break;
    case 23:
        Script(realm, "UStatAddVit");
        break;
    case 24:
        Script(realm, "UStatAddMoveSpd");
        break;
    case 25:
        Script(realm, "UStatAddDef");
        break;
    case 26:
        Script(realm, "UStatAddRange");
        break;
    case 27:
        UStatAddAccuracy();
        break;
    case 28:
        UStatAddEvade();
        break;
    case 29:
        UStatAddEnergy();
        break;
    case 30:
        Script(realm, "UStatMinusStr");
        break;
    case 31:
        UStatMinusAttkSpd();
        break;
    case 32:
        Script(realm, "UStatMinusVit");
        break;
    case 33:
        Script(realm, "UStatMinusMovSpd");
        break;
    case 34:
        Script(realm, "UStatMinusDef");
        break;
    case 35:
        Script(realm, "UStatMinusRange");
        break;
    case 36:
        UStatMinusAccuracy();
        break;
    case 37:
        UStatMinusEvade();
        break;
    case 38:
        UStatMinusEnergy();
        break;
    case 39:
        if (SelectedUnitIs(realm, "New Base Unit")) {
            Script(realm, "UStatConfirm");
        }
        break;
    case 40:
        if (realm.m_selectedUnit != nullptr) {
            Script(realm, "UStatReset");
        }
        break;
    case 44:
        ToggleMessageBox(realm);
        break;
    case 45:
        if (realm.m_firstVisibleMessage > 0) {
            --realm.m_firstVisibleMessage;
        }
        break;
    case 46:
        realm.ScrollGameMessages();
        break;
    case 47:
        realm.m_panelMode = 1;
        break;
    case 48:
        realm.m_panelMode = 2;
        break;
    case 50:
        realm.m_panelMode = 4;
        break;
    case 51:
    case 52:
    case 53:
    case 54:
    case 55:
    case 56:
    case 57:
    case 58:
        realm.m_panelMode = id - kRaceLorePanelOffset;
        break;
    case 59:
    case 60:
    case 61:
    case 62:
    case 63:
    case 64:
    case 65:
        realm.m_chosenMastery = id;
        break;
    case 66:
        realm.BuyMasteryLevel(realm.m_chosenMastery);
        break;
    case 67:
    case 68:
    case 69:
    case 70:
        realm.m_unitPanelPage = id - kUnitPanelPageOffset;
        break;
    case 80:
        OpenSaveScreen();
        break;
    case 81:
        SkipTutorial();
        break;
    case kBoxActionArmyMenu:
        SelectMenu(realm.m_buildMenuBox);
        break;
    case 99:
        SelectMenu(realm.m_armyRosterBox);
        break;
    case 101:
        Script(realm, "ToggleMuteMusic");
        break;
    case kBoxActionPause:
        TogglePause(realm);
        break;
    case 106:
        if (box != nullptr) {
            world.m_mailList.AddMail(box->m_mailText, box->m_mailKind);
            realm.m_dismissRequest = box;
        }
        break;
    case 107:
        SaveGameToSlot();
        break;
    case 108:
        LoadGameFromSlot();
        break;
    case 109:
        PreviousSaveSlot();
        break;
    case 110:
        NextSaveSlot();
        break;
    case 111:
        Script(realm, "PopState");
        break;
    default:
        // 41 to 43, 49, 71 to 79, 82 to 97, 100, 103 to 105: the box acts by itself or is a display.
        break;
    }
}
