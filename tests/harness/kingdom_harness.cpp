// Runs the real engine on SDL straight onto the kingdom screen, with a realm and a small map made here,
// until a new game can be started from the main menu. The Build menu's boxes choose their tools, the
// Menu's Save box opens the save screen whose boxes save and load, and the chosen tool, the clicked tile
// and each whole number the Nature stock reaches are logged for the end-to-end tests.
//
//   kingdom_harness

#include "battle/krunit.h"
#include "engine/engine.h"
#include "engine/krlog.h"
#include "engine/krtexturescan.h"
#include "engine/krwinmain.h"
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/kingdomscripts.h"
#include "flow/savescripts.h"
#include "platform/sdl/sdlaudio.h"
#include "platform/sdl/sdlgraphics.h"
#include "platform/sdl/sdlwindow.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

// Twelve by twelve: a Capital at row 8, column 5 with a cross of path around it, and a unit on the path
// at row 10.
constexpr uint32_t kSide = 12;
constexpr uint32_t kCapitalRow = 8;
constexpr uint32_t kCapitalCol = 5;
constexpr uint32_t kUnitRow = 10;

TileType HarnessTileType(uint32_t row, uint32_t col) {
    if (row == kCapitalRow && col == kCapitalCol) {
        return TILE_CAPITAL;
    }
    if ((row == kCapitalRow && col >= 2 && col <= 8) || (col == kCapitalCol && row >= 6 && row <= 10)) {
        return TILE_PATH;
    }
    return TILE_EMPTY;
}

// The Build menu's ids and their tools, the save screen's, and a stand-in for the unit editor's info
// pages: the Unit tab lays the unit editor's panels over this screen, where its page buttons, the mastery
// boxes and the Log button work. Everything else of the box actions is later work.
class HarnessBoxContext : public WorldBoxContext {
  public:
    explicit HarnessBoxContext(GameData& world) : WorldBoxContext(world) {}
    void DispatchBoxAction(BoxActionId id, BoxObject*) override {
        static const std::map<BoxActionId, ScriptFunction> kTools = {
            {4, SelectFarmTool},  {5, SelectHouseTool},    {6, SelectTowerTool}, {7, SelectBioLabTool},
            {8, SelectSmithTool}, {9, SelectSpireTool},    {10, SelectLabTool},  {11, SelectKeepTool},
            {18, SelectPathTool}, {19, SelectDemolishTool}};
        static const std::map<BoxActionId, ScriptFunction> kSaveScreen = {
            {80, OpenSaveScreen},    {107, SaveGameToSlot},
            {108, LoadGameFromSlot}, {109, PreviousSaveSlot},
            {110, NextSaveSlot},     {111, [] { RunScript(Engine::Instance().m_scripts, "PopState"); }}};
        if (auto save = kSaveScreen.find(id); save != kSaveScreen.end()) {
            save->second();
            return;
        }
        auto found = kTools.find(id);
        if (found != kTools.end()) {
            found->second();
            return;
        }
        PlayerEditor& realm = *m_world.m_playerEditor;
        if (id == 3) {
            m_world.m_gameMode = GAME_MODE_UNIT_EDITOR;
            for (const auto& box : m_world.m_hudBoxes) {
                box->m_screenFlags.m_kingdom =
                    box->m_screenFlags.m_kingdom || box->m_screenFlags.m_unitEditor;
            }
            LogLine("Unit editor panels shown");
        } else if (id == 44) {
            realm.m_messageBoxVisible = !realm.m_messageBoxVisible;
        } else if (id == 47 || id == 48 || id == 50) {
            realm.m_panelMode = id - 46;
        } else if (id >= 51 && id <= 58) {
            realm.m_panelMode = id - 46;
        } else if (id >= 59 && id <= 65) {
            realm.m_chosenMastery = id;
        } else if (id == 66) {
            realm.BuyMasteryLevel(realm.m_chosenMastery);
        }
    }
};

class HarnessKingdom : public KingdomEditorState {
  public:
    void Load(Engine& engine) override {
        if (!m_made) {
            m_made = true;
            MakeWorld(engine);
        }
        KingdomEditorState::Load(engine);
    }
    void Initialize(Engine& engine) override {
        KingdomEditorState::Initialize(engine);
        LogLine("Initializing KingdomHarness");
    }
    void HandleInput(Engine& engine) override {
        KingdomEditorState::HandleInput(engine);
        GameData& world = *engine.m_gameData;
        if (world.m_toolMode != m_loggedTool) {
            m_loggedTool = world.m_toolMode;
            LogLine("Tool mode " + std::to_string(m_loggedTool));
        }
        if (world.m_clickedTile != nullptr && world.m_clickedTile != m_loggedTile) {
            m_loggedTile = world.m_clickedTile;
            LogLine("Clicked " + m_loggedTile->m_name);
        }
        if (const PlayerEditor* realm = engine.m_playerEditor; realm != nullptr) {
            const int nature = static_cast<int>(realm->m_stock[RESOURCE_NATURE]);
            if (nature != m_loggedNature) {
                m_loggedNature = nature;
                LogLine("Nature stock " + std::to_string(nature));
            }
            const std::string pages = "Panel mode " + std::to_string(realm->m_panelMode) +
                                      ", chosen mastery " + std::to_string(realm->m_chosenMastery) +
                                      ", mastery points " + std::to_string(realm->m_masteryPoints) +
                                      ", message window " + (realm->m_messageBoxVisible ? "shown" : "hidden");
            if (pages != m_loggedPages) {
                m_loggedPages = pages;
                LogLine(pages);
            }
        }
        if (engine.m_input.KeyPressed(KEY_ESCAPE)) {
            engine.Quit();
        }
    }
    void Unload(Engine& engine) override {
        KingdomEditorState::Unload(engine);
        SetBoxContext(nullptr);
    }

  private:
    void MakeWorld(Engine& engine) {
        GameData& world = *engine.m_gameData;
        for (const char* folder : {"../Assets", "../Assets/Tiles", "../Assets/Buttons", "../Assets/Boxes",
                                   "../Assets/Buildings", "../Assets/Textures/Skybox"}) {
            const std::filesystem::path path(folder);
            ListTextureConfigFiles(path.wstring(), world);
            LoadTextureConfigFiles(folder, world, engine);
        }
        world.m_playerEditor = std::make_unique<PlayerEditor>(&engine, &world);
        engine.m_playerEditor = world.m_playerEditor.get();
        engine.m_playerEditor->m_stock[RESOURCE_MONEY] = 1000.0f;
        engine.m_playerEditor->m_land = 20.0f;
        engine.m_playerEditor->AddGameMessage("Welcome to the harness kingdom", 1, 0xFFFFFFFF);
        TileMap& map = world.m_tileMap;
        map.Clear();
        map.StartGrid(kSide, kSide);
        for (uint32_t row = 0; row < kSide; ++row) {
            for (uint32_t col = 0; col < kSide; ++col) {
                auto tile = std::make_unique<KRTile>(row, col, HarnessTileType(row, col));
                tile->Load(engine);
                map.AppendTile(std::move(tile));
            }
        }
        map.PlaceBuilding(kCapitalRow, kCapitalCol, BUILDING_CAPITAL);
        StationUnit(engine, "Elvenkind", kUnitRow, kCapitalCol);
        m_context = std::make_unique<HarnessBoxContext>(world);
        SetBoxContext(m_context.get());
    }

    // A purchased unit standing on the map, as one placed from the Army list would.
    static void StationUnit(Engine& engine, const std::string& type, uint32_t row, uint32_t col) {
        PlayerEditor& realm = *engine.m_playerEditor;
        realm.m_purchasedUnits.push_back(std::make_unique<KRUnit>(type));
        KRUnit* unit = realm.m_purchasedUnits.back().get();
        unit->m_typeName = type;
        unit->Load(engine);
        for (KRMiniUnit& soldier : unit->m_soldiers) {
            soldier.Load(engine);
        }
        unit->m_pos = {static_cast<float>(col), 0.0f, static_cast<float>(row)};
        unit->Initialize();
        unit->m_homePos = unit->m_pos;
        unit->m_lifeState = UNIT_ACTIVE;
        KRUnit::RemoveDeadMiniUnits(unit);
        unit->m_boundingBox.m_position = {unit->m_pos.x, 0.0f, -unit->m_pos.z};
        engine.m_gameData->AddPlayerUnit(unit);
    }

    bool m_made = false;
    std::unique_ptr<HarnessBoxContext> m_context;
    ToolMode m_loggedTool = -1;
    const KRTile* m_loggedTile = nullptr;
    int m_loggedNature = -1;
    std::string m_loggedPages;
};

} // namespace

int main() {
    InitLog();
    EnterExecutableFolder();
    static plat::SdlWindow window;
    static plat::SteadyClock clock;
    static plat::SdlMessageBox messageBox;
    static plat::SdlAudioOutput audio;
    static plat::SdlGraphics graphics;
    plat::Install({&window, &clock, &messageBox, &graphics, &audio});
    static HarnessKingdom screen;
    return RunGame(
        window, []() -> Engine& { return Engine::Instance(); }, []() -> KRState& { return screen; });
}
