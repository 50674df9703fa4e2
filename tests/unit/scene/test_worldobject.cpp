// World markers: placement, the shared bob and pulse between their limits, drawing and the label.
#include "test_gameobject_support.h"

#include "scene/worldobject.h"

using namespace scenetest;

namespace {

class Tile : public KRGameObject {
  public:
    Tile() : KRGameObject("KRTile", kObjectSprite) {}
};

class WorldMarker : public SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        WorldObject::s_bobDirection = 0;
        WorldObject::s_pulseDirection = 0;
    }
    void TearDown() override {
        WorldObject::s_bobDirection = 0;
        WorldObject::s_pulseDirection = 0;
        SceneTest::TearDown();
    }

    // A standing marker that moves, with its bob between base and base + 0.5.
    static void MakeMoving(WorldObject& marker, const plat::Vector3& at) {
        WorldObject::SetWorldPosition(&marker, {at.x, at.y + 0.5f, -at.z}, {0.0f, 0.0f, 0.0f});
        marker.m_frozen = 0;
        marker.m_standing = 1;
    }
};

TEST_F(WorldMarker, ANewMarkerIsVisibleFrozenStandingAndUnlabelled) {
    WorldObject marker;
    EXPECT_EQ(marker.m_name, "KRBoxObject");
    EXPECT_EQ(marker.m_sprite.m_xmlName, kWorldObjectSpriteFile);
    EXPECT_TRUE(marker.m_sprite.m_visible);
    EXPECT_FALSE(marker.m_showLabel);
    EXPECT_EQ(marker.m_frozen, 1);
    EXPECT_EQ(marker.m_standing, 2);
    EXPECT_EQ(marker.m_bobTop, 0.5f);
    EXPECT_TRUE(marker.m_label.m_text.empty());
    EXPECT_FLOAT_EQ(marker.m_label.m_size, 0.27f);

    marker.SetLabel("ATTENTION");
    EXPECT_EQ(marker.m_label.m_text, "ATTENTION");
    EXPECT_EQ(marker.m_label.m_glyphs.size(), 9u);
    ExpectVectorNear(marker.m_label.m_origin, {0.0f, 0.0f, 0.0f}, 0.0f);
}

TEST_F(WorldMarker, PlacementAddsTheOffsetLowersByHalfAndNegatesZ) {
    WorldObject marker;
    marker.m_sprite.m_visible = false;
    WorldObject::SetWorldPosition(&marker, {2.0f, 1.0f, 3.0f}, {0.5f, 0.25f, -0.5f});
    EXPECT_TRUE(marker.m_sprite.m_visible);
    ExpectVectorNear(marker.m_boundingBox.m_position, {2.5f, 0.75f, -2.5f}, 0.0f);
    ExpectVectorNear(marker.m_bobBase, {2.5f, 0.75f, -2.5f}, 0.0f);
    EXPECT_EQ(marker.m_bobTop, 1.25f);

    // Over the tile at column 4, row 6 (the tile stands at z = -6), with the picking offset of half
    // a tile toward the viewer: the marker stands at z -5.5.
    Tile tile;
    tile.m_boundingBox.m_position = {4.0f, 0.0f, -6.0f};
    WorldObject::PlaceOverTile(&marker, &tile, {0.0f, 0.5f, -0.5f});
    ExpectVectorNear(marker.m_boundingBox.m_position, {4.0f, 0.0f, -5.5f}, 0.0f);
    EXPECT_EQ(marker.m_bobTop, 0.5f);

    // No tile, or no marker: nothing changes, hidden stays hidden.
    marker.m_sprite.m_visible = false;
    WorldObject::PlaceOverTile(&marker, nullptr, {1.0f, 1.0f, 1.0f});
    EXPECT_FALSE(marker.m_sprite.m_visible);
    ExpectVectorNear(marker.m_boundingBox.m_position, {4.0f, 0.0f, -5.5f}, 0.0f);
    WorldObject::PlaceOverTile(nullptr, &tile, {0.0f, 0.0f, 0.0f});
    WorldObject::SetWorldPosition(nullptr, {1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f});
}

TEST_F(WorldMarker, TheBobRisesHalfAUnitTurnsInAFrameWithoutMovingAndFallsBack) {
    WorldObject marker;
    MakeMoving(marker, {0.0f, 0.0f, 0.0f});
    const float t = 0.125f; // exact in binary, so the heights below are exact
    std::vector<float> heights;
    for (int frame = 0; frame < 12; ++frame) {
        marker.Bob(t);
        heights.push_back(marker.m_boundingBox.m_position.y);
    }
    EXPECT_EQ(heights, (std::vector<float>{0.125f, 0.25f, 0.375f, 0.5f, 0.5f, 0.375f, 0.25f, 0.125f, 0.0f,
                                           0.0f, 0.125f, 0.25f}));

    // A large step overshoots the top by up to one step, then turns on the next frame.
    WorldObject::s_bobDirection = 0;
    marker.m_boundingBox.m_position.y = 0.4f;
    marker.Bob(0.3f);
    EXPECT_FLOAT_EQ(marker.m_boundingBox.m_position.y, 0.7f);
    marker.Bob(0.3f);
    EXPECT_FLOAT_EQ(marker.m_boundingBox.m_position.y, 0.7f);
    EXPECT_EQ(WorldObject::s_bobDirection, 1);
    marker.Bob(0.3f);
    marker.Bob(0.3f);
    marker.Bob(0.3f);
    EXPECT_NEAR(marker.m_boundingBox.m_position.y, -0.2f, 1e-6f);
    marker.Bob(0.3f);
    EXPECT_EQ(WorldObject::s_bobDirection, 0);
}

TEST_F(WorldMarker, ThePulseRunsBetweenOneAndOneAndAQuarterAndXTakesTheSameSteps) {
    WorldObject marker;
    marker.m_boundingBox.m_scale[0] = 2.0f;
    const float t = 0.125f;
    std::vector<float> ys;
    std::vector<float> xs;
    for (int frame = 0; frame < 8; ++frame) {
        marker.Pulse(t);
        ys.push_back(marker.m_boundingBox.m_scale[1]);
        xs.push_back(marker.m_boundingBox.m_scale[0]);
    }
    EXPECT_EQ(ys, (std::vector<float>{1.125f, 1.25f, 1.25f, 1.125f, 1.0f, 1.0f, 1.125f, 1.25f}));
    EXPECT_EQ(xs, (std::vector<float>{2.125f, 2.25f, 2.25f, 2.125f, 2.0f, 2.0f, 2.125f, 2.25f}));
}

TEST_F(WorldMarker, TheDirectionsAreSharedSoMarkersTurnTogether) {
    WorldObject low;
    WorldObject high;
    MakeMoving(low, {0.0f, 0.0f, 0.0f});
    MakeMoving(high, {0.0f, 5.0f, 0.0f});
    low.m_boundingBox.m_position.y = 0.45f;
    const float t = 0.125f;
    low.Update(t);
    high.Update(t);
    EXPECT_FLOAT_EQ(low.m_boundingBox.m_position.y, 0.575f);
    EXPECT_FLOAT_EQ(high.m_boundingBox.m_position.y, 5.125f);
    // The low marker reaches its top and turns; the high one, far from its top, goes down with it.
    low.Update(t);
    high.Update(t);
    EXPECT_FLOAT_EQ(low.m_boundingBox.m_position.y, 0.575f);
    EXPECT_FLOAT_EQ(high.m_boundingBox.m_position.y, 5.0f);
    EXPECT_EQ(WorldObject::s_bobDirection, 1);
}

TEST_F(WorldMarker, AFrozenMarkerStaysPutButStillAnimatesAndALaidFlatOneOnlyPulses) {
    WorldObject marker;
    marker.m_sprite.ApplyTextureConfig(kObjectSprite);
    ASSERT_TRUE(marker.m_sprite.SetAnimation("Spin"));
    WorldObject::SetWorldPosition(&marker, {1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f});
    clock.now += 60;
    marker.Update(0.1f);
    EXPECT_EQ(marker.m_sprite.m_currentFrame, 1u);
    ExpectVectorNear(marker.m_boundingBox.m_position, {1.0f, 0.5f, -1.0f}, 0.0f);
    EXPECT_EQ(marker.m_boundingBox.m_scale[1], 1.0f);

    marker.m_frozen = 0;
    marker.m_standing = 0;
    marker.Update(0.1f);
    ExpectVectorNear(marker.m_boundingBox.m_position, {1.0f, 0.5f, -1.0f}, 0.0f);
    EXPECT_FLOAT_EQ(marker.m_boundingBox.m_scale[1], 1.1f);

    marker.m_standing = 1;
    marker.Update(0.1f);
    EXPECT_FLOAT_EQ(marker.m_boundingBox.m_position.y, 0.6f);
    EXPECT_FLOAT_EQ(marker.m_boundingBox.m_scale[1], 1.2f);
}

TEST_F(WorldMarker, ADeltaThatRunsBackwardsDoesNotMoveAMarker) {
    WorldObject marker;
    MakeMoving(marker, {0.0f, 0.0f, 0.0f});
    for (int frame = 0; frame < 100; ++frame) {
        marker.Update(-0.5f);
    }
    EXPECT_EQ(marker.m_boundingBox.m_position.y, 0.0f);
    EXPECT_EQ(marker.m_boundingBox.m_scale[0], 1.0f);
    EXPECT_EQ(marker.m_boundingBox.m_scale[1], 1.0f);
    // Going down, a backward step does not lift it either.
    WorldObject::s_bobDirection = 1;
    WorldObject::s_pulseDirection = 1;
    marker.m_boundingBox.m_position.y = 0.3f;
    marker.Update(-0.5f);
    EXPECT_EQ(marker.m_boundingBox.m_position.y, 0.3f);
}

TEST_F(WorldMarker, ALaidFlatMarkerIsSwappedIntoTheGroundAndAStandingOneIsDrawnAsItStands) {
    WorldObject marker;
    WorldObject::SetWorldPosition(&marker, {3.0f, 1.0f, 2.0f}, {0.0f, 0.0f, 0.0f});
    marker.m_boundingBox.m_scale[1] = 2.0f;
    marker.m_standing = 0;
    marker.Render(*engine);
    ASSERT_EQ(device->sceneDraws.size(), 1u);
    ExpectMatrixNear(device->sceneDraws[0].world,
                     Rows({{{1, 0, 0, 0}, {0, 0, 2, 0}, {0, 1, 0, 0}, {3, 0.5f, -2, 1}}}), 0.0f);

    marker.m_standing = 1;
    marker.Render(*engine);
    ASSERT_EQ(device->sceneDraws.size(), 2u);
    ExpectMatrixNear(device->sceneDraws[1].world,
                     Rows({{{1, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 1, 0}, {3, 0.5f, -2, 1}}}), 0.0f);
}

TEST_F(WorldMarker, TheLabelIsDrawnAboveAVisibleMarkerOnlyWhenShown) {
    WorldObject marker;
    marker.m_standing = 1;
    marker.SetLabel("GO");
    marker.m_label.m_worldFlag = 1;
    WorldObject::SetWorldPosition(&marker, {2.0f, 1.0f, -4.0f}, {0.0f, 0.0f, 0.0f});
    marker.m_boundingBox.m_scale[1] = 1.5f;

    marker.Render(*engine);
    EXPECT_EQ(device->sceneDraws.size(), 1u);

    marker.m_showLabel = true;
    marker.Render(*engine);
    ASSERT_EQ(device->sceneDraws.size(), 4u);
    // The label starts half a unit left of the marker, at its top, half a unit nearer the viewer.
    ExpectVectorNear(marker.m_label.m_origin, {1.5f, 0.5f + 0.75f, 3.5f}, 0.0f);
    const float advance = 0.27f / 1.9f;
    for (size_t i = 0; i < 2; ++i) {
        const plat::Matrix& world = device->sceneDraws[2 + i].world;
        ExpectVectorNear({world(3, 0), world(3, 1), world(3, 2)},
                         {1.5f + static_cast<float>(i) * advance, 1.25f, 3.5f}, 0.0f);
    }

    // Hidden: neither the marker nor its label.
    marker.m_sprite.m_visible = false;
    marker.Render(*engine);
    EXPECT_EQ(device->sceneDraws.size(), 4u);
}

} // namespace
