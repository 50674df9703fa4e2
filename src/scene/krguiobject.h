// The items of a screen's 2-D GUI on the 800 x 600 virtual screen (origin top-left, y down): plain
// images, buttons that run a named script when clicked, windows that hold other items, and the mouse
// pointer.
#pragma once

#include "platform/d3dx.h"
#include "scene/sprite.h"

#include <cstdint>
#include <string>
#include <vector>

class Engine;
class KRGUIWindow;

class KRGUIObject {
  public:
    KRGUIObject(std::string name, const std::string& spriteXml, float w, float h);
    // Leaves the window it is attached to, if that window still exists.
    virtual ~KRGUIObject();
    KRGUIObject(const KRGUIObject&) = delete;
    KRGUIObject& operator=(const KRGUIObject&) = delete;

    virtual void Load(Engine& engine);
    virtual void HandleInput(Engine&) {}
    virtual void Animate(const float*) {}
    virtual void Render(Engine& engine);
    virtual void Unload(Engine&) {}

    // The position moved by every enclosing window's corner, and 0.1 nearer per nesting level.
    plat::Vector3 AddParentOffsets(plat::Vector3 position) const;
    plat::Matrix FrameTextureMatrix() const;
    // Whether a point in back-buffer pixels lies on the item (edges included). The virtual width maps
    // onto the 4:3 picture between the side bars of width `margin`, the height onto the whole height.
    bool IsMouseOver(float mouseX, float mouseY, float backBufferWidth, float backBufferHeight,
                     float margin) const;

    // The window it is attached to; borrowed, cleared by that window when it goes first.
    KRGUIWindow* m_parent = nullptr;
    std::string m_name;
    Sprite m_sprite;
    bool m_active = true;
    int32_t m_state = 0;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.1f;
    float m_w = 0.0f;
    float m_h = 0.0f;
};

class KRGUIButton : public KRGUIObject {
  public:
    KRGUIButton(std::string name, std::string action, const std::string& spriteXml, float w, float h);

    // A press over the button takes the click for the GUI; the release over it runs the script and
    // then clicks.
    void HandleInput(Engine& engine) override;
    void Animate(const float* delta) override;
    // Hovered, it is drawn 10 units larger about its centre.
    void Render(Engine& engine) override;

    bool m_pressed = false;
    std::string m_action;
    bool m_hovered = false;
};

class KRGUIWindow : public KRGUIObject {
  public:
    using KRGUIObject::KRGUIObject;
    // The children are not owned; they are only told that their window is gone.
    ~KRGUIWindow() override;

    // Loads its own sprite and the children's sprites.
    void Load(Engine& engine) override;
    void HandleInput(Engine& engine) override;
    void Animate(const float* delta) override;
    void Render(Engine& engine) override;
    void Unload(Engine& engine) override;

    // Refuses the window itself or a window holding it, an item that already has a window, and a child it
    // already has.
    bool AddChild(KRGUIObject* item);
    void RemoveChild(KRGUIObject* item);

    std::vector<KRGUIObject*> m_children;
};

class KRGUIMousePtr : public KRGUIObject {
  public:
    using KRGUIObject::KRGUIObject;

    // Follows the cursor, in back-buffer pixels.
    void HandleInput(Engine& engine) override;
};
