// Drawing HUD boxes: flat under the HUD camera, the heights that lift a box, what keeps a box from
// being drawn, and the label or number over it.
#include "test_box_support.h"

#include "scene/krcamera.h"

using namespace boxtest;

namespace {

struct Cameras {
    KROrthoCamera hud;
    KRPerspCamera active;
};
Cameras* g_cameras = nullptr;

TextCameras CamerasOfTest(Engine&) {
    return g_cameras != nullptr ? TextCameras{&g_cameras->hud, &g_cameras->active} : TextCameras{};
}

class BoxRender : public BoxTest {
  protected:
    void SetUp() override {
        BoxTest::SetUp();
        for (const char* file : {"../Assets/guibuttonsheet.xml", "../Assets/fonts.xml"}) {
            Sprite resident(&clock);
            resident.InitWithXML(file, false);
            resident.Load(*engine);
        }
        // A HUD camera moved off the origin shows whether its eye is added once.
        cameras.hud.Eye() = {2.0f, 10.0f, -1.0f};
        cameras.hud.m_target = {2.0f, 0.0f, -1.0f};
        g_cameras = &cameras;
        SetTextCameraSource(CamerasOfTest);
    }
    void TearDown() override {
        g_cameras = nullptr;
        BoxTest::TearDown();
    }

    // The translation row of a draw's world matrix.
    static plat::Vector3 Where(const spritetest::SpyDraw& draw) {
        return {draw.world(3, 0), draw.world(3, 1), draw.world(3, 2)};
    }

    size_t DrawsOf(BoxObject* box) {
        device->spyDraws.clear();
        box->Render(*engine);
        return device->spyDraws.size();
    }

    Cameras cameras;
};

TEST_F(BoxRender, ABoxLiesFlatAtItsLayoutPlaceUnderTheHudCameraThenTheActiveCameraReturns) {
    BoxObject* box = NewBox(1.0f, 2.0f, 2.0f, 1.0f);
    box->m_showLabel = false;
    ASSERT_EQ(DrawsOf(box), 1u);
    const plat::Matrix& world = device->spyDraws[0].world;
    // scale (2, 1) then the Y/Z swap: the quad's x along x, its y along z.
    EXPECT_FLOAT_EQ(world(0, 0), 2.0f);
    EXPECT_FLOAT_EQ(world(1, 2), 1.0f);
    EXPECT_FLOAT_EQ(world(1, 1), 0.0f);
    const plat::Vector3 at = Where(device->spyDraws[0]);
    EXPECT_FLOAT_EQ(at.x, 3.0f);
    EXPECT_FLOAT_EQ(at.y, 3.0f);
    EXPECT_FLOAT_EQ(at.z, 1.0f);
    EXPECT_TRUE(box->m_rendered);
    // Back at the layout place, where picking looks for it.
    EXPECT_FLOAT_EQ(box->m_boundingBox.m_position.x, 1.0f);
    EXPECT_FLOAT_EQ(box->m_boundingBox.m_position.z, 2.0f);
    plat::Matrix view;
    cameras.active.BuildViewMatrix(view);
    EXPECT_EQ(device->transforms[plat::kTsView], view);

    // A unit's box, and a box pulsing under the cursor, are lifted over the others.
    box->m_linkedUnit = reinterpret_cast<KRUnit*>(&gameData);
    DrawsOf(box);
    EXPECT_FLOAT_EQ(Where(device->spyDraws[0]).y, 3.05f);
    box->m_linkedUnit = nullptr;
    box->QueueCommand(BoxCommandKind::PressPulse, 0.0f);
    DrawsOf(box);
    EXPECT_FLOAT_EQ(Where(device->spyDraws[0]).y, 3.1f);
}

TEST_F(BoxRender, FoldedIdleHiddenAndClosedListBoxesAreNotDrawn) {
    BoxObject* box = NewBox();
    box->m_showLabel = false;
    box->m_folded = true;
    EXPECT_EQ(DrawsOf(box), 0u);
    EXPECT_FALSE(box->m_rendered);
    // Still on its way in: drawn.
    box->QueueCommand(BoxCommandKind::Wait, 0.0f, {}, 1.0f);
    EXPECT_EQ(DrawsOf(box), 1u);
    box->m_commands.clear();
    box->m_folded = false;
    box->m_hidden = 1;
    EXPECT_EQ(DrawsOf(box), 0u);
    box->m_hidden = 0;
    box->m_sprite.m_visible = false;
    EXPECT_EQ(DrawsOf(box), 0u);

    BoxObject* head = CreateHudListBox(gameData, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 2, 1.0f, 0.0f, 0.0f, true,
                                       true, true, false, 0, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f);
    BoxObject* row = head->m_members[1];
    row->m_showLabel = false;
    row->m_actionId = kBoxActionRosterUnit;
    EXPECT_EQ(DrawsOf(row), 1u);
    head->m_selectByte = true;
    EXPECT_EQ(DrawsOf(row), 0u);
}

TEST_F(BoxRender, InTheUnitEditorABoxShowsOnlyOnItsPages) {
    BoxObject* box = NewBox();
    box->m_showLabel = false;
    box->m_panel = 1;
    box->m_subPanel = 4;
    context.infoPage = 2;
    context.unitPage = 1;
    // Pages count only in the unit editor.
    EXPECT_EQ(DrawsOf(box), 1u);
    context.gameMode = 2;
    EXPECT_EQ(DrawsOf(box), 0u);
    context.infoPage = 1;
    EXPECT_EQ(DrawsOf(box), 0u);
    context.unitPage = 4;
    EXPECT_EQ(DrawsOf(box), 1u);
    // Hiding it on one page leaves it free to show on the next.
    EXPECT_TRUE(box->m_sprite.m_visible);

    BoxObject* racePanel = NewBox();
    racePanel->m_showLabel = false;
    racePanel->m_panel = 3;
    for (int32_t page : {5, 9, 12}) {
        context.infoPage = page;
        EXPECT_EQ(DrawsOf(racePanel), 1u) << page;
    }
    for (int32_t page : {1, 4, 13}) {
        context.infoPage = page;
        EXPECT_EQ(DrawsOf(racePanel), 0u) << page;
    }
}

TEST_F(BoxRender, TheLabelOrTheWholeNumberIsDrawnFromTheBoxsLeftEdge) {
    BoxObject* box = NewBox(1.0f, 2.0f, 2.0f, 1.0f);
    box->m_label.SetText("Hi", {0.0f, 0.0f, 0.0f});
    ASSERT_EQ(DrawsOf(box), 3u);
    const float advance = 0.27f / 1.9f;
    for (size_t i = 0; i < 2; ++i) {
        const plat::Vector3 at = Where(device->spyDraws[1 + i]);
        // Layout x - half the width + 0.15, then the HUD camera's eye, added once.
        EXPECT_NEAR(at.x, 1.0f - 1.0f + 0.15f + static_cast<float>(i) * advance + 2.0f, 1e-5f) << i;
        EXPECT_FLOAT_EQ(at.y, 3.0f);
        EXPECT_FLOAT_EQ(at.z, 2.0f - 1.0f);
    }

    float stock = 12.9f;
    box->m_numberSource = &stock;
    box->m_showLabel = false;
    DrawsOf(box);
    EXPECT_EQ(box->m_label.m_text, "12");
    EXPECT_NEAR(Where(device->spyDraws[1]).x, 1.0f - 1.0f + 0.18f + 2.0f, 1e-5f);
    stock = -3.7f;
    DrawsOf(box);
    EXPECT_EQ(box->m_label.m_text, "-3");
    stock = 1e20f;
    DrawsOf(box);
    EXPECT_EQ(box->m_label.m_text, "2147483647");
    // The mastery panel's numbers stand at the box's centre.
    box->m_panel = 4;
    stock = 7.0f;
    DrawsOf(box);
    EXPECT_NEAR(Where(device->spyDraws[1]).x, 1.0f + 2.0f, 1e-5f);
    box->m_panel = 0;

    box->m_showNumber = false;
    EXPECT_EQ(DrawsOf(box), 1u);
}

} // namespace
