#include "realm/playereditor.h"

#include "engine/engine.h"
#include "kingdom/gamedata.h"
#include "scene/boxobject.h"
#include "scene/krgameobject.h"
#include "scene/worldobject.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <unordered_set>

namespace {

const char* const kCommanderTitles[10] = {"General ", "King ",    "Queen ", "Warlord ", "Baron ",
                                          "Duchess ", "Marshal ", "Lord ",  "Lady ",    "Chieftain "};

const char* const kCommanderNames[35] = {
    "Vashkar",  "Orlenne",  "Grismund", "Talvora",  "Quellan",  "Mirethis",  "Brannoc",
    "Sevrine",  "Hollgrim", "Ysolde",   "Karvesh",  "Ulmerick", "Dravina",   "Fenwold",
    "Ostrith",  "Calvaine", "Jorundel", "Nessaly",  "Thraxen",  "Ilvarre",   "Bormagne",
    "Zephrine", "Audrecht", "Wynmoor",  "Rhovane",  "Celdrith", "Mordessa",  "Pellinor",
    "Saxtovar", "Elowen",   "Gharrick", "Lysandre", "Veldmark", "Orrisande", "Tobrenn"};

constexpr float kDismissMoveSpeed = 2.0f;

} // namespace

PlayerEditor::PlayerEditor(Engine* engine, GameData* gameData, RandomDraw draw)
    : m_gameData(gameData), m_engine(engine), m_text(".", 0.27f, kFontsFile), m_draw(std::move(draw)) {
    if (!m_draw) {
        m_draw = [] { return std::rand(); };
    }
    StartMasteries();
    CreateEnemyCommanders();
}

PlayerEditor::~PlayerEditor() {
    m_selectedUnit = nullptr;
    m_editedUnit = nullptr;
    if (m_gameData != nullptr) {
        for (const auto& unit : m_purchasedUnits) {
            m_gameData->m_playerUnits.remove(unit.get());
        }
    }
    m_baseUnits.clear();
    m_merchantUnits.clear();
    m_purchasedUnits.clear();
    m_invasions.clear();
    m_attentionMarker = nullptr;
    m_selectionMarker = nullptr;
    m_worldMarkers.clear();
}

void PlayerEditor::Step(const char* name) {
    if (m_onStep) {
        m_onStep(name);
    }
}

// A draw is never negative, whatever the source gives.
int PlayerEditor::Draw() {
    int value = m_draw();
    return value < 0 ? -(value + 1) : value;
}

void PlayerEditor::Update(float dt) {
    Step("AdvanceClock");
    m_clock += static_cast<double>(dt);
    Step("UpdateEconomy");
    UpdateEconomy(dt);
    Step("ShowLand");
    if (m_landDisplayBox != nullptr) {
        m_landDisplayBox->m_numberSource = &m_land;
    }
    Step("UpdateMerchant");
    UpdateMerchant(dt);
    Step("RemoveExpiredMerchantUnits");
    RemoveExpiredMerchantUnits();
    Step("UpdateInvasions");
    UpdateInvasions(dt);
    Step("ForgetChosenMastery");
    if (m_panelMode != kPanelModeMasteries) {
        m_chosenMastery = 0;
    }
    Step("DismissRequestedBox");
    if (m_dismissRequest != nullptr) {
        DismissBox(m_dismissRequest);
        m_dismissRequest = nullptr;
    }
    Step("UpdateUnitInfoPanel");
    UpdateUnitInfoPanel();
    if (m_helpBox != nullptr) {
        Step("UpdateTooltipText");
        UpdateTooltipText();
    } else {
        Step("ClearHelpText");
        if (m_tooltipTextBox != nullptr) {
            m_tooltipTextBox->m_label.SetText("", {0.0f, 0.0f, 0.0f});
        }
    }
    // A paused frame leaves the tool-tip window as it was.
    if (dt > 0.0f) {
        Step("SyncHoverTooltip");
        SyncHoverTooltip();
    }
}

void PlayerEditor::DrawHudTexts() {
    Step("DrawGameMessages");
    DrawGameMessages();
    if (m_gameData == nullptr) {
        return;
    }
    const GameMode mode = m_gameData->m_gameMode;
    if (mode == GAME_MODE_UNIT_EDITOR) {
        if (m_panelMode == kPanelModeInvaders) {
            Step("DrawInvaderListPage");
            DrawInvaderListPage();
        } else if (m_panelMode >= 5 && m_panelMode <= 12) {
            Step("DrawRaceLorePage");
            DrawRaceLorePage();
        } else if (m_panelMode == kPanelModeMasteries) {
            Step("DrawMasteryPage");
            DrawMasteryPage();
        }
    }
    if (mode == GAME_MODE_KINGDOM) {
        Step("DrawNextEnemyCountdown");
        DrawNextEnemyCountdown();
    }
    if (mode == GAME_MODE_UNIT_EDITOR && m_panelMode == kPanelModeMerchant) {
        Step("DrawMerchantPage");
        DrawMerchantPage();
    }
}

void PlayerEditor::ClearBaseUnits() {
    while (!m_baseUnits.empty()) {
        RemoveBaseUnit(m_baseUnits.front().get());
    }
}

void PlayerEditor::ClearMerchantUnits() {
    while (!m_merchantUnits.empty()) {
        RemoveMerchantUnit(m_merchantUnits.front().get());
    }
}

void PlayerEditor::ClearPurchasedUnits() {
    while (!m_purchasedUnits.empty()) {
        RemovePurchasedUnit(m_purchasedUnits.front().get());
    }
}

BoxObject* PlayerEditor::LookupBox(int32_t actionId) const {
    auto found = m_boxByActionId.find(actionId);
    return found != m_boxByActionId.end() ? found->second : nullptr;
}

void PlayerEditor::CopyBoxPlacement(const BoxObject* source, BoxObject* target) {
    if (source == nullptr || target == nullptr) {
        return;
    }
    target->m_boundingBox.m_scale[0] = source->m_boundingBox.m_scale[0];
    target->m_boundingBox.m_scale[1] = source->m_boundingBox.m_scale[1];
    target->m_layoutPosition = source->m_layoutPosition;
    target->m_sprite.m_visible = true;
    target->m_folded = false;
}

void PlayerEditor::EnableBoxChain(BoxObject* first) {
    // A chain that loops back on itself is walked once.
    std::unordered_set<const BoxObject*> seen;
    for (BoxObject* box = first; box != nullptr && seen.insert(box).second; box = box->m_next) {
        box->Enable();
    }
}

void PlayerEditor::DismissBox(BoxObject* box) {
    if (box == nullptr || m_gameData == nullptr) {
        return;
    }
    auto& boxes = m_gameData->m_hudBoxes;
    const bool listed =
        std::any_of(boxes.begin(), boxes.end(),
                    [box](const std::unique_ptr<BoxObject>& held) { return held.get() == box; });
    if (!listed) {
        return;
    }
    // Everything read from the box is read before it goes.
    BoxObject* successor = box->m_next;
    BoxObject* afterSuccessor = successor != nullptr && successor != box ? successor->m_next : nullptr;
    const plat::Vector3 formerPosition = box->m_layoutPosition;
    if (BoxObject* group = box->m_group; group != nullptr) {
        auto& members = group->m_members;
        auto member = std::find(members.begin(), members.end(), box);
        if (member != members.end()) {
            *member = members.back();
            members.pop_back();
        }
    }
    ForgetBox(box);
    DeleteHudBox(*m_gameData, box);
    if (successor == nullptr || successor == box) {
        return;
    }
    successor->QueueCommand(BoxCommandKind::MoveTo, kDismissMoveSpeed, formerPosition);
    if (afterSuccessor != nullptr && afterSuccessor != box) {
        afterSuccessor->QueueCommand(BoxCommandKind::ReturnToAnchor, kDismissMoveSpeed);
    }
}

void PlayerEditor::ForgetBox(const BoxObject* box) {
    if (box == nullptr) {
        return;
    }
    for (BoxObject*& display : m_saveScreenBoxes) {
        if (display == box) {
            display = nullptr;
        }
    }
    BoxObject** const kept[] = {&m_hoveredBox,
                                &m_helpBox,
                                &m_dismissRequest,
                                &m_lastClickedBox,
                                &m_clickedBox,
                                &m_menuBox,
                                &m_kingdomTabBox,
                                &m_unitTabBox,
                                &m_warTabBox,
                                &m_techRosterBox,
                                &m_skipTutorialBox,
                                &m_merchantRosterBox,
                                &m_armyRosterBox,
                                &m_buildMenuBox,
                                &m_landDisplayBox,
                                &m_upkeepColumnBox,
                                &m_unitNameBox,
                                &m_buyFromMerchantBox,
                                &m_increaseMasteryBox,
                                &m_tooltipTextBox,
                                &m_unitTooltipBox,
                                &m_pauseBox,
                                &m_borderLeftBox,
                                &m_borderMidBox,
                                &m_borderRightBox,
                                &m_messageWindowBox,
                                &m_statNameColumnBox,
                                &m_statNowColumnBox,
                                &m_statNewColumnBox,
                                &m_statPlusColumnBox,
                                &m_statMinusColumnBox,
                                &m_unitEditTabBox,
                                &m_warDataTabBox,
                                &m_unitStatsTabBox,
                                &m_unitUpkeepTabBox,
                                &m_trainUnitTabBox,
                                &m_raceLogoBox};
    for (BoxObject** pointer : kept) {
        if (*pointer == box) {
            *pointer = nullptr;
        }
    }
    for (BoxObject*& counter : m_resourceCounterBoxes) {
        if (counter == box) {
            counter = nullptr;
        }
    }
    std::erase_if(m_boxByActionId, [box](const auto& entry) { return entry.second == box; });
}

std::string PlayerEditor::IntToString(int32_t value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string PlayerEditor::FloatToString(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

void PlayerEditor::DrawTextLine(const std::string& text, float x, float y, float z) {
    if (m_onTextLine) {
        m_onTextLine(text, x, y, z);
    }
    m_text.SetText(text, {x, y, z});
    if (m_engine != nullptr) {
        m_text.DrawText(*m_engine);
    }
}

void PlayerEditor::CreateEnemyCommanders() {
    m_invasionBudget = kNewGameInvasionBudget;
    m_commanders.clear();
    m_commanders.reserve(kEnemyCommanderCount);
    for (int i = 0; i < kEnemyCommanderCount; ++i) {
        EnemyCommander commander;
        commander.m_race = Draw() % 8 + 1;
        commander.m_name = MakeEnemyCommanderName();
        m_commanders.push_back(std::move(commander));
    }
}

std::string PlayerEditor::MakeEnemyCommanderName() {
    const int title = Draw() % static_cast<int>(std::size(kCommanderTitles));
    const int name = Draw() % static_cast<int>(std::size(kCommanderNames));
    return std::string(kCommanderTitles[title]) + kCommanderNames[name];
}

void PlayerEditor::SyncHoverTooltip() {
    BoxObject* window = m_unitTooltipBox;
    auto close = [this, window] {
        if (window != nullptr) {
            window->m_sprite.m_visible = false;
        }
        m_tooltipKind = 0;
        m_tooltipActionId = kBoxActionNone;
    };
    if (m_hoveredBox == nullptr || window == nullptr) {
        close();
        return;
    }
    if (m_tooltipKind == ROSTER_TECH_OR_OFFER) {
        window->m_sprite.m_visible = m_panelMode == kPanelModeMerchant;
    } else if (m_tooltipKind == ROSTER_PURCHASED && m_tooltipActionId == kBoxActionRosterUnit) {
        // A list head's select byte set means the list is closed.
        window->m_sprite.m_visible = m_armyRosterBox == nullptr || m_armyRosterBox->m_selectByte;
    }
    const BoxActionId id = m_hoveredBox->m_actionId;
    // Roster boxes carry the ids 103 to 105.
    if (id < kBoxActionMerchantOffer || id > kBoxActionRosterEntry) {
        if (m_selectedUnit == nullptr) {
            close();
        }
        return;
    }
    m_tooltipKind = m_hoveredBox->m_panel;
    m_tooltipActionId = id;
    CopyBoxPlacement(m_hoveredBox, window);
    if (m_selectedUnit == nullptr) {
        close();
    }
}
