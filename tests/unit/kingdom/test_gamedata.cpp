// The world aggregate: what a fresh world holds, a new game's reset, and the tile pointers it borrows
// from the map, which must never outlive their tiles (the sanitizer build reads them after every change).
#include "engine/krlog.h"
#include "kingdom/kingdomhud.h"
#include "kingdom_support.h"

namespace {

using kingdomtest::KingdomEngineTest;
using kingdomtest::Log;
using kingdomtest::MakeMap;
using kingdomtest::Picture;

TEST(GameDataFresh, HoldsTheStartingValuesAndReadsItsContentWithoutAFailure) {
    Log log;
    auto world = std::make_unique<GameData>();
    // Only the default unit records' word that no sound is up yet.
    const std::string noSound =
        "krunit(226) : \"Audio system not init, cannot create channel group for Unit.\"\n";
    EXPECT_EQ(log.Text(), noSound + noSound);
    EXPECT_EQ(world->m_toolMode, TOOL_SELECT);
    EXPECT_EQ(world->m_gameMode, GAME_MODE_KINGDOM);
    EXPECT_EQ(world->m_activeCamera, &world->m_perspCamera);
    EXPECT_EQ(world->m_hudToBuild, 1);
    EXPECT_EQ(world->m_saveScreenToBuild, 1);
    EXPECT_EQ(world->m_clickedTile, nullptr);
    EXPECT_EQ(world->m_capitalTile, nullptr);
    EXPECT_EQ(world->m_tileMap.Rows(), 7u);
    EXPECT_EQ(world->m_tileMap.Cols(), 7u);
    EXPECT_TRUE(world->m_tileMap.Grid().empty());
    EXPECT_EQ(world->m_kingdomCamera.Eye(), (plat::Vector3{5.0f, 10.0f, -10.0f}));
    EXPECT_EQ(world->m_kingdomCamera.m_target, (plat::Vector3{5.0f, 0.0f, -10.0f}));
    EXPECT_EQ(world->m_kingdomCamera.m_up, (plat::Vector3{0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(world->m_guiCamera.Eye(), (plat::Vector3{0.0f, 10.0f, 0.0f}));
    const std::vector<std::string> tileSprites = {
        "../Assets/Tiles/tilebldgbase.xml", "../Assets/Tiles/tilepath.xml", "../Assets/tile_pop.xml",
        "../Assets/Tiles/tilegate.xml",     "../Assets/tilecapital.xml",    "../Assets/Tiles/tile_crack.xml",
        "../Assets/tile_barracks.xml"};
    ASSERT_EQ(world->m_tileSprites.size(), tileSprites.size());
    for (size_t i = 0; i < tileSprites.size(); ++i) {
        EXPECT_EQ(world->m_tileSprites[i].m_xmlName, tileSprites[i]);
        EXPECT_FALSE(world->m_tileSprites[i].m_billboard);
    }
    for (const Sprite* face :
         {&world->m_skyFront, &world->m_skyLeft, &world->m_skyRight, &world->m_skyBottom}) {
        EXPECT_TRUE(face->m_billboard);
        EXPECT_EQ(face->m_scale[0], 1000.0f);
        EXPECT_EQ(face->m_scale[1], 1000.0f);
    }
    EXPECT_EQ(world->m_skyLeft.m_xmlName, "../Assets/Textures/Skybox/left.xml");
}

TEST(GameDataFresh, ANewGameResetsTheViewTheMailAndTheEditingState) {
    GameData world;
    world.m_mailList.AddMail("first", MAIL_ALERT);
    world.m_previewObject = std::make_unique<KRTile>(0, 0, TILE_PATH);
    world.m_activeCamera = &world.m_kingdomCamera;
    world.m_battleRunning = 1;
    world.m_wins = 3;
    world.m_battleResult = BATTLE_DEFEAT;
    world.m_typeToPlace = 4;
    world.m_editSubMode = 2;
    world.m_toolMode = TOOL_PATH;
    world.m_gameMode = GAME_MODE_WAR;
    MakeMap(world.m_tileMap, {"#C"});
    world.m_clickedTile = world.m_tileMap.GetTile(0, 0);

    world.ResetForNewGame();
    EXPECT_EQ(world.m_kingdomCamera.Eye(), (plat::Vector3{10.0f, 10.0f, -10.0f}));
    EXPECT_EQ(world.m_kingdomCamera.m_target, (plat::Vector3{10.0f, 0.0f, -10.0f}));
    EXPECT_FALSE(world.m_mailList.HasPendingMail());
    EXPECT_EQ(world.m_mailList.m_showing, 0);
    EXPECT_EQ(world.m_previewObject, nullptr);
    EXPECT_EQ(world.m_activeCamera, &world.m_perspCamera);
    EXPECT_EQ(world.m_clickedTile, nullptr);
    EXPECT_EQ(world.m_battleRunning, 0);
    EXPECT_EQ(world.m_wins, 0);
    EXPECT_EQ(world.m_battleResult, BATTLE_RUNNING);
    EXPECT_EQ(world.m_typeToPlace, 0);
    EXPECT_EQ(world.m_editSubMode, 0);
    // Left to the callers: the tool, the view and the map.
    EXPECT_EQ(world.m_toolMode, TOOL_PATH);
    EXPECT_EQ(world.m_gameMode, GAME_MODE_WAR);
    EXPECT_EQ(Picture(world.m_tileMap), std::vector<std::string>{"#C"});
}

TEST(GameDataTiles, TheClickedTileFollowsItsCellThroughEveryReplacement) {
    GameData world;
    MakeMap(world.m_tileMap, {"G#B", "##C"});
    world.m_tileMap.PlaceBuilding(0, 2, BUILDING_FARM);

    world.m_clickedTile = world.m_tileMap.GetTile(0, 1);
    world.m_tileMap.SetTileType(0, 1, TILE_CRACK);
    ASSERT_EQ(world.m_clickedTile, world.m_tileMap.GetTile(0, 1));
    EXPECT_EQ(world.m_clickedTile->m_type, TILE_CRACK);

    world.m_clickedTile = world.m_tileMap.GetTile(0, 2);
    EXPECT_TRUE(world.m_tileMap.RemoveBuildingAt(0, 2));
    ASSERT_EQ(world.m_clickedTile, world.m_tileMap.GetTile(0, 2));
    EXPECT_EQ(world.m_clickedTile->m_type, TILE_PATH);

    // A crack spreading over the clicked cell.
    world.m_clickedTile = world.m_tileMap.GetTile(1, 0);
    EXPECT_TRUE(world.m_tileMap.SpreadCrack(nullptr, [] { return 0; }));
    ASSERT_EQ(world.m_clickedTile, world.m_tileMap.GetTile(1, 0));
    EXPECT_EQ(world.m_clickedTile->m_name, "Tile - Crack | (Row: 1, Col: 0)");

    // Growing the map moves the tile itself.
    const KRTile* before = world.m_clickedTile;
    world.m_tileMap.ExpandMap();
    EXPECT_EQ(world.m_clickedTile, before);
    EXPECT_EQ(world.m_tileMap.GetTile(2, 1), before);

    world.m_tileMap.Clear();
    EXPECT_EQ(world.m_clickedTile, nullptr);
}

TEST(GameDataTiles, TheCapitalIsClearedWhenItsTileGoesAndFoundOnlyWhereOneIs) {
    GameData world;
    MakeMap(world.m_tileMap, {"#C", "G#"});
    world.FindCapitalTile();
    ASSERT_EQ(world.m_capitalTile, world.m_tileMap.GetTile(0, 1));

    // Replaced by a new Capital tile it moves on; overwritten by anything else it is gone.
    world.m_tileMap.SetTileType(0, 1, TILE_CAPITAL);
    ASSERT_EQ(world.m_capitalTile, world.m_tileMap.GetTile(0, 1));
    EXPECT_EQ(world.m_capitalTile->m_type, TILE_CAPITAL);
    world.m_tileMap.SetTileType(0, 1, TILE_PATH);
    EXPECT_EQ(world.m_capitalTile, nullptr);
    world.FindCapitalTile();
    EXPECT_EQ(world.m_capitalTile, nullptr);

    world.m_tileMap.SetTileType(1, 1, TILE_CAPITAL);
    world.FindCapitalTile();
    ASSERT_EQ(world.m_capitalTile, world.m_tileMap.GetTile(1, 1));

    // A map without a capital read in place of this one.
    MakeMap(world.m_tileMap, {"##", "#G"});
    EXPECT_EQ(world.m_capitalTile, nullptr);
    world.FindCapitalTile();
    EXPECT_EQ(world.m_capitalTile, nullptr);

    MakeMap(world.m_tileMap, {"C#"});
    world.FindCapitalTile();
    world.m_tileMap.CreateDefaultGrid();
    EXPECT_EQ(world.m_capitalTile, nullptr);
}

TEST(GameDataTiles, TheGateListKeepsInStepWithTheGrid) {
    GameData world;
    MakeMap(world.m_tileMap, {"G..", "...", "..G"});
    world.m_tileMap.SetTileType(1, 1, TILE_GATE);
    EXPECT_EQ(world.m_tileMap.Gates(),
              (std::vector<KRTile*>{world.m_tileMap.GetTile(0, 0), world.m_tileMap.GetTile(1, 1),
                                    world.m_tileMap.GetTile(2, 2)}));
    world.m_tileMap.SetTileType(0, 0, TILE_PATH);
    world.m_tileMap.SetTileType(2, 2, TILE_GATE);
    EXPECT_EQ(world.m_tileMap.Gates(),
              (std::vector<KRTile*>{world.m_tileMap.GetTile(1, 1), world.m_tileMap.GetTile(2, 2)}));

    // Every gate replaced: nothing to crack from, and nothing stale is read.
    world.m_tileMap.SetTileType(1, 1, TILE_CAPITAL);
    world.m_tileMap.SetTileType(2, 2, TILE_EMPTY);
    EXPECT_TRUE(world.m_tileMap.Gates().empty());
    EXPECT_FALSE(world.m_tileMap.SpreadCrack(nullptr, [] { return 0; }));

    // A gate put back is cracked from at once.
    world.m_tileMap.SetTileType(2, 0, TILE_GATE);
    EXPECT_TRUE(world.m_tileMap.SpreadCrack(nullptr, [] { return 0; }));
    EXPECT_EQ(Picture(world.m_tileMap), (std::vector<std::string>{"#..", "xC.", "G.."}));
}

TEST(GameDataTiles, AWorldGoesWithItsPointersStillSet) {
    auto world = std::make_unique<GameData>();
    MakeMap(world->m_tileMap, {"CG"});
    world->FindCapitalTile();
    world->m_clickedTile = world->m_tileMap.GetTile(0, 1);
    world->m_tileMap.PlaceBuilding(0, 0, BUILDING_CAPITAL);
    world->m_mailList.AddMail("bye", MAIL_INFO);
    world.reset();
    SUCCEED();
}

class GameDataInEngine : public KingdomEngineTest {};

TEST_F(GameDataInEngine, TextAndBoxesFindTheirCamerasAndModesInTheWorld) {
    TextCameras cameras = CamerasForText(*engine);
    EXPECT_EQ(cameras.hud, &world().m_guiCamera);
    EXPECT_EQ(cameras.active, &world().m_perspCamera);
    world().m_activeCamera = &world().m_kingdomCamera;
    EXPECT_EQ(CamerasForText(*engine).active, &world().m_kingdomCamera);

    world().m_gameMode = GAME_MODE_UNIT_EDITOR;
    EXPECT_EQ(CurrentBoxContext().GameMode(), GAME_MODE_UNIT_EDITOR);
    CurrentBoxContext().SetToolMode(TOOL_DEMOLISH);
    EXPECT_EQ(world().m_toolMode, TOOL_DEMOLISH);

    engine.reset();
    EXPECT_EQ(CurrentBoxContext().GameMode(), 0);
    CurrentBoxContext().SetToolMode(TOOL_PATH);
}

TEST_F(GameDataInEngine, ShutdownGivesBackOnlyTheTemplateTexturesItTook) {
    const auto& templates = world().m_tileMap.m_templateTiles;
    const std::string pathTexture = templates[TILE_PATH]->m_sprite.m_textureFile;
    for (const auto& tile : templates) {
        tile->Load(*engine);
    }
    EXPECT_EQ(TextureCount(pathTexture), 1);
    // Another user of the same picture.
    LoadPicture("../Assets/Tiles/tilepath.xml");
    EXPECT_EQ(TextureCount(pathTexture), 2);
    Log log;
    EXPECT_TRUE(engine->Shutdown());
    EXPECT_EQ(TextureCount(pathTexture), 1);
    // A second shutdown (the engine's destructor runs one) has nothing left to give back.
    EXPECT_TRUE(engine->Shutdown());
    EXPECT_EQ(TextureCount(pathTexture), 1);
    EXPECT_EQ(log.Text().find("Couldn't"), std::string::npos);
}

} // namespace

class GameDataRealm : public KingdomEngineTest {
  protected:
    void SetUp() override {
        KingdomEngineTest::SetUp();
        world().m_playerEditor = std::make_unique<PlayerEditor>(engine.get(), &world(), [] { return 0; });
        engine->m_playerEditor = world().m_playerEditor.get();
        BuildKingdomHud(*engine);
    }
    PlayerEditor& realm() { return *engine->m_playerEditor; }
};

TEST_F(GameDataRealm, ANewGameGivesTheRealmItsStartingValuesAndNoPause) {
    PlayerEditor& r = realm();
    KRUnit unit("Demon");
    r.m_selectedUnit = &unit;
    r.m_tooltipKind = 2;
    r.m_tutorial = false;
    for (float& stock : r.m_stock) {
        stock = 77.0f;
    }
    r.m_land = 9.0f;
    r.m_masteryPoints = 6;
    r.m_messages.push_back({"old news", 1, 0xFFFFFFFF});
    r.m_firstVisibleMessage = 4;
    ASSERT_NE(r.m_messageWindowBox, nullptr);
    r.m_messageWindowBox->m_folded = false;
    r.m_messageBoxVisible = true;
    r.m_merchantCountdown = 30.0f;
    r.m_paused = true;

    world().ResetForNewGame();
    EXPECT_EQ(r.m_selectedUnit, nullptr);
    EXPECT_EQ(r.m_tooltipKind, 0);
    EXPECT_TRUE(r.m_tutorial);
    for (int k = 0; k < RESOURCE_COUNT; ++k) {
        EXPECT_FLOAT_EQ(r.m_stock[k], k == RESOURCE_MONEY ? 500.0f : 0.0f) << k;
    }
    EXPECT_FLOAT_EQ(r.m_land, 1.0f);
    EXPECT_EQ(r.m_masteryPoints, 1);
    EXPECT_TRUE(r.m_messages.empty());
    EXPECT_EQ(r.m_firstVisibleMessage, 0);
    EXPECT_TRUE(r.m_messageWindowBox->m_folded);
    EXPECT_FALSE(r.m_messageBoxVisible);
    EXPECT_FLOAT_EQ(r.m_merchantCountdown, 0.1f);
    EXPECT_FALSE(r.m_paused);
    ASSERT_NE(r.m_pauseBox, nullptr);
    EXPECT_EQ(r.m_pauseBox->m_label.m_text, "Pause");
}

TEST_F(GameDataRealm, ASecondNewGameStartsWithTheFirstNewGamesMasteriesAndClock) {
    PlayerEditor& r = realm();
    auto kept = [&r] {
        std::vector<double> v(std::begin(r.m_masteryLevel), std::end(r.m_masteryLevel));
        v.insert(v.end(), std::begin(r.m_masteryMod), std::end(r.m_masteryMod));
        v.insert(v.end(), std::begin(r.m_masteryNextMod), std::end(r.m_masteryNextMod));
        v.push_back(r.m_clock);
        return v;
    };
    world().ResetForNewGame();
    const std::vector<double> first = kept();
    r.BuyMasteryLevel(kBoxActionFirstMastery + 3);
    r.m_clock = 5000.0;
    world().ResetForNewGame();
    EXPECT_EQ(kept(), first);
}

// What a player sees of a box's fold, scroll, selection and motion.
std::vector<std::string> HudLooks(const GameData& world) {
    std::vector<std::string> looks;
    for (const auto& box : world.m_hudBoxes) {
        const plat::Vector3& at = box->m_layoutPosition;
        looks.push_back(box->m_label.m_text +
                        FormatString(" at %.3f,%.3f size %.3f,%.3f", at.x, at.z,
                                     box->m_boundingBox.m_scale[0], box->m_boundingBox.m_scale[1]) +
                        (box->m_folded ? " folded" : "") + (box->m_pickable ? " pickable" : "") +
                        (box->m_sprite.m_visible ? " visible" : "") + (box->m_selectByte ? " selected" : "") +
                        (box->m_blinking ? " blinking" : "") + (box->m_commands.empty() ? "" : " busy") +
                        " window " + std::to_string(box->m_windowStart));
    }
    return looks;
}

TEST_F(GameDataRealm, ASecondNewGameFindsTheHudAsTheFirstDid) {
    world().ResetForNewGame();
    const std::vector<std::string> first = HudLooks(world());
    // A game played: the Build list opened and scrolled, the Menu and the Army list opened, a unit bought
    // into the Army list, a box left blinking and one half-way through its click.
    WorldBoxContext context(world());
    SetBoxContext(&context);
    BoxObject* build = realm().m_buildMenuBox;
    for (BoxObject* box : {build, build->m_members.back(), realm().m_menuBox, realm().m_armyRosterBox}) {
        box->QueueCommand(BoxCommandKind::Click, 0.0f);
        for (int frame = 0; frame < 40; ++frame) {
            world().UpdateHudBoxes(0.05f);
        }
    }
    realm().RestorePurchasedUnit(std::make_unique<KRUnit>("Demon"));
    realm().m_landDisplayBox->m_blinking = true;
    realm().m_kingdomTabBox->QueueCommand(BoxCommandKind::Click, 0.0f);
    world().UpdateHudBoxes(0.05f);
    ASSERT_EQ(build->m_windowStart, 2u);
    ASSERT_NE(HudLooks(world()), first);

    world().ResetForNewGame();
    SetBoxContext(nullptr);
    EXPECT_EQ(HudLooks(world()), first);
    EXPECT_EQ(realm().m_clickedBox, nullptr);
}

// Purchases and roster removals delete boxes from inside a click: the box whose action runs, and
// others, go after the pass over the boxes (the sanitizer build catches any use after delete).
class DeletingContext : public WorldBoxContext {
  public:
    using WorldBoxContext::WorldBoxContext;
    void DispatchBoxAction(BoxActionId, BoxObject* box) override {
        DeleteHudBox(m_world, box);
        DeleteHudBox(m_world, other);
    }
    BoxObject* other = nullptr;
};

TEST_F(GameDataRealm, AClickThatDeletesItsOwnBoxAndAnotherIsSafe) {
    DeletingContext context(world());
    SetBoxContext(&context);
    BoxObject* clicked = realm().m_kingdomTabBox;
    context.other = realm().m_warTabBox;
    ASSERT_TRUE(clicked != nullptr && context.other != nullptr);
    const size_t before = world().m_hudBoxes.size();
    clicked->QueueCommand(BoxCommandKind::Click, 0.0f);
    realm().m_hoveredBox = clicked;

    world().UpdateHudBoxes(0.016f);
    SetBoxContext(nullptr);
    EXPECT_EQ(world().m_hudBoxes.size(), before - 2);
    EXPECT_TRUE(world().m_hudBoxesLeaving.empty());
    EXPECT_EQ(realm().m_hoveredBox, nullptr);
    EXPECT_EQ(realm().m_kingdomTabBox, nullptr);
    EXPECT_EQ(realm().m_warTabBox, nullptr);
    // Outside the pass a deletion is immediate.
    DeleteHudBox(world(), realm().m_unitTabBox);
    EXPECT_EQ(world().m_hudBoxes.size(), before - 3);
}
