// Runs the real engine on SDL straight onto the kingdom screen, with a realm and a small map made here,
// for the end-to-end tests of the map. The HUD boxes act through the game's dispatcher; the chosen tool,
// the clicked tile, each whole number the Nature stock reaches, the realm's pages, each mail read, the
// rosters, the waves and every new game message are logged.
//
//   kingdom_harness

#include "battle/krunit.h"
#include "engine/engine.h"
#include "engine/krlog.h"
#include "engine/krtexturescan.h"
#include "engine/krwinmain.h"
#include "harnessworld.h"
#include "kingdom/kingdomeditorstate.h"
#include "platform/sdl/sdlaudio.h"
#include "platform/sdl/sdlgraphics.h"
#include "platform/sdl/sdlwindow.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
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

// Until the unit editor screen exists, the Unit tab lays its panels over this screen, where its page
// buttons, the mastery boxes, the Log button and the buying and recruiting boxes work, and fills the
// treasury as of a realm that has been playing a while; every other id goes to the game's dispatcher.
class HarnessBoxContext : public WorldBoxContext {
  public:
    explicit HarnessBoxContext(GameData& world) : WorldBoxContext(world) {}
    void DispatchBoxAction(BoxActionId id, BoxObject* box) override {
        if (id != kBoxActionUnitTab) {
            WorldBoxContext::DispatchBoxAction(id, box);
            return;
        }
        m_world.m_gameMode = GAME_MODE_UNIT_EDITOR;
        for (const auto& each : m_world.m_hudBoxes) {
            each->m_screenFlags.m_kingdom = each->m_screenFlags.m_kingdom || each->m_screenFlags.m_unitEditor;
        }
        PlayerEditor& realm = *m_world.m_playerEditor;
        for (float& stock : realm.m_stock) {
            stock = std::max(stock, 50.0f);
        }
        // Enough for the dearest offer and a group of it.
        realm.m_stock[RESOURCE_MONEY] = std::max(realm.m_stock[RESOURCE_MONEY], 5000.0f);
        LogLine("Unit editor panels shown");
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
        m_context = std::make_unique<HarnessBoxContext>(*engine.m_gameData);
        SetBoxContext(m_context.get());
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
        const auto read = static_cast<size_t>(
            std::count_if(world.m_mailList.m_mails.begin(), world.m_mailList.m_mails.end(),
                          [](const auto& mail) { return mail->m_read != 0; }));
        if (read > m_readMails) {
            LogLine("Read a mail");
        }
        m_readMails = read;
        if (PlayerEditor* realm = engine.m_playerEditor; realm != nullptr) {
            // As the unit editor's right click does: the first wave comes 30 s sooner.
            if (engine.m_input.ButtonPressed(1) && !realm->m_invasions.empty()) {
                realm->m_invasions.front().m_countdown -= 30.0f;
            }
            // Roster boxes made after the Unit tab show over this screen too.
            if (world.m_gameMode == GAME_MODE_UNIT_EDITOR) {
                for (const auto& box : world.m_hudBoxes) {
                    box->m_screenFlags.m_kingdom =
                        box->m_screenFlags.m_kingdom || box->m_screenFlags.m_unitEditor;
                }
            }
        }
        if (engine.m_input.KeyPressed(KEY_ESCAPE)) {
            engine.Quit();
        }
    }

    // Logged after the realm's frame, which may leave this screen for the battle.
    void Update(Engine& engine) override {
        KingdomEditorState::Update(engine);
        if (const PlayerEditor* realm = engine.m_playerEditor; realm != nullptr) {
            LogRealm(*realm);
        }
    }
    void Unload(Engine& engine) override {
        KingdomEditorState::Unload(engine);
        SetBoxContext(nullptr);
    }

  private:
    // The rosters, the selection, the queue of waves and every new game message, as they change.
    void LogRealm(const PlayerEditor& realm) {
        const std::string rosters = "Offers " + std::to_string(realm.m_merchantUnits.size()) +
                                    ", technologies " + std::to_string(realm.m_baseUnits.size()) +
                                    ", groups " + std::to_string(realm.m_purchasedUnits.size()) + ", waves " +
                                    std::to_string(realm.m_invasions.size()) + ", selected " +
                                    (realm.m_selectedUnit != nullptr ? realm.m_selectedUnit->m_name : "none");
        if (rosters != m_loggedRosters) {
            m_loggedRosters = rosters;
            LogLine(rosters);
        }
        if (!realm.m_invasions.empty()) {
            const int due = static_cast<int>(realm.m_invasions.front().m_countdown) / 10;
            if (due != m_loggedDue) {
                m_loggedDue = due;
                LogLine("First wave in " + std::to_string(due * 10) + " s or more");
            }
        }
        auto message = realm.m_messages.begin();
        std::advance(message, std::min(m_loggedMessages, realm.m_messages.size()));
        for (; message != realm.m_messages.end(); ++message) {
            LogLine("Game message: " + message->m_text);
        }
        m_loggedMessages = realm.m_messages.size();
    }

    void MakeWorld(Engine& engine) {
        GameData& world = *engine.m_gameData;
        harness::LoadWorldTextures(engine);
        world.m_playerEditor = std::make_unique<PlayerEditor>(&engine, &world);
        engine.m_playerEditor = world.m_playerEditor.get();
        engine.m_playerEditor->m_stock[RESOURCE_MONEY] = 1000.0f;
        engine.m_playerEditor->m_land = 20.0f;
        engine.m_playerEditor->AddGameMessage("Welcome to the harness kingdom", 1, 0xFFFFFFFF);
        harness::MakeGrid(engine, kSide, kCapitalRow, kCapitalCol, HarnessTileType);
        harness::StationType(engine, "Elvenkind", kUnitRow, kCapitalCol);
    }

    bool m_made = false;
    std::unique_ptr<HarnessBoxContext> m_context;
    ToolMode m_loggedTool = -1;
    const KRTile* m_loggedTile = nullptr;
    int m_loggedNature = -1;
    std::string m_loggedPages;
    size_t m_readMails = 0;
    std::string m_loggedRosters;
    int m_loggedDue = -1;
    size_t m_loggedMessages = 0;
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
