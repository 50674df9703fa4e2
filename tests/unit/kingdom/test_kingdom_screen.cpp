// The kingdom screen's own frame on the null platform: its music and 3-D listener, its keys (camera
// keys only in the perspective view, H twice restoring the GUI), and a held button painting a tool
// only away from the HUD.
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/kingdomhud.h"
#include "kingdom_support.h"
#include "platform/null/nullaudio.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"

using kingdomtest::KingdomEngineTest;
using kingdomtest::MakeMap;
using kingdomtest::Picture;

namespace {

const std::vector<std::string> kKingdomPlaylist = {
    "../Assets/Audio/Music/menu and non battle/October.ogg",
    "../Assets/Audio/Music/menu and non battle/Classical.ogg",
    "../Assets/Audio/Music/menu and non battle/29 - Lament.ogg",
    "../Assets/Audio/Music/menu and non battle/Waterclours.ogg",
};

class KingdomScreen : public KingdomEngineTest {
  protected:
    void SetUp() override {
        KingdomEngineTest::SetUp();
        out.autoFinish = false;
        plat::Install({&window, &clock, &messageBox, nullptr, &out});
        ASSERT_TRUE(engine->m_audio.Init());
        world().m_playerEditor = std::make_unique<PlayerEditor>(engine.get(), &world(), [] { return 0; });
        engine->m_playerEditor = world().m_playerEditor.get();
        MakeMap(world().m_tileMap, {"..........", "....#.....", "....C.....", "..........", ".........."});
        engine->m_display.width = 1024;
        engine->m_display.height = 768;
        engine->m_timer.rawDelta = 0.1;
        engine->m_timer.gameDelta = 0.1;
    }
    void TearDown() override {
        screen.Cleanup(*engine);
        KingdomEngineTest::TearDown();
    }
    // One frame of input with the given keys held (they were up the frame before).
    void Press(std::initializer_list<int> held) {
        std::fill(std::begin(engine->m_input.keys), std::end(engine->m_input.keys), 0);
        std::fill(std::begin(engine->m_input.prevKeys), std::end(engine->m_input.prevKeys), 0);
        for (int key : held) {
            engine->m_input.keys[key] = 1;
        }
        screen.HandleInput(*engine);
        std::fill(std::begin(engine->m_input.keys), std::end(engine->m_input.keys), 0);
    }
    PlayerEditor& realm() { return *engine->m_playerEditor; }

    plat::NullAudioOutput out;
    KingdomEditorState screen;
};

TEST_F(KingdomScreen, EnteringStartsTheKingdomPlaylistOnceAndTheListenerFollowsTheCamera) {
    screen.Initialize(*engine);
    EXPECT_EQ(engine->m_audio.playlist, kKingdomPlaylist);
    ASSERT_GE(engine->m_audio.trackIndex, 0);
    const int32_t track = engine->m_audio.trackIndex;

    // Coming back to the screen leaves the running list alone.
    engine->m_audio.playlist.clear();
    screen.Initialize(*engine);
    EXPECT_TRUE(engine->m_audio.playlist.empty());
    EXPECT_EQ(engine->m_audio.trackIndex, track);

    world().m_activeCamera = &world().m_kingdomCamera;
    world().m_kingdomCamera.Eye() = {3.0f, 10.0f, -4.0f};
    screen.Update(*engine);
    float x = 0.0f, y = 0.0f, z = 0.0f;
    ASSERT_TRUE(engine->m_audio.GetListenerPosition(x, y, z));
    const plat::Vector3 eye = world().m_kingdomCamera.Eye(); // the camera's own update may move it
    EXPECT_FLOAT_EQ(x, eye.x);
    EXPECT_FLOAT_EQ(y, eye.y);
    EXPECT_FLOAT_EQ(z, eye.z);
}

TEST_F(KingdomScreen, EnteringLooksAtTheCapitalAndHidesSkipTutorialOutsideTheTutorial) {
    screen.Initialize(*engine);
    ASSERT_NE(world().m_capitalTile, nullptr);
    EXPECT_EQ(world().m_activeCamera, &world().m_perspCamera);
    BoxObject* skip = realm().m_skipTutorialBox;
    ASSERT_NE(skip, nullptr);
    EXPECT_FALSE(skip->m_enabled);
    EXPECT_FALSE(skip->m_sprite.m_visible);
    EXPECT_TRUE(skip->m_folded);
    ASSERT_NE(realm().m_messageWindowBox, nullptr);
    EXPECT_EQ(realm().m_messageWindowBox->m_sprite.m_fadeLevel, 2);
}

TEST_F(KingdomScreen, CameraKeysMoveOnlyThePerspectiveViewAndStayOverTheMap) {
    screen.Initialize(*engine);
    KRPerspCamera& persp = world().m_perspCamera;
    const plat::Vector3 before = persp.OrbitEye();
    Press({KeyLetter('D')});
    EXPECT_GT(persp.OrbitEye().x, before.x);

    // Far past the right edge: pulled back to the last column.
    for (int i = 0; i < 50; ++i) {
        Press({KeyLetter('D')});
    }
    EXPECT_LE(persp.OrbitEye().x, static_cast<float>(world().m_tileMap.Cols()) + 1e-3f);
    for (int i = 0; i < 50; ++i) {
        Press({KeyLetter('W')});
    }
    EXPECT_LE(persp.OrbitEye().z, -5.0f + 1e-3f);

    // In the top view this screen's own keys leave the perspective camera where it is.
    const int32_t swap[1] = {COMMAND_SWAP_CAMERAS};
    ASSERT_TRUE(engine->DoCommand(swap));
    ASSERT_EQ(world().m_activeCamera, &world().m_kingdomCamera);
    const plat::Vector3 parked = persp.OrbitEye();
    Press({KEY_A});
    Press({KEY_UP});
    EXPECT_FLOAT_EQ(persp.OrbitEye().x, parked.x);
    EXPECT_FLOAT_EQ(persp.OrbitEye().y, parked.y);
    EXPECT_FLOAT_EQ(persp.OrbitEye().z, parked.z);
}

TEST_F(KingdomScreen, HTwiceShowsTheHiddenGuiItems) {
    auto item = std::make_unique<KRGUIObject>("Item", "../Assets/defaulttexture.xml", 10.0f, 10.0f);
    KRGUIObject* raw = item.get();
    screen.m_gui.m_items.push_back(std::move(item));
    screen.Initialize(*engine);
    EXPECT_FALSE(raw->m_active);
    KingdomEditorState::s_guiShown = true;
    Press({KeyLetter('H')});
    EXPECT_FALSE(raw->m_active);
    Press({KeyLetter('H')});
    EXPECT_TRUE(raw->m_active);
}

TEST_F(KingdomScreen, AHeldButtonPaintsThePathAlongTheCursorButNotFromTheHud) {
    screen.Initialize(*engine);
    world().m_activeCamera = &world().m_kingdomCamera;
    world().m_kingdomCamera.Eye() = {5.0f, 10.0f, -2.0f};
    world().m_kingdomCamera.m_target = {5.0f, 0.0f, -2.0f};
    world().m_toolMode = TOOL_PATH;
    realm().m_land = 3.0f;
    engine->m_input.buttons[0] = 1;
    // Row 1, columns 5 to 9, one tile (64 pixels) at a time from the middle of the screen; the press
    // begins on the first.
    for (int col = 5; col <= 9; ++col) {
        engine->m_input.prevButtons[0] = col == 5 ? 0 : 1;
        engine->m_input.cursorX = 512 + (col - 5) * 64;
        engine->m_input.cursorY = 384 - 64;
        screen.HandleInput(*engine);
    }
    // Each new cell touches the one before; the allowance lasts three cells.
    EXPECT_EQ(Picture(world().m_tileMap)[1], "....####..");
    EXPECT_FLOAT_EQ(realm().m_land, 0.0f);

    // Over a HUD box nothing is painted.
    realm().m_land = 3.0f;
    realm().m_hoveredBox = realm().m_buildMenuBox;
    engine->m_input.cursorX = 512 - 64;
    screen.HandleInput(*engine);
    EXPECT_EQ(Picture(world().m_tileMap)[1], "....####..");

    // Released and pressed again between two of its frames: a press this screen never saw begin.
    realm().m_hoveredBox = nullptr;
    engine->m_input.OnMouse({0, 0, plat::kRiMouseLeftUp});
    engine->m_input.OnMouse({0, 0, plat::kRiMouseLeftDown});
    engine->m_input.cursorX = 512 - 128;
    screen.HandleInput(*engine);
    EXPECT_EQ(Picture(world().m_tileMap)[1], "....####..");
}

// The Build menu's rows choose their tools, as the box action dispatcher will.
class BuildMenuContext : public WorldBoxContext {
  public:
    using WorldBoxContext::WorldBoxContext;
    void DispatchBoxAction(BoxActionId id, BoxObject*) override {
        if (id == 4)
            m_world.m_toolMode = 3;
        if (id == 18)
            m_world.m_toolMode = TOOL_PATH;
        if (id == 19)
            m_world.m_toolMode = TOOL_DEMOLISH;
    }
};

class BuildMenu : public KingdomScreen {
  protected:
    void SetUp() override {
        KingdomScreen::SetUp();
        context = std::make_unique<BuildMenuContext>(world());
        SetBoxContext(context.get());
        screen.Initialize(*engine);
        world().m_activeCamera = &world().m_kingdomCamera;
        world().m_kingdomCamera.Eye() = {5.0f, 10.0f, -2.0f};
        world().m_kingdomCamera.m_target = {5.0f, 0.0f, -2.0f};
        realm().m_stock[RESOURCE_MONEY] = 1000.0f;
        realm().m_land = 5.0f;
    }
    void TearDown() override {
        SetBoxContext(nullptr);
        KingdomScreen::TearDown();
    }
    // Frames of the screen with the cursor over a HUD point (x, z) or a tile, the button down for the
    // first frame only.
    void Frames(int x, int y, bool press, int count = 20) {
        engine->m_input.cursorX = x;
        engine->m_input.cursorY = y;
        for (int i = 0; i < count; ++i) {
            engine->m_input.prevButtons[0] = engine->m_input.buttons[0];
            engine->m_input.buttons[0] = press && i == 0 ? 1 : 0;
            screen.HandleInput(*engine);
            screen.Update(*engine);
        }
    }
    void ClickHud(float x, float z) {
        Frames(512 + static_cast<int>(x * 64), 384 - static_cast<int>(z * 64), true);
    }
    void ClickTile(int row, int col) { Frames(512 + (col - 5) * 64, 384 + (row - 2) * 64, true); }
    // The screen's input for one frame of the left button held at (x, y); pressed this frame or before.
    void Hold(int x, int y, bool edge) {
        engine->m_input.cursorX = x;
        engine->m_input.cursorY = y;
        engine->m_input.prevButtons[0] = edge ? 0 : 1;
        engine->m_input.buttons[0] = 1;
        screen.HandleInput(*engine);
    }

    std::unique_ptr<BuildMenuContext> context;
};

TEST_F(BuildMenu, ClicksOpenTheListChooseAFarmScrollToPathAndDestroyAndUseThem) {
    BoxObject* build = realm().m_buildMenuBox;
    ClickHud(-7.0f, -5.0f);
    ASSERT_FALSE(build->m_selectByte) << "the Build list did not open";
    ClickHud(-2.5f, -5.0f); // slot 2: Farm
    ASSERT_EQ(world().m_toolMode, 3);
    ClickTile(1, 4);
    EXPECT_EQ(Picture(world().m_tileMap)[1], "....B.....");
    EXPECT_FLOAT_EQ(realm().m_stock[RESOURCE_MONEY], 900.0f);

    // Path and Destroy come into the window with two scrolls forward; the arrow sits in slot 9.
    ClickHud(4.5f, -5.0f);
    EXPECT_EQ(build->m_windowStart, 2u);
    ClickHud(4.5f, -5.0f);
    EXPECT_EQ(build->m_windowStart, 3u);
    ClickHud(2.5f, -5.0f); // slot 7: Path
    ASSERT_EQ(world().m_toolMode, TOOL_PATH);
    ClickTile(1, 3);
    EXPECT_EQ(Picture(world().m_tileMap)[1], "...#B.....");
    EXPECT_FLOAT_EQ(realm().m_land, 4.0f);
    ClickHud(3.5f, -5.0f); // slot 8: Destroy
    ASSERT_EQ(world().m_toolMode, TOOL_DEMOLISH);
    ClickTile(1, 4);
    EXPECT_EQ(Picture(world().m_tileMap)[1], "...##.....");
    EXPECT_EQ(world().m_tileMap.m_removedBuildings.size(), 1u);

    // And back again.
    ClickHud(-4.5f, -5.0f);
    EXPECT_EQ(build->m_windowStart, 2u);
}

// Hovered, a box is held at 1.2 times its size and back at its own once the cursor leaves; a box that
// takes no clicks is hovered too and shields the map beneath it from a held button.
TEST_F(BuildMenu, AHoveredBoxGrowsAndAnyHoveredBoxShieldsTheMapFromAHeldButton) {
    BoxObject* build = realm().m_buildMenuBox;
    Frames(512 - 7 * 64, 384 + 5 * 64, false, 4);
    EXPECT_EQ(realm().m_hoveredBox, build);
    EXPECT_FLOAT_EQ(build->m_boundingBox.m_scale[0], build->m_baseWidth * 1.2f);
    EXPECT_FLOAT_EQ(build->m_boundingBox.m_scale[1], build->m_baseHeight * 1.2f);
    Frames(512 + 4 * 64, 384 + 64, false, 3); // away, over the map
    EXPECT_EQ(realm().m_hoveredBox, nullptr);
    EXPECT_FLOAT_EQ(build->m_boundingBox.m_scale[0], build->m_baseWidth);
    EXPECT_TRUE(build->m_commands.empty());

    // A counter laid over tile (1, 5), next to the kingdom's path: holding the button there lays none.
    BoxObject* money = realm().m_resourceCounterBoxes[RESOURCE_MONEY];
    money->m_layoutPosition = {0.0f, 0.0f, 1.0f};
    world().m_toolMode = TOOL_PATH;
    Frames(512, 384 - 64, false, 2);
    ASSERT_EQ(realm().m_hoveredBox, money);
    // The press begins on tile (4, 9), where no path can go, and is held onto the counter.
    Hold(512 + 4 * 64, 384 + 2 * 64, true);
    Hold(512, 384 - 64, false);
    EXPECT_EQ(Picture(world().m_tileMap)[1], "....#.....");
    money->m_layoutPosition = {9.0f, 0.0f, 9.0f};
    screen.Update(*engine);
    Hold(512, 384 - 64, false);
    EXPECT_EQ(Picture(world().m_tileMap)[1], "....##....");
}

// A press that a letter or a box took paints nothing, however long it is held and wherever it goes.
TEST_F(BuildMenu, APressThatALetterOrABoxTookPaintsNoTile) {
    world().m_toolMode = TOOL_PATH;
    world().m_mailList.AddMail("My Lord, your inquisitive nature will bring us troubles", MAIL_ALERT);
    Mail& letter = *world().m_mailList.m_mails.front();
    // Over row 1 from column 2 to 8: the press lands on the path's end, the drag goes on east.
    letter.m_boundingBox.m_position = {0.0f, 0.0f, 1.0f};
    for (int frame = 0; frame < 4; ++frame) {
        Hold(512 + (frame - 1) * 64, 384 - 64, frame == 0);
        screen.Update(*engine);
    }
    EXPECT_EQ(letter.m_read, 1);
    world().m_mailList.Clear();
    BoxObject* build = realm().m_buildMenuBox;
    Hold(512 - 7 * 64, 384 + 5 * 64, true);
    screen.Update(*engine);
    for (int frame = 0; frame < 4; ++frame) {
        Hold(512 + (frame - 1) * 64, 384 - 64, false);
        screen.Update(*engine);
    }
    EXPECT_FALSE(build->m_selectByte) << "the Build box did not take the press";
    EXPECT_EQ(Picture(world().m_tileMap)[1], "....#.....");
}

} // namespace
