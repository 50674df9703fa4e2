// The game's modal notices: an envelope in the HUD layer with its text in a pop-up until the player
// clicks it; then it shrinks, slides to the right-hand edge and is gone.
#pragma once

#include "scene/hudtext.h"
#include "scene/krgameobject.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

class Engine;

using MailKind = int32_t;
inline constexpr MailKind MAIL_ALERT = 0;
inline constexpr MailKind MAIL_ADVICE = 1;
inline constexpr MailKind MAIL_HELP = 2;
inline constexpr MailKind MAIL_TUTORIAL = 3;
// Also every kind the table does not name.
inline constexpr MailKind MAIL_INFO = 4;
inline constexpr MailKind MAIL_MAIL = 5;

class Mail : public KRGameObject {
  public:
    Mail(const std::string& text, MailKind kind);
    Mail(const Mail&) = delete;
    Mail& operator=(const Mail&) = delete;
    ~Mail() override = default;

    // Kinds outside the table are Info.
    static MailKind KindOf(MailKind kind);
    static std::string TextureConfigForKind(MailKind kind);

    void DrawPopup(Engine& engine);
    // The pop-up's lines laid out again from this HUD height down, for a screen whose boxes would hide
    // them where they are.
    void PlacePopup(float topZ);
    // Over its whole picture, which lies flat in the HUD plane: position plus or minus half its scale in
    // x and z, edges included.
    bool ContainsGuiPoint(const plat::Vector3& point) const;

    std::string m_text;
    MailKind m_kind;
    uint8_t m_read = 0;
    // Set while it waits to be read and once it has arrived at its slot; clear while it slides.
    uint8_t m_waiting = 1;
    // x and z of where it slides to.
    float m_target[2] = {0.0f, 0.0f};
    bool m_arrived = false;
    // The pop-up's lines, laid out once.
    std::vector<HudTextBlock> m_popupLines;
};

class MailList {
  public:
    MailList() = default;
    MailList(const MailList&) = delete;
    MailList& operator=(const MailList&) = delete;

    // A mail still on show is replaced, with every other mail of the list.
    void AddMail(const std::string& text, MailKind kind);
    void MarkRead(Mail* mail);
    // A click at this HUD point on a mail reads it; true when the click fell on one.
    bool ReadMailAt(const plat::Vector3& guiPoint);
    // An index past the end does nothing.
    void RemoveMail(size_t index);
    void Clear();
    // A mail is pending while any is in the list, read ones still sliding away included: they hold the
    // click until they are gone.
    bool HasPendingMail() const { return !m_mails.empty(); }
    Mail* MailAt(size_t index) const;

    // One frame of the slide, then the mails that arrived go. Per frame, not per second.
    void Update();
    // The same with the drawing between: the pop-up of the mail on show, then every mail, in the HUD
    // camera; the world camera is applied again at the end.
    void UpdateAndDraw(Engine& engine);

    uint8_t m_showing = 0;
    std::list<std::unique_ptr<Mail>> m_mails;

  private:
    void Step();
    void Draw(Engine& engine);
    void RemoveArrived();
};
