// The player's realm: resource stocks with their income and upkeep, the unit rosters, merchants, the
// enemy commanders and the queue of announced invasions, masteries, game messages, the game clock and
// the HUD boxes the realm is shown through. One per process, created by the loading screen and owned by
// GameData; a plain object updated from the frame loop.
#pragma once

#include "battle/krunit.h"
#include "platform/d3dx.h"
#include "scene/boxactions.h"
#include "scene/hudtext.h"

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ArmyConfig;
class BoxObject;
class Engine;
class GameData;
class KRGameObject;
class WorldObject;

// Every array of ten resource values is in this order.
enum Resource : int32_t {
    RESOURCE_FIRE = 0,
    RESOURCE_EARTH = 1,
    RESOURCE_LIGHT = 2,
    RESOURCE_NATURE = 3,
    RESOURCE_MAGIC = 4,
    RESOURCE_METAL = 5,
    RESOURCE_PSYCHIC = 6,
    RESOURCE_DARKNESS = 7,
    RESOURCE_MONEY = 8,
    RESOURCE_POPULATION = 9,
    RESOURCE_COUNT = 10
};

enum Mastery : int32_t {
    MASTERY_BIO = 0,
    MASTERY_MAGIC = 1,
    MASTERY_COMMANDER = 2,
    MASTERY_BERSERKER = 3,
    MASTERY_FATALITY = 4,
    MASTERY_SHARPENED_ATTACKS = 5,
    MASTERY_HARDENED_SKIN = 6,
    MASTERY_COUNT = 7
};

// The panel number of a roster box, read as the box's kind.
using RosterKind = int32_t;
inline constexpr RosterKind ROSTER_PURCHASED = 0;
inline constexpr RosterKind ROSTER_TECH_OR_OFFER = 1;

inline constexpr int32_t kPanelModeMerchant = 1;
inline constexpr int32_t kPanelModeInvaders = 2;
inline constexpr int32_t kPanelModeMasteries = 4;
inline constexpr int32_t kEnemyCommanderCount = 15;
// The waves' strength and invasion budget of a new game.
inline constexpr float kNewGameStrengthFactor = 1.0f;
inline constexpr float kNewGameInvasionBudget = 25.0f;
// Game messages kept for scrolling back; older ones above the window are dropped, as a battle adds two
// a hit.
inline constexpr size_t kGameMessagesKept = 1000;
enum SaveScreenBox : int32_t {
    kSaveSlotBox = 0,
    kSaveGameTimeBox = 1,
    kSaveDateBox = 2,
    kSaveResourceRow1 = 3,
    kSaveResourceRow2 = 4,
    kSaveScreenDisplayBoxes = 5
};

struct GameMessage {
    std::string m_text; // at most 100 characters
    int32_t m_lineCount = 1;
    uint32_t m_colour = 0xFFFFFFFF;
};

struct EnemyCommander {
    int32_t m_race = 1; // invader race number 1..8
    std::string m_name;
};

struct Invasion {
    int32_t m_race = 1;
    std::string m_commanderName;
    // The wave's units, owned.
    std::list<std::unique_ptr<KRUnit>> m_units;
    float m_countdown = 0.0f;
    bool m_alertPending = true;
    // Its battle has begun; until then a wave whose time has run out asks for it on every frame.
    bool m_battleStarted = false;
};

class PlayerEditor {
  public:
    // A draw from the random generator, as rand() gives it.
    using RandomDraw = std::function<int()>;

    // Both borrowed; they outlive the realm. Without a draw, rand() is used.
    PlayerEditor(Engine* engine, GameData* gameData, RandomDraw draw = {});
    ~PlayerEditor();
    PlayerEditor(const PlayerEditor&) = delete;
    PlayerEditor& operator=(const PlayerEditor&) = delete;

    // One frame of the realm on the game delta (0 while paused), in its fixed order.
    void Update(float dt);
    // The realm's texts of the screen being drawn.
    void DrawHudTexts();

    // Empty a roster from the front, deleting its units.
    void ClearBaseUnits();
    void ClearMerchantUnits();
    void ClearPurchasedUnits();
    // Remove one roster entry and delete its unit; a unit that is not in the roster is left alone.
    void RemoveBaseUnit(KRUnit* unit);
    void RemoveMerchantUnit(KRUnit* unit);
    void RemovePurchasedUnit(KRUnit* unit);

    // Buys the technology of a unit type for its cost, once whatever the group size; an offer bought
    // leaves the merchant roster and is deleted with it.
    void CreateBaseUnit(KRUnit* unit);
    // Puts a copy of the unit on sale for lifetime seconds.
    void CreateMerchantUnit(KRUnit* unit, float lifetime);
    // Buys one group of the purchase group size: its cost and every upkeep times the group size, or
    // nothing at all when a stock falls short. True when bought; else the first short stock, if any,
    // is told through shortStock.
    bool CreatePurchasedUnit(KRUnit* unit, Resource* shortStock = nullptr);
    // A saved technology or group taken back into its roster as it is, with its box: nothing is charged
    // and nothing refused.
    void RestoreBaseUnit(std::unique_ptr<KRUnit> unit);
    void RestorePurchasedUnit(std::unique_ptr<KRUnit> unit);
    // The box actions of buying and recruiting: they act on the selected unit only when it is an offer
    // or a technology. A refused recruitment is told in an alert letter naming the short stock.
    void BuySelectedFromMerchant();
    void RecruitSelectedUnit();

    // The HUD box indexed under an action id, or null.
    BoxObject* LookupBox(int32_t actionId) const;
    // Puts the target where the source is, at its size, and shows it.
    void CopyBoxPlacement(const BoxObject* source, BoxObject* target);
    // Enables the box and every box after it along its next chain, each with its own texture again.
    void EnableBoxChain(BoxObject* first);
    // Deletes a box of GameData's box list and closes its chain behind it; a box not in the list is left
    // alone.
    void DismissBox(BoxObject* box);
    // A box is going: every pointer the realm keeps to it is cleared.
    void ForgetBox(const BoxObject* box);

    // Spends a mastery point on the mastery of box id 59..65; without points nothing changes.
    void BuyMasteryLevel(int32_t masteryId);
    // No mastery bought yet: the levels, values and next values a game starts from.
    void StartMasteries();
    // A text of more than 100 characters is refused with a warning line.
    void AddGameMessage(const std::string& text, int32_t lines, uint32_t colour);
    void ScrollGameMessages();
    // The hover help text of an action id; ids outside the table give ".".
    static const char* HelpText(int32_t actionId);
    // The first box with the id greys out and stands still, or takes its own look again.
    void UnhighlightButton(int32_t actionId);
    void HighlightButton(int32_t actionId);
    // Every pickable box with the id starts blinking.
    void BlinkBoxes(int32_t actionId);
    // The realm into an army data file, its type the name followed by the calendar time; false, with a
    // line, when the file was not written whole.
    bool SaveArmyData(const std::string& type, const std::string& file) const;
    // The realm from an army data file, over empty rosters; false, with a line, and nothing changed
    // when the file is missing or damaged.
    bool ApplyArmyData(const std::string& file);
    // A checked file's realm; its units move into the rosters.
    void ApplyArmyConfig(ArmyConfig& config);

    static std::string IntToString(int32_t value);
    static std::string FloatToString(float value);
    // Draws one line through the realm's one text object; nothing stays between lines.
    void DrawTextLine(const std::string& text, float x, float y, float z);

    // The economy's frame on the game delta: income and upkeep recomputed a few times a second, the
    // stocks moved, a warning mail now and then, and no stock left below 0 or not finite.
    void UpdateEconomy(float dt);
    // Income and upkeep from the buildings on the map and the purchased units; may cap the population.
    void RecomputeIncome();

    // Told the name of each step of Update and DrawHudTexts as it begins, so that their fixed order can
    // be watched; empty in the game.
    std::function<void(const char* step)> m_onStep;
    // Told every text line as DrawTextLine draws it; empty in the game.
    std::function<void(const std::string& text, float x, float y, float z)> m_onTextLine;

    std::list<std::unique_ptr<KRUnit>> m_baseUnits;
    std::list<std::unique_ptr<KRUnit>> m_merchantUnits;
    std::list<std::unique_ptr<KRUnit>> m_purchasedUnits;
    // Borrowed from a roster; cleared when its unit is removed.
    KRUnit* m_selectedUnit = nullptr;
    RosterKind m_tooltipKind = 0;
    int32_t m_tooltipActionId = kBoxActionNone;
    // Borrowed HUD boxes; cleared when their box is deleted.
    BoxObject* m_hoveredBox = nullptr;
    BoxObject* m_helpBox = nullptr;
    // The notice box the player clicked; the next Update dismisses it.
    BoxObject* m_dismissRequest = nullptr;
    BoxObject* m_lastClickedBox = nullptr;
    // The box of the last click taken, which a select of another box does not replace, and the clicks
    // taken so far, so that a click is told from the frames of its bounce.
    BoxObject* m_clickedBox = nullptr;
    uint32_t m_boxClicks = 0;
    GameData* m_gameData = nullptr;
    Engine* m_engine = nullptr;
    // 1 merchant page, 2 next invaders, 4 masteries, 5 to 12 race lore.
    int32_t m_panelMode = kPanelModeMerchant;
    // The unit editor's unit-panel page, 1 to 4.
    int32_t m_unitPanelPage = 0;
    HudTextBlock m_text;
    float m_merchantCountdown = 5.0f;
    float m_strengthFactor = kNewGameStrengthFactor;
    std::list<GameMessage> m_messages;
    plat::Vector3 m_messageBoxPosition{-5.0f, 3.0f, 0.75f};
    float m_messageBoxScale[2] = {6.0f, 8.5f};
    int32_t m_firstVisibleMessage = 0;
    // The lines of the messages dropped from the front, still counted against the budget.
    int64_t m_droppedMessageLines = 0;
    int32_t m_messageLineBudget = 25;
    bool m_messageBoxVisible = true;
    float m_invasionBudget = kNewGameInvasionBudget;
    std::vector<EnemyCommander> m_commanders;
    // Oldest first.
    std::list<Invasion> m_invasions;
    int32_t m_level = 0;
    int32_t m_masteryPoints = 1;
    float m_masteryLevel[MASTERY_COUNT] = {};
    // Set by StartMasteries.
    float m_masteryMod[MASTERY_COUNT] = {};
    float m_masteryNextMod[MASTERY_COUNT] = {};
    // Action id (59..65) of the mastery box last clicked.
    int32_t m_chosenMastery = 0;
    // Display boxes point here when there is nothing to show.
    float m_zeroDisplay = 0.0f;
    // A float would stop adding a frame's delta after a day or two of play.
    double m_clock = 0.0;
    float m_purchaseGroupSize = 1.0f;
    float m_stock[RESOURCE_COUNT] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 50.0f, 0.0f};
    // Path tiles the player may still lay.
    float m_land = 0.0f;
    float m_income[RESOURCE_COUNT] = {};
    float m_upkeep[RESOURCE_COUNT] = {};
    float m_upkeepDisplay[RESOURCE_COUNT] = {};
    bool m_paused = false;
    bool m_tutorial = false;

    // The HUD, filled once by the kingdom HUD builders; the markers are owned, the boxes borrowed from
    // GameData's box list.
    std::list<std::unique_ptr<KRGameObject>> m_worldMarkers;
    BoxObject* m_menuBox = nullptr;
    BoxObject* m_kingdomTabBox = nullptr;
    BoxObject* m_unitTabBox = nullptr;
    BoxObject* m_warTabBox = nullptr;
    BoxObject* m_techRosterBox = nullptr;
    BoxObject* m_skipTutorialBox = nullptr;
    BoxObject* m_merchantRosterBox = nullptr;
    BoxObject* m_armyRosterBox = nullptr;
    BoxObject* m_buildMenuBox = nullptr;
    BoxObject* m_landDisplayBox = nullptr;
    BoxObject* m_resourceCounterBoxes[RESOURCE_COUNT] = {};
    BoxObject* m_upkeepColumnBox = nullptr;
    BoxObject* m_unitNameBox = nullptr;
    BoxObject* m_buyFromMerchantBox = nullptr;
    BoxObject* m_increaseMasteryBox = nullptr;
    BoxObject* m_tooltipTextBox = nullptr;
    BoxObject* m_unitTooltipBox = nullptr;
    BoxObject* m_pauseBox = nullptr;
    BoxObject* m_borderLeftBox = nullptr;
    BoxObject* m_borderMidBox = nullptr;
    BoxObject* m_borderRightBox = nullptr;
    BoxObject* m_messageWindowBox = nullptr;
    BoxObject* m_statNameColumnBox = nullptr;
    BoxObject* m_statNowColumnBox = nullptr;
    BoxObject* m_statNewColumnBox = nullptr;
    BoxObject* m_statPlusColumnBox = nullptr;
    BoxObject* m_statMinusColumnBox = nullptr;
    BoxObject* m_unitEditTabBox = nullptr;
    BoxObject* m_warDataTabBox = nullptr;
    BoxObject* m_unitStatsTabBox = nullptr;
    BoxObject* m_unitUpkeepTabBox = nullptr;
    BoxObject* m_trainUnitTabBox = nullptr;
    BoxObject* m_raceLogoBox = nullptr;
    // The save screen's display boxes: slot, game time, save date and the two resource rows.
    BoxObject* m_saveScreenBoxes[kSaveScreenDisplayBoxes] = {};
    // Two of m_worldMarkers.
    WorldObject* m_attentionMarker = nullptr;
    WorldObject* m_selectionMarker = nullptr;

    float m_selectedRangeDisplay = 0.0f;
    float m_editedRangeDisplay = 0.0f;
    // The unit under edit in the unit editor; borrowed, cleared when its unit is removed.
    KRUnit* m_editedUnit = nullptr;
    // Filled once by the HUD builder: the first box of each action id.
    std::map<int32_t, BoxObject*> m_boxByActionId;

  private:
    void Step(const char* name);
    BoxObject* FirstBoxWithId(int32_t actionId) const;
    int Draw();
    void RemoveFrom(std::list<std::unique_ptr<KRUnit>>& roster, KRUnit* unit, bool alwaysDeselect);
    // A roster copy's box, chained before the end arrow of the roster under head.
    BoxObject* AddRosterEntry(BoxObject* head, KRUnit* unit, size_t rosterSize, bool everyScreen);
    // Frees the unit's channel group, if it has one, before the unit goes.
    void ReleaseUnitSounds(KRUnit& unit);
    // The group size, put back within 1 to 9 if anything set it outside.
    float PurchaseGroupSize();

    // Made once, at construction: fifteen named commanders.
    void CreateEnemyCommanders();
    std::string MakeEnemyCommanderName();
    int RandomRaceNumber();
    // One new wave at the back of the queue, arriving base seconds after the newest one and a little.
    void CreateInvasion(float base);
    // True while the message window covers the info pages.
    bool MessageWindowShown() const;

    // The steps of Update and DrawHudTexts that belong to the economy, rosters, merchants, invasions,
    // masteries, messages and info pages, called from their places in the order.
    void UpdateMerchant(float dt);
    void RemoveExpiredMerchantUnits();
    void UpdateInvasions(float dt);
    void UpdateUnitInfoPanel();
    void UpdateTooltipText();
    void SyncHoverTooltip();
    void DrawGameMessages();
    void DrawInvaderListPage();
    void DrawRaceLorePage();
    void DrawMasteryPage();
    void DrawNextEnemyCountdown();
    void DrawMerchantPage();

    RandomDraw m_draw;
};
