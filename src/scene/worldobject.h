// A marker standing in the map: an arrow that bobs and pulses over a place to look at, or a glow under
// the selected unit, with a text label above it.
#pragma once

#include "platform/d3dx.h"
#include "scene/hudtext.h"
#include "scene/krgameobject.h"

#include <cstdint>
#include <string>

class Engine;

inline constexpr const char* kWorldObjectSpriteFile = "../Assets/Buttons/ButtonDarkBlue.xml";

class WorldObject : public KRGameObject {
  public:
    WorldObject();

    // Animates the sprite; unless frozen, bobs (when standing) and pulses.
    void Update(float delta) override;
    void Render(Engine& engine) override;

    // Visible, at p + o with the z negated; the bob runs from that height to half a unit above.
    static void SetWorldPosition(WorldObject* marker, const plat::Vector3& p, const plat::Vector3& o);
    // Over a tile (any game object placed on the grid).
    static void PlaceOverTile(WorldObject* marker, const KRGameObject* tile, const plat::Vector3& o);
    void SetLabel(const std::string& text);

    // One unit per second; the direction is shared by every marker.
    void Bob(float delta);
    // Between scale 1 and 1.25 on y; x takes the same steps. The direction is shared.
    void Pulse(float delta);

    bool m_showLabel = false;
    HudTextBlock m_label;
    // Not 0: no bob, no pulse.
    int32_t m_frozen = 1;
    // Where SetWorldPosition put it; its y is the bottom of the bob.
    plat::Vector3 m_bobBase{0.0f, 0.0f, 0.0f};
    // 0: laid flat by the Y/Z swap; other: drawn as it stands, and allowed to bob.
    int32_t m_standing = 2;
    float m_bobTop = 0.5f;

    // Shared by all markers: 0 up, 1 down; 0 growing, 1 shrinking.
    static int32_t s_bobDirection;
    static int32_t s_pulseDirection;
};
