#include "platform/d3dx.h"

#include <glm/gtc/quaternion.hpp>

#include <cmath>

namespace plat {

namespace {

Matrix Rows(const glm::vec4& r0, const glm::vec4& r1, const glm::vec4& r2, const glm::vec4& r3) {
    Matrix out;
    out.m[0] = r0;
    out.m[1] = r1;
    out.m[2] = r2;
    out.m[3] = r3;
    return out;
}

glm::quat ToGlm(const Quaternion& q) {
    return glm::quat(q.w, q.x, q.y, q.z);
}
Quaternion FromGlm(const glm::quat& q) {
    return {q.x, q.y, q.z, q.w};
}

} // namespace

Matrix D3DXMatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up) {
    const Vector3 zAxis = glm::normalize(at - eye);
    const Vector3 xAxis = glm::normalize(glm::cross(up, zAxis));
    const Vector3 yAxis = glm::cross(zAxis, xAxis);
    return Rows({xAxis.x, yAxis.x, zAxis.x, 0.0f}, {xAxis.y, yAxis.y, zAxis.y, 0.0f},
                {xAxis.z, yAxis.z, zAxis.z, 0.0f},
                {-glm::dot(xAxis, eye), -glm::dot(yAxis, eye), -glm::dot(zAxis, eye), 1.0f});
}

Matrix D3DXMatrixOrthoLH(float width, float height, float zNear, float zFar) {
    return Rows({2.0f / width, 0.0f, 0.0f, 0.0f}, {0.0f, 2.0f / height, 0.0f, 0.0f},
                {0.0f, 0.0f, 1.0f / (zFar - zNear), 0.0f}, {0.0f, 0.0f, zNear / (zNear - zFar), 1.0f});
}

Matrix D3DXMatrixOrthoOffCenterLH(float left, float right, float bottom, float top, float zNear, float zFar) {
    return Rows(
        {2.0f / (right - left), 0.0f, 0.0f, 0.0f}, {0.0f, 2.0f / (top - bottom), 0.0f, 0.0f},
        {0.0f, 0.0f, 1.0f / (zFar - zNear), 0.0f},
        {(left + right) / (left - right), (top + bottom) / (bottom - top), zNear / (zNear - zFar), 1.0f});
}

Matrix D3DXMatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    const float xScale = yScale / aspect;
    return Rows({xScale, 0.0f, 0.0f, 0.0f}, {0.0f, yScale, 0.0f, 0.0f},
                {0.0f, 0.0f, zFar / (zFar - zNear), 1.0f},
                {0.0f, 0.0f, -zNear * zFar / (zFar - zNear), 0.0f});
}

Matrix D3DXMatrixRotationX(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return Rows({1.0f, 0.0f, 0.0f, 0.0f}, {0.0f, c, s, 0.0f}, {0.0f, -s, c, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f});
}

Quaternion D3DXQuaternionRotationYawPitchRoll(float yaw, float pitch, float roll) {
    const glm::quat qYaw = glm::angleAxis(yaw, glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::quat qPitch = glm::angleAxis(pitch, glm::vec3(1.0f, 0.0f, 0.0f));
    const glm::quat qRoll = glm::angleAxis(roll, glm::vec3(0.0f, 0.0f, 1.0f));
    return FromGlm(qYaw * qPitch * qRoll);
}

Quaternion D3DXQuaternionMultiply(const Quaternion& q1, const Quaternion& q2) {
    return FromGlm(ToGlm(q2) * ToGlm(q1));
}

bool D3DXVec3Unproject(Vector3& out, const Vector3& point, const Viewport& viewport, const Matrix& projection,
                       const Matrix& view, const Matrix& world) {
    if (viewport.width == 0 || viewport.height == 0 || viewport.maxZ == viewport.minZ) {
        return false;
    }
    const glm::mat4 combined = projection.m * view.m * world.m;
    if (std::fabs(glm::determinant(combined)) < 1e-30f) {
        return false;
    }
    const glm::vec4 ndc(
        2.0f * (point.x - static_cast<float>(viewport.x)) / static_cast<float>(viewport.width) - 1.0f,
        1.0f - 2.0f * (point.y - static_cast<float>(viewport.y)) / static_cast<float>(viewport.height),
        (point.z - viewport.minZ) / (viewport.maxZ - viewport.minZ), 1.0f);
    const glm::vec4 p = glm::inverse(combined) * ndc;
    if (p.w == 0.0f || !std::isfinite(p.w)) {
        return false;
    }
    out = Vector3(p) / p.w;
    return true;
}

} // namespace plat
