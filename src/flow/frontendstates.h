// The small front-end screens: a GUI layout whose buttons run scripts, pushed above the screen that asked
// for them and left with a key or a button. They differ only in their layout, log lines and keys.
#pragma once

#include "engine/krstate.h"

#include <string>

class FrontEndScreen : public KRState {
  public:
    FrontEndScreen(std::string name, std::string layoutFile);

    void Load(Engine& engine) override;
    void Initialize(Engine& engine) override;
    // The GUI's input and the fade keys, then the screen's own keys.
    void HandleInput(Engine& engine) override;
    void Update(Engine& engine) override;
    void Render(Engine& engine) override;
    void Cleanup(Engine& engine) override;
    void Unload(Engine& engine) override;

    const std::string& LayoutFile() const { return m_layoutFile; }

  protected:
    // Key press edges of the screen, after the GUI has had the frame's input.
    virtual void HandleKeys(Engine& engine) = 0;

  private:
    std::string m_layoutFile;
};

class CreditsState : public FrontEndScreen {
  public:
    static CreditsState& Instance();
    CreditsState();

  protected:
    void HandleKeys(Engine& engine) override;
};

class HowToPlayState : public FrontEndScreen {
  public:
    static HowToPlayState& Instance();
    HowToPlayState();

  protected:
    void HandleKeys(Engine& engine) override;
};

class OptionsState : public FrontEndScreen {
  public:
    static OptionsState& Instance();
    OptionsState();

    // Also hides the 1440 x 900 button where the display has no such mode.
    void Load(Engine& engine) override;

  protected:
    void HandleKeys(Engine& engine) override;
};

class PauseMenuState : public FrontEndScreen {
  public:
    static PauseMenuState& Instance();
    PauseMenuState();

  protected:
    void HandleKeys(Engine& engine) override;
};

class QuitGameConfirmationState : public FrontEndScreen {
  public:
    static QuitGameConfirmationState& Instance();
    QuitGameConfirmationState();

  protected:
    void HandleKeys(Engine& engine) override;
};
