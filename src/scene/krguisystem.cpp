#include "scene/krguisystem.h"

#include "engine/engine.h"
#include "engine/krlog.h"
#include "scene/krguiconfig.h"

#include <cmath>

namespace {

constexpr float kVirtualWidth = 800.0f;
constexpr float kVirtualHeight = 600.0f;

// A layout's numbers come from a file: an item must have a place and a size to be hit-tested and drawn.
bool UsablePlacement(const GUIConfigEntry& entry) {
    return std::isfinite(entry.m_x) && std::isfinite(entry.m_y) && entry.m_w >= 0 && entry.m_h >= 0;
}

} // namespace

void GUISystem::Init(Engine& engine) {
    m_gameData = engine.m_gameData.get();
    m_mousePtr = std::make_unique<KRGUIMousePtr>("MousePtr", kGUIMousePtrFile, 32.0f, 32.0f);
    m_mousePtr->m_z = 0.0f;
    // The system cursor is the pointer the player sees.
    m_mousePtr->m_active = false;
    m_mainWindow = std::make_unique<KRGUIWindow>("Main Window", kGUIMainWindowFile,
                                                 static_cast<float>(engine.m_display.width),
                                                 static_cast<float>(engine.m_display.height));
    m_fader = std::make_unique<KRGUIObject>("Fader", kGUIFaderFile, kVirtualWidth, kVirtualHeight);
    // A new fader shows its first, clear frame.
    m_fadeState = FADE_IDLE;
}

bool GUISystem::LoadFromXML(const std::string& file) {
    KRConfig read = ReadConfig(file);
    if (read.m_fileName == kConfigErrorFile) {
        return false;
    }
    std::unique_ptr<KRGUIConfig> layout = TypedConfig<KRGUIConfig>(read);
    if (!layout) {
        LogLine("Fail to load GUI from XML");
        return false;
    }
    for (const GUIConfigEntry& entry : layout->m_entries) {
        LogLine("AddingGUI, Type: " + entry.m_type);
        if (entry.m_type != "button" && entry.m_type != "image") {
            continue;
        }
        if (!UsablePlacement(entry)) {
            LogLine("Bad GUI item " + entry.m_name + " in " + file + ": no usable place or size");
            continue;
        }
        if (entry.m_type == "button") {
            AddButton(entry.m_name, entry.m_action, entry.m_file, entry.m_x, entry.m_y, entry.m_w, entry.m_h);
        } else {
            AddImage(entry.m_name, entry.m_file, entry.m_x, entry.m_y, entry.m_w, entry.m_h);
        }
    }
    return true;
}

void GUISystem::AddButton(const std::string& name, const std::string& action, const std::string& file,
                          float x, float y, int32_t w, int32_t h) {
    auto button =
        std::make_unique<KRGUIButton>(name, action, file, static_cast<float>(w), static_cast<float>(h));
    // A sprite with an animation of the button's own name plays it from its first frame.
    button->m_sprite.SetAnimation(name);
    Attach(std::move(button), x, y);
}

void GUISystem::AddImage(const std::string& name, const std::string& file, float x, float y, int32_t w,
                         int32_t h) {
    auto image = std::make_unique<KRGUIObject>(name, file, static_cast<float>(w), static_cast<float>(h));
    // An image shows the first frame of the animation of its own name, still.
    auto animation = image->m_sprite.m_animations.find(name);
    if (animation != image->m_sprite.m_animations.end()) {
        image->m_sprite.m_currentFrame = static_cast<uint32_t>(std::max(0, animation->second.m_startFrame));
    }
    Attach(std::move(image), x, y);
}

void GUISystem::Attach(std::unique_ptr<KRGUIObject> item, float x, float y) {
    item->m_x = x;
    item->m_y = y;
    // An item the window refuses goes again at once.
    if (m_mainWindow == nullptr || !m_mainWindow->AddChild(item.get())) {
        return;
    }
    m_items.push_back(std::move(item));
}

KRGUIObject* GUISystem::FindByName(const std::string& name) const {
    for (const std::unique_ptr<KRGUIObject>& item : m_items) {
        if (item->m_name == name) {
            return item.get();
        }
    }
    return nullptr;
}

void GUISystem::Update(const float* delta) {
    for (const std::unique_ptr<KRGUIObject>& item : m_items) {
        item->Animate(delta);
    }
    for (DataBoundItem& bound : m_dataBound) {
        UpdateDataBoundText(bound.m_dataNum, m_gameData, bound.m_text);
    }
    if (m_mousePtr != nullptr) {
        m_mousePtr->Animate(delta);
    }
    if (m_mainWindow != nullptr) {
        m_mainWindow->Animate(delta);
    }
    if (m_fader == nullptr) {
        return;
    }
    m_fader->m_sprite.Animate(delta);
    if (!m_fader->m_sprite.m_playing) {
        if (m_fadeState == FADE_TO_BLACK) {
            m_fadeState = FADE_BLACK;
        } else if (m_fadeState == FADE_UNFADING) {
            m_fadeState = FADE_IDLE;
        }
    }
}

bool GUISystem::Draw(Engine& engine) {
    Renderer* renderer = engine.m_display.renderer.get();
    if (renderer == nullptr || renderer->device == nullptr) {
        return false;
    }
    plat::Device& device = *renderer->device;
    device.SetTransform(plat::kTsWorld, plat::D3DXMatrixIdentity());
    device.SetTransform(plat::kTsView, plat::D3DXMatrixIdentity());
    device.SetTransform(plat::kTsProjection, plat::D3DXMatrixOrthoOffCenterLH(
                                                 0.0f, kVirtualWidth, -kVirtualHeight, 0.0f, 0.0f, 100.0f));
    if (m_mousePtr != nullptr) {
        m_mousePtr->Render(engine);
    }
    if (m_mainWindow != nullptr) {
        m_mainWindow->Render(engine);
    }
    // Last, so that it covers everything.
    if (m_fader != nullptr) {
        m_fader->Render(engine);
    }
    return true;
}

void GUISystem::FadeToBlack() {
    if (m_fader == nullptr) {
        return;
    }
    m_fader->m_sprite.m_oneShot = true;
    m_fader->m_sprite.m_hold = true;
    m_fader->m_sprite.SetAnimation("FadeToBlack");
    m_fadeState = FADE_TO_BLACK;
}

void GUISystem::UnfadeFromBlack() {
    if (m_fader == nullptr) {
        return;
    }
    m_fader->m_sprite.m_oneShot = true;
    m_fader->m_sprite.m_hold = true;
    m_fader->m_sprite.SetAnimation("UnfadeFromBlack");
    m_fadeState = FADE_UNFADING;
}

void GUISystem::Clear() {
    // The bindings borrow the items: they go first.
    m_dataBound.clear();
    m_items.clear();
}

void GUISystem::Destroy() {
    m_mousePtr.reset();
    m_mainWindow.reset();
    m_fader.reset();
    Clear();
}

bool GUISystem::LoadScreen(Engine& engine, const std::string& layoutFile) {
    Init(engine);
    bool loaded = LoadFromXML(layoutFile);
    m_mousePtr->Load(engine);
    m_mainWindow->Load(engine);
    // The fader's texture must be resident whether or not a start-up scan of its folder loaded it.
    m_fader->Load(engine);
    return loaded;
}

void GUISystem::HandleScreenInput(Engine& engine) {
    m_guiClick = false;
    if (m_mousePtr != nullptr) {
        m_mousePtr->HandleInput(engine);
    }
    if (m_mainWindow != nullptr) {
        m_mainWindow->HandleInput(engine);
    }
    if (engine.m_input.KeyPressed(KEY_LBRACKET)) {
        FadeToBlack();
    }
    if (engine.m_input.KeyPressed(KEY_RBRACKET)) {
        UnfadeFromBlack();
    }
}

void GUISystem::UnloadScreen(Engine& engine) {
    if (m_mousePtr != nullptr) {
        m_mousePtr->Unload(engine);
    }
    if (m_mainWindow != nullptr) {
        m_mainWindow->Unload(engine);
    }
    Destroy();
}

void GUISystem::UpdateDataBoundText(int32_t dataNum, const GameData* gameData, std::string& text) {
    if (dataNum == 0) {
        return;
    }
    if (gameData == nullptr) {
        text = "GameData not set!";
        return;
    }
    if (dataNum != 1 && dataNum != 2) {
        text = "Invalid DataNum";
    }
}
