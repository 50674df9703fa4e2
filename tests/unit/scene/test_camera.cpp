// Cameras: their matrices against values worked out by hand, the pan, the orbit and its pitch clamp.
#include "test_gameobject_support.h"

#include "scene/krcamera.h"

#include <cmath>

using namespace scenetest;

namespace {

using Camera = SceneTest;

// Where a world point lands on the device: projected through view x projection, then mapped into the
// viewport (top-left origin, y down).
plat::Vector3 ToPixels(const plat::Vector3& world, const plat::Matrix& view, const plat::Matrix& projection,
                       const plat::Viewport& viewport) {
    const plat::Matrix m = plat::D3DXMatrixMultiply(view, projection);
    const float x = world.x * m(0, 0) + world.y * m(1, 0) + world.z * m(2, 0) + m(3, 0);
    const float y = world.x * m(0, 1) + world.y * m(1, 1) + world.z * m(2, 1) + m(3, 1);
    const float z = world.x * m(0, 2) + world.y * m(1, 2) + world.z * m(2, 2) + m(3, 2);
    const float w = world.x * m(0, 3) + world.y * m(1, 3) + world.z * m(2, 3) + m(3, 3);
    return {static_cast<float>(viewport.x) + (x / w + 1.0f) * 0.5f * static_cast<float>(viewport.width),
            static_cast<float>(viewport.y) + (1.0f - y / w) * 0.5f * static_cast<float>(viewport.height),
            z / w};
}

TEST_F(Camera, TheOrthographicCameraLooksDownWithZUpOnTheScreenAndShowsSixteenByTwelve) {
    KROrthoCamera camera;
    EXPECT_EQ(camera.m_name, "KROrthoCamera");
    ExpectVectorNear(camera.Eye(), {0.0f, 10.0f, 0.0f}, 0.0f);
    ExpectVectorNear(camera.m_target, {0.0f, 0.0f, 0.0f}, 0.0f);
    ExpectVectorNear(camera.m_up, {0.0f, 0.0f, 1.0f}, 0.0f);

    // Looking along -y with +z up: screen right is world x, screen up is world z, depth is the drop.
    plat::Matrix view;
    camera.BuildViewMatrix(view);
    ExpectMatrixNear(view, Rows({{{1, 0, 0, 0}, {0, 0, -1, 0}, {0, 1, 0, 0}, {0, 0, 10, 1}}}));
    ExpectVectorNear(Apply(view, {3.0f, 0.0f, 2.0f}), {3.0f, 2.0f, 10.0f});

    // 16 x 12 units between near 1 and far 1000, whatever the back buffer.
    plat::Matrix projection;
    const plat::Matrix expected = Rows(
        {{{0.125f, 0, 0, 0}, {0, 1.0f / 6.0f, 0, 0}, {0, 0, 1.0f / 999.0f, 0}, {0, 0, -1.0f / 999.0f, 1}}});
    camera.BuildProjectionMatrix(projection, engine->m_display);
    ExpectMatrixNear(projection, expected);
    renderer().SetResolution(1440, 900);
    camera.BuildProjectionMatrix(projection, engine->m_display);
    ExpectMatrixNear(projection, expected);
    // The corner of the view: world (8, 0, 6) is the top right of the picture.
    ExpectVectorNear(Apply(plat::D3DXMatrixMultiply(view, projection), {8.0f, 0.0f, 6.0f}),
                     {1.0f, 1.0f, 9.0f / 999.0f});
}

TEST_F(Camera, ThePerspectiveCameraStartsBehindItsTargetAndOrbitsFifteenBehindIt) {
    KRPerspCamera camera;
    EXPECT_EQ(camera.m_name, "KRPerspCamera");
    ExpectVectorNear(camera.Eye(), {0.0f, 0.0f, -5.0f}, 0.0f);
    ExpectVectorNear(camera.m_target, {8.0f, 0.0f, 0.0f}, 0.0f);
    ExpectVectorNear(camera.m_up, {0.0f, 1.0f, 0.0f}, 0.0f);
    EXPECT_EQ(camera.m_centerX, 8.0f);
    EXPECT_EQ(camera.m_centerZ, -15.0f);
    EXPECT_EQ(camera.m_pitch, -30.0f);
    EXPECT_EQ(camera.m_distance, 10.0f);

    // At -30 degrees and distance 10: 5 above the ground, 8.66 behind the centre.
    camera.Update(0.016f);
    ExpectVectorNear(camera.Eye(), {8.0f, 5.0f, -15.0f - 8.660254f});
    // Straight above the centre at -90, level with it at 0.
    camera.m_pitch = -90.0f;
    ExpectVectorNear(camera.OrbitEye(), {8.0f, 10.0f, -15.0f});
    camera.m_pitch = 0.0f;
    camera.m_distance = 4.0f;
    ExpectVectorNear(camera.OrbitEye(), {8.0f, 0.0f, -19.0f});
    // The eye moves only on Update.
    ExpectVectorNear(camera.Eye(), {8.0f, 5.0f, -15.0f - 8.660254f});

    // It looks at the target, not at the centre: the target is straight ahead on the view's z axis.
    camera.Update(0.0f);
    plat::Matrix view;
    camera.BuildViewMatrix(view);
    ExpectVectorNear(Apply(view, camera.m_target), {0.0f, 0.0f, 19.0f});
}

TEST_F(Camera, ThePitchIsClampedBetweenMinusNinetyAndZero) {
    KRPerspCamera camera;
    camera.AddPitch(50.0f);
    EXPECT_EQ(camera.m_pitch, 0.0f);
    camera.m_pitch = -30.0f;
    camera.AddPitch(-100.0f);
    EXPECT_EQ(camera.m_pitch, -90.0f);
    camera.AddPitch(12.5f);
    EXPECT_EQ(camera.m_pitch, -77.5f);
    camera.AddPitch(-12.5f);
    camera.AddPitch(-0.001f);
    EXPECT_EQ(camera.m_pitch, -90.0f);
}

TEST_F(Camera, TheBaseCameraMovesEyeAndTargetTogether) {
    KROrthoCamera camera;
    camera.SetTarget({2.0f, 1.0f, 3.0f});
    ExpectVectorNear(camera.m_target, {2.0f, 1.0f, 3.0f}, 0.0f);
    ExpectVectorNear(camera.Eye(), {2.0f, 11.0f, 3.0f}, 0.0f);
    // The same point again leaves the eye where the first call put it.
    camera.SetTarget({2.0f, 1.0f, 3.0f});
    ExpectVectorNear(camera.Eye(), {2.0f, 11.0f, 3.0f}, 0.0f);

    camera.Translate({1.0f, -1.0f, -2.0f});
    ExpectVectorNear(camera.Eye(), {3.0f, 10.0f, 1.0f}, 0.0f);
    ExpectVectorNear(camera.m_target, {3.0f, 0.0f, 1.0f}, 0.0f);

    // Over a point: both move there on the ground and keep their heights, so the view stays defined.
    camera.SetPosition({-4.0f, 7.0f, 6.0f});
    ExpectVectorNear(camera.Eye(), {-4.0f, 10.0f, 6.0f}, 0.0f);
    ExpectVectorNear(camera.m_target, {-4.0f, 0.0f, 6.0f}, 0.0f);
    camera.CenterOn({1.0f, 0.0f, -1.0f});
    ExpectVectorNear(camera.Eye(), {1.0f, 10.0f, -1.0f}, 0.0f);
    plat::Matrix view;
    camera.BuildViewMatrix(view);
    ExpectVectorNear(Apply(view, {1.0f, 0.0f, -1.0f}), {0.0f, 0.0f, 10.0f});
}

TEST_F(Camera, ThePerspectiveCameraMovesItsTargetAndCentreOnTheGround) {
    KRPerspCamera camera;
    camera.SetTarget({3.0f, 2.0f, 4.0f});
    ExpectVectorNear(camera.m_target, {3.0f, 2.0f, 4.0f}, 0.0f);
    EXPECT_EQ(camera.m_centerX, 3.0f);
    EXPECT_EQ(camera.m_centerZ, -11.0f);
    ExpectVectorNear(camera.Eye(), {0.0f, 0.0f, -5.0f}, 0.0f);

    camera.Translate({1.0f, 50.0f, -2.0f});
    ExpectVectorNear(camera.m_target, {4.0f, 2.0f, 2.0f}, 0.0f);
    EXPECT_EQ(camera.m_centerX, 4.0f);
    EXPECT_EQ(camera.m_centerZ, -13.0f);

    camera.SetPosition({6.0f, 9.0f, -3.0f});
    ExpectVectorNear(camera.m_target, {6.0f, 2.0f, -3.0f}, 0.0f);
    EXPECT_EQ(camera.m_centerX, 6.0f);
    EXPECT_EQ(camera.m_centerZ, -18.0f);
    camera.Update(0.0f);
    ExpectVectorNear(camera.Eye(), {6.0f, 5.0f, -18.0f - 8.660254f});
}

TEST_F(Camera, TheOrthographicCameraPansOnTheRawDeltaWithTheKeysHeld) {
    KROrthoCamera camera;
    InputSys& input = engine->m_input;
    engine->m_timer.rawDelta = 0.1;
    // A paused game does not stop the pan: the step is raw delta x height x 0.5.
    engine->m_timer.gameDelta = 0.0;

    input.keys[KeyLetter('W')] = 1;
    input.prevKeys[KeyLetter('W')] = 1; // held, not pressed
    camera.HandleInput(*engine);
    ExpectVectorNear(camera.Eye(), {0.0f, 10.0f, 0.5f});
    ExpectVectorNear(camera.m_target, {0.0f, 0.0f, 0.5f});

    // W and S together cancel; A with D likewise.
    input.keys[KeyLetter('S')] = 1;
    input.keys[KeyLetter('A')] = 1;
    input.keys[KeyLetter('D')] = 1;
    camera.HandleInput(*engine);
    ExpectVectorNear(camera.Eye(), {0.0f, 10.0f, 0.5f});

    input.keys[KeyLetter('W')] = 0;
    input.keys[KeyLetter('D')] = 0;
    camera.HandleInput(*engine);
    ExpectVectorNear(camera.Eye(), {-0.5f, 10.0f, 0.0f});
    ExpectVectorNear(camera.m_target, {-0.5f, 0.0f, 0.0f});

    // Twice as high, twice as fast.
    camera.Eye().y = 20.0f;
    input.keys[KeyLetter('S')] = 0;
    input.keys[KeyLetter('A')] = 0;
    input.keys[KeyLetter('D')] = 1;
    camera.HandleInput(*engine);
    ExpectVectorNear(camera.Eye(), {0.5f, 20.0f, 0.0f});

    // No delta, no pan.
    engine->m_timer.rawDelta = 0.0;
    camera.HandleInput(*engine);
    ExpectVectorNear(camera.Eye(), {0.5f, 20.0f, 0.0f});
}

TEST_F(Camera, ThePerspectiveAspectIsThePictureBetweenTheSideBars) {
    KRPerspCamera camera;
    const float yScale = 1.0f / std::tan(0.7853982f / 2.0f);
    const auto expectAspect = [&](float aspect) {
        plat::Matrix projection;
        camera.BuildProjectionMatrix(projection, engine->m_display);
        ExpectMatrixNear(projection, Rows({{{yScale / aspect, 0, 0, 0},
                                            {0, yScale, 0, 0},
                                            {0, 0, 1001.2f / 1000.0f, 1},
                                            {0, 0, -1.2f * 1001.2f / 1000.0f, 0}}}));
    };
    renderer().SetResolution(1024, 768);
    expectAspect(1.3333334f);
    renderer().SetResolution(1280, 1024);
    expectAspect(1.25f);
    // A 1440 x 900 back buffer draws the world into 1200 x 900 between its bars.
    renderer().SetResolution(1440, 900);
    ASSERT_TRUE(renderer().barsOn);
    expectAspect(1.3333334f);
    // No display yet: the 4:3 of the picture.
    engine->m_display.renderer.reset();
    expectAspect(4.0f / 3.0f);
}

TEST_F(Camera, OnAWideDisplayASquareFacingTheCameraStaysSquareAndPicksBackToItself) {
    renderer().SetResolution(1440, 900);
    const plat::Viewport picture = renderer().mainViewport;
    KRPerspCamera camera;
    camera.m_pitch = 0.0f; // level: a square in the X-Y plane faces the eye
    camera.Update(0.0f);
    plat::Matrix view;
    plat::Matrix projection;
    camera.BuildViewMatrix(view);
    camera.BuildProjectionMatrix(projection, engine->m_display);

    const plat::Vector3 left = ToPixels({7.0f, 0.0f, 0.0f}, view, projection, picture);
    const plat::Vector3 right = ToPixels({9.0f, 0.0f, 0.0f}, view, projection, picture);
    const plat::Vector3 top = ToPixels({8.0f, 1.0f, 0.0f}, view, projection, picture);
    const plat::Vector3 bottom = ToPixels({8.0f, -1.0f, 0.0f}, view, projection, picture);
    EXPECT_NEAR(right.x - left.x, bottom.y - top.y, 0.01f);
    // The target sits in the middle of the picture, not of the back buffer.
    EXPECT_NEAR((left.x + right.x) * 0.5f, 720.0f, 0.01f);
    EXPECT_NEAR((top.y + bottom.y) * 0.5f, 450.0f, 0.01f);

    // Picking: the cursor over a corner unprojects, at its depth, to that corner.
    plat::Vector3 picked;
    ASSERT_TRUE(plat::D3DXVec3Unproject(picked, {right.x, top.y, top.z}, picture, projection, view,
                                        plat::D3DXMatrixIdentity()));
    ExpectVectorNear(picked, {9.0f, 1.0f, 0.0f}, 1e-3f);
}

} // namespace
