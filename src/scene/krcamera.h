// Cameras turn the world into the device's VIEW and PROJECTION: a top-down orthographic camera that pans
// with the keyboard, and a perspective camera that orbits a centre on the ground at a pitch.
#pragma once

#include "platform/d3dx.h"
#include "scene/krgameobject.h"

#include <string>

class DisplaySys;
class Engine;

inline constexpr const char* kCameraSpriteFile = "../Assets/camera.xml";

// The eye is the object's position.
class KRCamera : public KRGameObject {
  public:
    KRCamera(std::string name, const plat::Vector3& eye, const plat::Vector3& target,
             const plat::Vector3& up);

    virtual void BuildViewMatrix(plat::Matrix& out) const;
    virtual void BuildProjectionMatrix(plat::Matrix& out, const DisplaySys& display) const = 0;
    // Moves the target; the eye keeps its offset from it.
    virtual void SetTarget(const plat::Vector3& v);
    virtual void Translate(const plat::Vector3& v);
    // Brings the view over v: eye and target move to v's x and z and keep their heights, so that a
    // camera looking straight down still has a direction.
    virtual void SetPosition(const plat::Vector3& v);

    // VIEW and PROJECTION of this camera on the engine's device.
    void ApplyToDevice(Engine& engine) const;

    const plat::Vector3& Eye() const { return m_boundingBox.m_position; }
    plat::Vector3& Eye() { return m_boundingBox.m_position; }

    plat::Vector3 m_target{0.0f, 0.0f, 0.0f};
    plat::Vector3 m_up{0.0f, 1.0f, 0.0f};

  protected:
    KRCamera(const KRCamera&) = default;
    KRCamera& operator=(const KRCamera&) = default;
};

// Looks straight down at a 16 x 12 world, whatever the back buffer.
class KROrthoCamera : public KRCamera {
  public:
    KROrthoCamera();

    // Pans with W, S, A and D held, faster the higher the camera.
    void HandleInput(Engine& engine) override;
    void BuildProjectionMatrix(plat::Matrix& out, const DisplaySys& display) const override;
    // As SetPosition.
    void CenterOn(const plat::Vector3& v);
};

class KRPerspCamera : public KRCamera {
  public:
    KRPerspCamera();

    // The eye goes to its place on the orbit.
    void Update(float delta) override;
    // Drawn into the 4:3 picture between the side bars, so the aspect is that picture's.
    void BuildProjectionMatrix(plat::Matrix& out, const DisplaySys& display) const override;
    void SetTarget(const plat::Vector3& v) override;
    // Only x and z move.
    void Translate(const plat::Vector3& v) override;
    void SetPosition(const plat::Vector3& v) override;
    // Degrees, kept within -90 to 0.
    void AddPitch(float degrees);

    plat::Vector3 OrbitEye() const;

    // The orbit centre on the ground, 15 behind the target.
    float m_centerX = 8.0f;
    float m_centerZ = -15.0f;
    // Degrees, -90 (straight down) to 0 (level).
    float m_pitch = -30.0f;
    float m_distance = 10.0f;
};

// How far the orbit centre sits behind the target on z.
inline constexpr float kPerspCentreBehind = 15.0f;
