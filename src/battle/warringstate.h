// The battle screen: the head invasion fought on the kingdom's own map until victory (back to the
// kingdom, with a reward) or defeat (back to the main menu).
#pragma once

#include "engine/krstate.h"
#include "scene/sprite.h"

#include <cstdint>

class Engine;
class GameData;
struct Invasion;

inline constexpr const char* kWarringGuiFile = "../Assets/guiwarring.xml";

class WarringState : public KRState {
  public:
    static WarringState& Instance();
    WarringState();

    void Load(Engine& engine) override;
    void Initialize(Engine& engine) override;
    void HandleInput(Engine& engine) override;
    void Update(Engine& engine) override;
    void Render(Engine& engine) override;
    void Cleanup(Engine& engine) override;
    void Unload(Engine& engine) override;

    static void UpdateHover(Engine& engine);
    static void PickUnderCursor(Engine& engine, bool xHeld);
    static void PickMailUnderCursor(Engine& engine);

    float m_endCountdown = 0.5f;
    uint8_t m_endMessageShown = 0;
    Sprite m_missileSprite;
    Sprite m_unitSprite;

  private:
    // One step of the battle itself: invaders warping in, both sides' units, missiles and sparks.
    void StepBattle(GameData& world, float dt);
    void EndBattle(Engine& engine, float dt);
    // The wave this battle fights, still in the realm's queue; null when none was queued.
    Invasion* m_wave = nullptr;
    // The end is paid and announced once per battle; only the screen change is tried again.
    bool m_endSettled = false;
    // The invaders found no gate with a way in and left: back to the kingdom at once.
    bool m_turnedBack = false;
};

// "Warring": changes to the battle screen. With no invasion queued there is nothing to fight, and
// the request is refused.
void ScriptWarring();
