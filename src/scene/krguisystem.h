// A screen's 2-D GUI: the items of its layout file attached to one main window, the mouse pointer, and
// the full-screen fader that fades the screen to black and back.
#pragma once

#include "scene/krguiobject.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>

class Engine;
class GameData;

enum FadeState : int32_t { FADE_IDLE = 0, FADE_TO_BLACK = 1, FADE_BLACK = 2, FADE_UNFADING = 3 };

// An item whose text is derived from the game data; the item is borrowed from the item list.
struct DataBoundItem {
    KRGUIObject* m_item = nullptr;
    int32_t m_dataNum = 0;
    std::string m_text;
};

inline constexpr const char* kGUIMousePtrFile = "../Assets/krguimouseptr.xml";
inline constexpr const char* kGUIMainWindowFile = "../Assets/krguibgtest.xml";
inline constexpr const char* kGUIFaderFile = "../Assets/Textures/FadeAnimation/fade.xml";

class GUISystem {
  public:
    GUISystem() = default;
    GUISystem(const GUISystem&) = delete;
    GUISystem& operator=(const GUISystem&) = delete;

    // A new mouse pointer, main window (the size of the back buffer) and fader.
    void Init(Engine& engine);
    // Adds the items of a layout file; false when the file is unreadable or no GUI layout.
    bool LoadFromXML(const std::string& file);
    void AddButton(const std::string& name, const std::string& action, const std::string& file, float x,
                   float y, int32_t w, int32_t h);
    void AddImage(const std::string& name, const std::string& file, float x, float y, int32_t w, int32_t h);
    // The first listed item of exactly that name, or null.
    KRGUIObject* FindByName(const std::string& name) const;

    void Update(const float* delta);
    bool Draw(Engine& engine);

    void FadeToBlack();
    void UnfadeFromBlack();

    // Deletes the listed items.
    void Clear();
    // Deletes the mouse pointer, main window and fader, then the items.
    void Destroy();

    // What every screen does with its GUI: Load sets it up from the screen's layout file, HandleInput
    // passes the frame's input to it (with the fade keys), Unload tears it down.
    bool LoadScreen(Engine& engine, const std::string& layoutFile);
    void HandleScreenInput(Engine& engine);
    void UnloadScreen(Engine& engine);

    static void UpdateDataBoundText(int32_t dataNum, const GameData* gameData, std::string& text);

    std::list<std::unique_ptr<KRGUIObject>> m_items;
    std::unique_ptr<KRGUIMousePtr> m_mousePtr;
    std::unique_ptr<KRGUIWindow> m_mainWindow;
    bool m_guiClick = false;
    GameData* m_gameData = nullptr;
    std::list<DataBoundItem> m_dataBound;
    std::unique_ptr<KRGUIObject> m_fader;
    FadeState m_fadeState = FADE_IDLE;

  private:
    void Attach(std::unique_ptr<KRGUIObject> item, float x, float y);
};
