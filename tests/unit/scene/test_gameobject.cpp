// Game objects: their world transform, the bounding box they carry, their copies and their textures.
#include "test_gameobject_support.h"

#include "scene/krgameobject.h"

#include <cmath>

using namespace scenetest;

namespace {

constexpr float kHalfPi = 1.57079632679f;

class TestObject : public KRGameObject {
  public:
    explicit TestObject(const std::string& sprite = kObjectSprite) : KRGameObject("TestObject", sprite) {}
    TestObject(const TestObject&) = default;
    TestObject& operator=(const TestObject&) = default;
};

using GameObject = SceneTest;

TEST(BoundingBoxTest, TheXYTestIncludesBothEdgesAndIgnoresZ) {
    BoundingBox box;
    box.m_position = {2.0f, 3.0f, 7.0f};
    box.m_scale[0] = 4.0f;
    box.m_scale[1] = 2.0f;
    EXPECT_TRUE(box.ContainsPointXY({4.0f, 3.0f, -100.0f}));
    EXPECT_TRUE(box.ContainsPointXY({0.0f, 2.0f, 0.0f}));
    EXPECT_TRUE(box.ContainsPointXY({4.0f, 4.0f, 0.0f}));
    EXPECT_FALSE(box.ContainsPointXY({4.001f, 3.0f, 7.0f}));
    EXPECT_FALSE(box.ContainsPointXY({-0.001f, 3.0f, 7.0f}));
    EXPECT_FALSE(box.ContainsPointXY({2.0f, 4.001f, 7.0f}));
    EXPECT_FALSE(box.ContainsPointXY({2.0f, 1.999f, 7.0f}));
}

TEST(BoundingBoxTest, TheXZTestUsesTheRadiusIncludesBothEdgesAndIgnoresY) {
    BoundingBox box;
    box.m_position = {1.0f, 9.0f, -2.0f};
    box.m_scale[0] = 10.0f; // the size plays no part on the ground
    EXPECT_TRUE(box.ContainsPointXZ({1.5f, 0.0f, -2.5f}));
    EXPECT_TRUE(box.ContainsPointXZ({0.5f, -40.0f, -1.5f}));
    EXPECT_FALSE(box.ContainsPointXZ({1.501f, 9.0f, -2.0f}));
    EXPECT_FALSE(box.ContainsPointXZ({1.0f, 9.0f, -1.499f}));
    box.m_radius = 2.0f;
    EXPECT_TRUE(box.ContainsPointXZ({3.0f, 9.0f, 0.0f}));
}

TEST(GameObjectHelpers, DistanceAndTheSwapOfYAndZ) {
    EXPECT_FLOAT_EQ(Distance3({1.0f, 2.0f, 3.0f}, {4.0f, 6.0f, 15.0f}), 13.0f);
    EXPECT_FLOAT_EQ(Distance3({-1.0f, 0.0f, 0.0f}, {-1.0f, 0.0f, 0.0f}), 0.0f);

    const plat::Matrix swap = MatrixSwapYZ();
    ExpectMatrixNear(swap, Rows({{{1, 0, 0, 0}, {0, 0, 1, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}}}), 0.0f);
    ExpectVectorNear(Apply(swap, {1.0f, 2.0f, 3.0f}), {1.0f, 3.0f, 2.0f}, 0.0f);
    // A mirror: swapping twice gives the identity back.
    ExpectMatrixNear(plat::D3DXMatrixMultiply(swap, swap), plat::D3DXMatrixIdentity(), 0.0f);
}

TEST_F(GameObject, ConstructionReadsTheSpriteAndGivesTheBoxItsInitialValues) {
    TestObject object;
    EXPECT_EQ(object.m_name, "TestObject");
    EXPECT_EQ(object.m_sprite.m_xmlName, kObjectSprite);
    EXPECT_EQ(object.m_sprite.m_frames.size(), 4u);
    EXPECT_FALSE(object.m_sprite.m_billboard);
    EXPECT_EQ(object.m_boundingBox.m_sprite.m_xmlName, kBoundingBoxSpriteFile);
    EXPECT_TRUE(object.m_boundingBox.m_sprite.m_layFlat);
    ExpectVectorNear(object.m_boundingBox.m_position, {0.0f, 0.0f, 0.0f}, 0.0f);
    EXPECT_EQ(object.m_boundingBox.m_scale[0], 1.0f);
    EXPECT_EQ(object.m_boundingBox.m_scale[1], 1.0f);
    EXPECT_FALSE(object.m_boundingBox.m_showFlagA);
    EXPECT_TRUE(object.m_boundingBox.m_showFlagB);
    EXPECT_EQ(object.m_boundingBox.m_radius, 0.5f);
    EXPECT_EQ(object.m_rotationMatrix, plat::D3DXMatrixIdentity());
}

TEST_F(GameObject, AMissingSpriteFileGivesTheDefaultTexture) {
    CapturedLog log;
    TestObject object("../Assets/nothing.xml");
    EXPECT_TRUE(
        spritetest::HasLineStarting(log.Lines(), "Sprite InitWithXML couldn't load ../Assets/nothing.xml"));
    EXPECT_EQ(object.m_sprite.m_textureFile, kDefaultTextureFile);
    EXPECT_EQ(object.m_sprite.m_frames.size(), 1u);
}

// Scale (2, 3), the Y/Z swap as rotation, position (5, 6, 7): worked out by hand, scale first.
TEST_F(GameObject, TheWorldIsScaleThenRotationThenTranslationAndTheBoxIsDrawnFlatWithoutTheRotation) {
    TestObject object;
    object.m_boundingBox.m_position = {5.0f, 6.0f, 7.0f};
    object.m_boundingBox.m_scale[0] = 2.0f;
    object.m_boundingBox.m_scale[1] = 3.0f;
    object.m_boundingBox.m_showFlagA = true;
    object.m_sprite.m_currentFrame = 3;
    object.m_rotationMatrix = MatrixSwapYZ();
    object.Render(*engine);

    ASSERT_EQ(device->sceneDraws.size(), 2u);
    const SceneDraw& main = device->sceneDraws[0];
    ExpectMatrixNear(main.world, Rows({{{2, 0, 0, 0}, {0, 0, 3, 0}, {0, 1, 0, 0}, {5, 6, 7, 1}}}));
    // The quad's top right corner: scaled to (1, 1.5, 0), swapped to (1, 0, 1.5), moved.
    ExpectVectorNear(Apply(main.world, {0.5f, 0.5f, 0.0f}), {6.0f, 6.0f, 8.5f});
    EXPECT_EQ(ShownFrame(main.texture0, 2, 2), std::make_pair(1, 1));

    // The box: laid flat (a quarter turn about X) under scale x translation, from its own first frame.
    const SceneDraw& box = device->sceneDraws[1];
    const plat::Matrix scaleTranslation = Rows({{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 1, 0}, {5, 6, 7, 1}}});
    ExpectMatrixNear(box.world,
                     plat::D3DXMatrixMultiply(plat::D3DXMatrixRotationX(kHalfPi), scaleTranslation));
    // Laid flat before the scale: the box is as wide as the object and one unit deep, whatever its height.
    ExpectVectorNear(Apply(box.world, {0.5f, 0.5f, 0.0f}), {6.0f, 6.0f, 7.5f});
    ExpectVectorNear(Apply(box.world, {0.5f, -0.5f, 0.0f}), {6.0f, 6.0f, 6.5f});
    EXPECT_EQ(ShownFrame(box.texture0, 3, 3), std::make_pair(0, 0));

    // What the caller finds afterwards: scale x translation.
    ExpectMatrixNear(device->transforms[plat::kTsWorld], scaleTranslation);
    EXPECT_EQ(object.m_scaleMatrix, plat::D3DXMatrixScaling(2.0f, 3.0f, 1.0f));
    EXPECT_EQ(object.m_translationMatrix, plat::D3DXMatrixTranslation(5.0f, 6.0f, 7.0f));
}

TEST_F(GameObject, ARotationLastsOneDrawAndTheBoxNeedsBothShowFlags) {
    TestObject object;
    object.m_boundingBox.m_position = {1.0f, 0.0f, 0.0f};
    object.m_rotationMatrix = MatrixSwapYZ();
    object.Render(*engine);
    EXPECT_EQ(object.m_rotationMatrix, plat::D3DXMatrixIdentity());
    object.Render(*engine);

    // Flag B alone (the default) never shows the box.
    ASSERT_EQ(device->sceneDraws.size(), 2u);
    ExpectVectorNear(Apply(device->sceneDraws[0].world, {0.0f, 0.5f, 0.0f}), {1.0f, 0.0f, 0.5f});
    ExpectVectorNear(Apply(device->sceneDraws[1].world, {0.0f, 0.5f, 0.0f}), {1.0f, 0.5f, 0.0f});
    // Without the box, the texture transform is left as identity for whatever is drawn next.
    EXPECT_NE(device->sceneDraws[1].texture0, plat::D3DXMatrixIdentity());
    EXPECT_EQ(device->transforms[plat::kTsTexture0], plat::D3DXMatrixIdentity());

    object.m_boundingBox.m_showFlagA = true;
    object.m_boundingBox.m_showFlagB = false;
    object.Render(*engine);
    EXPECT_EQ(device->sceneDraws.size(), 3u);
}

TEST_F(GameObject, AHiddenObjectDrawsNothingAndKeepsItsRotation) {
    TestObject object;
    object.m_sprite.m_visible = false;
    object.m_boundingBox.m_showFlagA = true;
    object.m_rotationMatrix = MatrixSwapYZ();
    const size_t callsBefore = device->calls.size();
    object.Render(*engine);
    EXPECT_TRUE(device->sceneDraws.empty());
    EXPECT_EQ(device->calls.size(), callsBefore);
    EXPECT_EQ(object.m_rotationMatrix, MatrixSwapYZ());
}

TEST_F(GameObject, ACopyDrawsAsItsSourceAndOwnsItsSprites) {
    TestObject source;
    source.m_boundingBox.m_position = {3.0f, -1.0f, 2.0f};
    source.m_boundingBox.m_scale[0] = 0.5f;
    source.m_sprite.SetAnimation("Spin");
    source.m_sprite.m_currentFrame = 2;
    source.m_boundingBox.m_showFlagA = true;

    TestObject copy(source);
    source.Render(*engine);
    copy.Render(*engine);
    ASSERT_EQ(device->sceneDraws.size(), 4u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(device->sceneDraws[i].world, device->sceneDraws[i + 2].world) << i;
        EXPECT_EQ(device->sceneDraws[i].texture0, device->sceneDraws[i + 2].texture0) << i;
        EXPECT_EQ(device->sceneDraws[i].texture, device->sceneDraws[i + 2].texture) << i;
    }

    // Changing the copy leaves the source alone.
    copy.m_sprite.m_animations.clear();
    copy.m_sprite.m_frames.clear();
    copy.m_boundingBox.m_sprite.m_frames.clear();
    copy.m_name = "Other";
    EXPECT_EQ(source.m_sprite.m_animations.count("Spin"), 1u);
    EXPECT_EQ(source.m_sprite.m_frames.size(), 4u);
    EXPECT_EQ(source.m_boundingBox.m_sprite.m_frames.size(), 9u);
    EXPECT_EQ(source.m_name, "TestObject");

    TestObject assigned("../Assets/Buttons/ButtonDarkBlue.xml");
    assigned = source;
    EXPECT_EQ(assigned.m_sprite.m_xmlName, kObjectSprite);
    EXPECT_EQ(assigned.m_sprite.m_currentFrame, 2u);
    EXPECT_TRUE(assigned.m_sprite.m_playing);
    ExpectVectorNear(assigned.m_boundingBox.m_position, {3.0f, -1.0f, 2.0f}, 0.0f);
}

TEST_F(GameObject, UnloadTexturesReleasesBothAndReportsEachRefusal) {
    TestObject object;
    const std::string main = object.m_sprite.m_textureFile;
    const std::string box = object.m_boundingBox.m_sprite.m_textureFile;
    const auto count = [&](const std::string& file) {
        auto it = renderer().textures.Entries().find(file);
        return it == renderer().textures.Entries().end() ? 0 : it->second.count;
    };
    object.m_sprite.Load(*engine);
    object.m_boundingBox.m_sprite.Load(*engine);
    ASSERT_EQ(count(main), 2);
    ASSERT_EQ(count(box), 2);

    const auto refusals = [](const std::vector<std::string>& lines) {
        std::vector<std::string> out;
        for (const std::string& line : lines) {
            if (line.rfind("Couldn't unload texture ", 0) == 0) {
                out.push_back(line);
            }
        }
        return out;
    };
    {
        CapturedLog log;
        object.UnloadTextures(*engine);
        EXPECT_TRUE(refusals(log.Lines()).empty());
    }
    EXPECT_EQ(count(main), 1);
    EXPECT_EQ(count(box), 1);

    // A texture the manager does not hold is refused and logged; the other is still released.
    object.m_sprite.m_textureFile = "../Assets/never-loaded.png";
    CapturedLog log;
    object.UnloadTextures(*engine);
    EXPECT_EQ(refusals(log.Lines()),
              std::vector<std::string>{"Couldn't unload texture ../Assets/never-loaded.png"});
    EXPECT_EQ(count(box), 0);
}

TEST_F(GameObject, WithoutADeviceNothingIsDrawnAndTheRotationStillLastsOneFrame) {
    TestObject object;
    engine->m_display.renderer.reset();
    object.m_rotationMatrix = MatrixSwapYZ();
    object.Render(*engine);
    EXPECT_EQ(object.m_rotationMatrix, plat::D3DXMatrixIdentity());
    CapturedLog log;
    object.UnloadTextures(*engine);
    EXPECT_EQ(log.Lines().size(), 2u);
}

} // namespace
