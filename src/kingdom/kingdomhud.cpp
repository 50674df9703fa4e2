#include "kingdom/kingdomhud.h"

#include "engine/engine.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"
#include "scene/worldobject.h"

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

} // namespace

void BuildKingdomHud(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    PlayerEditor* realm = engine.m_playerEditor;
    if (world == nullptr || realm == nullptr || world->m_hudToBuild != 1) {
        return;
    }
    world->m_hudToBuild = 0;
    BuildWorldMarkers(engine, *realm);
    BuildHelperTextBox(engine, *realm);
    BuildTopBar(engine, *realm);
    BuildSelectionGlow(engine, *realm);
    BuildArmyAndBuildMenus(engine, *realm);
    BuildLogPanel(engine);
    BuildMessageFrame(engine, *realm);
    // Builders 8 to 14 (merchant and tech buttons, unit buttons, recruit panel, stat editor, war panel,
    // logo panels, mastery panel) make the unit editor's panels and join here, in that order, with it.
    for (const auto& box : world->m_hudBoxes) {
        if (box != nullptr) {
            realm->m_boxByActionId.emplace(box->m_actionId, box.get());
        }
    }
}

void BuildWorldMarkers(Engine&, PlayerEditor& realm) {
    auto arrow = std::make_unique<WorldObject>();
    arrow->m_sprite.ApplyTextureConfig("../Assets/worldarrow.xml");
    arrow->m_boundingBox.m_position = {0.0f, 1.0f, 1.0f};
    arrow->m_bobBase = {0.0f, 1.0f, 1.0f};
    arrow->SetLabel("ATTENTION");
    arrow->m_standing = 1;
    arrow->m_frozen = 0;
    arrow->m_sprite.m_visible = false;
    realm.m_attentionMarker = arrow.get();
    realm.m_worldMarkers.push_back(std::move(arrow));

    auto glow = std::make_unique<WorldObject>();
    glow->m_sprite.ApplyTextureConfig("../Assets/worldselect.xml");
    glow->m_boundingBox.m_position = {0.0f, 0.45f, 1.0f};
    glow->SetLabel("");
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
    box->m_actionId = 76;
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
    skip->m_actionId = 81;
    skip->SetChainTexture("../Assets/Buttons/skiptut.xml");
    skip->m_showNumber = false;
    skip->m_showLabel = false;
    skip->m_pickable = true;
    realm.m_skipTutorialBox = skip;

    BoxObject* menu = CreateHudBox(world, -2.4f, 0.0f, -4.0f, 1.25f, 0.5f, 1, 6, 1.0f, 0.0f, 0.0f, true, true,
                                   true, true, false, 0, 0);
    menu->SetChainLabels({"Menu", "Options", "Help", "Mute", "Pause", "Save"});
    menu->SetChainActionIds({71, 12, 76, 101, 102, 80});
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
    counters->SetChainActionIds({82, 83, 84, 85, 86, 87, 88, 89, 91, 90});
    static const char* const kAnimations[RESOURCE_COUNT] = {
        "FireResource",  "EarthResource",   "LightResource", "NatureResource", "IceResource",
        "MetalResource", "PsychicResource", "Force",         "Money",          "Unit"};
    BoxObject* counter = counters;
    for (int k = 0; k < RESOURCE_COUNT && counter != nullptr; ++k) {
        counter->m_sprite.SetAnimation(kAnimations[k]);
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
    const Tab tabs[] = {{-4.0f, "Kingdom", 1, "../Assets/KingdomButton.xml", &realm.m_kingdomTabBox},
                        {-4.5f, "Unit", 3, "../Assets/UnitButton.xml", &realm.m_unitTabBox},
                        {-5.0f, "War", 2, "../Assets/WarButton.xml", &realm.m_warTabBox}};
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
    army->m_actionId = 98;
    ApplyOwnTexture(army, "../Assets/ArmyButton.xml");
    realm.m_armyRosterBox = army;

    BoxObject* build = CreateHudListBox(world, -7.0f, 0.0f, -5.0f, 1.25f, 0.5f, 11, 1.0f, 0.0f, 0.0f, true,
                                        true, true, true, 0, -4.5f, 0.0f, -5.0f, 1.0f, 1.0f);
    SetLabel(build, "Build");
    build->m_actionId = 99;
    ApplyOwnTexture(build, "../Assets/BuildButton.xml");
    realm.m_buildMenuBox = build;

    struct Item {
        const char* label;
        BoxActionId id;
        const char* texture;
    };
    static const Item kItems[] = {{"House", 5, "../Assets/Buttons/ButtonHouse.xml"},
                                  {"Farm", 4, "../Assets/Buttons/ButtonFarm.xml"},
                                  {"Tower", 6, "../Assets/Buttons/ButtonBarrack.xml"},
                                  {"BioLab", 7, "../Assets/Buttons/ButtonBiolab.xml"},
                                  {"Spire", 9, "../Assets/Buttons/ButtonSpire.xml"},
                                  {"Smith", 8, "../Assets/Buttons/ButtonSmith.xml"},
                                  {"Lab", 10, "../Assets/Buttons/ButtonLab.xml"},
                                  {"Keep", 11, "../Assets/Buttons/ButtonKeep.xml"},
                                  {"Path", 18, "../Assets/Buttons/ButtonPlaceTile.xml"},
                                  {"Destroy", 19, "../Assets/Buttons/ButtonDestroy.xml"}};
    // Members: the "<<" arrow, the ten rows, the ">>" arrow.
    for (size_t i = 0; i < std::size(kItems) && i + 1 < build->m_members.size(); ++i) {
        BoxObject* row = build->m_members[i + 1];
        SetLabel(row, kItems[i].label);
        row->m_actionId = kItems[i].id;
        ApplyOwnTexture(row, kItems[i].texture);
        if (kItems[i].id == 18) {
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
        {"Log", -4.0f, -4.0f, 1.0f, 0.5f, 44, "../Assets/Buttons/ButtonDarkBlue.xml", true},
        {"Scroll Up", -3.25f, -3.875f, 0.5f, 0.25f, 45, "../Assets/Buttons/scrollUp.xml", false},
        {"Scroll Down", -3.25f, -4.125f, 0.5f, 0.25f, 46, "../Assets/Buttons/scrollDown.xml", false}};
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
    message->m_actionId = 43;
    message->m_sprite.m_fadeLevel = 2;
    message->m_showLabel = false;
    message->m_pickable = false;
    realm.m_messageWindowBox = message;
}
