// Picking on the null device: tiles under known cursor positions through the top view and the
// perspective camera (with side bars), HUD boxes tested in the plane they lie in, and hover pulses that
// never starve a click.
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/kingdomhud.h"
#include "kingdom_support.h"
#include "realm/playereditor.h"

using kingdomtest::KingdomEngineTest;
using kingdomtest::MakeMap;

namespace {

class Picking : public KingdomEngineTest {
  protected:
    void SetUp() override {
        KingdomEngineTest::SetUp();
        world().m_playerEditor = std::make_unique<PlayerEditor>(engine.get(), &world(), [] { return 0; });
        engine->m_playerEditor = world().m_playerEditor.get();
        std::vector<std::string> rows(14, std::string(12, '.'));
        MakeMap(world().m_tileMap, rows);
        Screen(1024, 768, 0);
    }
    void Screen(uint32_t width, uint32_t height, uint32_t margin) {
        engine->m_display.width = width;
        engine->m_display.height = height;
        engine->m_display.margin = margin;
    }
    void Cursor(int x, int y) {
        engine->m_input.cursorX = x;
        engine->m_input.cursorY = y;
    }
    const KRTile* Clicked() {
        world().m_clickedTile = nullptr;
        world().m_toolMode = TOOL_SELECT;
        KingdomEditorState::PickTileOnClick(*engine, false);
        return world().m_clickedTile;
    }
    PlayerEditor& realm() { return *engine->m_playerEditor; }
};

TEST_F(Picking, TheTopViewMapsPixelsOntoTiles) {
    world().m_activeCamera = &world().m_kingdomCamera; // over x 5, z -10; 64 pixels a tile
    Cursor(512, 384);
    ASSERT_NE(Clicked(), nullptr);
    EXPECT_EQ(world().m_clickedTile->m_row, 10u);
    EXPECT_EQ(world().m_clickedTile->m_col, 5u);
    Cursor(512 - 2 * 64, 384 - 3 * 64);
    ASSERT_NE(Clicked(), nullptr);
    EXPECT_EQ(world().m_clickedTile->m_row, 7u);
    EXPECT_EQ(world().m_clickedTile->m_col, 3u);
    Cursor(2, 2); // off the map
    EXPECT_EQ(Clicked(), nullptr);
}

TEST_F(Picking, ThePerspectiveRayMeetsTheGroundUnderTheCursorBetweenSideBars) {
    Screen(1280, 720, 160);
    world().m_activeCamera = &world().m_perspCamera;
    world().m_perspCamera.SetTarget({4.0f, -0.5f, -6.0f});
    world().m_perspCamera.Update(0.0f);
    // The centre of the picture between the bars looks at the target.
    Cursor(640, 360);
    const MouseRay ray = KingdomEditorState::CastMouseRay(*engine);
    EXPECT_NEAR(ray.m_ground.y, -0.5f, 1e-4f);
    ASSERT_NE(Clicked(), nullptr);
    EXPECT_EQ(world().m_clickedTile->m_row, 6u);
    EXPECT_EQ(world().m_clickedTile->m_col, 4u);
    // The eye stands on the far side of the map's row 0, so up the picture the rows fall.
    Cursor(640, 344);
    ASSERT_NE(Clicked(), nullptr);
    EXPECT_LT(world().m_clickedTile->m_row, 6u);
    EXPECT_EQ(world().m_clickedTile->m_col, 4u);
}

TEST_F(Picking, BoxesAreHitInTheirOwnPlaneAndGroupMembersTakeClicks) {
    BuildKingdomHud(*engine);
    world().m_activeCamera = &world().m_kingdomCamera;
    BoxObject* build = realm().m_buildMenuBox;
    Cursor(512 - 7 * 64, 384 + 5 * 64); // the Build head at (-7, -5)
    ASSERT_TRUE(KingdomEditorState::PickObjectUnderMouse(*engine));
    ASSERT_FALSE(build->m_commands.empty());
    EXPECT_EQ(build->m_commands.front().m_kind, BoxCommandKind::Click);

    // A closed row takes nothing; the same row opened does, though it belongs to the list's group.
    BoxObject* farm = build->m_members[2];
    Cursor(512 - 160, 384 + 5 * 64);
    EXPECT_FALSE(KingdomEditorState::PickObjectUnderMouse(*engine));
    farm->m_folded = false;
    farm->m_pickable = true;
    farm->m_sprite.m_visible = true;
    farm->m_layoutPosition = {-2.5f, 0.0f, -5.0f}; // where the opened list lays it
    ASSERT_TRUE(KingdomEditorState::PickObjectUnderMouse(*engine));
    EXPECT_EQ(farm->m_commands.front().m_kind, BoxCommandKind::Click);

    // Hovering queues a pulse each frame behind the click and marks the box hovered and helped.
    KingdomEditorState::UpdatePicking(*engine);
    KingdomEditorState::UpdatePicking(*engine);
    EXPECT_EQ(realm().m_hoveredBox, farm);
    EXPECT_EQ(realm().m_helpBox, farm);
    ASSERT_EQ(farm->m_commands.size(), 3u);
    EXPECT_EQ(farm->m_commands.front().m_kind, BoxCommandKind::Click);
    EXPECT_EQ(farm->m_commands.back().m_kind, BoxCommandKind::PressPulse);
}

// Counters, the Helper Text bar, the frames and the Game Message Box take no clicks but are hovered,
// so that they select their help text.
TEST_F(Picking, BoxesThatTakeNoClicksAreStillHovered) {
    BuildKingdomHud(*engine);
    world().m_activeCamera = &world().m_kingdomCamera;
    BoxObject* money = realm().m_resourceCounterBoxes[RESOURCE_MONEY];
    ASSERT_NE(money, nullptr);
    ASSERT_FALSE(money->m_pickable);
    Cursor(512 + static_cast<int>(money->m_layoutPosition.x * 64), 384 - static_cast<int>(5.25f * 64));
    KingdomEditorState::UpdatePicking(*engine);
    EXPECT_EQ(realm().m_hoveredBox, money);
    EXPECT_EQ(realm().m_helpBox, money);
    EXPECT_FALSE(KingdomEditorState::PickObjectUnderMouse(*engine));
    money->Update(0.016f); // a pulse on a box that takes no clicks ends at once, at its own size
    EXPECT_TRUE(money->m_commands.empty());
    EXPECT_FLOAT_EQ(money->m_boundingBox.m_scale[0], money->m_baseWidth);

    Cursor(512 + 4 * 64, 384 - static_cast<int>(5.75f * 64)); // the Helper Text bar
    KingdomEditorState::UpdatePicking(*engine);
    EXPECT_EQ(realm().m_hoveredBox, realm().m_tooltipTextBox);
    Cursor(512 - 5 * 64, 384); // the Game Message Box
    KingdomEditorState::UpdatePicking(*engine);
    EXPECT_EQ(realm().m_hoveredBox, realm().m_messageWindowBox);

    // While the message box slides open it is passed over, and nothing under it is hovered.
    realm().m_messageWindowBox->m_commands.clear();
    realm().m_messageWindowBox->QueueCommand(BoxCommandKind::MoveTo, 1.0f, {-5.0f, 0.0f, 0.75f});
    KingdomEditorState::UpdatePicking(*engine);
    EXPECT_EQ(realm().m_hoveredBox, nullptr);
    EXPECT_EQ(realm().m_helpBox, nullptr);
}

// A mail is hit anywhere on its picture, 6 x 3 at first, and only there.
TEST_F(Picking, AMailIsHitOverItsWholePicture) {
    world().m_activeCamera = &world().m_kingdomCamera;
    MailList& column = world().m_mailList;
    column.AddMail("My Lord, our coffers are empty!", MAIL_ALERT);
    Mail& mail = *column.m_mails.front();
    mail.m_boundingBox.m_position = {1.0f, 0.0f, -1.0f};
    // Inside near the right and top edges: (3.9, -1.0) and (1.0, 0.45).
    for (const auto& [x, y] : {std::pair{512 + 250, 384 + 64}, std::pair{512 + 64, 384 - 29}}) {
        Cursor(x, y);
        mail.m_read = 0;
        ASSERT_TRUE(KingdomEditorState::PickObjectUnderMouse(*engine));
        EXPECT_EQ(mail.m_read, 1) << x << "," << y;
    }
    // Just outside the right edge the click is taken (a mail is up) but the mail stays unread.
    mail.m_read = 0;
    Cursor(512 + 260, 384 + 64);
    EXPECT_TRUE(KingdomEditorState::PickObjectUnderMouse(*engine));
    EXPECT_EQ(mail.m_read, 0);
}

TEST_F(Picking, AClickOnAMailIsTakenBeforeTheMap) {
    world().m_activeCamera = &world().m_kingdomCamera;
    world().m_mailList.AddMail("My Lord, our coffers are empty!", MAIL_ALERT);
    Cursor(512, 384);
    EXPECT_TRUE(KingdomEditorState::PickObjectUnderMouse(*engine));
}

TEST_F(Picking, ClicksReachTheRealmAndADeletedBoxLeavesNoRealmPointer) {
    BuildKingdomHud(*engine);
    BoxObject* build = realm().m_buildMenuBox;
    BoxObject* pause = realm().m_pauseBox;
    ASSERT_NE(build, nullptr);
    ASSERT_NE(pause, nullptr);
    const float dt = 0.016f;

    build->QueueCommand(BoxCommandKind::Click, 0.0f);
    build->Update(dt);
    EXPECT_EQ(realm().m_lastClickedBox, build);

    // While the realm is paused only the Pause box is clicked.
    realm().m_paused = true;
    realm().m_lastClickedBox = nullptr;
    build->m_commands.clear();
    build->QueueCommand(BoxCommandKind::Click, 0.0f);
    build->Update(dt);
    EXPECT_EQ(realm().m_lastClickedBox, nullptr);
    pause->QueueCommand(BoxCommandKind::Click, 0.0f);
    pause->Update(dt);
    EXPECT_EQ(realm().m_lastClickedBox, pause);
    realm().m_paused = false;

    // Deleted by the box list itself, not through the realm.
    realm().m_hoveredBox = build;
    realm().m_helpBox = build;
    realm().m_lastClickedBox = build;
    DeleteHudBox(world(), build);
    EXPECT_EQ(realm().m_hoveredBox, nullptr);
    EXPECT_EQ(realm().m_helpBox, nullptr);
    EXPECT_EQ(realm().m_lastClickedBox, nullptr);
    EXPECT_EQ(realm().m_buildMenuBox, nullptr);
}

TEST_F(Picking, ARightClickThrowsAwayOnlyTheMailUnderTheCursor) {
    world().m_activeCamera = &world().m_kingdomCamera;
    MailList& column = world().m_mailList;
    column.AddMail("My Lord, our coffers are empty!", MAIL_ALERT);
    ASSERT_EQ(column.m_mails.size(), 1u);
    Mail& mail = *column.m_mails.front();
    const plat::Vector3 eye = world().m_guiCamera.Eye();
    mail.m_boundingBox.m_position = {eye.x + 6.0f, eye.y - 1.0f, eye.z + 2.0f};

    Cursor(512, 384);
    EXPECT_FALSE(KingdomEditorState::PickObjectUnderCursor(*engine));
    EXPECT_EQ(column.m_mails.size(), 1u);
    EXPECT_EQ(column.m_showing, 1);

    Cursor(512 + 6 * 64, 384 - 2 * 64);
    EXPECT_TRUE(KingdomEditorState::PickObjectUnderCursor(*engine));
    EXPECT_TRUE(column.m_mails.empty());
    EXPECT_EQ(column.m_showing, 0) << "an unread mail thrown away is no longer on show";
}

} // namespace
