#include "scene/krguiobject.h"

#include "engine/engine.h"
#include "flow/krscripts.h"

#include <algorithm>

namespace {

constexpr float kVirtualWidth = 800.0f;
constexpr float kVirtualHeight = 600.0f;
constexpr float kHoverGrowth = 10.0f;

} // namespace

KRGUIObject::KRGUIObject(std::string name, const std::string& spriteXml, float w, float h)
    : m_name(std::move(name)), m_w(w), m_h(h) {
    m_sprite.InitWithXML(spriteXml, false);
}

KRGUIObject::~KRGUIObject() {
    if (m_parent != nullptr) {
        m_parent->RemoveChild(this);
    }
}

void KRGUIObject::Load(Engine& engine) {
    m_sprite.Load(engine);
}

plat::Vector3 KRGUIObject::AddParentOffsets(plat::Vector3 position) const {
    for (const KRGUIObject* ancestor = m_parent; ancestor != nullptr; ancestor = ancestor->m_parent) {
        position.x += ancestor->m_x;
        position.y += ancestor->m_y;
        position.z = position.z + ancestor->m_z - 0.1f;
    }
    return position;
}

plat::Matrix KRGUIObject::FrameTextureMatrix() const {
    return m_sprite.FrameTextureMatrix();
}

bool KRGUIObject::IsMouseOver(float mouseX, float mouseY, float backBufferWidth, float backBufferHeight,
                              float margin) const {
    if (!m_sprite.m_visible) {
        return false;
    }
    const plat::Vector3 p = AddParentOffsets({m_x, m_y, m_z});
    const float pictureWidth = backBufferWidth - 2.0f * margin;
    const float left = margin + p.x * pictureWidth / kVirtualWidth;
    const float right = left + m_w * pictureWidth / kVirtualWidth;
    const float top = p.y * backBufferHeight / kVirtualHeight;
    const float bottom = top + m_h * backBufferHeight / kVirtualHeight;
    return left <= mouseX && mouseX <= right && top <= mouseY && mouseY <= bottom;
}

void KRGUIObject::Render(Engine& engine) {
    if (!m_active) {
        return;
    }
    Renderer* renderer = engine.m_display.renderer.get();
    if (renderer == nullptr || renderer->device == nullptr) {
        return;
    }
    plat::Device& device = *renderer->device;
    const plat::Vector3 p = AddParentOffsets({m_x, m_y, m_z});
    plat::Matrix callerWorld;
    if (plat::Failed(device.GetTransform(plat::kTsWorld, callerWorld))) {
        return;
    }
    // The unit quad is centred on the origin; the projection's y points up, the virtual screen's down.
    plat::Matrix world = plat::D3DXMatrixMultiply(plat::D3DXMatrixTranslation(0.5f, -0.5f, 0.0f),
                                                  plat::D3DXMatrixScaling(m_w, m_h, 1.0f));
    world = plat::D3DXMatrixMultiply(world, plat::D3DXMatrixTranslation(p.x, -p.y, p.z));
    world = plat::D3DXMatrixMultiply(world, callerWorld);
    device.SetTransform(plat::kTsWorld, world);
    device.SetTransform(plat::kTsTexture0, FrameTextureMatrix());
    m_sprite.Draw(engine);
    device.SetTransform(plat::kTsWorld, callerWorld);
}

KRGUIButton::KRGUIButton(std::string name, std::string action, const std::string& spriteXml, float w, float h)
    : KRGUIObject(std::move(name), spriteXml, w, h), m_action(std::move(action)) {}

void KRGUIButton::HandleInput(Engine& engine) {
    if (!m_active) {
        return;
    }
    const InputSys& input = engine.m_input;
    const DisplaySys& display = engine.m_display;
    m_hovered = IsMouseOver(static_cast<float>(input.cursorX), static_cast<float>(input.cursorY),
                            static_cast<float>(display.width), static_cast<float>(display.height),
                            static_cast<float>(display.margin));
    if (!m_pressed) {
        if (input.ButtonPressed(MOUSE_LEFT) && m_hovered) {
            // The click belongs to the GUI of whatever screen is on top, which then leaves it alone.
            if (KRState* top = engine.Top()) {
                top->m_gui.m_guiClick = true;
            }
            m_pressed = true;
            m_state = 1;
        }
        return;
    }
    if (input.ButtonReleased(MOUSE_LEFT)) {
        m_pressed = false;
        m_state = 0;
        if (m_hovered) {
            RunScript(engine.m_scripts, m_action);
            engine.m_audio.PlayClick();
        }
    }
}

void KRGUIButton::Animate(const float* delta) {
    m_sprite.Animate(delta);
}

void KRGUIButton::Render(Engine& engine) {
    if (!m_sprite.m_visible) {
        return;
    }
    if (!m_hovered) {
        KRGUIObject::Render(engine);
        return;
    }
    const float x = m_x, y = m_y, w = m_w, h = m_h;
    m_x -= kHoverGrowth / 2.0f;
    m_y -= kHoverGrowth / 2.0f;
    m_w += kHoverGrowth;
    m_h += kHoverGrowth;
    KRGUIObject::Render(engine);
    m_x = x;
    m_y = y;
    m_w = w;
    m_h = h;
}

KRGUIWindow::~KRGUIWindow() {
    for (KRGUIObject* child : m_children) {
        child->m_parent = nullptr;
    }
}

void KRGUIWindow::Load(Engine& engine) {
    m_sprite.Load(engine);
    for (KRGUIObject* child : m_children) {
        child->m_sprite.Load(engine);
    }
}

// By index: a script run from a child may reach this window again.
void KRGUIWindow::HandleInput(Engine& engine) {
    for (size_t i = 0; i < m_children.size(); ++i) {
        m_children[i]->HandleInput(engine);
    }
}

void KRGUIWindow::Animate(const float* delta) {
    for (size_t i = 0; i < m_children.size(); ++i) {
        m_children[i]->Animate(delta);
    }
}

void KRGUIWindow::Render(Engine& engine) {
    KRGUIObject::Render(engine);
    for (size_t i = 0; i < m_children.size(); ++i) {
        m_children[i]->Render(engine);
    }
}

void KRGUIWindow::Unload(Engine&) {}

bool KRGUIWindow::AddChild(KRGUIObject* item) {
    if (item == nullptr || item->m_parent != nullptr ||
        std::find(m_children.begin(), m_children.end(), item) != m_children.end()) {
        return false;
    }
    // Neither the window itself nor one that holds it: the offsets walk up the windows.
    for (const KRGUIObject* ancestor = this; ancestor != nullptr; ancestor = ancestor->m_parent) {
        if (ancestor == item) {
            return false;
        }
    }
    m_children.push_back(item);
    item->m_parent = this;
    return true;
}

void KRGUIWindow::RemoveChild(KRGUIObject* item) {
    auto found = std::find(m_children.begin(), m_children.end(), item);
    if (found != m_children.end()) {
        m_children.erase(found);
        item->m_parent = nullptr;
    }
}

void KRGUIMousePtr::HandleInput(Engine& engine) {
    m_x = static_cast<float>(engine.m_input.cursorX);
    m_y = static_cast<float>(engine.m_input.cursorY);
}
