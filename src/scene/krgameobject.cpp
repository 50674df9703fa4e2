#include "scene/krgameobject.h"

#include "engine/engine.h"
#include "engine/krlog.h"

#include <cmath>

void BoundingBox::Init() {
    m_sprite.InitWithXML(kBoundingBoxSpriteFile, false);
    m_sprite.m_layFlat = true;
    m_position = {0.0f, 0.0f, 0.0f};
    m_scale[0] = 1.0f;
    m_scale[1] = 1.0f;
    m_showFlagA = false;
    m_showFlagB = true;
    m_radius = 0.5f;
}

bool BoundingBox::ContainsPointXY(const plat::Vector3& point) const {
    const float halfWidth = m_scale[0] * 0.5f;
    const float halfHeight = m_scale[1] * 0.5f;
    return m_position.x - halfWidth <= point.x && point.x <= m_position.x + halfWidth &&
           m_position.y - halfHeight <= point.y && point.y <= m_position.y + halfHeight;
}

bool BoundingBox::ContainsPointXZ(const plat::Vector3& point) const {
    return m_position.x - m_radius <= point.x && point.x <= m_position.x + m_radius &&
           m_position.z - m_radius <= point.z && point.z <= m_position.z + m_radius;
}

KRGameObject::KRGameObject(std::string name, const std::string& spriteXmlFile) : m_name(std::move(name)) {
    m_sprite.InitWithXML(spriteXmlFile, false);
    m_boundingBox.Init();
    m_rotationMatrix = plat::D3DXMatrixIdentity();
}

void KRGameObject::BuildScaleTranslation() {
    m_scaleMatrix = plat::D3DXMatrixScaling(m_boundingBox.m_scale[0], m_boundingBox.m_scale[1], 1.0f);
    const plat::Vector3& p = m_boundingBox.m_position;
    m_translationMatrix = plat::D3DXMatrixTranslation(p.x, p.y, p.z);
}

void KRGameObject::DrawWithWorldTransform(Engine& engine) {
    if (!m_sprite.m_visible) {
        return;
    }
    BuildScaleTranslation();
    Renderer* renderer = engine.m_display.renderer.get();
    plat::Device* device = renderer != nullptr ? renderer->device.get() : nullptr;
    if (device != nullptr) {
        const plat::Matrix placed = plat::D3DXMatrixMultiply(m_scaleMatrix, m_translationMatrix);
        // Unturned and not a billboard, the sprite leaves the world transform as the bounding box wants it.
        const bool turned = m_rotationMatrix != plat::D3DXMatrixIdentity();
        device->SetTransform(plat::kTsWorld,
                             turned ? plat::D3DXMatrixMultiply(plat::D3DXMatrixMultiply(m_scaleMatrix, m_rotationMatrix),
                                                               m_translationMatrix)
                                    : placed);
        m_sprite.Draw(engine);
        device->SetTransform(plat::kTsTexture0, plat::D3DXMatrixIdentity());
        if (turned || m_sprite.m_billboard) {
            device->SetTransform(plat::kTsWorld, placed);
        }
        if (m_boundingBox.m_showFlagA && m_boundingBox.m_showFlagB) {
            m_boundingBox.m_sprite.Draw(engine);
        }
    }
    m_rotationMatrix = plat::D3DXMatrixIdentity();
}

void KRGameObject::UnloadTextures(Engine& engine) {
    Renderer* renderer = engine.m_display.renderer.get();
    for (const std::string* file : {&m_sprite.m_textureFile, &m_boundingBox.m_sprite.m_textureFile}) {
        if (renderer == nullptr || !renderer->textures.Unload(*file)) {
            LogLine("Couldn't unload texture " + *file);
        }
    }
}

float Distance3(const plat::Vector3& a, const plat::Vector3& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

plat::Matrix MatrixSwapYZ() {
    plat::Matrix out = plat::D3DXMatrixIdentity();
    out(1, 1) = 0.0f;
    out(1, 2) = 1.0f;
    out(2, 1) = 1.0f;
    out(2, 2) = 0.0f;
    return out;
}
