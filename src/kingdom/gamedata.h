// The game world: tile map, cameras, skybox, mail, units, boxes and the realm.
#pragma once

#include "battle/gridpath.h"
#include "battle/krunit.h"
#include "battle/projectile.h"
#include "kingdom/mail.h"
#include "kingdom/tilemap.h"
#include "platform/audio.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"
#include "scene/krcamera.h"
#include "scene/krguiobject.h"
#include "scene/sprite.h"

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Engine;

// What a click on the map does: 2 to 9 place the building of that type.
using ToolMode = int32_t;
inline constexpr ToolMode TOOL_DEMOLISH = 10;
inline constexpr ToolMode TOOL_PATH = 11;
inline constexpr ToolMode TOOL_CRACK = 12;
inline constexpr ToolMode TOOL_SELECT = 13;

using GameMode = int32_t;
inline constexpr GameMode GAME_MODE_KINGDOM = 0;
inline constexpr GameMode GAME_MODE_WAR = 1;
inline constexpr GameMode GAME_MODE_UNIT_EDITOR = 2;
inline constexpr GameMode GAME_MODE_SAVE_LOAD = 4;

using BattleResult = int32_t;
inline constexpr BattleResult BATTLE_RUNNING = 0;
inline constexpr BattleResult BATTLE_VICTORY = 1;
inline constexpr BattleResult BATTLE_DEFEAT = 2;

inline constexpr uint32_t kInitialMapSide = 7;
inline constexpr float kSkyboxFaceSize = 1000.0f;
inline constexpr float kSkyboxDistance = 500.0f;

// Built inside the engine's constructor: it reads configuration files only, and neither touches the
// device nor asks for the engine.
class GameData {
  public:
    GameData();
    ~GameData();
    GameData(const GameData&) = delete;
    GameData& operator=(const GameData&) = delete;

    void ResetForNewGame();
    // Appends the two units a new realm starts with to m_unitRecords.
    void BuildDefaultUnitRecords();
    // The new game's starting army: every record bought into the purchased roster free of charge and put
    // on the map, upkeep-free.
    void SpawnPlayerUnits();
    // One Update of every HUD box. A box deleted meanwhile (an action may delete its own box) leaves its
    // chains and groups at once and is destroyed after the pass.
    void UpdateHudBoxes(float dt);
    // The first Capital tile of the grid, or null when there is none.
    void FindCapitalTile();
    // The four faces around the active camera.
    void DrawSkybox(Engine& engine);
    // The first player unit standing on the tile (grid x = column, y = 0, z = row), or null.
    KRUnit* FindUnitOnTile(const KRTile* tile) const;
    // Puts the unit on the map's list unless it is there already.
    void AddPlayerUnit(KRUnit* unit);

    int32_t m_battleRunning = 0;
    TileMap m_tileMap;
    // Borrowed from the grid. A tile that is replaced hands them on or clears them (see the
    // constructor), so they never outlive their tile.
    KRTile* m_clickedTile = nullptr;
    // The left press during which a change was last refused for keeping the way in open, and the cells
    // refused in it: a held button logs each cell once.
    uint32_t m_wayInPress = 0;
    std::set<std::pair<uint32_t, uint32_t>> m_wayInCells;
    KRTile* m_capitalTile = nullptr;
    std::unique_ptr<KRGameObject> m_previewObject;
    ToolMode m_toolMode = TOOL_SELECT;
    // The default unit records, by value; a new game is given a copy of each.
    std::vector<KRUnit> m_unitRecords;
    // The invading army of the running battle.
    std::list<std::unique_ptr<KRUnit>> m_enemyUnits;
    // The player's units standing on the map, borrowed from the realm's purchased roster, which takes
    // a unit out of here when it deletes it.
    std::list<KRUnit*> m_playerUnits;
    // Every HUD box of the game screens, in drawing and picking order. Delete one with DeleteHudBox, which
    // clears the links other boxes keep to it.
    std::list<std::unique_ptr<BoxObject>> m_hudBoxes;
    // While UpdateHudBoxes runs, DeleteHudBox only unlinks and lists the box here.
    bool m_hudBoxPassRunning = false;
    std::vector<BoxObject*> m_hudBoxesLeaving;
    std::list<std::unique_ptr<KRGameObject>> m_battleObjects;
    // The realm, made once by the loading screen; the engine borrows it.
    std::unique_ptr<PlayerEditor> m_playerEditor;
    uint8_t m_hudToBuild = 1;
    uint8_t m_saveScreenToBuild = 1;
    std::list<std::unique_ptr<KRGameObject>> m_scatterEffects;
    GameMode m_gameMode = GAME_MODE_KINGDOM;
    int32_t m_wins = 0;
    BattleResult m_battleResult = BATTLE_RUNNING;
    float m_battleFrameTime = 0.0f;
    int32_t m_typeToPlace = 0;
    KROrthoCamera m_kingdomCamera;
    // The HUD and mail layer: drawn with it, and the cursor is unprojected with it to pick them.
    KROrthoCamera m_guiCamera;
    KRPerspCamera m_perspCamera;
    // Always the kingdom camera or the perspective camera.
    KRCamera* m_activeCamera = nullptr;
    Sprite m_skyFront;
    Sprite m_skyLeft;
    Sprite m_skyRight;
    Sprite m_skyBottom;
    MailList m_mailList;
    // Drawn after the GUI camera's projection; the game screens' Cleanup empties it.
    std::list<std::unique_ptr<KRGUIObject>> m_guiObjects;
    // The pictures of the placeable tile types; index 0 shows the building base but places Empty.
    std::vector<Sprite> m_tileSprites;
    // Texture configuration file names (no folder), each mapped to itself; the folder scans add to it
    // and nothing empties it.
    std::map<std::string, std::string> m_textureConfigs;
    uint8_t m_assetsLoaded = 0;
    // 0 none, 1 a unit preview is being placed, 2 a tile type is being placed.
    int32_t m_editSubMode = 0;
    plat::Channel m_musicChannel; // the channel the music plays on; null until music first plays

    // ---- The battle (battle/unitbattle.cpp) ----
    void CollectGates();
    void WarpInEnemies();
    void WarpInPlayerUnits();
    void ResetBattleFlags();
    bool AdvanceToCapital(KRUnit* unit);
    bool PlayerUnitAdvance(KRUnit* unit);
    bool FindTargets(KRUnit* unit, bool searchPlayerUnits);
    void MoveUnit(KRUnit* unit);
    bool Fight(KRUnit* unit);
    void LinkMiniUnitTargets(KRUnit* unit);
    void AttackCapital(KRUnit* unit);
    // One step of each side's state machine.
    void EnemyUnitStep(KRUnit* unit);
    void PlayerUnitStep(KRUnit* unit);
    // Erases the squad's soldiers without health, first clearing every missile and soldier aimed at them.
    void EraseDeadSoldiers(KRUnit& unit);
    // Gates with a path to the capital, in grid order.
    std::list<BattleGate> m_battleGates;
    std::list<std::unique_ptr<KRProjectile>> m_projectiles;

  private:
    void TileReplaced(const KRTile* gone, KRTile* replacement);

    // What the HUD boxes read and change of this world; installed while this world lives.
    std::unique_ptr<BoxContext> m_boxContext;
};

// The boxes' view of a world: the game mode they are drawn for, the tool mode they choose, and the
// realm's pause, selection and pages, and what a click on a box does.
class WorldBoxContext : public BoxContext {
  public:
    explicit WorldBoxContext(GameData& world) : m_world(world) {}

    bool IsPaused() const override;
    void SelectUnit(KRUnit* unit) override;
    void SetToolMode(int32_t mode) override;
    void PlaceSelectionMarker(KRUnit* unit) override;
    void SelectBox(BoxObject* box) override;
    void CountClick(BoxObject* box) override;
    // The game's box action dispatcher.
    void DispatchBoxAction(BoxActionId id, BoxObject* box) override;
    // Every deleted box, however it goes, leaves no realm pointer behind.
    void ForgetBox(const BoxObject* box) override;
    int32_t GameMode() const override;
    int32_t InfoPage() const override;
    int32_t UnitPage() const override;

  protected:
    GameData& m_world;
};

// The realm's selection glow over a tile or a unit on the map, raised by half its own height.
void PlaceSelectionGlow(PlayerEditor& realm, const KRGameObject& over);
