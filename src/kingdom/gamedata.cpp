#include "kingdom/gamedata.h"

#include "engine/engine.h"
#include "kingdom/kingdomhud.h"
#include "realm/playereditor.h"
#include "scene/worldobject.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

const char* const kTileSpriteFiles[] = {
    "../Assets/Tiles/tilebldgbase.xml", "../Assets/Tiles/tilepath.xml", "../Assets/tile_pop.xml",
    "../Assets/Tiles/tilegate.xml",     "../Assets/tilecapital.xml",    "../Assets/Tiles/tile_crack.xml",
    "../Assets/tile_barracks.xml",
};

constexpr const char* kSkyFrontFile = "../Assets/Textures/Skybox/front.xml";
constexpr const char* kSkyLeftFile = "../Assets/Textures/Skybox/left.xml";
constexpr const char* kSkyRightFile = "../Assets/Textures/Skybox/right.xml";
constexpr const char* kSkyBottomFile = "../Assets/Textures/Skybox/bottom.xml";

// Text finds its cameras in the world of the engine it is drawn for.
TextCameras WorldTextCameras(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return {};
    }
    return {&world->m_guiCamera, world->m_activeCamera};
}

void SetKingdomView(KROrthoCamera& camera, float x) {
    camera.Eye() = {x, 10.0f, -10.0f};
    camera.m_target = {x, 0.0f, -10.0f};
    camera.m_up = {0.0f, 0.0f, 1.0f};
}

} // namespace

GameData::GameData() : m_tileMap(kInitialMapSide, kInitialMapSide), m_activeCamera(&m_perspCamera) {
    SetKingdomView(m_kingdomCamera, 5.0f);
    const std::pair<Sprite*, const char*> faces[] = {{&m_skyFront, kSkyFrontFile},
                                                     {&m_skyLeft, kSkyLeftFile},
                                                     {&m_skyRight, kSkyRightFile},
                                                     {&m_skyBottom, kSkyBottomFile}};
    for (const auto& [face, file] : faces) {
        face->InitWithXML(file, true);
        face->m_scale[0] = kSkyboxFaceSize;
        face->m_scale[1] = kSkyboxFaceSize;
    }
    BuildDefaultUnitRecords();
    m_tileSprites.reserve(std::size(kTileSpriteFiles));
    for (const char* file : kTileSpriteFiles) {
        m_tileSprites.emplace_back().InitWithXML(file, false);
    }
    m_tileMap.m_tileReplaced = [this](const KRTile* gone, KRTile* replacement) {
        TileReplaced(gone, replacement);
    };
    SetTextCameraSource(WorldTextCameras);
    m_boxContext = std::make_unique<WorldBoxContext>(*this);
    SetBoxContext(m_boxContext.get());
}

GameData::~GameData() {
    m_tileMap.Clear();
    m_tileMap.m_tileReplaced = nullptr;
    m_enemyUnits.clear();
    m_hudBoxes.clear();
    m_previewObject.reset();
    // Another world may have installed its own since.
    if (&CurrentBoxContext() == m_boxContext.get()) {
        SetBoxContext(nullptr);
    }
}

void GameData::TileReplaced(const KRTile* gone, KRTile* replacement) {
    // The clicked cell is still the clicked cell under its new tile.
    if (m_clickedTile == gone) {
        m_clickedTile = replacement;
    }
    if (m_capitalTile == gone) {
        m_capitalTile = replacement != nullptr && replacement->m_type == TILE_CAPITAL ? replacement : nullptr;
    }
}

void GameData::FindCapitalTile() {
    m_capitalTile = nullptr;
    for (const auto& tile : m_tileMap.Grid()) {
        if (tile->m_type == TILE_CAPITAL) {
            m_capitalTile = tile.get();
            return;
        }
    }
}

namespace {

// The realm's new-game values.
void ResetRealmForNewGame(PlayerEditor& realm) {
    realm.m_selectedUnit = nullptr;
    realm.m_tooltipKind = 0;
    realm.m_tutorial = true;
    for (float& stock : realm.m_stock) {
        stock = 0.0f;
    }
    realm.m_stock[RESOURCE_MONEY] = 500.0f;
    realm.m_land = 1.0f;
    realm.m_masteryPoints = 1;
    // A lost game's masteries and hours are not the next one's.
    realm.StartMasteries();
    realm.m_clock = 0.0;
    realm.m_messages.clear();
    realm.m_firstVisibleMessage = 0;
    realm.m_droppedMessageLines = 0;
    if (realm.m_messageWindowBox != nullptr) {
        realm.m_messageWindowBox->m_folded = true;
    }
    realm.m_messageBoxVisible = false;
    realm.m_merchantCountdown = 0.1f;
    // A game left paused from the HUD must not start the next one paused, with every box but Pause
    // refusing clicks.
    realm.m_paused = false;
    if (realm.m_pauseBox != nullptr) {
        realm.m_pauseBox->m_label.SetText("Pause", {0.0f, 0.0f, 0.0f});
    }
}

} // namespace

void GameData::ResetForNewGame() {
    m_mailList.m_showing = 0;
    m_mailList.Clear();
    m_clickedTile = nullptr;
    SetKingdomView(m_kingdomCamera, 10.0f);
    m_battleRunning = 0;
    m_wins = 0;
    m_battleResult = BATTLE_RUNNING;
    m_typeToPlace = 0;
    m_previewObject.reset();
    m_editSubMode = 0;
    m_activeCamera = &m_perspCamera;
    // A new game starts from the default records, whatever became of them.
    m_unitRecords.clear();
    BuildDefaultUnitRecords();
    if (PlayerEditor* realm = m_playerEditor.get()) {
        // The rosters' boxes leave their lists first, so that the lists go back to rest without them.
        realm->ClearBaseUnits();
        realm->ClearMerchantUnits();
        realm->ClearPurchasedUnits();
        ReturnKingdomHudToRest(*this);
        ResetRealmForNewGame(*realm);
    }
}

void GameData::UpdateHudBoxes(float dt) {
    m_hudBoxPassRunning = true;
    for (auto& box : m_hudBoxes) {
        if (std::find(m_hudBoxesLeaving.begin(), m_hudBoxesLeaving.end(), box.get()) ==
            m_hudBoxesLeaving.end()) {
            box->Update(dt);
        }
    }
    m_hudBoxPassRunning = false;
    // Boxes deleted during the pass go now, when nothing runs inside them.
    std::vector<BoxObject*> leaving;
    leaving.swap(m_hudBoxesLeaving);
    for (BoxObject* box : leaving) {
        DeleteHudBox(*this, box);
    }
}

void GameData::DrawSkybox(Engine& engine) {
    if (m_activeCamera == nullptr) {
        return;
    }
    const plat::Vector3 centre = m_activeCamera->Eye();
    m_skyFront.m_position = centre + plat::Vector3{0.0f, 0.0f, kSkyboxDistance};
    m_skyFront.m_facing = {0.0f, 0.0f, 1.0f};
    m_skyLeft.m_position = centre + plat::Vector3{-kSkyboxDistance, 0.0f, 0.0f};
    m_skyLeft.m_facing = {1.0f, 0.0f, 0.0f};
    m_skyRight.m_position = centre + plat::Vector3{kSkyboxDistance, 0.0f, 0.0f};
    m_skyRight.m_facing = {-1.0f, 0.0f, 0.0f};
    m_skyBottom.m_position = centre + plat::Vector3{0.0f, -kSkyboxDistance, 0.0f};
    m_skyBottom.m_facing = {0.0f, 1.0f, 0.0f};
    for (Sprite* face : {&m_skyFront, &m_skyLeft, &m_skyRight, &m_skyBottom}) {
        face->Draw(engine);
    }
}

bool WorldBoxContext::IsPaused() const {
    const PlayerEditor* realm = m_world.m_playerEditor.get();
    return realm != nullptr && realm->m_paused;
}

void WorldBoxContext::SelectUnit(KRUnit* unit) {
    if (PlayerEditor* realm = m_world.m_playerEditor.get()) {
        realm->m_selectedUnit = unit;
    }
}

void WorldBoxContext::SetToolMode(int32_t mode) {
    m_world.m_toolMode = mode;
}

void WorldBoxContext::PlaceSelectionMarker(KRUnit* unit) {
    if (PlayerEditor* realm = m_world.m_playerEditor.get(); realm != nullptr && unit != nullptr) {
        PlaceSelectionGlow(*realm, *unit);
    }
}

void PlaceSelectionGlow(PlayerEditor& realm, const KRGameObject& over) {
    WorldObject* marker = realm.m_selectionMarker;
    if (marker == nullptr) {
        return;
    }
    WorldObject::PlaceOverTile(marker, &over, {0.0f, marker->m_boundingBox.m_scale[1] * 0.5f, -0.5f});
    marker->m_sprite.SetAnimation("UnitSelectGlow");
}

void WorldBoxContext::SelectBox(BoxObject* box) {
    if (PlayerEditor* realm = m_world.m_playerEditor.get()) {
        realm->m_lastClickedBox = box;
    }
}

void WorldBoxContext::CountClick(BoxObject* box) {
    if (PlayerEditor* realm = m_world.m_playerEditor.get()) {
        realm->m_clickedBox = box;
        ++realm->m_boxClicks;
    }
}

void WorldBoxContext::ForgetBox(const BoxObject* box) {
    if (PlayerEditor* realm = m_world.m_playerEditor.get()) {
        realm->ForgetBox(box);
    }
}

int32_t WorldBoxContext::GameMode() const {
    return m_world.m_gameMode;
}

int32_t WorldBoxContext::InfoPage() const {
    const PlayerEditor* realm = m_world.m_playerEditor.get();
    return realm != nullptr ? realm->m_panelMode : 0;
}

int32_t WorldBoxContext::UnitPage() const {
    const PlayerEditor* realm = m_world.m_playerEditor.get();
    return realm != nullptr ? realm->m_unitPanelPage : 0;
}

KRUnit* GameData::FindUnitOnTile(const KRTile* tile) const {
    if (tile == nullptr) {
        return nullptr;
    }
    const float col = static_cast<float>(tile->m_col);
    const float row = static_cast<float>(tile->m_row);
    for (KRUnit* unit : m_playerUnits) {
        if (unit->m_pos.x == col && unit->m_pos.y == 0.0f && unit->m_pos.z == row) {
            return unit;
        }
    }
    return nullptr;
}

void GameData::AddPlayerUnit(KRUnit* unit) {
    if (unit == nullptr ||
        std::find(m_playerUnits.begin(), m_playerUnits.end(), unit) != m_playerUnits.end()) {
        return;
    }
    m_playerUnits.push_back(unit);
}
