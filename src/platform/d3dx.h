// Matrix, quaternion and unprojection helpers with D3DX's conventions: left-handed, row vectors (v * M),
// depth 0..1. Matrices stay in these conventions on the CPU; only the drawing device converts them when
// it uploads, so that picking by unprojection gives the numbers the game was tuned with.
#pragma once

#include <glm/glm.hpp>

#include <cstdint>

namespace plat {

using Vector3 = glm::vec3;

// m[row][col] as D3DX numbers them. glm's column index plays D3DX's row, so the memory layout is
// D3DX's, and glm's `m * v` computes D3DX's `v * M`. Combine with D3DXMatrixMultiply, not with `*`.
struct Matrix {
    glm::mat4 m{1.0f};

    float& operator()(int row, int col) { return m[row][col]; }
    float operator()(int row, int col) const { return m[row][col]; }
    bool operator==(const Matrix& other) const = default;
};

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

// A device viewport: top-left origin, y down, in back-buffer pixels.
struct Viewport {
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    float minZ = 0.0f;
    float maxZ = 1.0f;

    bool operator==(const Viewport& other) const = default;
};

// The four below are inline: every object drawn calls them, several times a frame.
inline Matrix D3DXMatrixIdentity() {
    return Matrix{};
}
Matrix D3DXMatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up);
Matrix D3DXMatrixOrthoLH(float width, float height, float zNear, float zFar);
Matrix D3DXMatrixOrthoOffCenterLH(float left, float right, float bottom, float top, float zNear, float zFar);
Matrix D3DXMatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
inline Matrix D3DXMatrixScaling(float x, float y, float z) {
    Matrix out;
    out.m[0][0] = x;
    out.m[1][1] = y;
    out.m[2][2] = z;
    return out;
}
Matrix D3DXMatrixRotationX(float angle);
inline Matrix D3DXMatrixTranslation(float x, float y, float z) {
    Matrix out;
    out.m[3] = glm::vec4(x, y, z, 1.0f);
    return out;
}
// a then b: v * result == (v * a) * b.
inline Matrix D3DXMatrixMultiply(const Matrix& a, const Matrix& b) {
    Matrix out;
    out.m = b.m * a.m;
    return out;
}

// Roll about z, then pitch about x, then yaw about y.
Quaternion D3DXQuaternionRotationYawPitchRoll(float yaw, float pitch, float roll);
// The rotation q1 followed by q2, as D3DXMatrixMultiply concatenates: the Hamilton product q2 q1.
Quaternion D3DXQuaternionMultiply(const Quaternion& q1, const Quaternion& q2);

// A point in viewport pixels and depth back to object space through world x view x projection. False
// (out unchanged) when the viewport is empty or the transform cannot be inverted.
bool D3DXVec3Unproject(Vector3& out, const Vector3& point, const Viewport& viewport, const Matrix& projection,
                       const Matrix& view, const Matrix& world);

// The transform of a D3DX matrix as glm uses it (column vectors): the same sixteen floats.
inline const glm::mat4& ToGlm(const Matrix& matrix) {
    return matrix.m;
}

} // namespace plat
