#include "scene/worldobject.h"

#include <cmath>

int32_t WorldObject::s_bobDirection = 0;
int32_t WorldObject::s_pulseDirection = 0;

namespace {

constexpr float kPulseTop = 1.25f;
constexpr float kPulseBottom = 1.0f;

// A delta running backwards (a negative time multiplier) or not a number would push a marker
// away from its limits for ever; such a frame does not move it.
float ForwardDelta(float delta) {
    return delta > 0.0f ? delta : 0.0f;
}

} // namespace

WorldObject::WorldObject() : KRGameObject("KRBoxObject", kWorldObjectSpriteFile) {
    m_sprite.m_visible = true;
}

void WorldObject::Update(float delta) {
    m_sprite.Animate(&delta);
    if (m_frozen != 0) {
        return;
    }
    if (m_standing != 0) {
        Bob(delta);
    }
    Pulse(delta);
}

void WorldObject::Bob(float delta) {
    const float t = ForwardDelta(delta);
    float& y = m_boundingBox.m_position.y;
    if (s_bobDirection == 0) {
        if (y < m_bobTop) {
            y += t;
        } else {
            s_bobDirection = 1;
        }
    } else {
        if (y > m_bobBase.y) {
            y -= t;
        } else {
            s_bobDirection = 0;
        }
    }
}

void WorldObject::Pulse(float delta) {
    const float t = ForwardDelta(delta);
    float* scale = m_boundingBox.m_scale;
    if (s_pulseDirection == 0) {
        if (scale[1] < kPulseTop) {
            scale[0] += t;
            scale[1] += t;
        } else {
            s_pulseDirection = 1;
        }
    } else {
        if (scale[1] > kPulseBottom) {
            scale[0] -= t;
            scale[1] -= t;
        } else {
            s_pulseDirection = 0;
        }
    }
}

void WorldObject::Render(Engine& engine) {
    if (m_standing == 0) {
        m_rotationMatrix = MatrixSwapYZ();
    }
    DrawWithWorldTransform(engine);
    if (m_showLabel && m_sprite.m_visible) {
        const plat::Vector3& p = m_boundingBox.m_position;
        m_label.m_origin = {p.x - 0.5f, p.y + m_boundingBox.m_scale[1] * 0.5f, p.z - 0.5f};
        m_label.DrawText(engine);
    }
}

void WorldObject::SetWorldPosition(WorldObject* marker, const plat::Vector3& p, const plat::Vector3& o) {
    if (marker == nullptr) {
        return;
    }
    marker->m_sprite.m_visible = true;
    const plat::Vector3 at{p.x + o.x, p.y - 0.5f + o.y, -(p.z + o.z)};
    marker->m_boundingBox.m_position = at;
    marker->m_bobBase = at;
    marker->m_bobTop = at.y + 0.5f;
}

void WorldObject::PlaceOverTile(WorldObject* marker, const KRGameObject* tile, const plat::Vector3& o) {
    if (marker == nullptr || tile == nullptr) {
        return;
    }
    const plat::Vector3& t = tile->m_boundingBox.m_position;
    SetWorldPosition(marker, {t.x, 0.0f, -t.z}, o);
}

void WorldObject::SetLabel(const std::string& text) {
    m_label.SetText(text, {0.0f, 0.0f, 0.0f});
}
