// The unit editor: the selected roster unit shown as a preview, its statistics raised and lowered a point
// at a time and paid for in tech points (the psychic stock), while the realm goes on running.
#pragma once

#include "battle/krunit.h"
#include "engine/krstate.h"
#include "kingdom/mail.h"

#include <array>
#include <cstdint>
#include <memory>

class BoxObject;
class Engine;
class GameData;

inline constexpr const char* kUnitEditorGuiFile = "../Assets/guiuniteditor.xml";
inline constexpr const char* kUnitEditorFrameFile = "../Assets/Boxes/dragonFrameFull.xml";
inline constexpr const char* kSwordSound = "../Assets/Audio/Effects/melee/Sword.wav";
inline constexpr const char* kEnergyBallSound = "../Assets/Audio/Effects/range/energyball.wav";
inline constexpr const char* kSteamEndSound = "../Assets/Audio/Effects/die/steamend.wav";
inline constexpr const char* kNoTechPointsMail = "You Don't Have Enough Tech Points";

// Where the preview stands in the HUD layer, and its size.
inline constexpr plat::Vector3 kPreviewPosition{-3.0f, 4.0f, 2.0f};
inline constexpr float kPreviewScale = 2.0f;

// Leaving the unit editor or the save screen: their 2-D objects go, and nothing picked there stays
// picked.
void CleanupHudScreen(Engine& engine);

class UnitEditorState : public KRState {
  public:
    // Built on the first "Unit" request.
    static UnitEditorState& Instance();
    UnitEditorState();
    ~UnitEditorState() override;

    void Load(Engine& engine) override;
    void Initialize(Engine& engine) override;
    void HandleInput(Engine& engine) override;
    void Update(Engine& engine) override;
    void Render(Engine& engine) override;
    void Cleanup(Engine& engine) override;
    void Unload(Engine& engine) override;

    // A left click: the first mail under the cursor is read; true when one was hit.
    bool HitTestMail(Engine& engine);
    // Pulses every box the cursor is over.
    void UpdateHover(Engine& engine);
    // A left click that no mail took: a box is clicked (and the preview follows a unit's box), or else
    // the preview reacts.
    void OnClick(Engine& engine);

    // One point more or less of a statistic, counted until confirmed; a point can be taken back only
    // when one was added.
    void AddPoint(StatIndex index);
    void RemovePoint(StatIndex index);
    // Pays for the preview's changes from the psychic stock and gives them to the selected unit.
    void Confirm(Engine& engine);
    // The preview becomes the selected unit again, with no point counted.
    void ResetPreview(Engine& engine);

    // Does the editor draw the box on the page being shown, and may a click reach it?
    static bool IsBoxShown(const BoxObject& box);
    static bool IsBoxReachable(const BoxObject& box);
    static bool ShowsPreview(const Engine& engine);

    float m_techPoints = 0.0f;
    // Points added per statistic and not yet confirmed.
    std::array<int32_t, kStatCount> m_statCounters{};
    KRUnit m_preview;
    // The ornate frame around the editor's panels, made by each Load.
    std::unique_ptr<Mail> m_frame;
};
