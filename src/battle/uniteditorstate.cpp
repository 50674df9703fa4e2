#include "battle/uniteditorstate.h"

#include "engine/engine.h"
#include "engine/krlog.h"
#include "flow/tutorialcontroller.h"
#include "kingdom/gamedata.h"
#include "kingdom/kingdomeditorstate.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr float kRightClickHurry = 30.0f;
constexpr int32_t kPanelModeUnitEdit = 1;

// Under the mails, which lie at height 0 until read, so that the backdrop never hides an envelope.
const plat::Vector3 kFramePosition{1.25f, -0.5f, 0.5f};
constexpr float kFrameScale[2] = {13.25f, 9.0f};

struct Reaction {
    const char* animation;
    const char* sound;
};
const Reaction kReactions[3] = {
    {"Warp", kEnergyBallSound}, {"Attack", kSwordSound}, {"Dead", kSteamEndSound}};

bool IsIdle(const BoxObject& box) {
    return box.m_commands.empty() || box.m_commands.front().m_kind == BoxCommandKind::PressPulse;
}

// Truncated toward zero; a sum past the 32-bit range stops at its end rather than wrapping.
// The statistics the editor's buttons move, but Range, an integer.
float KRUnit::*const kEditedFloatStats[] = {
    &KRUnit::m_battleHP, &KRUnit::STR,     &KRUnit::VIT,   &KRUnit::DEF,   &KRUnit::MoveSpd,
    &KRUnit::Accuracy,   &KRUnit::AttkSpd, &KRUnit::Force, &KRUnit::Evade, &KRUnit::Energy};

int32_t WholeCost(float cost) {
    if (std::isnan(cost)) {
        return 0;
    }
    if (cost >= 2147483647.0f) {
        return std::numeric_limits<int32_t>::max();
    }
    if (cost <= -2147483648.0f) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(cost);
}

// A unit without a group of its own is heard in the effects group alone, without an error line.
plat::ChannelGroup* GroupOf(KRUnit& unit) {
    return unit.m_channelGroup.Handle().IsNull() ? nullptr : &unit.m_channelGroup;
}

bool OnPreview(const plat::Vector3& point) {
    const float half = kPreviewScale * 0.5f;
    return std::fabs(point.x - kPreviewPosition.x) <= half && std::fabs(point.z - kPreviewPosition.z) <= half;
}

} // namespace

UnitEditorState& UnitEditorState::Instance() {
    static UnitEditorState state;
    return state;
}

UnitEditorState::UnitEditorState() : KRState("UnitEditorState") {
    Engine* engine = Engine::Current();
    PlayerEditor* realm = engine != nullptr ? engine->m_playerEditor : nullptr;
    if (realm == nullptr) {
        return;
    }
    if (realm->m_selectedUnit != nullptr) {
        m_preview = *realm->m_selectedUnit;
    }
    realm->m_editedUnit = &m_preview;
}

UnitEditorState::~UnitEditorState() {
    Engine* engine = Engine::Current();
    if (engine != nullptr && engine->m_playerEditor != nullptr &&
        engine->m_playerEditor->m_editedUnit == &m_preview) {
        engine->m_playerEditor->m_editedUnit = nullptr;
    }
}

void UnitEditorState::Load(Engine& engine) {
    LogLine("Loading MainMenuState");
    m_gui.LoadScreen(engine, kUnitEditorGuiFile);
    m_statCounters.fill(0);
    m_frame = std::make_unique<Mail>("", MAIL_ALERT);
    m_frame->m_boundingBox.m_scale[0] = kFrameScale[0];
    m_frame->m_boundingBox.m_scale[1] = kFrameScale[1];
    m_frame->m_boundingBox.m_position = kFramePosition;
    m_frame->m_sprite.ApplyTextureConfig(kUnitEditorFrameFile);
    if (GameData* world = engine.m_gameData.get()) {
        world->m_gameMode = GAME_MODE_UNIT_EDITOR;
    }
}

void UnitEditorState::Initialize(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    PlayerEditor* realm = engine.m_playerEditor;
    if (world != nullptr) {
        world->m_activeCamera = &world->m_kingdomCamera;
    }
    if (realm != nullptr) {
        m_techPoints = realm->m_stock[RESOURCE_PSYCHIC];
        // A realm made after this screen still shows the preview.
        realm->m_editedUnit = &m_preview;
    }
    RunScript(engine.m_scripts, "UStatReset");
    LogLine("Initializing MainMenuState");
    if (realm == nullptr) {
        return;
    }
    if (realm->m_messageWindowBox != nullptr) {
        realm->m_messageWindowBox->m_sprite.m_fadeLevel = 0;
    }
    // The two roster lists lay their entries out again, as a select and its undo.
    for (BoxObject* group : {realm->m_merchantRosterBox, realm->m_techRosterBox}) {
        if (group == nullptr) {
            continue;
        }
        for (BoxObject* member : group->m_members) {
            member->m_commands.clear();
        }
        for (int i = 0; i < 2; ++i) {
            BoxCommand select;
            select.m_kind = BoxCommandKind::Select;
            select.m_firstFrame = true;
            group->QueueCommand(select);
        }
    }
    if (!realm->m_tutorial && realm->m_skipTutorialBox != nullptr) {
        realm->m_skipTutorialBox->Disable();
        realm->m_skipTutorialBox->m_sprite.m_visible = false;
        realm->m_skipTutorialBox->m_folded = true;
    }
}

void UnitEditorState::HandleInput(Engine& engine) {
    const InputSys& input = engine.m_input;
    m_gui.HandleScreenInput(engine);
    GameData* world = engine.m_gameData.get();
    if (world != nullptr && !m_gui.m_guiClick && world->m_activeCamera != nullptr) {
        if (input.ButtonPressed(MOUSE_LEFT) && !HitTestMail(engine)) {
            OnClick(engine);
        }
        if (input.ButtonPressed(MOUSE_RIGHT)) {
            KingdomEditorState::PickObjectUnderCursor(engine);
            PlayerEditor* realm = engine.m_playerEditor;
            if (realm != nullptr && !realm->m_invasions.empty()) {
                realm->m_invasions.front().m_countdown -= kRightClickHurry;
            }
        }
    }
    if (input.KeyPressed(KEY_ESCAPE)) {
        // Pauses only when the menu is really on its way.
        RunScript(engine.m_scripts, "PushPauseMenu");
    }
    if (input.KeyPressed(KeyLetter('H'))) {
        m_gui.UnloadScreen(engine);
        m_gui.LoadScreen(engine, kUnitEditorGuiFile);
    }
}

void UnitEditorState::Update(Engine& engine) {
    const float dt = static_cast<float>(engine.m_timer.gameDelta);
    const float raw = static_cast<float>(engine.m_timer.rawDelta);
    RunTutorialFrame(engine);
    UpdateHover(engine);
    PlayerEditor* realm = engine.m_playerEditor;
    if (realm != nullptr) {
        realm->Update(dt);
        if (realm->m_selectedUnit != nullptr) {
            m_preview.m_sprite.Animate(&dt);
        }
    }
    m_gui.Update(&raw);
    if (GameData* world = engine.m_gameData.get()) {
        world->UpdateHudBoxes(dt);
    }
}

bool UnitEditorState::ShowsPreview(const Engine& engine) {
    const PlayerEditor* realm = engine.m_playerEditor;
    return realm != nullptr && realm->m_selectedUnit != nullptr && realm->m_messageWindowBox != nullptr &&
           realm->m_messageWindowBox->m_folded && realm->m_panelMode == kPanelModeUnitEdit;
}

void UnitEditorState::Render(Engine& engine) {
    DrawDebugInfo(engine, *this);
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        m_gui.Draw(engine);
        return;
    }
    if (world->m_activeCamera != nullptr) {
        world->m_activeCamera->ApplyToDevice(engine);
    }
    if (engine.m_playerEditor != nullptr) {
        engine.m_playerEditor->DrawHudTexts();
    }
    world->m_guiCamera.ApplyToDevice(engine);
    // Everything of this layer lies flat in the HUD plane under the camera that looks straight down.
    if (ShowsPreview(engine)) {
        // Placed for this draw only: a confirmation copies the preview into its unit, which must keep its
        // own place and its own hidden body.
        BoundingBox& box = m_preview.m_boundingBox;
        const plat::Vector3 position = box.m_position;
        const float scale[2] = {box.m_scale[0], box.m_scale[1]};
        const bool visible = m_preview.m_sprite.m_visible;
        box.m_position = kPreviewPosition;
        box.m_scale[0] = kPreviewScale;
        box.m_scale[1] = kPreviewScale;
        m_preview.m_sprite.m_visible = true;
        m_preview.m_rotationMatrix = MatrixSwapYZ();
        m_preview.Render(engine);
        box.m_position = position;
        box.m_scale[0] = scale[0];
        box.m_scale[1] = scale[1];
        m_preview.m_sprite.m_visible = visible;
    }
    for (auto it = world->m_hudBoxes.rbegin(); it != world->m_hudBoxes.rend(); ++it) {
        if ((*it)->m_screenFlags.m_unitEditor) {
            (*it)->Render(engine);
        }
    }
    // Boxes put the world camera back after each draw.
    world->m_guiCamera.ApplyToDevice(engine);
    for (auto& object : world->m_guiObjects) {
        object->Render(engine);
    }
    if (m_frame != nullptr) {
        m_frame->m_rotationMatrix = MatrixSwapYZ();
        m_frame->Render(engine);
    }
    world->m_mailList.UpdateAndDraw(engine);
    if (world->m_activeCamera != nullptr) {
        world->m_activeCamera->ApplyToDevice(engine);
    }
    m_gui.Draw(engine);
}

void CleanupHudScreen(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world != nullptr) {
        world->m_guiObjects.clear();
    }
    LogLine("Cleanup MainMenuState");
    if (PlayerEditor* realm = engine.m_playerEditor) {
        realm->m_lastClickedBox = nullptr;
        realm->m_selectedUnit = nullptr;
    }
    if (world != nullptr) {
        world->m_clickedTile = nullptr;
        world->m_toolMode = TOOL_SELECT;
    }
}

void UnitEditorState::Cleanup(Engine& engine) {
    m_frame.reset();
    CleanupHudScreen(engine);
}

void UnitEditorState::Unload(Engine& engine) {
    LogLine("Unloading MainMenuState");
    m_gui.UnloadScreen(engine);
}

bool UnitEditorState::IsBoxShown(const BoxObject& box) {
    return box.m_screenFlags.m_unitEditor && box.m_hidden == 0 && box.m_sprite.m_visible && !box.m_folded &&
           box.m_enabled && box.ShownOnCurrentPage();
}

bool UnitEditorState::IsBoxReachable(const BoxObject& box) {
    return IsBoxShown(box) && box.m_pickable;
}

bool UnitEditorState::HitTestMail(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return false;
    }
    return world->m_mailList.ReadMailAt(KingdomEditorState::CastMouseRay(engine).m_gui);
}

void UnitEditorState::UpdateHover(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return;
    }
    PlayerEditor* realm = engine.m_playerEditor;
    if (realm != nullptr) {
        realm->m_tooltipKind = 0;
        realm->m_hoveredBox = nullptr;
        realm->m_helpBox = nullptr;
    }
    const MouseRay ray = KingdomEditorState::CastMouseRay(engine);
    for (auto& owned : world->m_hudBoxes) {
        BoxObject& box = *owned;
        // Boxes that take no click are hovered too: they still name a help text.
        if (!IsBoxShown(box) || !IsIdle(box) ||
            !KingdomEditorState::BoxContainsGuiPoint(*world, box, ray.m_gui)) {
            continue;
        }
        // Behind the pulse already running, so that the box stays raised while the cursor is on it.
        if (box.m_commands.empty() || box.m_commands.back().m_kind != BoxCommandKind::PressPulse) {
            box.QueueCommand(BoxCommandKind::PressPulse, 0.0f);
        }
        // The first one under the cursor names its help text and carries the unit tool-tip window.
        if (realm != nullptr && realm->m_hoveredBox == nullptr) {
            realm->m_hoveredBox = &box;
            realm->m_helpBox = &box;
        }
    }
    if (world->m_activeCamera != &world->m_kingdomCamera) {
        return;
    }
    for (const auto& tile : world->m_tileMap.Grid()) {
        if (tile->m_boundingBox.ContainsPointXZ(ray.m_near)) {
            world->m_tileMap.m_hoverTile.m_boundingBox.m_position = tile->m_boundingBox.m_position;
            return;
        }
    }
}

void UnitEditorState::OnClick(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return;
    }
    const plat::Vector3 point = KingdomEditorState::CastMouseRay(engine).m_gui;
    for (auto& owned : world->m_hudBoxes) {
        BoxObject& box = *owned;
        const bool moving =
            !box.m_commands.empty() && box.m_commands.front().m_kind == BoxCommandKind::MoveTo;
        if (!IsBoxReachable(box) || !(IsIdle(box) || moving) ||
            !KingdomEditorState::BoxContainsGuiPoint(*world, box, point)) {
            continue;
        }
        box.m_commands.clear();
        BoxCommand click;
        click.m_kind = BoxCommandKind::Click;
        click.m_firstFrame = true;
        box.QueueCommand(click);
        if (box.m_linkedUnit != nullptr) {
            m_preview = *box.m_linkedUnit;
            // Counters kept over a new copy would take back points it never had.
            m_statCounters.fill(0);
        }
        return;
    }
    // Nothing answers from where no preview is drawn.
    if (!ShowsPreview(engine) || !OnPreview(point)) {
        return;
    }
    const Reaction& reaction = kReactions[std::rand() % 3];
    engine.m_audio.PlayInGroup(reaction.sound, GroupOf(m_preview));
    if (m_preview.m_sprite.SetAnimation(reaction.animation)) {
        m_preview.m_sprite.m_oneShot = true;
    }
}

void UnitEditorState::AddPoint(StatIndex index) {
    if (index < 0 || index >= kStatCount) {
        return;
    }
    ++m_statCounters[static_cast<size_t>(index)];
    m_preview.AddStat(index);
}

void UnitEditorState::RemovePoint(StatIndex index) {
    if (index < 0 || index >= kStatCount || m_statCounters[static_cast<size_t>(index)] < 1) {
        return;
    }
    --m_statCounters[static_cast<size_t>(index)];
    m_preview.SubtractStat(index);
}

void UnitEditorState::ResetPreview(Engine& engine) {
    const PlayerEditor* realm = engine.m_playerEditor;
    if (realm != nullptr && realm->m_selectedUnit != nullptr) {
        m_preview = *realm->m_selectedUnit;
        m_statCounters.fill(0);
    }
}

void UnitEditorState::Confirm(Engine& engine) {
    PlayerEditor* realm = engine.m_playerEditor;
    // Nothing is selected to pay for.
    if (realm == nullptr || realm->m_selectedUnit == nullptr) {
        return;
    }
    KRUnit& selected = *realm->m_selectedUnit;
    // A preview of less than the unit would pay the player back and leave, say, a Range 0 unit that
    // costs nothing and never finds a target.
    for (float KRUnit::*stat : kEditedFloatStats) {
        m_preview.*stat = std::max(m_preview.*stat, selected.*stat);
    }
    m_preview.Range = std::max(m_preview.Range, selected.Range);
    const KRUnit& preview = m_preview;
    float sum = preview.MoveSpd - selected.MoveSpd;
    sum += preview.DEF - selected.DEF;
    sum += preview.VIT - selected.VIT;
    sum += preview.STR - selected.STR;
    sum += preview.m_battleHP - selected.m_battleHP;
    sum += static_cast<float>(static_cast<int64_t>(preview.Range) - static_cast<int64_t>(selected.Range));
    const int32_t cost = WholeCost(sum);
    float& stock = realm->m_stock[RESOURCE_PSYCHIC];
    if (static_cast<float>(cost) > stock) {
        if (GameData* world = engine.m_gameData.get()) {
            world->m_mailList.AddMail(kNoTechPointsMail, MAIL_ALERT);
        }
        return;
    }
    stock -= static_cast<float>(cost);
    m_techPoints = stock;
    selected = m_preview;
    if (selected.m_sprite.SetAnimation("Attack")) {
        selected.m_sprite.m_oneShot = true;
    }
    engine.m_audio.PlayInGroup(kSwordSound, GroupOf(selected));
    m_statCounters.fill(0);
    selected.ComputeCost();
    m_preview.ComputeCost();
}
