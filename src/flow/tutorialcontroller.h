// The guided tutorial of a new game: a sequence of named steps, each posting its letter as a mail,
// greying out the boxes the player is not meant to use, making the ones to press blink, pointing the
// marker at the map, testing every frame whether its goal is met and undoing wrong moves with a rebuke.
#pragma once

#include "engine/krassetpaths.h"

#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <utility>
#include <vector>

class BoxObject;
class Engine;
class GameData;
class PlayerEditor;

class TutorialController {
  public:
    // The one controller of the process, built on first use; building it starts the tutorial of the
    // engine's world unless one is running.
    static TutorialController& Instance();

    TutorialController() = default;
    TutorialController(const TutorialController&) = delete;
    TutorialController& operator=(const TutorialController&) = delete;

    // False, and nothing changed, when the file could not be read.
    bool LoadSequence(const std::string& file = AssetPaths::kTutorialSeq);
    // A step that already has a letter keeps it.
    bool LoadMessages(const std::string& file = AssetPaths::kTutorialMessage);

    void Start(GameData& world, const std::string& sequenceFile = AssetPaths::kTutorialSeq,
               const std::string& messageFile = AssetPaths::kTutorialMessage);
    void Stop(GameData& world);
    void AdvanceStep(GameData& world);
    // Once per step: its letter, highlights, blinking boxes and marker, then the restriction.
    void SetUpStep(GameData& world);
    // Every frame: the step's goal, its corrections, and the advance when it is met.
    void CheckStepDone(GameData& world);

    void RestrictButtons(GameData& world);
    // The whole HUD handed back: every box enabled with its own look, none blinking.
    void EnableAllButtons(GameData& world);
    void DisableBoxByLabel(GameData& world, const std::string& label);
    void LockStatPlusButton(GameData& world);
    void FillPathTargets();
    // Cracks the ground between the southern gate and the capital, the two ends left as they are.
    void LayCrackPath(GameData& world);
    // The player asked to leave the tutorial; the next check hands the whole HUD back.
    void Skip();

    const std::string& CurrentStep() const { return m_currentStep; }
    bool StepSetUp() const { return m_stepSetUp; }
    const std::list<std::string>& Steps() const { return m_steps; }
    const std::map<std::string, std::string>& Messages() const { return m_messages; }
    const std::list<std::string>& HighlightNames() const { return m_highlightNames; }
    const std::vector<int32_t>& AllowedIds() const { return m_allowedIds; }
    // (row, column), in the order they are to be paved.
    const std::list<std::pair<int32_t, int32_t>>& PathTargets() const { return m_pathTargets; }
    // (column, row), gate end first.
    const std::vector<std::pair<int32_t, int32_t>>& CrackPath() const { return m_crackPath; }

    // Process-wide: set by Start, cleared only by Stop.
    static bool s_running;
    // The "+" clicks counted in the stat step; never reset.
    static int32_t s_plusClicks;

  private:
    void AllowedBoxNames();
    void SetUpOwnStep(GameData& world, PlayerEditor& realm);
    void CheckPathStep(GameData& world, PlayerEditor& realm);
    void CheckDestroyStep(GameData& world);
    // The realm's last clicked box has this id; with fresh set, only on a click not seen before.
    bool Clicked(const PlayerEditor& realm, int32_t actionId, bool fresh = false) const;
    void PointMarker(PlayerEditor& realm, int32_t row, int32_t col, float bob, const std::string& label);
    void HideMarker(PlayerEditor& realm);

    bool m_stepSetUp = false;
    std::vector<std::pair<int32_t, int32_t>> m_crackPath;
    std::map<std::string, std::string> m_messages;
    std::string m_currentStep;
    std::list<std::string> m_steps;
    std::list<std::string>::const_iterator m_position = m_steps.cend();
    std::list<std::string> m_highlightNames;
    std::vector<int32_t> m_allowedIds;
    std::list<std::pair<int32_t, int32_t>> m_pathTargets;
    bool m_farmHintGiven = false;
    bool m_houseHintGiven = false;
    // The realm's box click count when the last check ran.
    uint32_t m_clicksSeen = 0;
};

// Box action 81 and the K key: while the tutorial runs, it ends and the default kingdom replaces the
// tutorial map.
void SkipTutorial();

// The tutorial's part of a game screen's frame: set-up and check while the realm is in tutorial mode.
void RunTutorialFrame(Engine& engine);
