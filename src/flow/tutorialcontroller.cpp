#include "flow/tutorialcontroller.h"

#include "battle/gridpath.h"
#include "engine/engine.h"
#include "flow/tutorialfiles.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"
#include "scene/worldobject.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr int32_t kKeepRow = 13;
constexpr int32_t kKeepCol = 13;
constexpr int32_t kDeployRow = 14;
constexpr int32_t kDeployCol = 11;
// The southern gate the crack runs from.
constexpr int32_t kCrackStartCol = 14;
constexpr int32_t kCrackStartRow = 16;

const char* const kDestroyRebuke = "My Lord, your intelligence humors me";
const char* const kPathRebuke = "My Lord, your inquisitive nature will bring us troubles";

// Enabled with its own look, and blinking when it can be clicked.
void EnableAndBlink(BoxObject* box) {
    if (box == nullptr) {
        return;
    }
    box->Enable();
    if (box->m_pickable) {
        box->m_blinking = true;
    }
}

void Blink(BoxObject* box) {
    if (box != nullptr && box->m_pickable) {
        box->m_blinking = true;
    }
}

// The box and every box after it along its next chain, each once.
template <class Visit> void ForChain(BoxObject* first, Visit visit) {
    std::unordered_set<const BoxObject*> seen;
    for (BoxObject* box = first; box != nullptr && seen.insert(box).second; box = box->m_next) {
        visit(box);
    }
}

// The eight element stocks, gold and people, enough to buy and train in the unit steps.
void FillTrainingStocks(PlayerEditor& realm) {
    for (Resource resource : {RESOURCE_FIRE, RESOURCE_EARTH, RESOURCE_LIGHT, RESOURCE_NATURE, RESOURCE_MAGIC,
                              RESOURCE_METAL, RESOURCE_PSYCHIC, RESOURCE_DARKNESS}) {
        realm.m_stock[resource] = 10.0f;
    }
    realm.m_stock[RESOURCE_MONEY] = 500.0f;
    realm.m_stock[RESOURCE_POPULATION] = 10.0f;
}

void HideSkipBox(PlayerEditor& realm) {
    if (BoxObject* skip = realm.m_skipTutorialBox) {
        skip->Disable();
        skip->m_sprite.m_visible = false;
        skip->m_folded = true;
    }
}

} // namespace

bool TutorialController::s_running = false;
int32_t TutorialController::s_plusClicks = 0;

TutorialController& TutorialController::Instance() {
    static TutorialController* controller = [] {
        static TutorialController built;
        GameData* world = Engine::Instance().m_gameData.get();
        if (!s_running && world != nullptr) {
            built.Start(*world);
        }
        return &built;
    }();
    return *controller;
}

bool TutorialController::LoadSequence(const std::string& file) {
    const KRConfig read = ReadConfig(file);
    if (read.m_fileName == kConfigErrorFile) {
        return false;
    }
    std::unique_ptr<TutorialSeq> sequence = TypedConfig<TutorialSeq>(read);
    if (!sequence) {
        return false;
    }
    m_steps = sequence->m_steps;
    m_position = m_steps.cend();
    return true;
}

bool TutorialController::LoadMessages(const std::string& file) {
    const KRConfig read = ReadConfig(file);
    if (read.m_fileName == kConfigErrorFile) {
        return false;
    }
    std::unique_ptr<TutorialMessage> messages = TypedConfig<TutorialMessage>(read);
    if (!messages) {
        return false;
    }
    m_messages.insert(messages->m_messages.begin(), messages->m_messages.end());
    return true;
}

void TutorialController::Start(GameData& world, const std::string& sequenceFile,
                               const std::string& messageFile) {
    LoadSequence(sequenceFile);
    LoadMessages(messageFile);
    m_position = m_steps.cbegin();
    if (m_steps.empty()) {
        return;
    }
    m_currentStep = *m_position;
    s_running = true;
    if (PlayerEditor* realm = world.m_playerEditor.get()) {
        m_clicksSeen = realm->m_boxClicks;
        if (BoxObject* skip = realm->m_skipTutorialBox) {
            skip->m_sprite.m_visible = true;
            skip->Enable();
            skip->m_folded = false;
        }
    }
    world.m_tileMap.m_pavedTiles.clear();
    world.m_tileMap.m_removedBuildings.clear();
    m_farmHintGiven = false;
    m_houseHintGiven = false;
}

void TutorialController::Stop(GameData& world) {
    EnableAllButtons(world);
    m_highlightNames.clear();
    // A step cut short leaves its ids; the next tutorial's first step must not inherit them.
    m_allowedIds.clear();
    m_messages.clear();
    m_crackPath.clear();
    s_running = false;
    m_stepSetUp = false;
}

void TutorialController::AdvanceStep(GameData& world) {
    if (m_position == m_steps.cend()) {
        if (PlayerEditor* realm = world.m_playerEditor.get()) {
            realm->m_tutorial = false;
        }
        EnableAllButtons(world);
        return;
    }
    ++m_position;
    m_currentStep = m_position != m_steps.cend() ? *m_position : "END";
    m_stepSetUp = false;
    m_highlightNames.clear();
    m_allowedIds.clear();
}

void TutorialController::Skip() {
    m_currentStep = "Skip";
    m_stepSetUp = false;
}

void TutorialController::SetUpStep(GameData& world) {
    PlayerEditor* realm = world.m_playerEditor.get();
    if (m_stepSetUp || m_position == m_steps.cend() || realm == nullptr) {
        return;
    }
    auto message = m_messages.find(m_currentStep);
    if (message != m_messages.end()) {
        world.m_mailList.AddMail(message->second, MAIL_ADVICE);
    }
    SetUpOwnStep(world, *realm);
    m_stepSetUp = true;
    RestrictButtons(world);
}

void TutorialController::SetUpOwnStep(GameData& world, PlayerEditor& realm) {
    const std::string& step = m_currentStep;
    auto highlight = [this](std::initializer_list<const char*> labels) {
        m_highlightNames.insert(m_highlightNames.end(), labels.begin(), labels.end());
    };
    auto allow = [this](std::initializer_list<int32_t> ids) {
        m_allowedIds.insert(m_allowedIds.end(), ids.begin(), ids.end());
    };
    auto blink = [&realm](std::initializer_list<int32_t> ids) {
        for (int32_t id : ids) {
            realm.BlinkBoxes(id);
        }
    };
    if (step == "SkipTutorial") {
        Blink(realm.m_skipTutorialBox);
    } else if (step == "Menu") {
        highlight({"Menu"});
        allow({kBoxActionMenu});
        blink({kBoxActionMenu});
    } else if (step == "ShowCapital") {
        world.FindCapitalTile();
        if (const KRTile* capital = world.m_capitalTile) {
            PointMarker(realm, static_cast<int32_t>(capital->m_row), static_cast<int32_t>(capital->m_col),
                        2.5f, "YOUR THRONE");
        }
    } else if (step == "BuildFarmTown1") {
        highlight({"Build"});
        allow({kBoxActionBuildMenu});
        blink({kBoxActionBuildMenu});
        HideMarker(realm);
    } else if (step == "BuildFarmTown2") {
        highlight({"Farm", "House"});
        allow({kBoxActionBuildFarm, kBoxActionBuildHouse});
        blink({kBoxActionBuildFarm, kBoxActionBuildHouse});
        realm.m_stock[RESOURCE_MONEY] = 100.0f;
    } else if (step == "BuildFarmTown3") {
        highlight({"Population Resource", "Earth Resource"});
        // The tutorial's own table pairs the Earth label with the Nature counter's id.
        allow({kBoxActionPopulationCounter, kBoxActionNatureCounter});
        blink({kBoxActionPopulationCounter, kBoxActionNatureCounter});
    } else if (step == "BuildScroll") {
        highlight({"  >>"});
        allow({kBoxActionScrollForward});
        blink({kBoxActionScrollForward});
    } else if (step == "BuildDestroy1") {
        highlight({"Build", "Destroy", "  >>"});
        allow({kBoxActionScrollForward, kBoxActionDemolish});
        blink({kBoxActionDemolish});
    } else if (step == "BuildDestroy2") {
        highlight({"Build", "Destroy", "  >>"});
        allow({kBoxActionScrollForward, kBoxActionDemolish});
        blink({kBoxActionScrollForward, kBoxActionDemolish});
        PointMarker(realm, kKeepRow, kKeepCol, 1.0f, "DESTROY THIS");
    } else if (step == "BuildPath1") {
        highlight({"1"});
        allow({kBoxActionLayPath});
        blink({kBoxActionLayPath});
        EnableAndBlink(realm.m_landDisplayBox);
    } else if (step == "BuildPath2") {
        highlight({"1"});
        EnableAndBlink(realm.m_landDisplayBox);
        FillPathTargets();
        world.m_tileMap.m_pavedTiles.clear();
        world.m_tileMap.m_removedBuildings.clear();
        // A new game's allowance is a single tile; the road asked for here must not run out of it.
        realm.m_land = std::max(realm.m_land, static_cast<float>(m_pathTargets.size()));
        const auto& [row, col] = m_pathTargets.front();
        PointMarker(realm, row, col, 0.2f, "PLACE HERE");
    } else if (step == "DepolyUnit") {
        highlight({"Army", "New Purchased Unit"});
        allow({kBoxActionArmyMenu});
        blink({kBoxActionArmyMenu});
        ForChain(realm.m_armyRosterBox, [](BoxObject* box) { box->m_blinking = true; });
        PointMarker(realm, kDeployRow, kDeployCol, 0.5f, "PLACE HERE");
    } else if (step == "ToWar") {
        highlight({"War"});
        blink({kBoxActionWarTab});
    } else if (step == "InWar") {
        blink({kBoxActionToggleLog});
        if (BoxObject* log = realm.m_messageWindowBox) {
            log->m_folded = false;
            realm.m_messageBoxVisible = true;
        }
    } else if (step == "ToUnit") {
        highlight({"Unit"});
        blink({kBoxActionUnitTab});
    } else if (step == "Merchant1") {
        highlight({"Merchant", "New Merchant Unit"});
        blink({kBoxActionMerchantList});
        ForChain(realm.m_merchantRosterBox, EnableAndBlink);
    } else if (step == "Merchant2") {
        highlight({"Buy From Merchant", "New Merchant Unit"});
        blink({kBoxActionBuyFromMerchant});
        FillTrainingStocks(realm);
        ForChain(realm.m_merchantRosterBox, [](BoxObject* box) { box->Enable(); });
    } else if (step == "AddStats1") {
        highlight({"New Base Unit", "Show Unit Stats"});
        ForChain(realm.m_techRosterBox, EnableAndBlink);
    } else if (step == "AddStats2") {
        highlight({"New Base Unit", "Str", "Agi", "Vit", "Def", "Ene", "Mve", "Rge", "Acc", "Eva", "+",
                   "Confirm Stat Change"});
        allow({kBoxActionRaiseStrength});
        blink({kBoxActionRaiseStrength});
        ForChain(realm.m_techRosterBox, EnableAndBlink);
    } else if (step == "TrainArmy") {
        highlight({"Train Unit"});
        blink({kBoxActionTrainUnitPage});
        FillTrainingStocks(realm);
    } else if (step == "TrainArmy2") {
        highlight({"Army", "Increase Units", "Confirm Recruitment", "New Purchased Unit"});
        blink({kBoxActionIncreaseUnits});
    } else if (step == "TrainArmy3") {
        highlight({"Army", "New Purchased Unit"});
        blink({kBoxActionArmyMenu});
    } else if (step == "End") {
        HideSkipBox(realm);
        realm.m_stock[RESOURCE_MONEY] = 888.0f;
        realm.m_stock[RESOURCE_DARKNESS] = 0.0f;
    }
}

void TutorialController::AllowedBoxNames() {
    for (const char* label : {"Skip Tutorial", "Border Left", "Border Mid", "Border Right", "Log",
                              "Game Message Box", "UpKeep", "Income", "Tax"}) {
        m_highlightNames.push_back(label);
    }
    for (int32_t id : {kBoxActionLightCounter, kBoxActionNatureCounter, kBoxActionMoneyCounter,
                       kBoxActionPopulationCounter, kBoxActionHelperText}) {
        m_allowedIds.push_back(id);
    }
}

void TutorialController::RestrictButtons(GameData& world) {
    auto allowed = [this](const BoxObject& box) {
        return std::find(m_allowedIds.begin(), m_allowedIds.end(), box.m_actionId) != m_allowedIds.end();
    };
    // A label that the step's own ids narrow (the nine "+" of the stat step, of which one is meant) names
    // only the boxes with those ids.
    std::unordered_set<std::string> narrowed;
    for (const auto& box : world.m_hudBoxes) {
        if (allowed(*box)) {
            narrowed.insert(box->m_label.m_text);
        }
    }
    AllowedBoxNames();
    for (const auto& box : world.m_hudBoxes) {
        const std::string& label = box->m_label.m_text;
        const bool highlighted =
            std::find(m_highlightNames.begin(), m_highlightNames.end(), label) != m_highlightNames.end() &&
            (narrowed.count(label) == 0 || allowed(*box));
        if (!highlighted) {
            box->Disable();
        } else if (!box->m_enabled) {
            // Greyed by an earlier step; a box the letter names must take its click.
            box->Enable();
        }
    }
    for (const auto& box : world.m_hudBoxes) {
        if (allowed(*box)) {
            box->Enable();
        }
    }
}

void TutorialController::EnableAllButtons(GameData& world) {
    // Only the tutorial sets boxes blinking, so handing the HUD back ends every blink.
    for (const auto& box : world.m_hudBoxes) {
        box->StopBlink();
        box->Enable();
    }
}

void TutorialController::DisableBoxByLabel(GameData& world, const std::string& label) {
    for (const auto& box : world.m_hudBoxes) {
        if (box->m_label.m_text == label) {
            box->Disable();
            return;
        }
    }
}

void TutorialController::LockStatPlusButton(GameData& world) {
    for (const auto& box : world.m_hudBoxes) {
        if (box->m_actionId == kBoxActionRaiseStrength) {
            box->Disable();
            return;
        }
    }
}

void TutorialController::FillPathTargets() {
    m_pathTargets = {{16, 13}, {16, 12}, {16, 11}, {15, 11}, {14, 11}};
}

void TutorialController::LayCrackPath(GameData& world) {
    world.FindCapitalTile();
    const KRTile* capital = world.m_capitalTile;
    if (capital == nullptr) {
        return;
    }
    const std::vector<GridCell> path = FindPathCells(
        static_cast<float>(kCrackStartCol), static_cast<float>(kCrackStartRow),
        static_cast<float>(capital->m_col), static_cast<float>(capital->m_row), world.m_tileMap);
    // Without a cell between the two ends there is nothing to crack.
    if (path.size() < 3) {
        return;
    }
    m_crackPath.clear();
    for (size_t i = 1; i + 1 < path.size(); ++i) {
        const uint32_t row = static_cast<uint32_t>(path[i].m_row);
        const uint32_t col = static_cast<uint32_t>(path[i].m_col);
        m_crackPath.emplace_back(path[i].m_col, path[i].m_row);
        // Laid on every frame of its step: a cell cracked already keeps its tile.
        const KRTile* tile = world.m_tileMap.GetTile(row, col);
        if (tile != nullptr && tile->m_type != TILE_CRACK) {
            world.m_tileMap.SetTileType(row, col, TILE_CRACK);
        }
    }
}

bool TutorialController::Clicked(const PlayerEditor& realm, int32_t actionId, bool fresh) const {
    if (realm.m_clickedBox == nullptr || realm.m_clickedBox->m_actionId != actionId) {
        return false;
    }
    return !fresh || realm.m_boxClicks != m_clicksSeen;
}

void TutorialController::PointMarker(PlayerEditor& realm, int32_t row, int32_t col, float bob,
                                     const std::string& label) {
    WorldObject* marker = realm.m_attentionMarker;
    if (marker == nullptr) {
        return;
    }
    WorldObject::SetWorldPosition(marker, {static_cast<float>(col), 0.0f, static_cast<float>(row)},
                                  {0.0f, bob, 0.0f});
    marker->SetLabel(label);
}

void TutorialController::HideMarker(PlayerEditor& realm) {
    if (realm.m_attentionMarker != nullptr) {
        realm.m_attentionMarker->m_sprite.m_visible = false;
    }
}

void TutorialController::CheckStepDone(GameData& world) {
    PlayerEditor* realm = world.m_playerEditor.get();
    if (realm == nullptr) {
        return;
    }
    const std::string& step = m_currentStep;
    const bool noMail = !world.m_mailList.HasPendingMail();
    if (step == "Mail" || step == "Basic") {
        if (noMail) {
            AdvanceStep(world);
        }
    } else if (step == "Menu") {
        if (noMail && realm->m_pauseBox != nullptr && !realm->m_pauseBox->m_folded) {
            if (realm->m_menuBox != nullptr) {
                realm->m_menuBox->Disable();
            }
            AdvanceStep(world);
        }
    } else if (step == "SkipTutorial") {
        if (noMail) {
            if (realm->m_skipTutorialBox != nullptr) {
                realm->m_skipTutorialBox->StopBlink();
            }
            AdvanceStep(world);
        }
    } else if (step == "BuildFarmTown1") {
        if (realm->m_clickedBox != nullptr && realm->m_clickedBox == realm->m_buildMenuBox) {
            AdvanceStep(world);
        }
    } else if (step == "BuildFarmTown2") {
        TileMap& map = world.m_tileMap;
        map.CountBuildings();
        const int32_t farms = map.m_buildingCounts[BUILDING_FARM];
        const int32_t houses = map.m_buildingCounts[BUILDING_HOUSE];
        if (farms > 0 && houses > 0) {
            world.m_toolMode = TOOL_SELECT;
            AdvanceStep(world);
        } else if (farms > 0 && !m_farmHintGiven) {
            m_farmHintGiven = true;
            DisableBoxByLabel(world, "Farm");
            realm->m_stock[RESOURCE_MONEY] = 100.0f;
            world.m_toolMode = TOOL_SELECT;
        } else if (houses > 0 && !m_houseHintGiven) {
            m_houseHintGiven = true;
            DisableBoxByLabel(world, "House");
            realm->m_stock[RESOURCE_MONEY] = 100.0f;
            world.m_toolMode = TOOL_SELECT;
        }
    } else if (step == "BuildDestroy1") {
        BoxObject* destroy = realm->LookupBox(kBoxActionDemolish);
        if (destroy != nullptr && !destroy->m_folded) {
            if (BoxObject* forward = realm->LookupBox(kBoxActionScrollForward)) {
                forward->StopBlink();
            }
            Blink(destroy);
            AdvanceStep(world);
        }
    } else if (step == "BuildDestroy2") {
        CheckDestroyStep(world);
    } else if (step == "BuildPath1") {
        if (Clicked(*realm, kBoxActionLayPath)) {
            Blink(realm->m_clickedBox);
            AdvanceStep(world);
        }
    } else if (step == "BuildPath2") {
        CheckPathStep(world, *realm);
    } else if (step == "BuildCrack") {
        LayCrackPath(world);
        if (noMail) {
            AdvanceStep(world);
        }
    } else if (step == "DepolyUnit") {
        const KRTile* tile = world.m_tileMap.GetTile(kDeployRow, kDeployCol);
        if (tile != nullptr && world.FindUnitOnTile(tile) != nullptr) {
            realm->m_selectedUnit = nullptr;
            HideMarker(*realm);
            AdvanceStep(world);
        }
    } else if (step == "ToWar") {
        if (Clicked(*realm, kBoxActionWarTab)) {
            AdvanceStep(world);
        }
    } else if (step == "InWar") {
        if (world.m_gameMode == GAME_MODE_WAR && world.m_battleResult == BATTLE_VICTORY) {
            AdvanceStep(world);
        }
    } else if (step == "EndWar") {
        if (world.m_gameMode == GAME_MODE_KINGDOM && noMail) {
            HideMarker(*realm);
            AdvanceStep(world);
        }
    } else if (step == "ToUnit") {
        if (world.m_gameMode == GAME_MODE_UNIT_EDITOR) {
            if (realm->m_messageWindowBox != nullptr) {
                realm->m_messageWindowBox->m_folded = true;
            }
            realm->m_messageBoxVisible = false;
            AdvanceStep(world);
        }
    } else if (step == "Merchant1") {
        if (realm->m_selectedUnit != nullptr && realm->m_selectedUnit->m_name == "New Merchant Unit") {
            AdvanceStep(world);
        }
    } else if (step == "Merchant2") {
        if (Clicked(*realm, kBoxActionBuyFromMerchant)) {
            AdvanceStep(world);
        }
    } else if (step == "AddStats1") {
        if (realm->m_selectedUnit != nullptr && realm->m_selectedUnit->m_name == "New Base Unit") {
            Blink(realm->LookupBox(kBoxActionUnitStatsPage));
            if (Clicked(*realm, kBoxActionUnitStatsPage)) {
                AdvanceStep(world);
            }
        }
    } else if (step == "AddStats2") {
        if (Clicked(*realm, kBoxActionRaiseStrength, true)) {
            if (s_plusClicks < 2) {
                ++s_plusClicks;
            } else {
                world.m_mailList.RemoveMail(0);
                LockStatPlusButton(world);
                Blink(realm->LookupBox(kBoxActionConfirmStatChange));
            }
        }
        if (Clicked(*realm, kBoxActionConfirmStatChange)) {
            AdvanceStep(world);
        }
    } else if (step == "TrainArmy") {
        if (Clicked(*realm, kBoxActionTrainUnitPage)) {
            AdvanceStep(world);
        }
    } else if (step == "TrainArmy2") {
        if (Clicked(*realm, kBoxActionIncreaseUnits, true)) {
            world.m_mailList.RemoveMail(0);
            if (BoxObject* increase = realm->LookupBox(kBoxActionIncreaseUnits)) {
                increase->Disable();
            }
            EnableAndBlink(realm->LookupBox(kBoxActionConfirmRecruitment));
        }
        if (Clicked(*realm, kBoxActionConfirmRecruitment)) {
            AdvanceStep(world);
        }
    } else if (step == "TrainArmy3") {
        if (Clicked(*realm, kBoxActionArmyMenu)) {
            m_highlightNames.push_back("New Purchased Unit");
            realm->EnableBoxChain(realm->LookupBox(kBoxActionArmyMenu));
            realm->m_clickedBox->BlinkFourthInChain();
            AdvanceStep(world);
        }
    } else if (step == "Skip") {
        realm->m_tutorial = false;
        EnableAllButtons(world);
        HideSkipBox(*realm);
        HideMarker(*realm);
    } else if (step == "End") {
        EnableAllButtons(world);
        realm->m_tutorial = false;
    } else if (noMail) {
        AdvanceStep(world);
    }
    m_clicksSeen = realm->m_boxClicks;
}

void TutorialController::CheckDestroyStep(GameData& world) {
    TileMap& map = world.m_tileMap;
    if (map.m_removedBuildings.empty()) {
        return;
    }
    const KRBuilding removed = map.m_removedBuildings.front();
    if (removed.m_buildingType == BUILDING_KEEP) {
        AdvanceStep(world);
        return;
    }
    world.m_mailList.AddMail(kDestroyRebuke, MAIL_ALERT);
    map.SetTileType(removed.m_row, removed.m_col, TILE_BUILDING);
    // Nothing stands there after the demolition, so nothing is displaced.
    map.PlaceBuilding(removed.m_row, removed.m_col, removed.m_buildingType);
    map.m_removedBuildings.clear();
    map.m_pavedTiles.clear();
}

void TutorialController::CheckPathStep(GameData& world, PlayerEditor& realm) {
    TileMap& map = world.m_tileMap;
    bool rebuked = false;
    // Every record is judged, so that tiles paved on one frame by a held button are not left over.
    while (!map.m_pavedTiles.empty() && !m_pathTargets.empty()) {
        const int32_t row = static_cast<int32_t>(map.m_pavedTiles.front().m_row);
        const int32_t col = static_cast<int32_t>(map.m_pavedTiles.front().m_col);
        map.m_pavedTiles.pop_front();
        if (std::make_pair(row, col) == m_pathTargets.front()) {
            m_pathTargets.pop_front();
            if (!m_pathTargets.empty()) {
                const auto& [nextRow, nextCol] = m_pathTargets.front();
                PointMarker(realm, nextRow, nextCol, 0.2f, "PLACE HERE");
            }
            continue;
        }
        if (!rebuked) {
            world.m_mailList.AddMail(kPathRebuke, MAIL_ALERT);
            rebuked = true;
        }
        map.SetTileType(static_cast<uint32_t>(row), static_cast<uint32_t>(col), TILE_EMPTY);
        // The tile is given back with the land it cost.
        realm.m_land += 1.0f;
    }
    if (m_pathTargets.empty()) {
        map.m_pavedTiles.clear();
        AdvanceStep(world);
        world.m_toolMode = TOOL_SELECT;
        HideMarker(realm);
    }
}

void SkipTutorial() {
    Engine& engine = Engine::Instance();
    GameData* world = engine.m_gameData.get();
    // Outside the tutorial this would wipe the player's own kingdom.
    if (world == nullptr || engine.m_playerEditor == nullptr || !engine.m_playerEditor->m_tutorial) {
        return;
    }
    TutorialController::Instance().Skip();
    world->m_clickedTile = nullptr;
    world->m_tileMap.Clear();
    world->m_tileMap.LoadMapData(AssetPaths::kDefaultMapData);
    world->m_tileMap.LoadBuildingData(AssetPaths::kDefaultBuildingData);
    world->FindCapitalTile();
}

void RunTutorialFrame(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr || engine.m_playerEditor == nullptr || !engine.m_playerEditor->m_tutorial) {
        return;
    }
    TutorialController& tutorial = TutorialController::Instance();
    tutorial.SetUpStep(*world);
    tutorial.CheckStepDone(*world);
}
