// Base of everything drawn in the world or on the HUD: a name, a main sprite, a bounding box that also
// carries the position and size, and the scale, rotation and translation its world transform is made of.
#pragma once

#include "platform/d3dx.h"
#include "scene/sprite.h"

#include <string>

class Engine;

inline constexpr const char* kBoundingBoxSpriteFile = "../Assets/krbcspr.xml";

// An empty base kept for the family's shape; nothing reads it.
class FactoryObject {};

struct BoundingBox {
    // Also picks the box's initial values.
    void Init();

    // Both edges inclusive, bounds in single precision.
    bool ContainsPointXY(const plat::Vector3& point) const;
    bool ContainsPointXZ(const plat::Vector3& point) const;

    // Laid flat under the object; drawn only when both show flags are set, which nothing does.
    Sprite m_sprite;
    plat::Vector3 m_position{0.0f, 0.0f, 0.0f};
    float m_scale[2] = {1.0f, 1.0f};
    bool m_showFlagA = false;
    bool m_showFlagB = true;
    // Half extent of the X-Z test.
    float m_radius = 0.5f;
};

class KRGameObject : public FactoryObject {
  public:
    virtual ~KRGameObject() = default;

    virtual void Load(Engine& engine) { DefaultNoOp(engine); }
    virtual void Initialize() {}
    virtual void HandleInput(Engine& engine) { DefaultNoOp(engine); }
    // The frame delta in seconds.
    virtual void Update(float delta) { (void)delta; }
    virtual void Render(Engine& engine) { DrawWithWorldTransform(engine); }
    virtual void Cleanup(Engine& engine) { DefaultNoOp(engine); }
    virtual void Unload(Engine& engine) { DefaultNoOp(engine); }

    void BuildScaleTranslation();
    // Scale, then rotation, then translation; the rotation is used for one draw only.
    void DrawWithWorldTransform(Engine& engine);
    // Releases the main sprite's texture, then the box sprite's.
    void UnloadTextures(Engine& engine);

    plat::Matrix m_scaleMatrix;
    // A subclass that wants a rotation sets it again before every draw.
    plat::Matrix m_rotationMatrix;
    plat::Matrix m_translationMatrix;
    std::string m_name;
    Sprite m_sprite;
    BoundingBox m_boundingBox;

  protected:
    KRGameObject(std::string name, const std::string& spriteXmlFile);
    // Copies are made of concrete objects only (glyphs, units held by value), never through the base.
    KRGameObject(const KRGameObject&) = default;
    KRGameObject& operator=(const KRGameObject&) = default;

    static void DefaultNoOp(Engine&) {}
};

// Single precision, as the projectiles measure.
float Distance3(const plat::Vector3& a, const plat::Vector3& b);
// Exchanges Y and Z: quads built in the X-Y plane then lie in the X-Z plane.
plat::Matrix MatrixSwapYZ();
