// The mail column: posting, replacing, reading, the per-frame slide into the slots, removal.
#include "kingdom_support.h"

#include <cmath>

namespace {

using kingdomtest::Apply;
using kingdomtest::KingdomEngineTest;
using kingdomtest::Log;

const plat::Vector3 kPosted{5.0f, 0.0f, -1.5f};

TEST(MailPost, AMailShowsItsKindsPictureAndOtherKindsAreInfo) {
    MailList list;
    list.AddMail("Alert", MAIL_ALERT);
    Mail* alert = list.MailAt(0);
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->m_name, "KRMail");
    EXPECT_EQ(alert->m_text, "Alert");
    EXPECT_EQ(alert->m_sprite.m_xmlName, "../Assets/MailAlert.xml");
    EXPECT_EQ(alert->m_boundingBox.m_scale[0], 6.0f);
    EXPECT_EQ(alert->m_boundingBox.m_scale[1], 3.0f);
    EXPECT_EQ(alert->m_boundingBox.m_position, kPosted);
    EXPECT_EQ(alert->m_read, 0);
    EXPECT_EQ(alert->m_waiting, 1);

    const std::pair<MailKind, const char*> kinds[] = {{MAIL_ADVICE, "../Assets/MailAdvice.xml"},
                                                      {MAIL_HELP, "../Assets/MailHelp.xml"},
                                                      {MAIL_TUTORIAL, "../Assets/MailTutorial.xml"},
                                                      {MAIL_INFO, "../Assets/MailInfo.xml"},
                                                      {MAIL_MAIL, "../Assets/MailMail.xml"}};
    for (const auto& [kind, file] : kinds) {
        EXPECT_EQ(Mail::TextureConfigForKind(kind), file);
    }
    for (MailKind odd : {7, 6, -1, 1000}) {
        Mail mail("?", odd);
        EXPECT_EQ(mail.m_kind, MAIL_INFO) << odd;
        EXPECT_EQ(mail.m_sprite.m_xmlName, "../Assets/MailInfo.xml") << odd;
    }
    // The pictures are all there: no mail logs a failure.
    Log log;
    MailList quiet;
    for (MailKind kind = MAIL_ALERT; kind <= MAIL_MAIL; ++kind) {
        quiet.m_showing = 0;
        quiet.AddMail("x", kind);
    }
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(quiet.m_mails.size(), 6u);
}

TEST(MailPost, ASecondPostReplacesTheMailOnShowButNotTheReadOnes) {
    MailList list;
    list.AddMail("first", MAIL_ALERT);
    list.AddMail("second", MAIL_HELP);
    ASSERT_EQ(list.m_mails.size(), 1u);
    EXPECT_EQ(list.MailAt(0)->m_text, "second");
    EXPECT_EQ(list.m_showing, 1);

    list.MarkRead(list.MailAt(0));
    EXPECT_EQ(list.m_showing, 0);
    list.AddMail("third", MAIL_INFO);
    ASSERT_EQ(list.m_mails.size(), 2u);
    EXPECT_EQ(list.MailAt(0)->m_text, "second");
    EXPECT_EQ(list.MailAt(1)->m_text, "third");
    EXPECT_TRUE(list.HasPendingMail());
    list.MarkRead(nullptr);
    EXPECT_EQ(list.m_showing, 1);

    list.Clear();
    EXPECT_FALSE(list.HasPendingMail());
    EXPECT_EQ(list.MailAt(0), nullptr);
}

TEST(MailSlide, AReadMailShrinksThenSlidesAndGoesInTheFrameItArrives) {
    MailList list;
    list.AddMail("read me", MAIL_ADVICE);
    Mail* mail = list.MailAt(0);
    // Unread, it stays where it was posted, frame after frame.
    for (int frame = 0; frame < 5; ++frame) {
        list.Update();
    }
    EXPECT_EQ(mail->m_boundingBox.m_position, kPosted);

    list.MarkRead(mail);
    EXPECT_EQ(mail->m_boundingBox.m_position.y, 1.0f);
    EXPECT_EQ(mail->m_read, 1);
    EXPECT_EQ(mail->m_waiting, 0);
    const float* scale = mail->m_boundingBox.m_scale;

    for (int frame = 0; frame < 8; ++frame) {
        list.Update();
    }
    EXPECT_NEAR(scale[1], 0.6f, 1e-4f);
    EXPECT_EQ(scale[0], 6.0f);
    list.Update();
    EXPECT_NEAR(scale[1], 0.3f, 1e-4f);
    EXPECT_EQ(scale[0], 6.0f);
    EXPECT_EQ(mail->m_target[0], 7.5f);
    EXPECT_EQ(mail->m_target[1], -5.75f);

    for (int frame = 0; frame < 6; ++frame) {
        list.Update();
    }
    EXPECT_NEAR(scale[0], 0.6f, 1e-4f);
    EXPECT_EQ(mail->m_boundingBox.m_position.x, 5.0f);

    // Right by 0.2 a frame until it is at the column, then down by 0.2 a frame.
    int rightFrames = 0;
    while (mail->m_boundingBox.m_position.x < 7.5f && rightFrames < 100) {
        list.Update();
        ++rightFrames;
    }
    EXPECT_EQ(rightFrames, 13);
    EXPECT_EQ(mail->m_boundingBox.m_position.z, -1.5f);
    int downFrames = 0;
    float lastZ = 0.0f;
    while (list.HasPendingMail() && downFrames < 100) {
        lastZ = list.MailAt(0)->m_boundingBox.m_position.z;
        list.Update();
        ++downFrames;
    }
    // From -1.5 to within 0.2 of -5.75 takes 21 steps; the next frame it arrives and goes.
    EXPECT_EQ(downFrames, 22);
    EXPECT_LT(std::fabs(lastZ - -5.75f), 0.2f);
    EXPECT_FALSE(list.HasPendingMail());
}

TEST(MailSlide, EachMailSlidesToTheSlotOfItsPlaceInTheList) {
    MailList list;
    list.AddMail("one", MAIL_INFO);
    list.MarkRead(list.MailAt(0));
    list.AddMail("two", MAIL_INFO);
    list.MarkRead(list.MailAt(1));
    list.Update();
    EXPECT_EQ(list.MailAt(0)->m_target[1], -5.75f);
    EXPECT_EQ(list.MailAt(1)->m_target[1], -5.25f);
    // The first one goes; the second takes the first slot.
    list.RemoveMail(0);
    list.Update();
    EXPECT_EQ(list.MailAt(0)->m_text, "two");
    EXPECT_EQ(list.MailAt(0)->m_target[1], -5.75f);
}

TEST(MailRemove, AnIndexPastTheEndDoesNothingAndTheMailOnShowTakesTheShowWithIt) {
    MailList list;
    list.RemoveMail(0);
    list.RemoveMail(static_cast<size_t>(-1));
    EXPECT_FALSE(list.HasPendingMail());

    list.AddMail("read", MAIL_INFO);
    list.MarkRead(list.MailAt(0));
    list.AddMail("on show", MAIL_TUTORIAL);
    list.RemoveMail(2);
    EXPECT_EQ(list.m_mails.size(), 2u);
    EXPECT_EQ(list.m_showing, 1);

    list.RemoveMail(1);
    EXPECT_EQ(list.m_showing, 0);
    // Nothing is on show, so the next post keeps the read mail still sliding away.
    list.AddMail("next", MAIL_HELP);
    ASSERT_EQ(list.m_mails.size(), 2u);
    EXPECT_EQ(list.MailAt(0)->m_text, "read");
}

TEST(MailPopup, TheTextIsLaidOutInLinesThatFitThePopup) {
    const std::string capital = std::string("My Lord, are you crazy?!\n \t") + std::string(17, '\t') +
                                "Please don't destroy our capital\n" + std::string(18, '\t') +
                                "You are suppose to defend it";
    Mail mail(capital, MAIL_ALERT);
    ASSERT_EQ(mail.m_popupLines.size(), 3u);
    EXPECT_EQ(mail.m_popupLines[0].m_text, "My Lord, are you crazy?!");
    // The glyph sheets have no tab: each one indents by a space.
    EXPECT_EQ(mail.m_popupLines[1].m_text, std::string(19, ' ') + "Please don't destroy our capital");
    EXPECT_EQ(mail.m_popupLines[2].m_text, std::string(18, ' ') + "You are suppose to defend it");
    // Lines go down the screen, from the pop-up's top left, above the envelope.
    EXPECT_GT(mail.m_popupLines[0].m_origin.z, mail.m_popupLines[1].m_origin.z);
    EXPECT_EQ(mail.m_popupLines[0].m_origin.x, mail.m_popupLines[2].m_origin.x);
    EXPECT_GT(mail.m_popupLines[0].m_origin.y, mail.m_boundingBox.m_position.y);
    // Nearer the HUD camera than any box (drawn at heights 3.0 to 3.1), so none hides a letter.
    EXPECT_GT(mail.m_popupLines[0].m_origin.y, 3.1f);

    // A long text wraps at the pop-up's width (540 of 800 across 16 units) and stops at its height.
    const float width = 540.0f / 800.0f * 16.0f;
    const float height = 320.0f / 600.0f * 12.0f;
    Mail wordy(std::string(2000, 'w'), MAIL_INFO);
    ASSERT_GT(wordy.m_popupLines.size(), 1u);
    const HudTextBlock& first = wordy.m_popupLines.front();
    const HudTextBlock& last = wordy.m_popupLines.back();
    const float advance = first.m_size / 1.9f;
    EXPECT_LE(first.m_origin.x + static_cast<float>(first.m_text.size()) * advance, width * 0.5f + advance);
    EXPECT_GT(static_cast<float>(first.m_text.size() + 1) * advance, width - advance);
    EXPECT_LE(first.m_origin.z - last.m_origin.z, height);
    EXPECT_GE(last.m_origin.z, -height * 0.5f);
}

class MailDrawing : public KingdomEngineTest {};

TEST_F(MailDrawing, EnvelopesLieFlatUnderTheHudCameraAndTheWorldCameraComesBack) {
    LoadPicture("../Assets/MailAlert.xml");
    LoadPicture("../Assets/MailInfo.xml");
    LoadPicture("../Assets/fonts.xml");
    MailList& list = world().m_mailList;
    list.AddMail("Hi", MAIL_INFO);
    list.MarkRead(list.MailAt(0));
    list.AddMail("Go", MAIL_ALERT);
    list.UpdateAndDraw(*engine);

    plat::Matrix hudView;
    world().m_guiCamera.BuildViewMatrix(hudView);
    std::vector<kingdomtest::Draw> envelopes;
    size_t glyphs = 0;
    for (const auto& draw : device->draws) {
        if (draw.texture == world().m_guiCamera.m_sprite.m_textureFile) {
            continue;
        }
        EXPECT_EQ(draw.view, hudView);
        if (draw.texture == "../Assets/Fonts/fonts.png") {
            ++glyphs;
        } else {
            envelopes.push_back(draw);
        }
    }
    // The pop-up of the unread mail only.
    EXPECT_EQ(glyphs, 2u);
    ASSERT_EQ(envelopes.size(), 2u);
    EXPECT_EQ(envelopes[0].texture, "../Assets/MailInfo.png");
    EXPECT_EQ(envelopes[1].texture, "../Assets/MailAlert.png");
    // Flat in the HUD plane: the envelope's height runs along z, and it is seen from above.
    const plat::Matrix& world1 = envelopes[1].world;
    const plat::Vector3 top = Apply(world1, {0.0f, 0.5f, 0.0f});
    const plat::Vector3 right = Apply(world1, {0.5f, 0.0f, 0.0f});
    EXPECT_NEAR(top.x, 5.0f, 1e-5f);
    EXPECT_NEAR(top.z, -1.5f + 1.5f, 1e-5f);
    EXPECT_NEAR(top.y, 0.0f, 1e-5f);
    EXPECT_NEAR(right.x, 5.0f + 3.0f, 1e-5f);

    plat::Matrix activeView;
    world().m_activeCamera->BuildViewMatrix(activeView);
    plat::Matrix now;
    device->GetTransform(plat::kTsView, now);
    EXPECT_EQ(now, activeView);
}

} // namespace
