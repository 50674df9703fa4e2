// The D3DX helpers against values worked out by hand from D3DX's definitions: row vectors, left-handed,
// depth 0 to 1.
#include "platform/d3dx.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using plat::Matrix;
using plat::Vector3;

constexpr float kPi = 3.14159265f;

// v * M with the divide by w, as D3DX transforms coordinates.
Vector3 Transform(const Vector3& v, const Matrix& m) {
    const glm::vec4 r = m.m * glm::vec4(v, 1.0f);
    return Vector3(r) / r.w;
}

void ExpectVector(const Vector3& actual, const Vector3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void ExpectRow(const Matrix& m, int row, float a, float b, float c, float d) {
    EXPECT_NEAR(m(row, 0), a, 1e-5f) << "row " << row;
    EXPECT_NEAR(m(row, 1), b, 1e-5f) << "row " << row;
    EXPECT_NEAR(m(row, 2), c, 1e-5f) << "row " << row;
    EXPECT_NEAR(m(row, 3), d, 1e-5f) << "row " << row;
}

// Viewport pixels and depth of a point, as D3DXVec3Project gives them.
Vector3 Project(const Vector3& v, const plat::Viewport& vp, const Matrix& proj, const Matrix& view,
                const Matrix& world) {
    const Vector3 ndc = Transform(v, plat::D3DXMatrixMultiply(plat::D3DXMatrixMultiply(world, view), proj));
    return {static_cast<float>(vp.x) + (ndc.x + 1.0f) * 0.5f * static_cast<float>(vp.width),
            static_cast<float>(vp.y) + (1.0f - ndc.y) * 0.5f * static_cast<float>(vp.height),
            vp.minZ + ndc.z * (vp.maxZ - vp.minZ)};
}

TEST(D3dxMatrix, LookAtFromAboveMapsTheGroundOntoTheScreen) {
    // The orthographic camera's defaults: eye (0, 10, 0), target the origin, up +z.
    const Matrix view = plat::D3DXMatrixLookAtLH({0, 10, 0}, {0, 0, 0}, {0, 0, 1});
    ExpectRow(view, 0, 1, 0, 0, 0);
    ExpectRow(view, 1, 0, 0, -1, 0);
    ExpectRow(view, 2, 0, 1, 0, 0);
    ExpectRow(view, 3, 0, 0, 10, 1);
    ExpectVector(Transform({3, 0, 2}, view), {3, 2, 10});
    // Looking down +z from z = -5 is a plain translation.
    const Matrix ahead = plat::D3DXMatrixLookAtLH({0, 0, -5}, {0, 0, 0}, {0, 1, 0});
    ExpectVector(Transform({1, 2, 0}, ahead), {1, 2, 5});
}

TEST(D3dxMatrix, OrthographicProjectionsKeepDepthZeroToOne) {
    const Matrix ortho = plat::D3DXMatrixOrthoLH(16, 12, 1, 1000);
    ExpectRow(ortho, 0, 0.125f, 0, 0, 0);
    ExpectRow(ortho, 1, 0, 1.0f / 6.0f, 0, 0);
    ExpectRow(ortho, 2, 0, 0, 1.0f / 999.0f, 0);
    ExpectRow(ortho, 3, 0, 0, -1.0f / 999.0f, 1);
    ExpectVector(Transform({8, -6, 1}, ortho), {1, -1, 0});
    ExpectVector(Transform({0, 0, 1000}, ortho), {0, 0, 1});

    // The GUI's projection: the 800 x 600 virtual screen with y running down to -600.
    const Matrix gui = plat::D3DXMatrixOrthoOffCenterLH(0, 800, -600, 0, 0, 100);
    ExpectRow(gui, 0, 2.0f / 800.0f, 0, 0, 0);
    ExpectRow(gui, 1, 0, 2.0f / 600.0f, 0, 0);
    ExpectRow(gui, 2, 0, 0, 0.01f, 0);
    ExpectRow(gui, 3, -1, 1, 0, 1);
    ExpectVector(Transform({0, 0, 0}, gui), {-1, 1, 0});
    ExpectVector(Transform({800, -600, 100}, gui), {1, -1, 1});
}

TEST(D3dxMatrix, PerspectiveMapsNearToZeroAndFarToOne) {
    const Matrix proj = plat::D3DXMatrixPerspectiveFovLH(kPi / 2.0f, 2.0f, 1.0f, 11.0f);
    ExpectRow(proj, 0, 0.5f, 0, 0, 0);
    ExpectRow(proj, 1, 0, 1, 0, 0);
    ExpectRow(proj, 2, 0, 0, 1.1f, 1);
    ExpectRow(proj, 3, 0, 0, -1.1f, 0);
    ExpectVector(Transform({0, 0, 1}, proj), {0, 0, 0});
    ExpectVector(Transform({0, 0, 11}, proj), {0, 0, 1});
    ExpectVector(Transform({2, 1, 1}, proj), {1, 1, 0});
}

TEST(D3dxMatrix, ScalingRotationTranslationAndMultiplyOrder) {
    ExpectVector(Transform({1, 2, 3}, plat::D3DXMatrixScaling(2, 3, 4)), {2, 6, 12});
    ExpectVector(Transform({1, 2, 3}, plat::D3DXMatrixTranslation(10, 20, 30)), {11, 22, 33});
    // Left-handed: a quarter turn about x takes +y to +z.
    const Matrix quarter = plat::D3DXMatrixRotationX(kPi / 2.0f);
    ExpectRow(quarter, 1, 0, 0, 1, 0);
    ExpectRow(quarter, 2, 0, -1, 0, 0);
    ExpectVector(Transform({0, 1, 0}, quarter), {0, 0, 1});
    // Multiply(a, b) is a then b.
    const Matrix scale = plat::D3DXMatrixScaling(2, 2, 2);
    const Matrix move = plat::D3DXMatrixTranslation(1, 0, 0);
    ExpectVector(Transform({1, 0, 0}, plat::D3DXMatrixMultiply(scale, move)), {3, 0, 0});
    ExpectVector(Transform({1, 0, 0}, plat::D3DXMatrixMultiply(move, scale)), {4, 0, 0});
    // The memory layout is D3DX's: the translation sits in elements 12 to 14.
    const float* raw = &move.m[0][0];
    EXPECT_EQ(raw[12], 1.0f);
    EXPECT_EQ(raw[3], 0.0f);
}

TEST(D3dxQuaternion, YawPitchRollHalfAngles) {
    const plat::Quaternion pitch = plat::D3DXQuaternionRotationYawPitchRoll(0, 1.0f, 0);
    EXPECT_NEAR(pitch.x, std::sin(0.5f), 1e-6f);
    EXPECT_NEAR(pitch.y, 0.0f, 1e-6f);
    EXPECT_NEAR(pitch.z, 0.0f, 1e-6f);
    EXPECT_NEAR(pitch.w, std::cos(0.5f), 1e-6f);
    const plat::Quaternion yaw = plat::D3DXQuaternionRotationYawPitchRoll(1.0f, 0, 0);
    EXPECT_NEAR(yaw.y, std::sin(0.5f), 1e-6f);
    EXPECT_NEAR(yaw.w, std::cos(0.5f), 1e-6f);
    // All three: roll, then pitch, then yaw.
    const float y = 0.3f, p = 0.5f, r = 0.7f;
    const float sy = std::sin(y / 2), cy = std::cos(y / 2), sp = std::sin(p / 2), cp = std::cos(p / 2);
    const float sr = std::sin(r / 2), cr = std::cos(r / 2);
    const plat::Quaternion q = plat::D3DXQuaternionRotationYawPitchRoll(y, p, r);
    EXPECT_NEAR(q.x, sy * cp * sr + cy * sp * cr, 1e-6f);
    EXPECT_NEAR(q.y, sy * cp * cr - cy * sp * sr, 1e-6f);
    EXPECT_NEAR(q.z, cy * cp * sr - sy * sp * cr, 1e-6f);
    EXPECT_NEAR(q.w, cy * cp * cr + sy * sp * sr, 1e-6f);
}

TEST(D3dxQuaternion, MultiplyConcatenatesLikeMatrices) {
    const float h = std::sqrt(0.5f);
    const plat::Quaternion aboutZ{0, 0, h, h};
    const plat::Quaternion aboutX{h, 0, 0, h};
    // A quarter turn about z followed by one about x.
    const plat::Quaternion both = plat::D3DXQuaternionMultiply(aboutZ, aboutX);
    EXPECT_NEAR(both.x, 0.5f, 1e-6f);
    EXPECT_NEAR(both.y, -0.5f, 1e-6f);
    EXPECT_NEAR(both.z, 0.5f, 1e-6f);
    EXPECT_NEAR(both.w, 0.5f, 1e-6f);
}

TEST(D3dxQuaternion, ConjugateOffsetQuaternionChainTurnsTheOffsetByTheQuaternion) {
    // The chain conjugate(q) x offset x q, each step a D3DXQuaternionMultiply, with q a pitch of p,
    // gives the offset turned by p about x: (0, d sin p, -d cos p).
    const float p = -30.0f * 0.0174532924f;
    const plat::Quaternion q = plat::D3DXQuaternionRotationYawPitchRoll(0, p, 0);
    const plat::Quaternion conjugate{-q.x, -q.y, -q.z, q.w};
    const plat::Quaternion offset{0, 0, -10, 0};
    const plat::Quaternion turned =
        plat::D3DXQuaternionMultiply(plat::D3DXQuaternionMultiply(conjugate, offset), q);
    EXPECT_NEAR(turned.x, 0.0f, 1e-5f);
    EXPECT_NEAR(turned.y, 10.0f * std::sin(p), 1e-4f);
    EXPECT_NEAR(turned.z, -10.0f * std::cos(p), 1e-4f);
}

TEST(D3dxUnproject, RoundTripsAtBothDepthsThroughAViewportWithMargin) {
    const plat::Viewport viewport{120, 0, 1200, 900, 0.0f, 1.0f};
    const Matrix proj = plat::D3DXMatrixPerspectiveFovLH(0.7853982f, 1440.0f / 900.0f, 1.2f, 1001.2f);
    const Matrix view = plat::D3DXMatrixLookAtLH({8, 5, -8.66f}, {8, 0, 0}, {0, 1, 0});
    const Matrix world = plat::D3DXMatrixIdentity();
    for (float depth : {0.0f, 1.0f}) {
        const Vector3 cursor(700.0f, 420.0f, depth);
        Vector3 point;
        ASSERT_TRUE(plat::D3DXVec3Unproject(point, cursor, viewport, proj, view, world));
        ExpectVector(Project(point, viewport, proj, view, world), cursor, depth == 0.0f ? 1e-3f : 2e-2f);
    }
    // A world point on the ground comes back where it was.
    const Vector3 ground(10, 0, 3);
    const Vector3 onScreen = Project(ground, viewport, proj, view, world);
    Vector3 back;
    ASSERT_TRUE(plat::D3DXVec3Unproject(back, onScreen, viewport, proj, view, world));
    ExpectVector(back, ground, 1e-2f);
    // At depth 0 the point lies on the near plane, 1.2 in front of the eye.
    Vector3 nearPoint;
    ASSERT_TRUE(plat::D3DXVec3Unproject(nearPoint, {720, 450, 0}, viewport, proj, view, world));
    EXPECT_NEAR(Transform(nearPoint, view).z, 1.2f, 1e-3f);
}

TEST(D3dxUnproject, RefusesAnEmptyViewportOrASingularTransform) {
    Vector3 out(7, 7, 7);
    const Matrix identity = plat::D3DXMatrixIdentity();
    EXPECT_FALSE(plat::D3DXVec3Unproject(out, {1, 1, 0}, {0, 0, 0, 600, 0, 1}, identity, identity, identity));
    EXPECT_FALSE(plat::D3DXVec3Unproject(out, {1, 1, 0}, {0, 0, 800, 600, 0, 1},
                                         plat::D3DXMatrixScaling(0, 1, 1), identity, identity));
    ExpectVector(out, {7, 7, 7});
    // With identities the viewport maps straight onto -1..1.
    ASSERT_TRUE(
        plat::D3DXVec3Unproject(out, {800, 0, 0.5f}, {0, 0, 800, 600, 0, 1}, identity, identity, identity));
    ExpectVector(out, {1, 1, 0.5f});
}

} // namespace
