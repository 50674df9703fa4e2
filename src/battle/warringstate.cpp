#include "battle/warringstate.h"

#include "battle/projectile.h"
#include "battle/unitbattle.h"
#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "flow/tutorialcontroller.h"
#include "kingdom/gamedata.h"
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/unitinfocard.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr float kEndDelay = 0.5f;
constexpr uint32_t kRed = 0xFFFF0101;
constexpr uint32_t kGreen = 0xFF01FF01;
constexpr uint32_t kWhite = 0xFFFFFFFF;

constexpr const char* kTurnedBackMessage = "The invaders found no road to your capital and turned back";

constexpr const char* kMissileSpriteFile = "../Assets/projectile.xml";
constexpr const char* kDemonSpriteFile = "../Assets/Units/demon_unit.xml";

bool TopViewActive(const GameData& world) {
    return world.m_activeCamera == &world.m_kingdomCamera;
}

bool IsBattleBoxPickable(const BoxObject& box) {
    return box.m_hidden == 0 && box.m_enabled && box.m_sprite.m_visible && !box.m_folded && box.m_pickable &&
           box.m_screenFlags.m_battle;
}

void SetScreenTabsEnabled(PlayerEditor& realm, bool enabled) {
    for (BoxObject* tab : {realm.m_kingdomTabBox, realm.m_warTabBox, realm.m_unitTabBox}) {
        if (tab == nullptr) {
            continue;
        }
        if (enabled) {
            tab->Enable();
        } else {
            tab->Disable();
        }
    }
}

// The realm lets go of the wave this battle fought, if it still holds it.
void RemoveWave(PlayerEditor& realm, const Invasion* wave) {
    auto found = std::find_if(realm.m_invasions.begin(), realm.m_invasions.end(),
                              [wave](const Invasion& queued) { return &queued == wave; });
    if (found != realm.m_invasions.end()) {
        realm.m_invasions.erase(found);
    }
}

void DrawUnit(Engine& engine, KRUnit& unit, const plat::Matrix& standing) {
    unit.m_rotationMatrix = standing;
    unit.Render(engine);
    for (KRMiniUnit& soldier : unit.m_soldiers) {
        soldier.m_rotationMatrix = standing;
        soldier.Render(engine);
    }
}

} // namespace

WarringState& WarringState::Instance() {
    static WarringState state;
    return state;
}

WarringState::WarringState() : KRState("WarringState") {
    m_missileSprite.InitWithXML(kMissileSpriteFile, false);
    m_unitSprite.InitWithXML(kDemonSpriteFile, false);
}

void WarringState::Load(Engine& engine) {
    LogLine("Loading WarringState");
    m_gui.LoadScreen(engine, kWarringGuiFile);
    if (engine.m_gameData != nullptr) {
        engine.m_gameData->m_gameMode = GAME_MODE_WAR;
    }
    m_missileSprite.Load(engine);
    m_unitSprite.Load(engine);
    Sprite elemental;
    elemental.InitWithXML(kElementalUnitFile, false);
    elemental.Load(engine);
}

void WarringState::Initialize(Engine& engine) {
    LogLine("Initializing WarringState");
    GameData* world = engine.m_gameData.get();
    PlayerEditor* realm = engine.m_playerEditor;
    m_wave = nullptr;
    m_endSettled = false;
    m_turnedBack = false;
    m_endCountdown = kEndDelay;
    m_endMessageShown = 0;
    if (world == nullptr) {
        return;
    }
    for (const auto& tile : world->m_tileMap.Grid()) {
        if (tile != nullptr && tile->m_type == TILE_EMPTY) {
            tile->m_sprite.m_visible = false;
        }
    }
    world->m_tileMap.PlayGateAnimations();
    world->m_activeCamera = &world->m_perspCamera;
    world->m_battleResult = BATTLE_RUNNING;
    // The battle fights copies; the wave keeps its own units until the realm lets it go.
    world->m_enemyUnits.clear();
    if (realm != nullptr && !realm->m_invasions.empty()) {
        m_wave = &realm->m_invasions.front();
        m_wave->m_battleStarted = true;
        for (const auto& unit : m_wave->m_units) {
            if (unit == nullptr) {
                continue;
            }
            auto copy = std::make_unique<KRUnit>(*unit);
            // Every invader enters through a gate, whatever state its record was left in.
            copy->m_lifeState = UNIT_WAITING;
            copy->m_battleState = UNIT_ADVANCE;
            for (KRMiniUnit& soldier : copy->m_soldiers) {
                soldier.m_sprite.ApplyTextureConfig(soldier.m_sprite.m_xmlName);
            }
            world->m_enemyUnits.push_back(std::move(copy));
        }
        realm->AddGameMessage(m_wave->m_commanderName, 1, kRed);
        realm->AddGameMessage("marches his army into your kingdom!!", 1, kRed);
    }
    world->FindCapitalTile();
    world->CollectGates();
    // Invaders with no gate to come in by would wait there for ever, and the battle never end.
    if (world->m_battleGates.empty() && !world->m_enemyUnits.empty()) {
        m_turnedBack = true;
        world->m_enemyUnits.clear();
        if (realm != nullptr) {
            realm->AddGameMessage(kTurnedBackMessage, 2, kWhite);
            RemoveWave(*realm, m_wave);
        }
        m_wave = nullptr;
    }
    world->m_battleRunning = 1;
    world->WarpInPlayerUnits();
    world->ResetBattleFlags();
    engine.m_audio.PlayOnChannel(AssetPaths::kMusicSummer, true, &world->m_musicChannel);
    if (!world->m_musicChannel.IsNull()) {
        world->m_musicChannel.SetPaused(false);
    }
    LogLine("Total gates: " + std::to_string(world->m_battleGates.size()));
    if (realm != nullptr) {
        if (!m_turnedBack) {
            SetScreenTabsEnabled(*realm, false);
        }
        if (realm->m_messageWindowBox != nullptr) {
            realm->m_messageWindowBox->m_sprite.m_fadeLevel = 2;
        }
        ++realm->m_level;
    }
}

void WarringState::HandleInput(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    const InputSys& input = engine.m_input;
    m_gui.HandleScreenInput(engine);
    if (world == nullptr) {
        return;
    }
    SteerPerspectiveCamera(*world, input, static_cast<float>(engine.m_timer.rawDelta));
    if (!m_gui.m_guiClick && world->m_activeCamera != nullptr) {
        if (input.ButtonPressed(MOUSE_LEFT)) {
            PickUnderCursor(engine, input.KeyDown(KeyLetter('X')));
        }
        if (input.ButtonPressed(MOUSE_RIGHT)) {
            PickMailUnderCursor(engine);
        }
    }
    if (input.KeyPressed(KEY_ESCAPE)) {
        RunScript(engine.m_scripts, "Pause");
        RunScript(engine.m_scripts, "PushPauseMenu");
    }
    if (input.KeyPressed(KeyLetter('C'))) {
        const int32_t swap[1] = {COMMAND_SWAP_CAMERAS};
        engine.DoCommand(swap);
    }
    if (world->m_activeCamera == &world->m_kingdomCamera || world->m_activeCamera == &world->m_perspCamera) {
        world->m_activeCamera->HandleInput(engine);
    }
}

void WarringState::Update(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    const float dt = static_cast<float>(engine.m_timer.gameDelta);
    const float raw = static_cast<float>(engine.m_timer.rawDelta);
    if (world == nullptr) {
        return;
    }
    UpdateHover(engine);
    PlayerEditor* realm = engine.m_playerEditor;
    if (realm != nullptr) {
        realm->Update(dt);
    }
    if (world->m_activeCamera != nullptr) {
        world->m_activeCamera->Update(dt);
        if (engine.m_audio.system != nullptr) {
            const plat::Vector3& eye = world->m_activeCamera->Eye();
            const plat::AudioVector position{eye.x, eye.y, eye.z};
            engine.m_audio.system->Set3DListenerAttributes(0, &position, nullptr, nullptr, nullptr);
        }
    }
    world->m_battleFrameTime = dt;
    world->m_tileMap.m_hoverTile.Update(dt);
    for (const auto& tile : world->m_tileMap.Grid()) {
        tile->Update(dt);
    }
    for (const auto& building : world->m_tileMap.Buildings()) {
        if (building != nullptr) {
            building->Update(dt);
        }
    }
    if (world->m_battleResult == BATTLE_RUNNING) {
        if (world->m_battleRunning == 1 && !m_turnedBack) {
            StepBattle(*world, dt);
        }
        world->UpdateHudBoxes(dt);
    }
    for (auto& unit : world->m_enemyUnits) {
        unit->Update(dt);
    }
    for (KRUnit* unit : world->m_playerUnits) {
        unit->Update(dt);
    }
    RunTutorialFrame(engine);
    EndBattle(engine, dt);
    m_gui.Update(&raw);
}

void WarringState::StepBattle(GameData& world, float dt) {
    world.WarpInEnemies();
    bool enemyStanding = false;
    for (auto& owned : world.m_enemyUnits) {
        KRUnit& unit = *owned;
        unit.UpdateMiniUnits(&dt);
        if (unit.m_lifeState == UNIT_DEAD) {
            if (unit.m_sprite.m_currentFrame >= unit.m_sprite.m_endFrame) {
                unit.m_sprite.m_visible = false;
            }
            continue;
        }
        enemyStanding = true;
        // Invaders still waiting at their gate do nothing until they warp in.
        if (unit.m_lifeState == UNIT_ACTIVE) {
            world.EnemyUnitStep(&unit);
        }
    }
    if (!enemyStanding) {
        world.m_battleResult = BATTLE_VICTORY;
    }
    for (KRUnit* unit : world.m_playerUnits) {
        unit->UpdateMiniUnits(&dt);
        if (unit->m_lifeState == UNIT_DEAD) {
            if (unit->m_sprite.m_currentFrame >= unit->m_sprite.m_endFrame) {
                unit->m_sprite.m_visible = false;
            }
            continue;
        }
        if (unit->m_lifeState == UNIT_ACTIVE) {
            world.PlayerUnitStep(unit);
        }
    }
    for (auto& missile : world.m_projectiles) {
        missile->m_sprite.Animate(&dt);
        if (missile->m_done || dt <= 0.0f) {
            continue;
        }
        missile->m_frameTime = dt;
        missile->Move();
        missile->m_boundingBox.m_position = {missile->m_position.x, missile->m_position.y,
                                             -missile->m_position.z};
        if (missile->HasHit()) {
            missile->Impact();
            missile->TakeScatterPieces(world.m_scatterEffects);
            missile->m_done = true;
        }
    }
    world.m_projectiles.remove_if([](const auto& missile) { return missile->m_done; });
    for (auto& owned : world.m_scatterEffects) {
        if (auto* piece = dynamic_cast<ScatterPiece*>(owned.get())) {
            piece->m_sprite.Animate(&dt);
            KRProjectile::Scatter(*piece, dt);
        }
    }
    world.m_scatterEffects.remove_if([](const auto& owned) {
        const auto* piece = dynamic_cast<const ScatterPiece*>(owned.get());
        return piece == nullptr || piece->m_finished == 1;
    });
    world.m_battleObjects.remove_if([](const auto& owned) {
        const auto* box = dynamic_cast<const BoxObject*>(owned.get());
        return box != nullptr && box->m_expired;
    });
}

void WarringState::EndBattle(Engine& engine, float dt) {
    GameData& world = *engine.m_gameData;
    PlayerEditor* realm = engine.m_playerEditor;
    if (m_turnedBack) {
        // Neither won nor lost: asked for until the kingdom takes the screen.
        RunScript(engine.m_scripts, "Kingdom");
        return;
    }
    if (world.m_battleResult == BATTLE_VICTORY) {
        if (m_endMessageShown == 0 && realm != nullptr) {
            realm->AddGameMessage("My Lord, The battle ends in your glory!", 2, kGreen);
        }
        m_endMessageShown = 1;
        m_endCountdown -= dt;
        if (m_endCountdown > 0.0f) {
            return;
        }
        world.m_battleResult = BATTLE_RUNNING;
        if (!m_endSettled) {
            m_endSettled = true;
            ++world.m_wins;
            if (realm != nullptr) {
                realm->m_land += 1.0f;
                realm->m_masteryPoints += 1;
                realm->AddGameMessage("You Have Gained 1 mastery point", 1, kWhite);
                realm->AddGameMessage("You Have Gained 1 additional Land", 2, kWhite);
                RemoveWave(*realm, m_wave);
                m_wave = nullptr;
                SetScreenTabsEnabled(*realm, true);
            }
        }
        RunScript(engine.m_scripts, "Kingdom");
    } else if (world.m_battleResult == BATTLE_DEFEAT) {
        if (m_endMessageShown == 0 && realm != nullptr) {
            realm->AddGameMessage("Our capital has been invaded!! Our enemies are nearing us... ARGH!!", 2,
                                  kRed);
        }
        m_endMessageShown = 1;
        m_endCountdown -= dt;
        if (m_endCountdown > 0.0f) {
            return;
        }
        world.m_wins = 0;
        world.m_battleResult = BATTLE_RUNNING;
        RunScript(engine.m_scripts, "MainMenu");
        if (!m_endSettled) {
            m_endSettled = true;
            LogLine("Game Over");
        }
    }
}

void WarringState::Render(Engine& engine) {
    DrawDebugInfo(engine, *this);
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return;
    }
    Renderer* renderer = engine.m_display.renderer.get();
    if (renderer != nullptr && renderer->device != nullptr) {
        renderer->device->SetTransform(plat::kTsWorld, plat::D3DXMatrixIdentity());
    }
    if (world->m_activeCamera != nullptr) {
        world->m_activeCamera->ApplyToDevice(engine);
        // First, so that nothing of the battle is hidden behind it.
        world->DrawSkybox(engine);
    }
    world->m_tileMap.Render(engine);
    // Seen from straight above, upright figures would be edges; the top view lays them down.
    const plat::Matrix standing = TopViewActive(*world) ? MatrixSwapYZ() : plat::D3DXMatrixIdentity();
    for (auto& unit : world->m_enemyUnits) {
        DrawUnit(engine, *unit, standing);
    }
    for (KRUnit* unit : world->m_playerUnits) {
        DrawUnit(engine, *unit, standing);
    }
    for (auto& missile : world->m_projectiles) {
        missile->m_rotationMatrix = standing;
        missile->Render(engine);
    }
    for (auto& piece : world->m_scatterEffects) {
        piece->m_rotationMatrix = standing;
        piece->Render(engine);
    }
    for (auto it = world->m_hudBoxes.rbegin(); it != world->m_hudBoxes.rend(); ++it) {
        if ((*it)->m_screenFlags.m_battle) {
            (*it)->Render(engine);
        }
    }
    for (auto& object : world->m_guiObjects) {
        object->Render(engine);
    }
    world->m_mailList.UpdateAndDraw(engine);
    if (engine.m_playerEditor != nullptr) {
        engine.m_playerEditor->DrawHudTexts();
    }
    m_gui.Draw(engine);
}

void WarringState::Cleanup(Engine& engine) {
    LogLine("Cleanup WarringState");
    GameData* world = engine.m_gameData.get();
    PlayerEditor* realm = engine.m_playerEditor;
    if (world == nullptr) {
        return;
    }
    // Missiles and sparks point at soldiers: they go before any unit.
    world->m_projectiles.clear();
    world->m_scatterEffects.clear();
    world->m_battleObjects.clear();
    world->m_enemyUnits.clear();
    for (KRUnit* unit : world->m_playerUnits) {
        unit->m_sprite.StopAnimation();
        unit->m_battleState = UNIT_ADVANCE;
        ClearBattleTargets(*unit);
    }
    if (realm != nullptr) {
        std::vector<KRUnit*> fallen;
        for (auto& unit : realm->m_purchasedUnits) {
            if (unit->Size < 1) {
                fallen.push_back(unit.get());
            }
        }
        for (KRUnit* unit : fallen) {
            realm->RemovePurchasedUnit(unit);
        }
    }
    world->m_battleGates.clear();
    world->m_clickedTile = nullptr;
    world->m_guiObjects.clear();
    if (realm != nullptr) {
        for (auto& owned : realm->m_purchasedUnits) {
            KRUnit& unit = *owned;
            unit.m_battleState = UNIT_ADVANCE;
            unit.m_pos = unit.m_homePos;
            unit.m_waypoint = unit.m_pos;
            ClearBattleTargets(unit);
            for (KRMiniUnit& soldier : unit.m_soldiers) {
                soldier.m_position = soldier.m_formationSpot = soldier.m_ownerLastPos = unit.m_pos;
            }
            KRUnit::RemoveDeadMiniUnits(&unit);
            UpdateUnitSoundPosition(unit);
        }
        // A battle left without its reward (a defeat, or the pause menu) still lets its wave go, so that
        // a spent wave never holds up every later invasion; and the tabs work again whatever the end.
        if (m_wave != nullptr) {
            RemoveWave(*realm, m_wave);
        }
        m_wave = nullptr;
        SetScreenTabsEnabled(*realm, true);
        realm->m_selectedUnit = nullptr;
        realm->m_tooltipKind = 0;
        realm->m_tooltipActionId = kBoxActionNone;
    }
    world->m_previewObject.reset();
    world->m_toolMode = TOOL_SELECT;
}

void WarringState::Unload(Engine& engine) {
    LogLine("Unloading WarringState");
    Renderer* renderer = engine.m_display.renderer.get();
    for (const Sprite* sprite : {&m_missileSprite, &m_unitSprite}) {
        if (renderer == nullptr || !renderer->textures.Unload(sprite->m_textureFile)) {
            LogLine("Couldn't unload texture " + sprite->m_textureFile);
        }
    }
    m_gui.UnloadScreen(engine);
}

void WarringState::UpdateHover(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return;
    }
    const MouseRay ray = KingdomEditorState::CastMouseRay(engine);
    if (!TopViewActive(*world)) {
        PlayerEditor* realm = engine.m_playerEditor;
        if (realm != nullptr) {
            realm->m_hoveredBox = nullptr;
        }
        for (auto& owned : world->m_hudBoxes) {
            BoxObject& box = *owned;
            if (!IsBattleBoxPickable(box) ||
                !KingdomEditorState::BoxContainsGuiPoint(*world, box, ray.m_gui)) {
                continue;
            }
            if (realm != nullptr) {
                realm->m_hoveredBox = &box;
            }
            // Behind whatever is queued, and once: a click already waiting runs first.
            if (box.m_commands.empty() || box.m_commands.back().m_kind != BoxCommandKind::PressPulse) {
                box.QueueCommand(BoxCommandKind::PressPulse, 0.0f);
            }
            break;
        }
    }
    const plat::Vector3 point = TopViewActive(*world) ? ray.m_near : ray.m_ground;
    for (const auto& tile : world->m_tileMap.Grid()) {
        if (tile != nullptr && tile->m_boundingBox.ContainsPointXZ(point)) {
            world->m_tileMap.m_hoverTile.m_boundingBox.m_position = tile->m_boundingBox.m_position;
            return;
        }
    }
}

void WarringState::PickUnderCursor(Engine& engine, bool xHeld) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr || world->m_activeCamera == nullptr) {
        return;
    }
    const MouseRay ray = KingdomEditorState::CastMouseRay(engine);
    if (world->m_mailList.ReadMailAt(ray.m_gui)) {
        LogLine("Picked Mail");
        return;
    }
    for (auto& owned : world->m_hudBoxes) {
        BoxObject& box = *owned;
        if (!IsBattleBoxPickable(box) || !KingdomEditorState::BoxContainsGuiPoint(*world, box, ray.m_gui)) {
            continue;
        }
        box.m_commands.clear();
        BoxCommand click;
        click.m_kind = BoxCommandKind::Click;
        click.m_firstFrame = true;
        box.QueueCommand(click);
        return;
    }
    const bool topView = TopViewActive(*world);
    const plat::Vector3 point = topView ? ray.m_near : ray.m_ground;
    for (const auto& tile : world->m_tileMap.Grid()) {
        if (tile == nullptr || !tile->m_boundingBox.ContainsPointXZ(point)) {
            continue;
        }
        world->m_clickedTile = tile.get();
        if (!topView && xHeld) {
            world->m_activeCamera->SetTarget(tile->m_boundingBox.m_position);
        }
        auto report = [&](const KRUnit& unit) {
            if (std::lround(unit.m_pos.x) == static_cast<long>(tile->m_col) &&
                std::lround(unit.m_pos.z) == static_cast<long>(tile->m_row)) {
                if (!topView) {
                    LogLine("Row: " + std::to_string(tile->m_row) + " Col: " + std::to_string(tile->m_col) +
                            " " + unit.m_typeName);
                }
                ShowUnitInfoCard(world->m_mailList, unit);
            }
        };
        for (auto& unit : world->m_enemyUnits) {
            report(*unit);
        }
        for (KRUnit* unit : world->m_playerUnits) {
            report(*unit);
        }
        if (topView) {
            return;
        }
    }
}

void WarringState::PickMailUnderCursor(Engine& engine) {
    // The kingdom's right click, which tests the mail's whole envelope.
    if (KingdomEditorState::PickObjectUnderCursor(engine)) {
        LogLine("Picked Mail");
    }
}

void ScriptWarring() {
    Engine& engine = Engine::Instance();
    if (engine.m_playerEditor != nullptr && engine.m_playerEditor->m_invasions.empty()) {
        LogLine("No invasion to fight");
        return;
    }
    if (engine.ChangeState(&WarringState::Instance()) && engine.m_gameData != nullptr) {
        engine.m_gameData->m_gameMode = GAME_MODE_WAR;
    }
}
