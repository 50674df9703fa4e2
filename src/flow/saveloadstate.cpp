#include "flow/saveloadstate.h"

#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "battle/uniteditorstate.h"
#include "kingdom/gamedata.h"
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/kingdomhud.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"

namespace {

constexpr const char* kSaveScreenLayout = "../Assets/guiuniteditor.xml";
constexpr float kInvasionHurry = 30.0f;

// The save screen draws and picks only the boxes that no game screen claims.
bool OnSaveScreen(const BoxObject& box) {
    const ScreenFlags& flags = box.m_screenFlags;
    return !flags.m_battle && !flags.m_unitEditor && !flags.m_kingdom && !flags.m_fourth;
}

bool PickableHit(const GameData& world, const BoxObject& box, const plat::Vector3& point) {
    return OnSaveScreen(box) && box.m_hidden == 0 && box.m_pickable &&
           KingdomEditorState::BoxContainsGuiPoint(world, box, point);
}

struct SlotBox {
    const char* label;
    float x, y, z, width, height;
    int32_t chain;
    const char* texture;
    BoxActionId actionId;
    bool pickable;
    int32_t display; // the realm's display box it becomes, or -1
};

} // namespace

void BuildSaveSlotScreen(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr || world->m_saveScreenToBuild != 1) {
        return;
    }
    world->m_saveScreenToBuild = 0;
    PlayerEditor* realm = engine.m_playerEditor;
    const char* const plain = AssetPaths::kBoxPlainBorder;
    const char* const button = "../Assets/Buttons/ButtonDarkBlue.xml";
    const SlotBox boxes[] = {
        {"Data Slot", -5.0f, 0.0f, 4.0f, 2.5f, 0.625f, 2, plain, kBoxActionNone, false, kSaveSlotBox},
        {"Game Time:", -5.0f, 0.0f, 3.0f, 2.5f, 0.625f, 2, plain, kBoxActionNone, false, kSaveGameTimeBox},
        {"Save Date:", -5.0f, 0.0f, 2.0f, 2.5f, 0.625f, 2, plain, kBoxActionNone, false, kSaveDateBox},
        {"Resources", -7.5f, 0.0f, -1.0f, 2.5f, 0.625f, 6, plain, kBoxActionNone, false, kSaveResourceRow1},
        {"Resources", -7.5f, 0.0f, -2.0f, 2.5f, 0.625f, 6, plain, kBoxActionNone, false, kSaveResourceRow2},
        {nullptr, -5.5f, 1.0f, -3.8f, 1.8f, 1.8f, 1, kBoxLeftArrowTexture, kBoxActionPreviousSlot, true, -1},
        {nullptr, 5.5f, 1.0f, -3.8f, 1.8f, 1.8f, 1, kBoxRightArrowTexture, kBoxActionNextSlot, true, -1},
        {"Load Game", -3.5f, 1.0f, -3.8f, 2.0f, 1.0f, 1, button, kBoxActionLoadGame, true, -1},
        {"Save Game", -1.2f, 1.0f, -3.8f, 2.0f, 1.0f, 1, button, kBoxActionSaveGame, true, -1},
        {"Delete", 1.2f, 1.0f, -3.8f, 2.0f, 1.0f, 1, button, kBoxActionLeaveSaveScreen, true, -1},
        {"Go Back", 3.5f, 1.0f, -3.8f, 2.0f, 1.0f, 1, button, kBoxActionLeaveSaveScreen, true, -1},
        {"Background", 0.0f, 0.0f, 0.0f, 14.0f, 10.0f, 1, AssetPaths::kBoxDragonFrameFull, kBoxActionNone,
         false, -1},
    };
    static const char* const kIcons[2][5] = {
        {"FireResource", "EarthResource", "LightResource", "NatureResource", "IceResource"},
        {"MetalResource", "PsychicResource", "Force", "Money", "Unit"}};
    for (const SlotBox& spec : boxes) {
        const bool chain = spec.chain > 1;
        BoxObject* head = CreateHudBox(*world, spec.x, spec.y, spec.z, spec.width, spec.height, chain ? 1 : 0,
                                       spec.chain, chain ? 1.0f : 0.0f, 0.0f, chain ? 0.0f : -1.0f, false,
                                       false, false, false, chain, 0, 0);
        if (spec.label != nullptr) {
            head->m_label.SetText(spec.label, {0.0f, 0.0f, 0.0f});
        }
        head->m_actionId = spec.actionId;
        head->SetTexture(spec.texture);
        head->m_showNumber = false;
        // The frame behind everything: its name is not for the player.
        head->m_showLabel = spec.actionId != kBoxActionNone || spec.display >= 0;
        head->m_pickable = spec.pickable;
        if (head->m_next != nullptr) {
            head->m_next->m_pickable = spec.pickable;
        }
        const bool resourceRow = spec.display == kSaveResourceRow1 || spec.display == kSaveResourceRow2;
        int k = 0;
        for (BoxObject* value = head->m_next; value != nullptr; value = value->m_next, ++k) {
            value->m_showNumber = false;
            if (resourceRow && k < 5) {
                value->m_sprite.SetAnimation(kIcons[spec.display - kSaveResourceRow1][k]);
                // Enabling the box puts the sheet back, not the fallback texture.
                value->m_ownTexture = value->m_sprite.m_xmlName;
            } else {
                value->SetTexture(spec.texture);
            }
        }
        if (realm != nullptr && spec.display >= 0) {
            realm->m_saveScreenBoxes[spec.display] = head;
        }
    }
}

SaveLoadState& SaveLoadState::Instance() {
    static SaveLoadState state;
    return state;
}

SaveLoadState::SaveLoadState() : KRState("SaveLoadState") {}

void SaveLoadState::Load(Engine& engine) {
    LogLine("Loading MainMenuState");
    m_gui.LoadScreen(engine, kSaveScreenLayout);
}

void SaveLoadState::Initialize(Engine& engine) {
    m_selectedSlot = 0;
    if (GameData* world = engine.m_gameData.get()) {
        world->m_activeCamera = &world->m_kingdomCamera;
    }
    LogLine("Initializing SaveLoadState");
    BuildKingdomHud(engine);
    BuildSaveSlotScreen(engine);
    LogLine("Reading Save Folder");
    ScanSaveFolder();
    SelectSlot(0);
}

void SaveLoadState::HandleInput(Engine& engine) {
    m_gui.HandleScreenInput(engine);
    const InputSys& input = engine.m_input;
    KRState* top = engine.Top();
    GameData* world = engine.m_gameData.get();
    if ((top != nullptr && top->m_gui.m_guiClick) || world == nullptr || world->m_activeCamera == nullptr) {
        return;
    }
    if (input.ButtonPressed(MOUSE_LEFT) &&
        !world->m_mailList.ReadMailAt(KingdomEditorState::CastMouseRay(engine).m_gui)) {
        PickOnClick(engine);
    }
    if (input.ButtonPressed(MOUSE_RIGHT) && engine.m_playerEditor != nullptr &&
        !engine.m_playerEditor->m_invasions.empty()) {
        engine.m_playerEditor->m_invasions.front().m_countdown -= kInvasionHurry;
    }
    if (input.KeyPressed(KEY_ESCAPE)) {
        engine.PopState();
    }
    if (input.KeyPressed(KeyLetter('H')) && m_selectedSlot > 0) {
        --m_selectedSlot;
        SelectSlot(m_selectedSlot);
    }
    if (input.KeyPressed(KeyLetter('J')) && m_selectedSlot < m_slotPaths.size()) {
        ++m_selectedSlot;
        SelectSlot(m_selectedSlot);
    }
}

void SaveLoadState::Update(Engine& engine) {
    UpdateHover(engine);
    const float raw = static_cast<float>(engine.m_timer.rawDelta);
    m_gui.Update(&raw);
    if (GameData* world = engine.m_gameData.get()) {
        world->UpdateHudBoxes(static_cast<float>(engine.m_timer.gameDelta));
    }
}

void SaveLoadState::Render(Engine& engine) {
    DrawDebugInfo(engine, *this);
    if (GameData* world = engine.m_gameData.get()) {
        if (world->m_activeCamera != nullptr) {
            world->m_activeCamera->ApplyToDevice(engine);
        }
        for (auto it = world->m_hudBoxes.rbegin(); it != world->m_hudBoxes.rend(); ++it) {
            if (OnSaveScreen(**it)) {
                (*it)->Render(engine);
            }
        }
        // A notice, such as a failed save, lies over the screen's frame rather than under it.
        if (!world->m_mailList.m_mails.empty()) {
            Renderer* renderer = engine.m_display.renderer.get();
            if (renderer != nullptr && renderer->device != nullptr) {
                renderer->device->Clear(plat::kClearZBuffer, 0, 1.0f, 0);
            }
            world->m_mailList.UpdateAndDraw(engine);
        }
    }
    m_gui.Draw(engine);
}

void SaveLoadState::Cleanup(Engine& engine) {
    CleanupHudScreen(engine);
}

void SaveLoadState::Unload(Engine& engine) {
    LogLine("Unloading MainMenuState");
    m_selectedSlot = 0;
    if (GameData* world = engine.m_gameData.get()) {
        world->m_activeCamera = &world->m_perspCamera;
        // A load that changes to the kingdom is given the kingdom's mode by the kingdom's Load after this.
        world->m_gameMode = m_coveredMode;
    }
    m_gui.UnloadScreen(engine);
}

bool SaveLoadState::PickOnClick(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return false;
    }
    const MouseRay ray = KingdomEditorState::CastMouseRay(engine);
    for (auto& owned : world->m_hudBoxes) {
        BoxObject& box = *owned;
        if (!PickableHit(*world, box, ray.m_gui)) {
            continue;
        }
        // A box moving into place or merely pulsing under the cursor still takes the click.
        const bool free = box.m_commands.empty() || box.m_commands.front().m_kind == BoxCommandKind::MoveTo ||
                          box.m_commands.front().m_kind == BoxCommandKind::PressPulse;
        if (!free) {
            continue;
        }
        box.m_commands.clear();
        BoxCommand click;
        click.m_kind = BoxCommandKind::Click;
        click.m_firstFrame = true;
        box.QueueCommand(click);
        return true;
    }
    return false;
}

void SaveLoadState::UpdateHover(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return;
    }
    const MouseRay ray = KingdomEditorState::CastMouseRay(engine);
    for (auto& owned : world->m_hudBoxes) {
        BoxObject& box = *owned;
        if (!PickableHit(*world, box, ray.m_gui)) {
            continue;
        }
        if (!box.m_commands.empty() && box.m_commands.front().m_kind == BoxCommandKind::MoveTo) {
            if (box.m_actionId == kBoxActionGameMessageBox && !box.m_folded) {
                return;
            }
            continue;
        }
        // Behind whatever is queued, so that a click already waiting runs first.
        if (box.m_commands.empty() || box.m_commands.back().m_kind != BoxCommandKind::PressPulse) {
            box.QueueCommand(BoxCommandKind::PressPulse, 0.0f);
        }
        if (engine.m_playerEditor != nullptr) {
            engine.m_playerEditor->m_hoveredBox = &box;
        }
        return;
    }
}
