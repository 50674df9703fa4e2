#include "kingdom/kingdomeditorstate.h"

#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "flow/tutorialcontroller.h"
#include "battle/gridpath.h"
#include "battle/krunit.h"
#include "kingdom/gamedata.h"
#include "kingdom/kingdomhud.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"
#include "scene/worldobject.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_set>

namespace {

constexpr float kBuildingCost = 100.0f;
constexpr float kTilePlaceCost = 1.0f;

const char* const kNoMoneyMessage = "You Don't Have Enough Money";
const char* const kNoMoneyMail = "My Lord, our coffers are empty!";

std::string CapitalMail() {
    const std::string tabs(18, '\t');
    return "My Lord, are you crazy?!\n " + tabs + "Please don't destroy our capital\n" + tabs +
           "You are suppose to defend it";
}

const char* const kWayInMail = "My Lord, keep a road open from the gates to our capital!";

// With no way from a Gate to the Capital the invaders could never come, and their battle never end: such
// a change is refused, and costs nothing.
bool RefuseClosingTheWayIn(GameData& world, uint32_t press, uint32_t row, uint32_t col, TileType type) {
    if (ChangeKeepsWayIn(world.m_tileMap, row, col, type)) {
        return false;
    }
    // A held button paints every frame: each cell is logged once a press.
    if (press != world.m_wayInPress) {
        world.m_wayInPress = press;
        world.m_wayInCells.clear();
    }
    if (world.m_wayInCells.insert({row, col}).second) {
        LogLine("Kept the way in open at " + KRTile::MakeName(row, col, type));
    }
    // Once, not on every frame of a held button.
    if (!world.m_mailList.HasPendingMail()) {
        world.m_mailList.AddMail(kWayInMail, MAIL_ALERT);
    }
    return true;
}

bool TopViewActive(const GameData& world) {
    return world.m_activeCamera == &world.m_kingdomCamera;
}

// The main 4:3 picture between the side bars, where the world is drawn.
plat::Viewport MainViewport(const Engine& engine) {
    plat::Viewport viewport;
    const DisplaySys& display = engine.m_display;
    viewport.x = display.margin;
    viewport.y = 0;
    viewport.width = display.width > 2 * display.margin ? display.width - 2 * display.margin : display.width;
    viewport.height = display.height;
    return viewport;
}

// A unit's drawn place follows its grid place (the row runs down the negative z axis).
void UpdateUnitSoundPosition(KRUnit& unit) {
    unit.m_boundingBox.m_position = {unit.m_pos.x, 0.0f, -unit.m_pos.z};
}

// The tool's neutral mode: a unit on the tile is selected (and its roster box glows when the Army list
// is open); otherwise the selected purchased unit marches onto a path or crack tile.
void SelectOrMoveUnit(GameData& world, PlayerEditor& realm) {
    KRTile* tile = world.m_clickedTile;
    if (tile == nullptr) {
        return;
    }
    if (KRUnit* unit = world.FindUnitOnTile(tile)) {
        realm.m_selectedUnit = unit;
        PlaceSelectionGlow(realm, *tile);
        BoxObject* head = realm.m_armyRosterBox;
        BoxObject* linked = nullptr;
        std::unordered_set<const BoxObject*> seen;
        for (BoxObject* box = head; box != nullptr && seen.insert(box).second; box = box->m_next) {
            if (box->m_linkedUnit == unit) {
                linked = box;
                break;
            }
        }
        const BoxObject* first = head != nullptr ? head->m_next : nullptr;
        if (linked != nullptr && first != nullptr && !first->m_folded && realm.m_unitTooltipBox != nullptr) {
            realm.m_unitTooltipBox->m_sprite.SetAnimation("Glow");
            realm.CopyBoxPlacement(linked, realm.m_unitTooltipBox);
            realm.m_tooltipActionId = linked->m_actionId;
            realm.m_tooltipKind = linked->m_panel;
        }
        return;
    }
    KRUnit* unit = realm.m_selectedUnit;
    if (unit == nullptr || (tile->m_type != TILE_PATH && tile->m_type != TILE_CRACK)) {
        return;
    }
    const bool purchased = std::any_of(realm.m_purchasedUnits.begin(), realm.m_purchasedUnits.end(),
                                       [unit](const auto& owned) { return owned.get() == unit; });
    if (!purchased) {
        return;
    }
    unit->m_pos = {static_cast<float>(tile->m_col), 0.0f, static_cast<float>(tile->m_row)};
    unit->Initialize();
    unit->m_homePos = unit->m_pos;
    unit->m_lifeState = UNIT_ACTIVE;
    unit->m_sprite.m_visible = false;
    KRUnit::RemoveDeadMiniUnits(unit);
    UpdateUnitSoundPosition(*unit);
    PlaceSelectionGlow(realm, *tile);
    world.AddPlayerUnit(unit);
    LogLine("Moved " + unit->m_typeName + " to " + tile->m_name);
}

} // namespace

bool KingdomEditorState::s_guiShown = true;

KingdomEditorState& KingdomEditorState::Instance() {
    static KingdomEditorState state;
    return state;
}

KingdomEditorState::KingdomEditorState() : KRState("KingdomEditorState") {}

void KingdomEditorState::Load(Engine& engine) {
    m_gui.LoadScreen(engine, kKingdomGuiFile);
    if (KRGUIObject* overlay = m_gui.FindByName("Overlay")) {
        overlay->m_active = false;
    }
    if (engine.m_gameData != nullptr) {
        engine.m_gameData->m_gameMode = GAME_MODE_KINGDOM;
    }
    // Only for its textures, which stay resident for the units of the map.
    KRUnit demon("Demon");
    demon.Load(engine);
}

void KingdomEditorState::Initialize(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return;
    }
    world->m_tileMap.PlayGateAnimations();
    world->m_activeCamera = &world->m_perspCamera;
    for (uint32_t row = 0; row < world->m_tileMap.Rows(); ++row) {
        for (uint32_t col = 0; col < world->m_tileMap.Cols(); ++col) {
            KRTile* tile = world->m_tileMap.GetTile(row, col);
            if (tile != nullptr && tile->m_type == TILE_EMPTY) {
                tile->m_sprite.m_visible = true;
            }
        }
    }
    AudioSys& audio = engine.m_audio;
    if (audio.trackIndex < 0) {
        audio.StartPlaylist({AssetPaths::kMusicOctober, AssetPaths::kMusicClassical, AssetPaths::kMusicLament,
                             AssetPaths::kMusicWaterclours});
    }
    BuildKingdomHud(engine);
    // The realm's message box is built by the HUD, so it is faded once it exists.
    if (engine.m_playerEditor != nullptr && engine.m_playerEditor->m_messageWindowBox != nullptr) {
        engine.m_playerEditor->m_messageWindowBox->m_sprite.m_fadeLevel = 2;
    }
    for (auto& item : m_gui.m_items) {
        item->m_active = false;
    }
    KRTile* previousCapital = world->m_capitalTile;
    world->FindCapitalTile();
    if (world->m_capitalTile == nullptr) {
        world->m_capitalTile = previousCapital;
    }
    if (world->m_capitalTile != nullptr) {
        const KRTile& capital = *world->m_capitalTile;
        world->m_activeCamera->SetPosition(
            {static_cast<float>(capital.m_col), 0.0f, -static_cast<float>(capital.m_row)});
    }
    PlayerEditor* realm = engine.m_playerEditor;
    if (realm != nullptr && !realm->m_tutorial && realm->m_skipTutorialBox != nullptr) {
        realm->m_skipTutorialBox->Disable();
        realm->m_skipTutorialBox->m_sprite.m_visible = false;
        realm->m_skipTutorialBox->m_folded = true;
    }
}

// WASD moves the perspective camera within the map's bounds and the arrows pitch it; the top view does
// not move by keys. Raw time, so that a paused game can still be looked over.
void SteerPerspectiveCamera(GameData& world, const InputSys& input, float raw) {
    if (world.m_activeCamera == &world.m_perspCamera) {
        KRPerspCamera& camera = world.m_perspCamera;
        plat::Vector3 step{0.0f, 0.0f, 0.0f};
        if (input.KeyDown(KeyLetter('W')))
            step.z += 10.0f;
        if (input.KeyDown(KeyLetter('S')))
            step.z -= 10.0f;
        if (input.KeyDown(KeyLetter('A')))
            step.x -= 10.0f;
        if (input.KeyDown(KeyLetter('D')))
            step.x += 10.0f;
        camera.Translate({step.x * raw, 0.0f, step.z * raw});
        // Signed float arithmetic: the map's size is unsigned.
        const float cols = static_cast<float>(world.m_tileMap.Cols());
        const float rows = static_cast<float>(world.m_tileMap.Rows());
        plat::Vector3 eye = camera.OrbitEye();
        if (eye.x > cols)
            camera.Translate({cols - eye.x, 0.0f, 0.0f});
        eye = camera.OrbitEye();
        if (eye.z < -rows - 15.0f)
            camera.Translate({0.0f, 0.0f, -rows - 15.0f - eye.z});
        eye = camera.OrbitEye();
        if (eye.x < 0.0f)
            camera.Translate({-eye.x, 0.0f, 0.0f});
        eye = camera.OrbitEye();
        if (eye.z > -5.0f)
            camera.Translate({0.0f, 0.0f, -5.0f - eye.z});
        float pitch = 0.0f;
        if (input.KeyDown(KEY_UP))
            pitch += 25.0f;
        if (input.KeyDown(KEY_DOWN))
            pitch -= 25.0f;
        camera.AddPitch(pitch * raw);
    }
}

void KingdomEditorState::HandleInput(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    const InputSys& input = engine.m_input;
    m_gui.HandleScreenInput(engine);
    if (input.KeyPressed(KEY_ESCAPE)) {
        // The push pauses the game itself, and only when the menu that resumes it is accepted.
        RunScript(engine.m_scripts, "PushPauseMenu");
    }
    if (world == nullptr) {
        return;
    }
    SteerPerspectiveCamera(*world, input, static_cast<float>(engine.m_timer.rawDelta));
    if (input.ButtonPressed(MOUSE_LEFT)) {
        m_paintingPress.reset();
    }
    if (!m_gui.m_guiClick && world->m_activeCamera != nullptr) {
        if (input.ButtonPressed(MOUSE_LEFT)) {
            if (!PickObjectUnderMouse(engine)) {
                PickTileOnClick(engine, input.KeyDown(KeyLetter('X')));
                m_paintingPress = input.pressCount[MOUSE_LEFT];
            }
        } else if (input.buttons[MOUSE_LEFT] != 0 && m_paintingPress == input.pressCount[MOUSE_LEFT]) {
            if (engine.m_playerEditor == nullptr || engine.m_playerEditor->m_hoveredBox == nullptr) {
                PickTileOnClick(engine, false);
            }
        }
        if (input.ButtonPressed(MOUSE_RIGHT)) {
            PickObjectUnderCursor(engine);
        }
    }
    if (input.KeyPressed(KeyLetter('C'))) {
        const int32_t swap[1] = {COMMAND_SWAP_CAMERAS};
        engine.DoCommand(swap);
    }
    if (world->m_activeCamera == &world->m_kingdomCamera || world->m_activeCamera == &world->m_perspCamera) {
        world->m_activeCamera->HandleInput(engine);
    }
    if (input.KeyPressed(KeyLetter('K')) && engine.m_playerEditor != nullptr && engine.m_playerEditor->m_tutorial) {
        SkipTutorial();
    }
    if (input.KeyPressed(KeyLetter('H'))) {
        s_guiShown = !s_guiShown;
        for (auto& item : m_gui.m_items) {
            item->m_active = s_guiShown;
        }
    }
}

void KingdomEditorState::Update(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    const float dt = static_cast<float>(engine.m_timer.gameDelta);
    const float raw = static_cast<float>(engine.m_timer.rawDelta);
    if (world == nullptr) {
        return;
    }
    if (world->m_activeCamera != nullptr) {
        world->m_activeCamera->Update(dt);
        if (engine.m_audio.system != nullptr) {
            const plat::Vector3& eye = world->m_activeCamera->Eye();
            const plat::AudioVector position{eye.x, eye.y, eye.z};
            engine.m_audio.system->Set3DListenerAttributes(0, &position, nullptr, nullptr, nullptr);
        }
    }
    PlayerEditor* realm = engine.m_playerEditor;
    if (realm != nullptr) {
        realm->Update(dt);
        for (auto& marker : realm->m_worldMarkers) {
            marker->Update(dt);
        }
    }
    UpdatePicking(engine);
    for (KRUnit* unit : world->m_playerUnits) {
        unit->UpdateMiniUnits(&dt);
    }
    world->UpdateHudBoxes(dt);
    m_gui.Update(&raw);
    world->m_tileMap.m_hoverTile.Update(dt);
    for (const auto& tile : world->m_tileMap.Grid()) {
        tile->Update(dt);
    }
    for (const auto& building : world->m_tileMap.Buildings()) {
        building->Update(dt);
    }
    RunTutorialFrame(engine);
}

void KingdomEditorState::Render(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        DrawDebugInfo(engine, *this);
        return;
    }
    if (world->m_activeCamera != nullptr) {
        world->m_activeCamera->ApplyToDevice(engine);
        world->DrawSkybox(engine);
    }
    world->m_tileMap.Render(engine);
    // Units stand upright like buildings; seen from straight above they would be edges, so the top view
    // lays them on the ground as it does the buildings.
    const plat::Matrix standing = TopViewActive(*world) ? MatrixSwapYZ() : plat::D3DXMatrixIdentity();
    for (KRUnit* unit : world->m_playerUnits) {
        unit->m_rotationMatrix = standing;
        unit->Render(engine);
        for (KRMiniUnit& soldier : unit->m_soldiers) {
            soldier.m_rotationMatrix = standing;
            soldier.Render(engine);
        }
    }
    for (auto it = world->m_hudBoxes.rbegin(); it != world->m_hudBoxes.rend(); ++it) {
        if ((*it)->m_screenFlags.m_kingdom) {
            (*it)->Render(engine);
        }
    }
    world->m_mailList.UpdateAndDraw(engine);
    if (engine.m_playerEditor != nullptr) {
        engine.m_playerEditor->DrawHudTexts();
        for (auto& marker : engine.m_playerEditor->m_worldMarkers) {
            marker->Render(engine);
        }
    }
    m_gui.Draw(engine);
    for (auto& object : world->m_guiObjects) {
        object->Render(engine);
    }
    // Last, so that no picture covers it.
    DrawDebugInfo(engine, *this);
}

void KingdomEditorState::Cleanup(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return;
    }
    world->m_guiObjects.clear();
    if (PlayerEditor* realm = engine.m_playerEditor) {
        realm->m_selectedUnit = nullptr;
        realm->m_tooltipKind = 0;
        if (realm->m_selectionMarker != nullptr) {
            realm->m_selectionMarker->m_sprite.m_visible = false;
        }
    }
    world->m_previewObject.reset();
    world->m_toolMode = TOOL_SELECT;
}

void KingdomEditorState::Unload(Engine& engine) {
    m_gui.UnloadScreen(engine);
}

MouseRay KingdomEditorState::CastMouseRay(Engine& engine) {
    MouseRay ray;
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return ray;
    }
    const plat::Viewport viewport = MainViewport(engine);
    const float mx = static_cast<float>(engine.m_input.cursorX);
    const float my = static_cast<float>(engine.m_input.cursorY);
    const plat::Matrix identity = plat::D3DXMatrixIdentity();
    plat::Matrix view;
    plat::Matrix projection;
    if (world->m_activeCamera != nullptr) {
        world->m_activeCamera->BuildViewMatrix(view);
        world->m_activeCamera->BuildProjectionMatrix(projection, engine.m_display);
        plat::D3DXVec3Unproject(ray.m_near, {mx, my, 0.0f}, viewport, projection, view, identity);
        plat::D3DXVec3Unproject(ray.m_far, {mx, my, 1.0f}, viewport, projection, view, identity);
    }
    world->m_guiCamera.BuildViewMatrix(view);
    world->m_guiCamera.BuildProjectionMatrix(projection, engine.m_display);
    plat::D3DXVec3Unproject(ray.m_gui, {mx, my, 0.0f}, viewport, projection, view, identity);
    ray.m_ground = ray.m_near;
    const float dy = ray.m_far.y - ray.m_near.y;
    if (std::fabs(dy) > 1e-6f) {
        const float t = (-0.5f - ray.m_near.y) / dy;
        ray.m_ground = {ray.m_near.x + t * (ray.m_far.x - ray.m_near.x), -0.5f,
                        ray.m_near.z + t * (ray.m_far.z - ray.m_near.z)};
    }
    return ray;
}

bool KingdomEditorState::IsBoxHoverable(const BoxObject& box) {
    return box.m_hidden == 0 && box.m_sprite.m_visible && !box.m_folded && box.m_screenFlags.m_kingdom;
}

bool KingdomEditorState::IsBoxPickable(const BoxObject& box) {
    return IsBoxHoverable(box) && box.m_pickable;
}

bool KingdomEditorState::BoxContainsGuiPoint(const GameData& world, const BoxObject& box,
                                             const plat::Vector3& point) {
    // Boxes lie flat under the GUI camera, drawn at their layout offset from its eye.
    const float cx = box.m_layoutPosition.x + world.m_guiCamera.Eye().x;
    const float cz = box.m_layoutPosition.z + world.m_guiCamera.Eye().z;
    const float halfW = box.m_boundingBox.m_scale[0] * 0.5f;
    const float halfH = box.m_boundingBox.m_scale[1] * 0.5f;
    return point.x >= cx - halfW && point.x <= cx + halfW && point.z >= cz - halfH && point.z <= cz + halfH;
}

void KingdomEditorState::UpdatePicking(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return;
    }
    PlayerEditor* realm = engine.m_playerEditor;
    if (realm != nullptr) {
        realm->m_hoveredBox = nullptr;
        realm->m_helpBox = nullptr;
    }
    const MouseRay ray = CastMouseRay(engine);
    for (auto& owned : world->m_hudBoxes) {
        BoxObject& box = *owned;
        if (!IsBoxHoverable(box) || !BoxContainsGuiPoint(*world, box, ray.m_gui)) {
            continue;
        }
        if (!box.m_commands.empty() && box.m_commands.front().m_kind == BoxCommandKind::MoveTo) {
            if (box.m_actionId == kBoxActionGameMessageBox && !box.m_folded) {
                return;
            }
            continue;
        }
        // One pulse every hovered frame holds the box enlarged; queued behind whatever waits, so that a
        // click runs first.
        box.QueueCommand(BoxCommandKind::PressPulse, 0.0f);
        if (realm != nullptr) {
            realm->m_hoveredBox = &box;
            realm->m_helpBox = &box;
        }
        return;
    }
    const plat::Vector3 point = TopViewActive(*world) ? ray.m_near : ray.m_ground;
    for (uint32_t row = 0; row < world->m_tileMap.Rows(); ++row) {
        for (uint32_t col = 0; col < world->m_tileMap.Cols(); ++col) {
            KRTile* tile = world->m_tileMap.GetTile(row, col);
            if (tile != nullptr && tile->m_boundingBox.ContainsPointXZ(point)) {
                world->m_tileMap.m_hoverTile.m_boundingBox.m_position = tile->m_boundingBox.m_position;
                return;
            }
        }
    }
}

bool KingdomEditorState::PickObjectUnderMouse(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return false;
    }
    const MouseRay ray = CastMouseRay(engine);
    if (!world->m_mailList.m_mails.empty()) {
        for (auto& mail : world->m_mailList.m_mails) {
            if (mail->ContainsGuiPoint(ray.m_gui) && mail->m_read == 0) {
                world->m_mailList.MarkRead(mail.get());
                break;
            }
        }
        return true;
    }
    for (auto& owned : world->m_hudBoxes) {
        BoxObject& box = *owned;
        if (!IsBoxPickable(box) || !BoxContainsGuiPoint(*world, box, ray.m_gui)) {
            continue;
        }
        if (!box.m_commands.empty() && box.m_commands.front().m_kind == BoxCommandKind::MoveTo) {
            continue;
        }
        box.m_commands.clear();
        BoxCommand click;
        click.m_kind = BoxCommandKind::Click;
        click.m_firstFrame = true;
        box.QueueCommand(click);
        LogLine("Clicked box " + box.m_name);
        return true;
    }
    return false;
}

bool KingdomEditorState::PickObjectUnderCursor(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return false;
    }
    const MouseRay ray = CastMouseRay(engine);
    MailList& column = world->m_mailList;
    size_t index = 0;
    for (auto& mail : column.m_mails) {
        if (mail->ContainsGuiPoint(ray.m_gui)) {
            if (mail->m_read == 0) {
                column.m_showing = 0;
            }
            column.RemoveMail(index);
            return true;
        }
        ++index;
    }
    return false;
}

void KingdomEditorState::PickTileOnClick(Engine& engine, bool xHeld) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr || world->m_activeCamera == nullptr) {
        return;
    }
    const MouseRay ray = CastMouseRay(engine);
    const bool topView = TopViewActive(*world);
    const plat::Vector3 point = topView ? ray.m_near : ray.m_ground;
    // Tools can replace tiles, so the grid is walked by cell, never by a held pointer.
    for (uint32_t row = 0; row < world->m_tileMap.Rows(); ++row) {
        for (uint32_t col = 0; col < world->m_tileMap.Cols(); ++col) {
            KRTile* tile = world->m_tileMap.GetTile(row, col);
            if (tile == nullptr || !tile->m_boundingBox.ContainsPointXZ(point)) {
                continue;
            }
            world->m_clickedTile = tile;
            if (!topView && xHeld) {
                world->m_activeCamera->SetTarget(tile->m_boundingBox.m_position);
            } else {
                ApplyToolToTile(engine);
            }
            if (topView) {
                return;
            }
        }
    }
}

void KingdomEditorState::ApplyToolToTile(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    PlayerEditor* realm = engine.m_playerEditor;
    if (world == nullptr || world->m_clickedTile == nullptr || realm == nullptr) {
        return;
    }
    TileMap& map = world->m_tileMap;
    const uint32_t row = world->m_clickedTile->m_row;
    const uint32_t col = world->m_clickedTile->m_col;
    const ToolMode mode = world->m_toolMode;
    float& money = realm->m_stock[RESOURCE_MONEY];
    const uint32_t press = engine.m_input.pressCount[MOUSE_LEFT];

    if (mode == TOOL_SELECT) {
        if (world->m_editSubMode != 2) {
            SelectOrMoveUnit(*world, *realm);
            return;
        }
        const KRTile* preview = dynamic_cast<const KRTile*>(world->m_previewObject.get());
        if (preview == nullptr) {
            return;
        }
        world->FindCapitalTile();
        if (preview->m_type == TILE_CAPITAL && world->m_capitalTile != nullptr) {
            world->m_mailList.AddMail("You can only have 1 Capital", MAIL_ALERT);
            return;
        }
        if (world->FindUnitOnTile(world->m_clickedTile) != nullptr) {
            world->m_mailList.AddMail("This Tile is occupied", MAIL_ALERT);
            return;
        }
        const TileType type = world->m_typeToPlace;
        if (RefuseClosingTheWayIn(*world, press, row, col, type)) {
            return;
        }
        world->m_clickedTile = nullptr;
        map.SetTileType(row, col, type);
        if (type == TILE_CAPITAL) {
            map.PlaceBuilding(row, col, BUILDING_CAPITAL);
        }
        money -= kTilePlaceCost;
        return;
    }
    if (money <= 0.0f && mode != TOOL_PATH) {
        if (realm->m_tutorial) {
            return;
        }
        realm->m_messages.push_back({kNoMoneyMessage, 1, 0xFFFFFFFF});
        if (!world->m_mailList.HasPendingMail()) {
            world->m_mailList.AddMail(kNoMoneyMail, MAIL_ALERT);
        }
        return;
    }
    KRTile* tile = map.GetTile(row, col);
    if (tile == nullptr || world->FindUnitOnTile(tile) != nullptr) {
        return;
    }
    if (mode == TOOL_DEMOLISH) {
        if (tile->m_type == TILE_CAPITAL) {
            world->m_mailList.AddMail(CapitalMail(), MAIL_ALERT);
            return;
        }
        // Copied before the map destroys it.
        const KRBuilding* standing = map.FindBuildingAt(row, col);
        if (standing == nullptr) {
            return;
        }
        const KRBuilding removed = *standing;
        if (map.RemoveBuildingAt(row, col)) {
            map.m_removedBuildings.push_back(removed);
            LogLine("Demolished the building at " + KRTile::MakeName(row, col, TILE_PATH));
        }
        return;
    }
    if (mode == TOOL_PATH) {
        if (tile->m_type == TILE_EMPTY && !map.NonEmptyNeighbours(row, col).empty() && realm->m_land > 0.0f) {
            KRTile* paved = map.SetTileType(row, col, TILE_PATH);
            if (paved != nullptr) {
                map.m_pavedTiles.push_back(*paved);
            }
            realm->m_land -= 1.0f;
            LogLine("Laid path at " + KRTile::MakeName(row, col, TILE_PATH));
        }
        return;
    }
    if (mode == TOOL_CRACK) {
        if (tile->m_type == TILE_EMPTY || tile->m_type == TILE_PATH) {
            map.SetTileType(row, col, TILE_CRACK);
        }
        return;
    }
    if (map.FindBuildingAt(row, col) == nullptr && tile->m_type == TILE_PATH && money >= kBuildingCost) {
        if (RefuseClosingTheWayIn(*world, press, row, col, TILE_BUILDING)) {
            return;
        }
        money -= kBuildingCost;
        map.SetTileType(row, col, TILE_BUILDING);
        // What the placement displaced is destroyed here, as its caller must.
        std::unique_ptr<KRBuilding> displaced = map.PlaceBuilding(row, col, mode);
        LogLine("Placed " + KRBuilding::TypeName(mode) + " at " + KRTile::MakeName(row, col, TILE_BUILDING));
    }
}
