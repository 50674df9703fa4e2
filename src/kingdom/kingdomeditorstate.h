// The kingdom screen: the tile map seen through the kingdom's cameras, the HUD boxes, the mail column,
// and the mouse turned into tool actions on the map.
#pragma once

#include "engine/krstate.h"
#include "platform/d3dx.h"

#include <cstdint>
#include <optional>

class Engine;
class BoxObject;
class GameData;
class InputSys;

inline constexpr const char* kKingdomGuiFile = "../Assets/guimastereditor.xml";

// Where the cursor points: through the active camera (near and far) and through the GUI camera.
struct MouseRay {
    plat::Vector3 m_near{0.0f, 0.0f, 0.0f};
    plat::Vector3 m_far{0.0f, 0.0f, 0.0f};
    plat::Vector3 m_gui{0.0f, 0.0f, 0.0f};
    // Where the ray meets the tiles' plane y = -0.5 (the near point when it runs parallel to it).
    plat::Vector3 m_ground{0.0f, 0.0f, 0.0f};
};

// The map screens' camera keys: WASD within the map's bounds and the pitch arrows, on the raw delta.
void SteerPerspectiveCamera(GameData& world, const InputSys& input, float raw);

class KingdomEditorState : public KRState {
  public:
    static KingdomEditorState& Instance();
    KingdomEditorState();

    void Load(Engine& engine) override;
    void Initialize(Engine& engine) override;
    void HandleInput(Engine& engine) override;
    void Update(Engine& engine) override;
    void Render(Engine& engine) override;
    void Cleanup(Engine& engine) override;
    void Unload(Engine& engine) override;

    static MouseRay CastMouseRay(Engine& engine);
    // Shown and unfolded on this screen: hovered, so it selects its help text. Group membership does not
    // bar it.
    static bool IsBoxHoverable(const BoxObject& box);
    // Hoverable and pickable: it takes clicks.
    static bool IsBoxPickable(const BoxObject& box);
    // The box's drawn rectangle in the HUD plane (x and z), edges included.
    static bool BoxContainsGuiPoint(const GameData& world, const BoxObject& box, const plat::Vector3& point);

    static void UpdatePicking(Engine& engine);
    static bool PickObjectUnderMouse(Engine& engine);
    // A right click throws away the mail under the cursor.
    static bool PickObjectUnderCursor(Engine& engine);
    static void PickTileOnClick(Engine& engine, bool xHeld);
    static void ApplyToolToTile(Engine& engine);

    // Written into every GUI item's active flag by H.
    static bool s_guiShown;

  private:
    // The left press whose edge went to the tiles: only that press paints the tool while held, never
    // one that a mail or a box took.
    std::optional<uint32_t> m_paintingPress;
};
