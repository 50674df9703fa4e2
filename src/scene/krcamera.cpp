#include "scene/krcamera.h"

#include "engine/engine.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kDegreesToRadians = 0.0174532924f;
constexpr float kPerspFieldOfView = 0.7853982f;
constexpr float kPerspNear = 1.2f;
constexpr float kPerspFar = 1001.2f;
// The picture the game draws into is always 4:3.
constexpr float kPictureAspect = 4.0f / 3.0f;

} // namespace

KRCamera::KRCamera(std::string name, const plat::Vector3& eye, const plat::Vector3& target,
                   const plat::Vector3& up)
    : KRGameObject(std::move(name), kCameraSpriteFile), m_target(target), m_up(up) {
    Eye() = eye;
}

void KRCamera::BuildViewMatrix(plat::Matrix& out) const {
    out = plat::D3DXMatrixLookAtLH(Eye(), m_target, m_up);
}

void KRCamera::SetTarget(const plat::Vector3& v) {
    Eye() = v + (Eye() - m_target);
    m_target = v;
}

void KRCamera::Translate(const plat::Vector3& v) {
    Eye() += v;
    m_target += v;
}

void KRCamera::SetPosition(const plat::Vector3& v) {
    Eye().x = v.x;
    Eye().z = v.z;
    m_target.x = v.x;
    m_target.z = v.z;
}

void KRCamera::ApplyToDevice(Engine& engine) const {
    Renderer* renderer = engine.m_display.renderer.get();
    if (renderer == nullptr || renderer->device == nullptr) {
        return;
    }
    plat::Matrix view;
    plat::Matrix projection;
    BuildViewMatrix(view);
    BuildProjectionMatrix(projection, engine.m_display);
    renderer->device->SetTransform(plat::kTsView, view);
    renderer->device->SetTransform(plat::kTsProjection, projection);
}

KROrthoCamera::KROrthoCamera()
    : KRCamera("KROrthoCamera", {0.0f, 10.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}) {}

void KROrthoCamera::HandleInput(Engine& engine) {
    const InputSys& input = engine.m_input;
    const float step = static_cast<float>(engine.m_timer.rawDelta) * Eye().y * 0.5f;
    if (input.KeyDown(KeyLetter('W'))) {
        Eye().z += step;
        m_target.z += step;
    }
    if (input.KeyDown(KeyLetter('S'))) {
        Eye().z -= step;
        m_target.z -= step;
    }
    if (input.KeyDown(KeyLetter('A'))) {
        Eye().x -= step;
        m_target.x -= step;
    }
    if (input.KeyDown(KeyLetter('D'))) {
        Eye().x += step;
        m_target.x += step;
    }
}

void KROrthoCamera::BuildProjectionMatrix(plat::Matrix& out, const DisplaySys&) const {
    out = plat::D3DXMatrixOrthoLH(16.0f, 12.0f, 1.0f, 1000.0f);
}

void KROrthoCamera::CenterOn(const plat::Vector3& v) {
    SetPosition(v);
}

KRPerspCamera::KRPerspCamera()
    : KRCamera("KRPerspCamera", {0.0f, 0.0f, -5.0f}, {8.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}) {}

void KRPerspCamera::Update(float) {
    Eye() = OrbitEye();
}

void KRPerspCamera::BuildProjectionMatrix(plat::Matrix& out, const DisplaySys& display) const {
    float aspect = kPictureAspect;
    if (display.renderer != nullptr) {
        const plat::Viewport& picture = display.renderer->mainViewport;
        if (picture.width > 0 && picture.height > 0) {
            aspect = static_cast<float>(picture.width) / static_cast<float>(picture.height);
        }
    }
    out = plat::D3DXMatrixPerspectiveFovLH(kPerspFieldOfView, aspect, kPerspNear, kPerspFar);
}

void KRPerspCamera::SetTarget(const plat::Vector3& v) {
    m_target = v;
    m_centerX = v.x;
    m_centerZ = v.z - kPerspCentreBehind;
}

void KRPerspCamera::Translate(const plat::Vector3& v) {
    m_target.x += v.x;
    m_target.z += v.z;
    m_centerX += v.x;
    m_centerZ += v.z;
}

void KRPerspCamera::SetPosition(const plat::Vector3& v) {
    m_target.x = v.x;
    m_target.z = v.z;
    m_centerX = v.x;
    m_centerZ = v.z - kPerspCentreBehind;
}

void KRPerspCamera::AddPitch(float degrees) {
    m_pitch = std::clamp(m_pitch + degrees, -90.0f, 0.0f);
}

plat::Vector3 KRPerspCamera::OrbitEye() const {
    const float p = m_pitch * kDegreesToRadians;
    return {m_centerX, -m_distance * std::sin(p), m_centerZ - m_distance * std::cos(p)};
}
