#include "kingdom/mail.h"

#include "engine/engine.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr const char* kMailConstructionSprite = "../Assets/tilebldgbase.xml";
constexpr const char* kMailInfoTexture = "../Assets/MailInfo.xml";
const char* const kMailTextures[] = {"../Assets/MailAlert.xml", "../Assets/MailAdvice.xml",
                                     "../Assets/MailHelp.xml",  "../Assets/MailTutorial.xml",
                                     kMailInfoTexture,          "../Assets/MailMail.xml"};

constexpr float kMailWidth = 6.0f;
constexpr float kMailHeight = 3.0f;

// The column the read mails slide into, at the right-hand edge of the HUD camera's view.
constexpr float kSlotX = 7.5f;
constexpr float kSlotSpacing = 0.5f;
constexpr float kFirstSlotZ = -5.75f;
constexpr float kShrinkHeightStep = 0.3f;
constexpr float kShrinkWidthStep = 0.9f;
constexpr float kShrunkHeight = 0.5f;
constexpr float kShrunkWidth = 1.0f;
constexpr float kSlideStep = 0.2f;
constexpr float kArrivedHeight = 2.0f;

// The pop-up is 540 x 320 of the 800 x 600 screen, which the HUD camera shows as 16 x 12, centred.
constexpr float kUnitsPerPixel = 16.0f / 800.0f;
constexpr float kPopupWidth = 540.0f * kUnitsPerPixel;
constexpr float kPopupHeight = 320.0f * kUnitsPerPixel;
constexpr float kPopupTextSize = 0.27f;
constexpr float kPopupLineStep = 0.35f;
// Above the envelopes and the HUD boxes (3.0 to 3.1), so that no box hides part of a letter.
constexpr float kPopupLayerY = 3.5f;

std::vector<std::string> PopupLines(const std::string& text) {
    const auto columns = static_cast<size_t>(kPopupWidth / (kPopupTextSize / 1.9f));
    const auto maxLines = static_cast<size_t>(kPopupHeight / kPopupLineStep);
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n') {
            lines.emplace_back();
            continue;
        }
        if (lines.back().size() >= columns) {
            lines.emplace_back();
        }
        // The glyph sheets have no tab; it indents by one step.
        lines.back().push_back(c == '\t' ? ' ' : c);
    }
    if (lines.size() > maxLines) {
        lines.resize(maxLines);
    }
    return lines;
}

} // namespace

Mail::Mail(const std::string& text, MailKind kind)
    : KRGameObject("KRMailBox", kMailConstructionSprite), m_text(text), m_kind(KindOf(kind)) {
    m_sprite.InitWithXML(TextureConfigForKind(m_kind), false);
    m_boundingBox.m_scale[0] = kMailWidth;
    m_boundingBox.m_scale[1] = kMailHeight;
    m_boundingBox.m_position = {5.0f, 0.0f, -1.5f};
    PlacePopup(kPopupHeight * 0.5f - kPopupTextSize);
}

void Mail::PlacePopup(float topZ) {
    const std::vector<std::string> lines = PopupLines(m_text);
    m_popupLines.clear();
    m_popupLines.reserve(lines.size());
    const float left = -kPopupWidth * 0.5f + kPopupTextSize * 0.5f;
    float z = topZ;
    for (const std::string& line : lines) {
        m_popupLines.emplace_back().SetText(line, {left, kPopupLayerY, z});
        z -= kPopupLineStep;
    }
}

MailKind Mail::KindOf(MailKind kind) {
    return kind >= MAIL_ALERT && kind <= MAIL_MAIL ? kind : MAIL_INFO;
}

std::string Mail::TextureConfigForKind(MailKind kind) {
    return kMailTextures[KindOf(kind)];
}

void Mail::DrawPopup(Engine& engine) {
    for (HudTextBlock& line : m_popupLines) {
        line.DrawText(engine);
    }
}

bool Mail::ContainsGuiPoint(const plat::Vector3& point) const {
    const plat::Vector3& centre = m_boundingBox.m_position;
    const float halfWidth = m_boundingBox.m_scale[0] * 0.5f;
    const float halfHeight = m_boundingBox.m_scale[1] * 0.5f;
    return point.x >= centre.x - halfWidth && point.x <= centre.x + halfWidth &&
           point.z >= centre.z - halfHeight && point.z <= centre.z + halfHeight;
}

void MailList::AddMail(const std::string& text, MailKind kind) {
    if (m_showing != 0) {
        m_mails.clear();
    }
    auto mail = std::make_unique<Mail>(text, kind);
    mail->m_name = "KRMail";
    m_showing = 1;
    m_mails.push_back(std::move(mail));
}

bool MailList::ReadMailAt(const plat::Vector3& guiPoint) {
    for (auto& mail : m_mails) {
        if (mail->ContainsGuiPoint(guiPoint)) {
            if (mail->m_read == 0) {
                MarkRead(mail.get());
            }
            return true;
        }
    }
    return false;
}

void MailList::MarkRead(Mail* mail) {
    if (mail == nullptr) {
        return;
    }
    mail->m_boundingBox.m_position.y += 1.0f;
    mail->m_read = 1;
    mail->m_waiting = 0;
    m_showing = 0;
}

void MailList::RemoveMail(size_t index) {
    if (index >= m_mails.size()) {
        return;
    }
    m_mails.erase(std::next(m_mails.begin(), static_cast<std::ptrdiff_t>(index)));
    // The mail on show may have been the one removed: nothing is on show without an unread mail.
    const bool unreadLeft =
        std::any_of(m_mails.begin(), m_mails.end(), [](const auto& mail) { return mail->m_read == 0; });
    if (!unreadLeft) {
        m_showing = 0;
    }
}

void MailList::Clear() {
    m_mails.clear();
}

Mail* MailList::MailAt(size_t index) const {
    if (index >= m_mails.size()) {
        return nullptr;
    }
    return std::next(m_mails.begin(), static_cast<std::ptrdiff_t>(index))->get();
}

void MailList::Step() {
    size_t index = 0;
    for (const auto& mail : m_mails) {
        const float slotZ = static_cast<float>(index++) * kSlotSpacing + kFirstSlotZ;
        if (mail->m_read == 0) {
            continue;
        }
        plat::Vector3& position = mail->m_boundingBox.m_position;
        float* scale = mail->m_boundingBox.m_scale;
        if (mail->m_waiting != 0) {
            scale[0] = 0.65f;
            scale[1] = 0.3f;
            position = {kSlotX, 1.9f, slotZ};
            continue;
        }
        mail->m_target[0] = kSlotX;
        mail->m_target[1] = slotZ;
        if (scale[1] > kShrunkHeight) {
            scale[1] -= kShrinkHeightStep;
        } else if (scale[0] > kShrunkWidth) {
            scale[0] -= kShrinkWidthStep;
        } else if (position.x < kSlotX) {
            position.x += kSlideStep;
        } else if (std::fabs(position.z - slotZ) < kSlideStep) {
            position.z = slotZ;
            mail->m_waiting = 1;
            position.y = kArrivedHeight;
            mail->m_arrived = true;
        } else {
            position.z += position.z < slotZ ? kSlideStep : -kSlideStep;
        }
    }
}

void MailList::RemoveArrived() {
    std::erase_if(m_mails, [](const auto& mail) { return mail->m_arrived; });
}

void MailList::Update() {
    Step();
    RemoveArrived();
}

void MailList::Draw(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    KRCamera* hudCamera = world != nullptr ? &world->m_guiCamera : nullptr;
    if (hudCamera != nullptr) {
        hudCamera->ApplyToDevice(engine);
    }
    bool popupShown = false;
    for (const auto& mail : m_mails) {
        if (!popupShown && m_showing != 0 && mail->m_read == 0 && mail->m_waiting != 0) {
            mail->DrawPopup(engine);
            popupShown = true;
            // Text puts the world camera back after every glyph.
            if (hudCamera != nullptr) {
                hudCamera->ApplyToDevice(engine);
            }
        }
        // The envelope lies flat in the HUD plane, as the boxes do.
        mail->m_rotationMatrix = MatrixSwapYZ();
        mail->Render(engine);
    }
    if (world != nullptr && world->m_activeCamera != nullptr) {
        world->m_activeCamera->ApplyToDevice(engine);
    }
}

void MailList::UpdateAndDraw(Engine& engine) {
    Step();
    Draw(engine);
    RemoveArrived();
}
