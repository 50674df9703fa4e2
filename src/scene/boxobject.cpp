#include "scene/boxobject.h"

#include "engine/engine.h"
#include "engine/krlog.h"
#include "kingdom/gamedata.h"
#include "scene/krcamera.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <memory>
#include <unordered_set>

namespace {

BoxContext g_defaultBoxContext;
BoxContext* g_boxContext = nullptr;

// Speed factors of the movement rule.
constexpr float kMoveFactor = 10.0f;
constexpr float kFoldFactor = 5.0f;
constexpr float kSlideLeftSpeed = 10.0f;
constexpr float kSlideRightSpeed = 20.0f;
constexpr float kScrollMoveSpeed = 0.75f;
constexpr float kClickBounceTime = 0.1f;
constexpr float kClickShrinkUntil = 0.05f;
constexpr float kClickScaleRate = 3.0f;
constexpr float kPulseScale = 1.2f;
constexpr float kChainWait = 0.02f;
// A list window shows eight rows between its arrows, in slots 1 to 8.
constexpr uint32_t kWindowRows = 8;

// Walks a next chain once even if it were ever linked into a ring.
template <class F> void ForChain(BoxObject* first, F&& visit) {
    std::unordered_set<const BoxObject*> seen;
    for (BoxObject* box = first; box != nullptr && seen.insert(box).second; box = box->m_next) {
        visit(*box);
    }
}

plat::Vector3 Add(const plat::Vector3& a, const plat::Vector3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

bool SamePosition(const plat::Vector3& a, const plat::Vector3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// "%d" of a value truncated toward zero, without the undefined conversion of values past int.
int32_t WholeNumber(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0f) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value <= -2147483648.0f) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

void PositionChainRecursive(BoxObject* first, const plat::Vector3& position, bool fold,
                            std::unordered_set<const BoxObject*>& seen) {
    for (BoxObject* box = first; box != nullptr && seen.insert(box).second; box = box->m_next) {
        box->m_layoutPosition = position;
        if (fold) {
            box->m_folded = true;
            box->m_pickable = false;
        }
        if (box->m_child != nullptr) {
            PositionChainRecursive(box->m_child, position, fold, seen);
        }
    }
}

// A new box of gameData's list, with what every builder gives it.
BoxObject* NewHudBox(GameData& gameData, int32_t layoutType, const ScreenFlags& flags, int32_t panel,
                     int32_t subPanel, float width, float height) {
    auto owned = std::make_unique<BoxObject>();
    BoxObject* box = owned.get();
    gameData.m_hudBoxes.push_back(std::move(owned));
    box->m_layoutType = layoutType;
    box->m_hidden = 0;
    box->m_screenFlags = flags;
    box->m_panel = panel;
    box->m_subPanel = subPanel;
    box->m_baseWidth = width;
    box->m_baseHeight = height;
    box->m_boundingBox.m_scale[0] = width;
    box->m_boundingBox.m_scale[1] = height;
    return box;
}

} // namespace

void SetBoxContext(BoxContext* context) {
    g_boxContext = context;
}

BoxContext& CurrentBoxContext() {
    return g_boxContext != nullptr ? *g_boxContext : g_defaultBoxContext;
}

void DispatchBoxAction(BoxActionId id, BoxObject* box) {
    CurrentBoxContext().DispatchBoxAction(id, box);
}

BoxObject::BoxObject() : KRGameObject("KRBoxObject", kBoxSpriteFile) {}

BoxObject::~BoxObject() {
    CurrentBoxContext().ForgetBox(this);
}

void BoxObject::QueueCommand(BoxObject* box, const BoxCommand& command) {
    if (box != nullptr) {
        box->m_commands.push_back(command);
    }
}

void BoxObject::QueueCommand(const BoxCommand& command) {
    m_commands.push_back(command);
}

void BoxObject::QueueCommand(BoxCommandKind kind, float speed, const plat::Vector3& position, float time) {
    BoxCommand command;
    command.m_kind = kind;
    command.m_x = position.x;
    command.m_y = position.y;
    command.m_z = position.z;
    command.m_speed = speed;
    command.m_time = time;
    m_commands.push_back(command);
}

void BoxObject::Update(float delta) {
    if (m_frozen) {
        return;
    }
    // Game time never runs backwards for a box.
    const float t = std::isfinite(delta) && delta > 0.0f ? delta : 0.0f;
    if (m_hasLifetime && !m_expired) {
        m_lifetime -= t;
        // However large the step: an offer whose time ran out goes.
        if (m_lifetime < 0.0f) {
            m_expired = true;
        }
    }
    if (m_expired) {
        return;
    }
    if (m_blinking) {
        if (m_blinkTimer > 0.0f) {
            m_blinkTimer -= t;
        }
        if (m_blinkTimer <= 0.0f) {
            m_blinkTimer = kBoxBlinkPeriod;
            ApplyTexture(IsNotShowingFlash() ? std::string(kBoxFlashTexture) : m_ownTexture);
        }
    }
    if (!m_commands.empty()) {
        // A handler may queue on this box too; list iterators stay valid through that.
        auto head = m_commands.begin();
        if (RunCommand(*head, t)) {
            m_commands.erase(head);
        }
    }
    m_sprite.Animate(&t);
}

bool BoxObject::RunCommand(BoxCommand& command, float t) {
    const plat::Vector3 target{command.m_x, command.m_y, command.m_z};
    switch (command.m_kind) {
    case BoxCommandKind::MoveTo:
        if (m_actionId == kBoxActionScrollForward) {
            return true;
        }
        return MoveTowards(target, command.m_speed * kMoveFactor * t);
    case BoxCommandKind::Wait:
        command.m_time -= t;
        return command.m_time <= 0.0f;
    case BoxCommandKind::Click:
        return AnimClick(command, t);
    case BoxCommandKind::Select:
        return AnimSelect(command);
    case BoxCommandKind::ReturnToAnchor:
        return ReturnToAnchor(command, t);
    case BoxCommandKind::FoldToggle:
    case BoxCommandKind::UnfoldBeside:
        return FoldToggle(command, t);
    case BoxCommandKind::PressPulse:
        return PressPulse(command);
    case BoxCommandKind::ListLayout:
        return ListLayout(command);
    case BoxCommandKind::ScrollBack:
        return ScrollBack();
    case BoxCommandKind::ScrollForward:
        return ScrollForward();
    case BoxCommandKind::SlideLeft:
        return Slide(command, -1.0f, kSlideLeftSpeed, t);
    case BoxCommandKind::SlideRight:
        return Slide(command, 1.0f, kSlideRightSpeed, t);
    }
    // An unknown kind stays at the head.
    return false;
}

bool BoxObject::MoveTowards(const plat::Vector3& target, float step) {
    const plat::Vector3 d{target.x - m_layoutPosition.x, target.y - m_layoutPosition.y,
                          target.z - m_layoutPosition.z};
    const float distance2 = d.x * d.x + d.y * d.y + d.z * d.z;
    const float step2 = step * step;
    if (distance2 <= step2) {
        m_layoutPosition = target;
        return true;
    }
    const float k = std::sqrt(step2 / distance2);
    m_layoutPosition = {m_layoutPosition.x + k * d.x, m_layoutPosition.y + k * d.y,
                        m_layoutPosition.z + k * d.z};
    return false;
}

bool BoxObject::AnimClick(BoxCommand& command, float t) {
    BoxContext& context = CurrentBoxContext();
    if ((context.IsPaused() && m_actionId != kBoxActionPause) || !m_enabled) {
        // A bounce cut short still ends at the box's own size.
        if (!command.m_firstFrame) {
            SetScale(m_baseWidth, m_baseHeight);
        }
        return true;
    }
    if (m_linkedUnit != nullptr) {
        context.SelectUnit(m_linkedUnit);
        context.SetToolMode(kToolModeSelect);
        if (m_actionId == kBoxActionRosterUnit) {
            context.PlaceSelectionMarker(m_linkedUnit);
        }
    }
    context.SelectBox(this);
    if (command.m_firstFrame) {
        StopBlink();
        command.m_time = kClickBounceTime;
        command.m_firstFrame = false;
        if (m_group == nullptr) {
            m_selectByte = !m_selectByte;
        }
        context.CountClick(this);
        DispatchBoxAction(m_actionId, this);
        ReactToLinks();
    }
    float* scale = m_boundingBox.m_scale;
    bool done = false;
    if (command.m_time >= kClickShrinkUntil) {
        scale[0] -= kClickScaleRate * t;
        scale[1] -= kClickScaleRate * t;
    } else {
        scale[0] += kClickScaleRate * t;
        scale[1] += kClickScaleRate * t;
        if (scale[0] >= m_baseWidth && scale[1] >= m_baseHeight) {
            SetScale(m_baseWidth, m_baseHeight);
            done = true;
        }
    }
    command.m_time -= t;
    return done;
}

bool BoxObject::AnimSelect(BoxCommand& command) {
    BoxContext& context = CurrentBoxContext();
    if (context.IsPaused() && m_actionId != kBoxActionPause) {
        return true;
    }
    if (m_linkedUnit != nullptr) {
        context.SelectUnit(m_linkedUnit);
    }
    context.SelectBox(this);
    if (command.m_firstFrame) {
        command.m_firstFrame = false;
        StopBlink();
        if (m_group == nullptr) {
            m_selectByte = !m_selectByte;
        }
        ReactToLinks();
    }
    return true;
}

void BoxObject::ReactToLinks() {
    if (m_layoutType == 1) {
        if (m_anchor == nullptr && m_next != nullptr && m_next != this) {
            m_next->QueueCommand(BoxCommandKind::FoldToggle, 3.0f, m_layoutPosition);
        }
        if (m_child != nullptr && m_child != this) {
            m_child->QueueCommand(BoxCommandKind::UnfoldBeside, 5.0f);
        }
    } else if (m_layoutType == 2 && m_anchor == nullptr && m_next != nullptr && m_next != this) {
        m_next->QueueCommand(BoxCommandKind::ListLayout, 5.0f);
    }
    if (m_group != nullptr && m_group != this) {
        if (m_actionId == kBoxActionScrollBack) {
            m_group->QueueCommand(BoxCommandKind::ScrollBack, 5.0f);
        } else if (m_actionId == kBoxActionScrollForward) {
            m_group->QueueCommand(BoxCommandKind::ScrollForward, 5.0f);
        }
        // Sub-menus of the other members close back onto them.
        for (BoxObject* member : m_group->m_members) {
            if (member != nullptr && member != this && member->m_child != nullptr &&
                !SamePosition(member->m_child->m_layoutPosition, member->m_layoutPosition)) {
                member->m_child->SetGroupPosition(member->m_layoutPosition);
            }
        }
    }
}

bool BoxObject::FoldToggle(BoxCommand& command, float t) {
    if (m_anchor == nullptr) {
        return true;
    }
    if (command.m_firstFrame) {
        command.m_firstFrame = false;
        if (m_layoutType == 1) {
            BoxCommand passed = command;
            passed.m_firstFrame = true;
            if (m_next != nullptr && m_next != this) {
                m_next->QueueCommand(passed);
            }
            if (m_child != nullptr && m_child != this) {
                if (m_child->m_folded) {
                    m_child->SetPositionRecursive({command.m_x, command.m_y, command.m_z});
                } else {
                    m_child->QueueCommand(passed);
                }
            }
        }
        m_folded = !m_folded;
        m_pickable = !m_folded;
    }
    // Beside or below the anchor, as the anchor offset says.
    const plat::Vector3 target =
        m_folded ? m_anchor->m_layoutPosition : Add(m_anchor->m_layoutPosition, m_anchorOffset);
    return MoveTowards(target, command.m_speed * kFoldFactor * t);
}

bool BoxObject::ReturnToAnchor(BoxCommand& command, float t) {
    if (m_actionId == kBoxActionScrollForward || m_anchor == nullptr) {
        return true;
    }
    if (command.m_firstFrame) {
        command.m_firstFrame = false;
        if (m_layoutType == 1) {
            for (BoxObject* linked : {m_next, m_child}) {
                if (linked != nullptr && linked != this) {
                    linked->QueueCommand(BoxCommandKind::Wait, 0.0f, {0.0f, 0.0f, 0.0f}, kChainWait);
                    linked->QueueCommand(BoxCommandKind::ReturnToAnchor, command.m_speed);
                }
            }
        }
    }
    if (!m_folded && !MoveTowards(m_anchor->m_layoutPosition, command.m_speed * kMoveFactor * t)) {
        return false;
    }
    m_layoutPosition = Add(m_anchor->m_layoutPosition, m_anchorOffset);
    return true;
}

bool BoxObject::ListLayout(BoxCommand& command) {
    if (command.m_firstFrame) {
        command.m_firstFrame = false;
        if (m_next != nullptr && m_next != this) {
            std::list<BoxCommand>& queue = m_next->m_commands;
            if (!queue.empty() && queue.front().m_kind == BoxCommandKind::ListLayout) {
                queue.pop_front();
            }
            m_next->QueueCommand(BoxCommandKind::ListLayout, command.m_speed);
        }
    }
    BoxObject* head = m_group;
    if (head == nullptr || head == this) {
        return true;
    }
    if (head->m_selectByte) {
        m_folded = true;
        m_pickable = false;
        m_sprite.m_visible = false;
        return true;
    }
    head->ClampWindowStart();
    const std::vector<BoxObject*>& members = head->m_members;
    auto found = std::find(members.begin(), members.end(), this);
    const size_t last = members.empty() ? 0 : members.size() - 1;
    const size_t start = head->m_windowStart;
    size_t slot = kWindowRows;
    bool inWindow = false;
    if (found != members.end()) {
        const auto k = static_cast<size_t>(found - members.begin());
        if (k == 0) {
            slot = 0;
            inWindow = true;
        } else if (k == last) {
            slot = kWindowRows + 1;
            inWindow = true;
        } else if (k >= start && k < start + kWindowRows) {
            slot = k - start + 1;
            inWindow = true;
        }
    }
    m_folded = !inWindow;
    m_pickable = inWindow;
    m_sprite.m_visible = inWindow;
    const BoxObject* first = head->m_next != nullptr ? head->m_next : head;
    const auto s = static_cast<float>(slot);
    m_layoutPosition = {first->m_layoutPosition.x + s * m_anchorOffset.x, m_anchorOffset.y,
                        first->m_layoutPosition.z + s * m_anchorOffset.z};
    return true;
}

void BoxObject::ClampWindowStart() {
    const size_t count = m_members.size();
    const size_t highest = count > kWindowRows + 2 ? count - 1 - kWindowRows : 1;
    if (m_windowStart < 1) {
        m_windowStart = 1;
    } else if (m_windowStart > highest) {
        m_windowStart = static_cast<uint32_t>(highest);
    }
}

void BoxObject::RemoveMember(BoxObject* member) {
    auto found = std::find(m_members.begin(), m_members.end(), member);
    if (found != m_members.end()) {
        m_members.erase(found);
    }
    ClampWindowStart();
}

bool BoxObject::ScrollBack() {
    ClampWindowStart();
    std::vector<BoxObject*>& m = m_members;
    const size_t s = m_windowStart;
    if (m_next == nullptr || s >= m.size() || m[s - 1] == nullptr ||
        m[s - 1]->m_actionId == kBoxActionScrollBack) {
        return true;
    }
    const plat::Vector3 first = m_next->m_layoutPosition;
    BoxObject* entering = m[s - 1];
    entering->m_layoutPosition = first;
    for (size_t i = s - 1, moved = 0; i < m.size() && moved < kWindowRows + 1; ++i, ++moved) {
        if (m[i] == nullptr || m[i]->m_actionId == kBoxActionScrollForward) {
            break;
        }
        const float k = static_cast<float>(i + 2) - static_cast<float>(s);
        m[i]->QueueCommand(BoxCommandKind::MoveTo, kScrollMoveSpeed,
                           {first.x + k * m[i]->m_baseWidth, first.y, first.z});
    }
    m_windowStart = static_cast<uint32_t>(s - 1);
    entering->Show(true);
    if (s + 7 < m.size() && m[s + 7] != nullptr && m[s + 7]->m_actionId != kBoxActionScrollForward) {
        m[s + 7]->Show(false);
    }
    return true;
}

bool BoxObject::ScrollForward() {
    ClampWindowStart();
    std::vector<BoxObject*>& m = m_members;
    const size_t s = m_windowStart;
    if (m_next == nullptr || m.empty() || s + kWindowRows >= m.size() - 1) {
        return true;
    }
    BoxObject* entering = m[s + kWindowRows];
    BoxObject* leaving = m[s];
    if (entering == nullptr || leaving == nullptr || m[s + 7] == nullptr) {
        return true;
    }
    const plat::Vector3 first = m_next->m_layoutPosition;
    const plat::Vector3 before = m[s + 7]->m_layoutPosition;
    entering->m_layoutPosition = {before.x + entering->m_baseWidth, before.y, before.z};
    for (size_t i = s, moved = 0; i < m.size() && moved < kWindowRows + 1; ++i, ++moved) {
        if (m[i] == nullptr || m[i]->m_actionId == kBoxActionScrollForward) {
            break;
        }
        const float k = static_cast<float>(i - s);
        m[i]->QueueCommand(BoxCommandKind::MoveTo, kScrollMoveSpeed,
                           {first.x + k * m[i]->m_baseWidth, first.y, first.z});
    }
    m_windowStart = static_cast<uint32_t>(s + 1);
    leaving->Show(false);
    entering->Show(true);
    return true;
}

bool BoxObject::PressPulse(BoxCommand& command) {
    if (!m_pickable) {
        return true;
    }
    if (command.m_firstFrame) {
        command.m_firstFrame = false;
        return false;
    }
    auto behind = std::next(m_commands.begin());
    const bool held = behind != m_commands.end() && behind->m_kind == BoxCommandKind::PressPulse;
    m_commands.erase(behind, m_commands.end());
    if (held) {
        SetScale(m_baseWidth * kPulseScale, m_baseHeight * kPulseScale);
        return false;
    }
    SetScale(m_baseWidth, m_baseHeight);
    return true;
}

bool BoxObject::Slide(BoxCommand& command, float direction, float speed, float t) {
    // The target is fixed when the slide starts, or it would recede with the box.
    if (command.m_firstFrame) {
        command.m_firstFrame = false;
        command.m_x = m_layoutPosition.x + direction * m_baseWidth;
        command.m_y = m_layoutPosition.y;
        command.m_z = m_layoutPosition.z;
    }
    return MoveTowards({command.m_x, command.m_y, command.m_z}, speed * t);
}

void BoxObject::SetPositionRecursive(const plat::Vector3& position) {
    std::unordered_set<const BoxObject*> seen;
    PositionChainRecursive(this, position, false, seen);
}

void BoxObject::SetGroupPosition(const plat::Vector3& position) {
    std::unordered_set<const BoxObject*> seen;
    PositionChainRecursive(this, position, true, seen);
}

void BoxObject::SetChainLabels(std::initializer_list<const char*> texts) {
    auto text = texts.begin();
    size_t used = 0;
    ForChain(this, [&](BoxObject& box) {
        if (text == texts.end() || used == 10) {
            return;
        }
        if (*text != nullptr && **text != '\0') {
            box.m_label.SetText(*text, {0.0f, 0.0f, 0.0f});
        }
        ++text;
        ++used;
    });
}

void BoxObject::SetChainActionIds(std::initializer_list<BoxActionId> ids) {
    auto id = ids.begin();
    size_t used = 0;
    ForChain(this, [&](BoxObject& box) {
        if (id == ids.end() || used == 10) {
            return;
        }
        box.m_actionId = *id;
        ++id;
        ++used;
    });
}

void BoxObject::SetChainTexture(const std::string& file) {
    ForChain(this, [&](BoxObject& box) { box.SetTexture(file); });
}

void BoxObject::SetTexture(const std::string& file) {
    ApplyTexture(file);
    m_ownTexture = file;
}

void BoxObject::StopBlink() {
    if (m_blinking) {
        m_blinking = false;
        ApplyTexture(m_ownTexture);
    }
}

void BoxObject::Enable() {
    m_enabled = true;
    ApplyTexture(m_ownTexture);
}

void BoxObject::Disable() {
    m_enabled = false;
    m_blinking = false;
    ApplyTexture(kBoxDisabledTexture);
}

void BoxObject::BlinkFourthInChain() {
    BoxObject* box = this;
    for (int step = 0; step < 4 && box != nullptr; ++step) {
        box = box->m_next;
    }
    if (box != nullptr && box != this && box->m_pickable) {
        box->m_blinking = true;
    }
}

bool BoxObject::IsNotShowingFlash() const {
    return m_sprite.m_xmlName != kBoxFlashTexture;
}

void BoxObject::SetLifetime(float seconds) {
    m_hasLifetime = std::isfinite(seconds) && seconds >= 0.0f;
    m_lifetime = m_hasLifetime ? seconds : -1.0f;
}

bool BoxObject::ShownOnCurrentPage() const {
    const BoxContext& context = CurrentBoxContext();
    if (context.GameMode() != 2) {
        return true;
    }
    if (m_panel != 0) {
        const int32_t page = context.InfoPage();
        const bool racePage = m_panel == 3 && page >= 5 && page <= 12;
        if (page != m_panel && !racePage) {
            return false;
        }
    }
    return m_subPanel == 0 || context.UnitPage() == m_subPanel;
}

void BoxObject::RememberRest() {
    const float* scale = m_boundingBox.m_scale;
    m_rest = Rest{m_layoutPosition, scale[0],           scale[1],     m_folded,
                  m_pickable,       m_sprite.m_visible, m_selectByte, m_windowStart};
}

void BoxObject::ReturnToRest() {
    if (!m_rest) {
        return;
    }
    m_commands.clear();
    StopBlink();
    m_layoutPosition = m_rest->position;
    SetScale(m_rest->width, m_rest->height);
    m_folded = m_rest->folded;
    m_pickable = m_rest->pickable;
    m_sprite.m_visible = m_rest->visible;
    m_selectByte = m_rest->selectByte;
    m_windowStart = m_rest->windowStart;
}

void BoxObject::ApplyTexture(const std::string& file) {
    m_sprite.ApplyTextureConfig(file);
}

void BoxObject::SetScale(float width, float height) {
    m_boundingBox.m_scale[0] = width;
    m_boundingBox.m_scale[1] = height;
}

void BoxObject::Show(bool shown) {
    m_folded = !shown;
    m_pickable = shown;
    m_sprite.m_visible = shown;
}

void BoxObject::Render(Engine& engine) {
    m_rendered = false;
    if (m_folded && m_commands.empty()) {
        return;
    }
    if ((m_actionId == kBoxActionMerchantOffer || m_actionId == kBoxActionRosterUnit) && m_group != nullptr &&
        m_group->m_selectByte) {
        return;
    }
    // Pages decide for this frame only; the sprite's own flag stays the list window's.
    if (!m_sprite.m_visible || m_hidden != 0 || !ShownOnCurrentPage()) {
        return;
    }
    float height = 3.0f;
    if (!m_commands.empty() && m_commands.front().m_kind == BoxCommandKind::PressPulse) {
        height = 3.1f;
    } else if (m_linkedUnit != nullptr) {
        height = 3.05f;
    }
    const plat::Vector3 placed{m_layoutPosition.x, height, m_layoutPosition.z};
    const TextCameras cameras = CamerasForText(engine);
    plat::Vector3 drawn = placed;
    if (cameras.hud != nullptr) {
        cameras.hud->ApplyToDevice(engine);
        drawn.x += cameras.hud->Eye().x;
        drawn.z += cameras.hud->Eye().z;
    }
    m_boundingBox.m_position = drawn;
    m_rotationMatrix = MatrixSwapYZ();
    DrawWithWorldTransform(engine);

    // Text is placed from the layout: drawing it adds the HUD camera's eye itself.
    const float left = placed.x - m_baseWidth * 0.5f;
    if (m_numberSource != nullptr && (m_showLabel || m_showNumber)) {
        const std::string number = FormatString("%d", WholeNumber(*m_numberSource));
        const plat::Vector3 origin{m_panel == 4 ? placed.x : left + 0.18f, placed.y, placed.z};
        if (number != m_label.m_text) {
            m_label.SetText(number, origin);
        }
        m_label.m_origin = origin;
        m_label.DrawText(engine, cameras);
    } else if (m_showLabel) {
        m_label.m_origin = {left + 0.15f, placed.y, placed.z};
        m_label.DrawText(engine, cameras);
    }
    if (cameras.active != nullptr) {
        cameras.active->ApplyToDevice(engine);
    }
    m_boundingBox.m_position = placed;
    m_rendered = true;
}

BoxObject* CreateHudBox(GameData& gameData, float x, float y, float z, float width, float height,
                        int32_t layoutType, int32_t count, float fx, float fy, float fz, bool battle,
                        bool unitEditor, bool kingdom, bool fourth, bool laidOut, int32_t panel,
                        int32_t subPanel) {
    (void)fy;
    const ScreenFlags flags{battle, unitEditor, kingdom, fourth};
    BoxObject* head = NewHudBox(gameData, layoutType, flags, panel, subPanel, width, height);
    head->m_layoutPosition = {x, y, z};
    BoxObject* previous = head;
    for (int32_t i = 1; i < count; ++i) {
        BoxObject* box = NewHudBox(gameData, layoutType, flags, panel, subPanel, width, height);
        box->m_anchor = previous;
        box->m_group = head;
        previous->m_next = box;
        head->m_members.push_back(box);
        box->m_anchorOffset = {previous->m_baseWidth * fx, 0.0f, previous->m_baseHeight * fz};
        if (laidOut) {
            box->m_layoutPosition = Add(previous->m_layoutPosition, box->m_anchorOffset);
        } else {
            box->m_layoutPosition = previous->m_layoutPosition;
            box->m_folded = true;
            box->m_pickable = false;
        }
        previous = box;
    }
    return head;
}

BoxObject* CreateHudListBox(GameData& gameData, float x, float y, float z, float width, float height,
                            int32_t count, float fx, float fy, float fz, bool battle, bool kingdom,
                            bool fourth, bool selectByte, int32_t panel, float arrowX, float arrowY,
                            float arrowZ, float itemWidth, float itemHeight) {
    (void)fy;
    const ScreenFlags flags{battle, true, kingdom, fourth};
    const int32_t rows = std::max(count, 1) - 1;

    BoxObject* head = NewHudBox(gameData, 2, flags, panel, 0, width, height);
    head->m_layoutPosition = {x, y, z};
    head->m_label.SetText("", {0.0f, 0.0f, 0.0f});
    head->m_ownTexture = head->m_sprite.m_xmlName;
    head->m_selectByte = selectByte;

    auto member = [&](BoxObject* anchor, BoxActionId id, const char* label, const char* texture) {
        BoxObject* box = NewHudBox(gameData, 2, flags, panel, 0, itemWidth, itemHeight);
        box->m_actionId = id;
        box->m_label.SetText(label, {0.0f, 0.0f, 0.0f});
        if (texture != nullptr) {
            box->SetTexture(texture);
        } else {
            box->m_ownTexture = head->m_ownTexture;
        }
        box->m_anchor = anchor;
        anchor->m_next = box;
        box->m_group = head;
        box->m_anchorOffset = {anchor->m_baseWidth * fx, 0.0f, anchor->m_baseHeight * fz};
        box->m_folded = selectByte;
        box->m_pickable = !selectByte;
        head->m_members.push_back(box);
        return box;
    };

    BoxObject* left = member(head, kBoxActionScrollBack, "  <<", kBoxLeftArrowTexture);
    left->m_showLabel = false;
    // The arrow's offset is its own step, not the head's.
    left->m_anchorOffset = {left->m_baseWidth * fx, 0.0f, left->m_baseHeight * fz};
    left->m_layoutPosition = {arrowX, arrowY, arrowZ};

    BoxObject* previous = left;
    for (int32_t i = 0; i < rows; ++i) {
        BoxObject* row = member(previous, 0, "", nullptr);
        row->m_layoutPosition = head->m_layoutPosition;
        previous = row;
    }

    BoxObject* right = member(previous, kBoxActionScrollForward, "  >>", kBoxRightArrowTexture);
    right->m_showLabel = false;
    // Slot 8 of the window until the first layout moves it to slot 9.
    right->m_layoutPosition = {arrowX + 8.0f * right->m_anchorOffset.x, arrowY,
                               arrowZ + 8.0f * right->m_anchorOffset.z};
    return head;
}

void DeleteHudBox(GameData& gameData, BoxObject* box) {
    if (box == nullptr) {
        return;
    }
    auto owned = std::find_if(gameData.m_hudBoxes.begin(), gameData.m_hudBoxes.end(),
                              [box](const std::unique_ptr<BoxObject>& held) { return held.get() == box; });
    if (owned == gameData.m_hudBoxes.end()) {
        return;
    }
    // Its chain closes over the gap; nothing else keeps pointing at it.
    for (const std::unique_ptr<BoxObject>& other : gameData.m_hudBoxes) {
        if (other.get() == box) {
            continue;
        }
        if (other->m_next == box) {
            other->m_next = box->m_next != other.get() ? box->m_next : nullptr;
        }
        if (other->m_anchor == box) {
            other->m_anchor = box->m_anchor != other.get() ? box->m_anchor : nullptr;
        }
        for (BoxObject** link : {&other->m_group, &other->m_child}) {
            if (*link == box) {
                *link = nullptr;
            }
        }
        if (std::find(other->m_members.begin(), other->m_members.end(), box) != other->m_members.end()) {
            other->RemoveMember(box);
        }
    }
    if (gameData.m_hudBoxPassRunning) {
        // The box may be the one whose update is running: it is destroyed after the pass.
        auto& leaving = gameData.m_hudBoxesLeaving;
        if (std::find(leaving.begin(), leaving.end(), box) == leaving.end()) {
            leaving.push_back(box);
        }
        return;
    }
    gameData.m_hudBoxes.erase(owned);
}
