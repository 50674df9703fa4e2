// HUD boxes: the clickable, animated boxes of the game screens, drawn flat under the HUD camera. Each
// runs a queue of timed commands; boxes link into chains that fold out, scrolling lists between two
// arrow boxes, and groups. They blink, grey out when disabled and can expire after a lifetime.
#pragma once

#include "platform/d3dx.h"
#include "scene/boxactions.h"
#include "scene/hudtext.h"
#include "scene/krgameobject.h"

#include <cstdint>
#include <initializer_list>
#include <list>
#include <optional>
#include <string>
#include <vector>

class BoxObject;
class Engine;
class GameData;
class KRUnit;

inline constexpr const char* kBoxSpriteFile = "../Assets/guibuttonsheet.xml";
inline constexpr const char* kBoxOwnTextureFile = "../Assets/defaulttexture.xml";
inline constexpr const char* kBoxFlashTexture = "../Assets/Buttons/ButtonFlash.xml";
inline constexpr const char* kBoxDisabledTexture = "../Assets/Buttons/ButtonDarkGrey.xml";
inline constexpr const char* kBoxLeftArrowTexture = "../Assets/Buttons/LeftArrowButtons.xml";
inline constexpr const char* kBoxRightArrowTexture = "../Assets/Buttons/RightArrowButtons.xml";

inline constexpr float kBoxBlinkPeriod = 0.35f;
// Tool mode 13: select (what a click on the map does after a unit's box was clicked).
inline constexpr int32_t kToolModeSelect = 13;

enum class BoxCommandKind : uint32_t {
    MoveTo = 0,
    Wait = 1,
    Click = 2,
    Select = 3,
    ReturnToAnchor = 4,
    FoldToggle = 5,
    UnfoldBeside = 6,
    PressPulse = 7,
    ListLayout = 8,
    ScrollBack = 9,
    ScrollForward = 10,
    SlideLeft = 11,
    SlideRight = 12
};

struct BoxCommand {
    BoxCommandKind m_kind = BoxCommandKind::Wait;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    float m_speed = 0.0f;
    float m_time = 0.0f;
    bool m_firstFrame = true;
};

// The screens that draw and pick a box.
struct ScreenFlags {
    bool m_battle = false;
    bool m_unitEditor = false;
    bool m_kingdom = false;
    bool m_fourth = false;
};

// What boxes read and change of the realm and the world around them. Each GameData installs its own
// context (WorldBoxContext, in kingdom/gamedata.h); with none installed the default one stands in: an
// unpaused game on the kingdom view that keeps no selection and runs no action.
class BoxContext {
  public:
    virtual ~BoxContext() = default;

    // While set, only the Pause box takes clicks and selects.
    virtual bool IsPaused() const { return false; }
    virtual void SelectUnit(KRUnit* unit) { (void)unit; }
    virtual void SetToolMode(int32_t mode) { (void)mode; }
    // The selection marker over a roster unit's box click.
    virtual void PlaceSelectionMarker(KRUnit* unit) { (void)unit; }
    virtual void SelectBox(BoxObject* box) { (void)box; }
    // Once per click taken, on its first frame; SelectBox runs on every frame of the bounce.
    virtual void CountClick(BoxObject* box) { (void)box; }
    // A box is being deleted: drop every pointer kept to it.
    virtual void ForgetBox(const BoxObject* box) { (void)box; }
    // The box action dispatcher.
    virtual void DispatchBoxAction(BoxActionId id, BoxObject* box) {
        (void)id;
        (void)box;
    }
    // 0 kingdom, 1 war, 2 unit editor, 4 save and load.
    virtual int32_t GameMode() const { return 0; }
    // The realm's info page and unit page (unit editor).
    virtual int32_t InfoPage() const { return 0; }
    virtual int32_t UnitPage() const { return 0; }
};

// Borrowed; the installer uninstalls it (null gives the default) before it goes away.
void SetBoxContext(BoxContext* context);
BoxContext& CurrentBoxContext();

// Runs a clicked box's action once, on the first frame of its click.
void DispatchBoxAction(BoxActionId id, BoxObject* box);

class BoxObject : public KRGameObject {
  public:
    BoxObject();
    ~BoxObject() override;
    BoxObject(const BoxObject&) = delete;
    BoxObject& operator=(const BoxObject&) = delete;

    // One step of the game delta: lifetime, blink, the head command, the sprite's animation.
    void Update(float delta) override;
    void Render(Engine& engine) override;

    static void QueueCommand(BoxObject* box, const BoxCommand& command);
    void QueueCommand(const BoxCommand& command);
    void QueueCommand(BoxCommandKind kind, float speed, const plat::Vector3& position = {0.0f, 0.0f, 0.0f},
                      float time = 0.0f);

    // This box, its next chain, and every child chain hanging from them.
    void SetPositionRecursive(const plat::Vector3& position);
    // The same, folding them away: closes a sub-menu onto its parent.
    void SetGroupPosition(const plat::Vector3& position);

    // Along this box and its next chain, at most ten; empty texts are skipped.
    void SetChainLabels(std::initializer_list<const char*> texts);
    void SetChainActionIds(std::initializer_list<BoxActionId> ids);
    void SetChainTexture(const std::string& file);
    void SetTexture(const std::string& file);

    void StopBlink();
    void Enable();
    void Disable();
    void BlinkFourthInChain();
    bool IsNotShowingFlash() const;

    // -1 (or any negative value) for none.
    void SetLifetime(float seconds);
    float Lifetime() const { return m_lifetime; }
    bool HasLifetime() const { return m_hasLifetime; }
    // For a number source that counts the lifetime down on the box.
    const float* LifetimeSource() const { return &m_lifetime; }

    // On a group head: a member leaves (order kept) and the list window is kept inside the rest.
    void RemoveMember(BoxObject* member);
    // Window start within [1, max(1, last member index - 8)].
    void ClampWindowStart();

    // False when the unit editor's pages hide it (unit editor only).
    bool ShownOnCurrentPage() const;

    // Remembers the box's place, fold, size and scroll as they are now. ReturnToRest puts them back, with
    // the queue emptied and no blink; a box never told its rest is left as it is.
    void RememberRest();
    void ReturnToRest();

    std::list<BoxCommand> m_commands;
    // Not 0: neither drawn nor picked.
    int32_t m_hidden = 1;
    // 0 single box, 1 chain, 2 list.
    int32_t m_layoutType = 0;
    BoxActionId m_actionId = kBoxActionNone;
    int32_t m_panel = 0;
    int32_t m_subPanel = 0;
    // On a group head: its boxes in order. Borrowed.
    std::vector<BoxObject*> m_members;
    HudTextBlock m_label;
    // Put back after a blink and on Enable.
    std::string m_ownTexture = kBoxOwnTextureFile;
    std::string m_mailText;
    // Shown as a whole number; owned elsewhere.
    const float* m_numberSource = nullptr;
    int32_t m_mailKind = 6;
    bool m_blinking = false;
    bool m_showNumber = true;
    bool m_showLabel = true;
    bool m_expired = false;
    bool m_enabled = true;
    bool m_folded = false;
    bool m_pickable = true;
    ScreenFlags m_screenFlags;
    // Nothing moves or animates while set.
    bool m_frozen = false;
    // Toggled by a click or select on a box without a group; on a list head, set means closed.
    bool m_selectByte = false;
    // Drawn this frame.
    bool m_rendered = false;
    float m_blinkTimer = 0.0f;
    float m_baseHeight = 1.0f;
    float m_baseWidth = 1.0f;
    plat::Vector3 m_layoutPosition{0.0f, 0.0f, 0.0f};
    // Links to other boxes, borrowed; the owner clears them when a box is deleted (DeleteHudBox).
    BoxObject* m_group = nullptr;
    BoxObject* m_anchor = nullptr;
    BoxObject* m_next = nullptr;
    BoxObject* m_child = nullptr;
    KRUnit* m_linkedUnit = nullptr;
    // Step from the anchor when unfolded.
    plat::Vector3 m_anchorOffset{0.0f, 0.0f, 0.0f};
    // Built like the label; not drawn by the box.
    HudTextBlock m_secondText;
    // On a list head: index among its members of the first row in the window.
    uint32_t m_windowStart = 1;

  private:
    // True when the command is done.
    bool RunCommand(BoxCommand& command, float t);
    bool AnimClick(BoxCommand& command, float t);
    bool AnimSelect(BoxCommand& command);
    void ReactToLinks();
    bool MoveTowards(const plat::Vector3& target, float step);
    bool FoldToggle(BoxCommand& command, float t);
    bool ReturnToAnchor(BoxCommand& command, float t);
    bool ListLayout(BoxCommand& command);
    bool ScrollBack();
    bool ScrollForward();
    bool PressPulse(BoxCommand& command);
    bool Slide(BoxCommand& command, float direction, float speed, float t);
    void ApplyTexture(const std::string& file);
    void SetScale(float width, float height);
    void Show(bool shown);

    float m_lifetime = -1.0f;
    bool m_hasLifetime = false;

    struct Rest {
        plat::Vector3 position;
        float width;
        float height;
        bool folded;
        bool pickable;
        bool visible;
        bool selectByte;
        uint32_t windowStart;
    };
    std::optional<Rest> m_rest;
};

// A chain of count boxes (at least one) appended to gameData's box list; returns the head. The others
// follow as the head's group members, each anchored to the one before it with the step (anchor width x
// fx, 0, anchor height x fz): laid out, each sits there; otherwise it sits folded on its anchor.
BoxObject* CreateHudBox(GameData& gameData, float x, float y, float z, float width, float height,
                        int32_t layoutType, int32_t count, float fx, float fy, float fz, bool battle,
                        bool unitEditor, bool kingdom, bool fourth, bool laidOut, int32_t panel,
                        int32_t subPanel);

// A list: the head, then the "<<" arrow, count - 1 rows and the ">>" arrow as the head's group, appended
// to gameData's box list in that order; returns the head. The unit-editor flag is always set; fy is not
// used. With selectByte set the list starts closed: arrows and rows folded and not pickable.
BoxObject* CreateHudListBox(GameData& gameData, float x, float y, float z, float width, float height,
                            int32_t count, float fx, float fy, float fz, bool battle, bool kingdom,
                            bool fourth, bool selectByte, int32_t panel, float arrowX, float arrowY,
                            float arrowZ, float itemWidth, float itemHeight);

// Deletes a box of gameData's box list: its chain closes over it (the box before it takes its next box,
// which takes its anchor), groups and the box context forget it.
void DeleteHudBox(GameData& gameData, BoxObject* box);
