#include "kingdom/kingdomhud.h"

#include "engine/engine.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"
#include "scene/worldobject.h"

#include <iterator>
#include <memory>
#include <string>

namespace {

void SetLabel(BoxObject* box, const std::string& text) {
    box->m_label.SetText(text, {0.0f, 0.0f, 0.0f});
}

// The sprite's picture, kept as the box's own so that enabling restores it.
void ApplyOwnTexture(BoxObject* box, const std::string& file) {
    box->m_sprite.ApplyTextureConfig(file);
    box->m_ownTexture = file;
}

BoxObject* SingleBox(GameData& world, float x, float y, float z, float w, float h) {
    return CreateHudBox(world, x, y, z, w, h, 0, 1, 0.0f, 0.0f, 0.0f, true, true, true, true, true, 0, 0);
}

// The unit editor's boxes: drawn and picked on that screen only.
BoxObject* EditorBox(GameData& world, float x, float y, float z, float w, float h, int32_t panel,
                     int32_t subPanel) {
    return CreateHudBox(world, x, y, z, w, h, 0, 1, 0.0f, 0.0f, 0.0f, false, true, false, false, true, panel,
                        subPanel);
}

// A laid-out column of the stat editor, each box one height below the one before.
BoxObject* EditorColumn(GameData& world, float x, float z, float w, int32_t count, int32_t subPanel) {
    return CreateHudBox(world, x, 0.0f, z, w, 0.5f, 1, count, 0.0f, 0.0f, -1.0f, false, true, false, false,
                        true, 1, subPanel);
}

void SetColumnPickable(BoxObject* head, bool pickable) {
    head->m_pickable = pickable;
    for (BoxObject* box : head->m_members) {
        box->m_pickable = pickable;
    }
}

const char* const kResourceAnimations[RESOURCE_COUNT] = {
    "FireResource",  "EarthResource",   "LightResource", "NatureResource", "IceResource",
    "MetalResource", "PsychicResource", "Force",         "Money",          "Unit"};

// A resource picture of the default sheet. The sheet becomes the box's own texture, so that enabling
// the box brings the picture back rather than the fallback texture.
void ShowResourcePicture(BoxObject* box, int resource) {
    box->m_sprite.SetAnimation(kResourceAnimations[resource]);
    box->m_ownTexture = box->m_sprite.m_xmlName;
}

// A head and ten resource boxes showing the given values when there are any.
BoxObject* ResourceColumn(GameData& world, float x, const char* title, float* values) {
    BoxObject* head = EditorColumn(world, x, 4.0f, 1.25f, RESOURCE_COUNT + 1, 3);
    head->SetChainLabels({title});
    head->SetTexture("../Assets/Boxes/PlainBorder.xml");
    SetColumnPickable(head, false);
    for (size_t k = 0; k < head->m_members.size() && k < RESOURCE_COUNT; ++k) {
        BoxObject* box = head->m_members[k];
        ShowResourcePicture(box, static_cast<int>(k));
        if (values != nullptr) {
            box->m_numberSource = &values[k];
        }
    }
    return head;
}

} // namespace

void BuildKingdomHud(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    PlayerEditor* realm = engine.m_playerEditor;
    if (world == nullptr || realm == nullptr || world->m_hudToBuild != 1) {
        return;
    }
    world->m_hudToBuild = 0;
    const size_t built = world->m_hudBoxes.size();
    BuildWorldMarkers(engine, *realm);
    BuildHelperTextBox(engine, *realm);
    BuildTopBar(engine, *realm);
    BuildSelectionGlow(engine, *realm);
    BuildArmyAndBuildMenus(engine, *realm);
    BuildLogPanel(engine);
    BuildMessageFrame(engine, *realm);
    BuildMerchantTechButtons(engine, *realm);
    BuildUnitButtons(engine, *realm);
    BuildRecruitPanel(engine, *realm);
    BuildStatEditor(engine, *realm);
    BuildWarPanel(engine, *realm);
    BuildLogoPanels(engine, *realm);
    BuildMasteryPanel(engine, *realm);
    for (const auto& box : world->m_hudBoxes) {
        if (box != nullptr) {
            realm->m_boxByActionId.emplace(box->m_actionId, box.get());
        }
    }
    // Boxes of the save screen built before are not the HUD's.
    for (auto box = std::next(world->m_hudBoxes.begin(), static_cast<std::ptrdiff_t>(built));
         box != world->m_hudBoxes.end(); ++box) {
        (*box)->RememberRest();
    }
}

void ReturnKingdomHudToRest(GameData& world) {
    for (const auto& box : world.m_hudBoxes) {
        box->ReturnToRest();
    }
    if (PlayerEditor* realm = world.m_playerEditor.get()) {
        realm->m_hoveredBox = nullptr;
        realm->m_helpBox = nullptr;
        realm->m_clickedBox = nullptr;
        realm->m_lastClickedBox = nullptr;
    }
}

void BuildWorldMarkers(Engine&, PlayerEditor& realm) {
    auto arrow = std::make_unique<WorldObject>();
    arrow->m_sprite.ApplyTextureConfig("../Assets/worldarrow.xml");
    arrow->m_boundingBox.m_position = {0.0f, 1.0f, 1.0f};
    arrow->m_bobBase = {0.0f, 1.0f, 1.0f};
    arrow->SetLabel("ATTENTION");
    // Its label names the place it points at, so it stands in the map rather than on the HUD.
    arrow->m_showLabel = true;
    arrow->m_label.m_worldFlag = 1;
    arrow->m_standing = 1;
    arrow->m_frozen = 0;
    arrow->m_sprite.m_visible = false;
    realm.m_attentionMarker = arrow.get();
    realm.m_worldMarkers.push_back(std::move(arrow));

    auto glow = std::make_unique<WorldObject>();
    glow->m_sprite.ApplyTextureConfig("../Assets/worldselect.xml");
    glow->m_boundingBox.m_position = {0.0f, 0.45f, 1.0f};
    glow->SetLabel("");
    glow->m_label.m_worldFlag = 1;
    glow->m_standing = 1;
    glow->m_sprite.SetAnimation("UnitSelectGlow");
    glow->m_sprite.m_visible = false;
    glow->m_boundingBox.m_scale[1] = 4.5f;
    glow->m_sprite.m_fadeLevel = 3;
    realm.m_selectionMarker = glow.get();
    realm.m_worldMarkers.push_back(std::move(glow));
}

void BuildHelperTextBox(Engine& engine, PlayerEditor& realm) {
    BoxObject* box = SingleBox(*engine.m_gameData, 0.0f, 0.0f, 5.75f, 16.0f, 0.5f);
    SetLabel(box, "Helper Text");
    box->m_actionId = kBoxActionHelperText;
    box->SetChainTexture("../Assets/Boxes/dragonFrame.xml");
    box->m_showNumber = false;
    box->m_showLabel = true;
    box->m_pickable = false;
    realm.m_tooltipTextBox = box;
}

void BuildTopBar(Engine& engine, PlayerEditor& realm) {
    GameData& world = *engine.m_gameData;
    BoxObject* skip = SingleBox(world, -4.0f, 0.0f, -3.25f, 1.0f, 0.5f);
    SetLabel(skip, "Skip Tutorial");
    skip->m_actionId = kBoxActionSkipTutorial;
    skip->SetChainTexture("../Assets/Buttons/skiptut.xml");
    skip->m_showNumber = false;
    skip->m_showLabel = false;
    skip->m_pickable = true;
    realm.m_skipTutorialBox = skip;

    BoxObject* menu = CreateHudBox(world, -2.4f, 0.0f, -4.0f, 1.25f, 0.5f, 1, 6, 1.0f, 0.0f, 0.0f, true, true,
                                   true, true, false, 0, 0);
    menu->SetChainLabels({"Menu", "Options", "Help", "Mute", "Pause", "Save"});
    menu->SetChainActionIds({kBoxActionMenu, kBoxActionOptions, kBoxActionHelperText, kBoxActionMuteMusic,
                             kBoxActionPause, kBoxActionOpenSaveScreen});
    menu->SetChainTexture("../Assets/Buttons/ButtonDarkBlue.xml");
    realm.m_menuBox = menu;
    if (menu->m_members.size() >= 4) {
        realm.m_pauseBox = menu->m_members[3]; // the head is not a member
    }

    BoxObject* counters = CreateHudBox(world, -7.2f, 0.0f, 5.25f, 1.6f, 0.5f, 1, 10, 1.0f, 0.0f, 0.0f, true,
                                       true, true, true, true, 0, 0);
    counters->SetChainLabels({"Fire Resource", "Earth Resource", "Light Resource", "Nature Resource",
                              "Ice Resource", "Metal Resource", "Psychic Resource", "Darkness Resource",
                              "Money Resource", "Population Resource"});
    counters->SetChainActionIds({kBoxActionFireCounter, kBoxActionEarthCounter, kBoxActionLightCounter,
                                 kBoxActionNatureCounter, kBoxActionIceCounter, kBoxActionMetalCounter,
                                 kBoxActionPsychicCounter, kBoxActionDarknessCounter, kBoxActionMoneyCounter,
                                 kBoxActionPopulationCounter});
    BoxObject* counter = counters;
    for (int k = 0; k < RESOURCE_COUNT && counter != nullptr; ++k) {
        ShowResourcePicture(counter, k);
        counter->m_showLabel = false;
        counter->m_pickable = false;
        counter->m_numberSource = &realm.m_stock[k];
        realm.m_resourceCounterBoxes[k] = counter;
        counter = counter->m_next;
    }

    struct Tab {
        float z;
        const char* label;
        BoxActionId id;
        const char* texture;
        BoxObject** field;
    };
    const Tab tabs[] = {
        {-4.0f, "Kingdom", kBoxActionKingdomTab, "../Assets/KingdomButton.xml", &realm.m_kingdomTabBox},
        {-4.5f, "Unit", kBoxActionUnitTab, "../Assets/UnitButton.xml", &realm.m_unitTabBox},
        {-5.0f, "War", kBoxActionWarTab, "../Assets/WarButton.xml", &realm.m_warTabBox}};
    for (const Tab& tab : tabs) {
        BoxObject* box = SingleBox(world, 7.0f, 0.0f, tab.z, 1.25f, 0.5f);
        SetLabel(box, tab.label);
        box->m_actionId = tab.id;
        box->SetChainTexture(tab.texture);
        *tab.field = box;
    }
}

void BuildSelectionGlow(Engine& engine, PlayerEditor& realm) {
    BoxObject* box = SingleBox(*engine.m_gameData, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f);
    SetLabel(box, "Rotating Select");
    box->SetChainTexture("../Assets/Tiles/rotatingselect.xml");
    box->m_showNumber = false;
    box->m_showLabel = false;
    box->m_pickable = false;
    box->m_sprite.SetAnimation("Glow");
    realm.m_unitTooltipBox = box;
}

void BuildArmyAndBuildMenus(Engine& engine, PlayerEditor& realm) {
    GameData& world = *engine.m_gameData;
    BoxObject* army = CreateHudListBox(world, -7.0f, 0.0f, -4.5f, 1.25f, 0.5f, 1, 1.0f, 0.0f, 0.0f, true,
                                       true, true, true, 0, -4.5f, 0.0f, -5.0f, 1.0f, 1.0f);
    SetLabel(army, "Army");
    army->m_actionId = kBoxActionArmyMenu;
    ApplyOwnTexture(army, "../Assets/ArmyButton.xml");
    realm.m_armyRosterBox = army;

    BoxObject* build = CreateHudListBox(world, -7.0f, 0.0f, -5.0f, 1.25f, 0.5f, 11, 1.0f, 0.0f, 0.0f, true,
                                        true, true, true, 0, -4.5f, 0.0f, -5.0f, 1.0f, 1.0f);
    SetLabel(build, "Build");
    build->m_actionId = kBoxActionBuildMenu;
    ApplyOwnTexture(build, "../Assets/BuildButton.xml");
    realm.m_buildMenuBox = build;

    struct Item {
        const char* label;
        BoxActionId id;
        const char* texture;
    };
    static const Item kItems[] = {{"House", kBoxActionBuildHouse, "../Assets/Buttons/ButtonHouse.xml"},
                                  {"Farm", kBoxActionBuildFarm, "../Assets/Buttons/ButtonFarm.xml"},
                                  {"Tower", kBoxActionBuildTower, "../Assets/Buttons/ButtonBarrack.xml"},
                                  {"BioLab", kBoxActionBuildBioLab, "../Assets/Buttons/ButtonBiolab.xml"},
                                  {"Spire", kBoxActionBuildSpire, "../Assets/Buttons/ButtonSpire.xml"},
                                  {"Smith", kBoxActionBuildSmith, "../Assets/Buttons/ButtonSmith.xml"},
                                  {"Lab", kBoxActionBuildLab, "../Assets/Buttons/ButtonLab.xml"},
                                  {"Keep", kBoxActionBuildKeep, "../Assets/Buttons/ButtonKeep.xml"},
                                  {"Path", kBoxActionLayPath, "../Assets/Buttons/ButtonPlaceTile.xml"},
                                  {"Destroy", kBoxActionDemolish, "../Assets/Buttons/ButtonDestroy.xml"}};
    // Members: the "<<" arrow, the ten rows, the ">>" arrow.
    for (size_t i = 0; i < std::size(kItems) && i + 1 < build->m_members.size(); ++i) {
        BoxObject* row = build->m_members[i + 1];
        SetLabel(row, kItems[i].label);
        row->m_actionId = kItems[i].id;
        ApplyOwnTexture(row, kItems[i].texture);
        if (kItems[i].id == kBoxActionLayPath) {
            realm.m_landDisplayBox = row;
        }
    }
}

void BuildLogPanel(Engine& engine) {
    GameData& world = *engine.m_gameData;
    struct Entry {
        const char* label;
        float x, z, w, h;
        BoxActionId id;
        const char* texture;
        bool showLabel;
    };
    static const Entry kEntries[] = {
        {"Log", -4.0f, -4.0f, 1.0f, 0.5f, kBoxActionToggleLog, "../Assets/Buttons/ButtonDarkBlue.xml", true},
        {"Scroll Up", -3.25f, -3.875f, 0.5f, 0.25f, kBoxActionLogScrollUp, "../Assets/Buttons/scrollUp.xml",
         false},
        {"Scroll Down", -3.25f, -4.125f, 0.5f, 0.25f, kBoxActionLogScrollDown,
         "../Assets/Buttons/scrollDown.xml", false}};
    for (const Entry& entry : kEntries) {
        BoxObject* box = SingleBox(world, entry.x, 0.0f, entry.z, entry.w, entry.h);
        SetLabel(box, entry.label);
        box->m_actionId = entry.id;
        box->SetChainTexture(entry.texture);
        box->m_showLabel = entry.showLabel;
    }
}

void BuildMessageFrame(Engine& engine, PlayerEditor& realm) {
    GameData& world = *engine.m_gameData;
    struct Frame {
        const char* label;
        float x, y, z, w, h;
        const char* texture;
        BoxObject** field;
    };
    const Frame frames[] = {{"Border Left", -5.5f, -0.1f, -4.25f, 5.0f, 3.5f,
                             "../Assets/Boxes/dragonBorder.xml", &realm.m_borderLeftBox},
                            {"Border Right", 5.5f, -0.1f, -4.25f, 5.0f, 3.5f,
                             "../Assets/Boxes/dragonBorder2.xml", &realm.m_borderRightBox},
                            {"Border Mid", 0.0f, -0.15f, -5.0f, 11.0f, 2.0f,
                             "../Assets/Boxes/dragonFrame.xml", &realm.m_borderMidBox}};
    for (const Frame& frame : frames) {
        BoxObject* box = SingleBox(world, frame.x, frame.y, frame.z, frame.w, frame.h);
        box->SetChainLabels({frame.label});
        box->SetChainTexture(frame.texture);
        box->m_showLabel = false;
        box->m_pickable = false;
        *frame.field = box;
    }
    BoxObject* message = SingleBox(world, -5.0f, 5.0f, 0.75f, 6.0f, 8.5f);
    SetLabel(message, "Game Message Box");
    message->SetTexture("../Assets/Boxes/dragonFrame2.xml");
    message->m_actionId = kBoxActionGameMessageBox;
    message->m_sprite.m_fadeLevel = 2;
    message->m_showLabel = false;
    message->m_pickable = false;
    realm.m_messageWindowBox = message;
}

void BuildMerchantTechButtons(Engine& engine, PlayerEditor& realm) {
    GameData& world = *engine.m_gameData;
    struct Roster {
        float z;
        const char* label;
        BoxActionId id;
        BoxObject** field;
    };
    const Roster rosters[] = {{-1.5f, "Merchant", kBoxActionMerchantList, &realm.m_merchantRosterBox},
                              {-2.5f, "Tech", kBoxActionTechList, &realm.m_techRosterBox}};
    for (const Roster& roster : rosters) {
        BoxObject* head =
            CreateHudListBox(world, 0.5f, 0.0f, roster.z, 0.01f, 0.01f, 1, 1.0f, 0.0f, 0.0f, false, false,
                             false, false, 1, -1.5f, 0.0f, roster.z - 0.5f, 0.75f, 0.75f);
        SetLabel(head, roster.label);
        head->m_actionId = roster.id;
        ApplyOwnTexture(head, "../Assets/Buttons/ButtonDarkBlue.xml");
        head->m_showLabel = false;
        head->m_pickable = false;
        *roster.field = head;
    }
}

void BuildUnitButtons(Engine& engine, PlayerEditor& realm) {
    GameData& world = *engine.m_gameData;
    struct Button {
        float z;
        const char* label;
        BoxActionId id;
        BoxObject** field;
    };
    const Button buttons[] = {
        {3.25f, "Show Unit Stats", kBoxActionUnitStatsPage, &realm.m_unitStatsTabBox},
        {2.75f, "Show Unit Upkeep", kBoxActionUnitUpkeepPage, &realm.m_unitUpkeepTabBox},
        {2.25f, "Train Unit", kBoxActionTrainUnitPage, &realm.m_trainUnitTabBox},
        {1.75f, "Buy From Merchant", kBoxActionBuyFromMerchant, &realm.m_buyFromMerchantBox},
        {1.25f, "Disband Unit", kBoxActionDisbandUnit, nullptr}};
    for (const Button& button : buttons) {
        BoxObject* box = EditorBox(world, 0.2f, 0.0f, button.z, 2.75f, 0.5f, 1, 0);
        ApplyOwnTexture(box, "../Assets/Buttons/ButtonDarkBlue.xml");
        SetLabel(box, button.label);
        box->m_actionId = button.id;
        if (button.field != nullptr) {
            *button.field = box;
        }
    }
}

void BuildRecruitPanel(Engine& engine, PlayerEditor& realm) {
    GameData& world = *engine.m_gameData;
    struct Button {
        const char* label;
        float x, z, w, h;
        BoxActionId id;
    };
    static const Button kButtons[] = {
        {"Unit to buy Counter", 3.5f, 2.5f, 1.0f, 1.0f, kBoxActionUnitsToBuyCounter},
        {"Increase Units", 5.25f, 2.75f, 2.5f, 0.5f, kBoxActionIncreaseUnits},
        {"Decrease Units", 5.25f, 2.25f, 2.5f, 0.5f, kBoxActionDecreaseUnits},
        {"Confirm Recruitment", 4.75f, 1.75f, 3.5f, 0.5f, kBoxActionConfirmRecruitment}};
    for (const Button& button : kButtons) {
        BoxObject* box = EditorBox(world, button.x, 0.0f, button.z, button.w, button.h, 1, 4);
        SetLabel(box, button.label);
        box->m_actionId = button.id;
        box->SetChainTexture("../Assets/Buttons/ButtonDarkBlue.xml");
        if (button.id == kBoxActionUnitsToBuyCounter) {
            box->m_numberSource = &realm.m_purchaseGroupSize;
            box->m_pickable = false;
        }
    }
}

void BuildStatEditor(Engine& engine, PlayerEditor& realm) {
    GameData& world = *engine.m_gameData;
    const std::string plain = "../Assets/Boxes/PlainBorder.xml";

    BoxObject* names = EditorColumn(world, 2.75f, 4.0f, 1.5f, 9, 2);
    names->SetChainLabels({"Strength", "Agility", "Vitality", "Defense", "Energy", "Move Speed", "Range",
                           "Accuracy", "Evasion"});
    names->SetChainTexture(plain);
    SetColumnPickable(names, false);
    realm.m_statNameColumnBox = names;

    BoxObject* now = EditorColumn(world, 4.0f, 4.5f, 1.0f, 10, 2);
    now->SetChainLabels({"N O W", "Str", "Agi", "Vit", "Def", "Ene", "Mve", "Rge", "Acc", "Eva"});
    now->SetChainTexture(plain);
    SetColumnPickable(now, false);
    realm.m_statNowColumnBox = now;

    BoxObject* edited = EditorColumn(world, 5.0f, 4.5f, 1.0f, 10, 2);
    edited->SetChainLabels({"N E W", "Str", "Agi", "Vit", "Def", "Ene", "Mve", "Rge", "Acc", "Eva"});
    edited->SetChainTexture(plain);
    SetColumnPickable(edited, false);
    realm.m_statNewColumnBox = edited;

    BoxObject* plus = EditorColumn(world, 5.77f, 4.0f, 0.5f, 9, 2);
    plus->SetChainLabels({"+", "+", "+", "+", "+", "+", "+", "+", "+"});
    plus->SetChainActionIds({kBoxActionRaiseStrength, kBoxActionRaiseAttackSpeed, kBoxActionRaiseVitality,
                             kBoxActionRaiseDefense, kBoxActionRaiseEnergy, kBoxActionRaiseMoveSpeed,
                             kBoxActionRaiseRange, kBoxActionRaiseAccuracy, kBoxActionRaiseEvasion});
    plus->SetChainTexture(plain);
    plus->m_layoutType = 0;
    realm.m_statPlusColumnBox = plus;

    BoxObject* minus = EditorColumn(world, 6.3f, 4.0f, 0.5f, 9, 2);
    minus->SetChainLabels({"-", "-", "-", "-", "-", "-", "-", "-", "-"});
    minus->SetChainActionIds({kBoxActionLowerStrength, kBoxActionLowerAttackSpeed, kBoxActionLowerVitality,
                              kBoxActionLowerDefense, kBoxActionLowerEnergy, kBoxActionLowerMoveSpeed,
                              kBoxActionLowerRange, kBoxActionLowerAccuracy, kBoxActionLowerEvasion});
    minus->SetChainTexture(plain);
    minus->m_layoutType = 0;
    realm.m_statMinusColumnBox = minus;

    // The unit's own upkeep is bound to the edited unit by the info panel; the realm's totals are fixed.
    realm.m_upkeepColumnBox = ResourceColumn(world, 2.75f, "Upkeep", nullptr);
    ResourceColumn(world, 4.0f, "Income", realm.m_income);
    ResourceColumn(world, 5.25f, "Tax", realm.m_upkeep);

    BoxObject* confirm = EditorBox(world, 3.5f, 0.0f, -0.5f, 3.0f, 0.5f, 1, 2);
    SetLabel(confirm, "Confirm Stat Change");
    confirm->m_actionId = kBoxActionConfirmStatChange;
    confirm->SetChainTexture("../Assets/Buttons/ButtonDarkBlue.xml");

    BoxObject* reset = EditorBox(world, 3.5f, 0.0f, -1.0f, 3.0f, 0.5f, 1, 2);
    SetLabel(reset, "Reset Stat Change");
    reset->m_actionId = kBoxActionResetStatChange;
    reset->SetTexture("../Assets/Buttons/ButtonDarkBlue.xml");

    BoxObject* name = EditorBox(world, -3.0f, 0.0f, 4.5f, 3.0f, 0.5f, 1, 0);
    SetLabel(name, "Unit Name");
    name->SetTexture("../Assets/Buttons/ButtonDarkBlue.xml");
    name->m_pickable = false;
    name->m_showLabel = true;
    realm.m_unitNameBox = name;
}

void BuildWarPanel(Engine& engine, PlayerEditor& realm) {
    GameData& world = *engine.m_gameData;
    const std::string texture = "../Assets/Buttons/ButtonDarkBlue.xml";
    struct Tab {
        float z;
        const char* label;
        BoxActionId id;
        BoxObject** field;
    };
    const Tab tabs[] = {{4.5f, "Unit Edit", kBoxActionUnitEditPage, &realm.m_unitEditTabBox},
                        {4.0f, "Show War Data", kBoxActionWarDataPage, &realm.m_warDataTabBox},
                        {3.5f, "Show Masteries", kBoxActionMasteryPage, nullptr}};
    for (const Tab& tab : tabs) {
        BoxObject* box = EditorBox(world, -6.63f, 0.0f, tab.z, 2.7f, 0.5f, 0, 0);
        box->SetChainLabels({tab.label});
        box->m_actionId = tab.id;
        box->SetChainTexture(texture);
        box->m_pickable = true;
        box->m_showLabel = true;
        if (tab.field != nullptr) {
            *tab.field = box;
        }
    }
    BoxObject* races = CreateHudBox(world, -6.63f, 0.0f, 3.0f, 2.7f, 0.5f, 1, 9, 0.0f, 0.0f, -1.0f, false,
                                    true, false, false, true, 0, 0);
    races->SetChainLabels({"Race Information", "--Angels", "--Demons", "--Dragonkin", "--Elementals",
                           "--Taipens", "--Leviathians", "--Golems", "--Elves"});
    races->SetChainActionIds({kBoxActionRaceInformation, kBoxActionAngelsPage, kBoxActionDemonsPage,
                              kBoxActionDragonkinPage, kBoxActionElementalsPage, kBoxActionTaipensPage,
                              kBoxActionLeviathiansPage, kBoxActionGolemsPage, kBoxActionElvesPage});
    races->SetChainTexture(texture);
    races->m_pickable = false;
}

void BuildLogoPanels(Engine& engine, PlayerEditor& realm) {
    GameData& world = *engine.m_gameData;
    BoxObject* logo = EditorBox(world, 1.5f, 0.0f, 2.5f, 4.0f, 4.0f, 3, 0);
    logo->SetTexture("../Assets/Boxes/LogoElf.xml");
    logo->m_showLabel = false;
    logo->m_pickable = false;
    realm.m_raceLogoBox = logo;

    BoxObject* frame = EditorBox(world, -3.0f, 0.0f, 1.75f, 4.0f, 5.0f, 1, 0);
    frame->SetTexture("../Assets/Boxes/PlainBorder.xml");
    frame->m_showLabel = false;
    frame->m_pickable = false;
}

void BuildMasteryPanel(Engine& engine, PlayerEditor& realm) {
    GameData& world = *engine.m_gameData;
    struct Entry {
        const char* label;
        float x, y, z, w, h;
        BoxActionId id;
        const char* texture;
        int mastery; // -1: none
    };
    static const Entry kEntries[] = {
        {"BioMastery", -1.0f, 1.0f, 2.5f, 1.0f, 1.0f, kBoxActionChooseBioMastery,
         "../Assets/Boxes/BioMastery.xml", MASTERY_BIO},
        {"MagicMastery", -2.5f, 1.0f, 2.5f, 1.0f, 1.0f, kBoxActionChooseMagicMastery,
         "../Assets/Boxes/MagicMastery.xml", MASTERY_MAGIC},
        {"Commander", 0.5f, 1.0f, 2.5f, 1.0f, 1.0f, kBoxActionChooseCommander,
         "../Assets/Boxes/MasteryCommander.xml", MASTERY_COMMANDER},
        {"Berserker", -1.0f, 1.0f, -0.5f, 1.0f, 1.0f, kBoxActionChooseBerserker,
         "../Assets/Boxes/Berserker.xml", MASTERY_BERSERKER},
        {"Fatality", 0.5f, 1.0f, -0.5f, 1.0f, 1.0f, kBoxActionChooseFatality, "../Assets/Boxes/Fatality.xml",
         MASTERY_FATALITY},
        {"SharpenedAttacks", 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, kBoxActionChooseSharpenedAttacks,
         "../Assets/Boxes/Sharpened.xml", MASTERY_SHARPENED_ATTACKS},
        {"HardenedSkin", -3.0f, 1.0f, 1.0f, 1.0f, 1.0f, kBoxActionChooseHardenedSkin,
         "../Assets/Boxes/HardenedSkin.xml", MASTERY_HARDENED_SKIN},
        {"background", -1.25f, -1.0f, 0.5f, 6.0f, 8.0f, kBoxActionNone,
         "../Assets/Boxes/MasterySkillTree.xml", -1},
        {"Increase Mastery Level", 4.0f, 1.0f, -2.5f, 3.5f, 0.5f, kBoxActionIncreaseMastery,
         "../Assets/Buttons/ButtonDarkBlue.xml", -1}};
    for (const Entry& entry : kEntries) {
        BoxObject* box = EditorBox(world, entry.x, entry.y, entry.z, entry.w, entry.h, 4, 0);
        box->SetChainLabels({entry.label});
        box->m_actionId = entry.id;
        box->SetTexture(entry.texture);
        if (entry.mastery >= 0) {
            box->m_numberSource = &realm.m_masteryLevel[entry.mastery];
            box->m_showLabel = false;
        } else if (entry.id == kBoxActionNone) {
            box->m_showLabel = false;
            box->m_pickable = false;
        } else {
            realm.m_increaseMasteryBox = box;
        }
    }
}
