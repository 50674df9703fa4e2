// Lifetimes, blinking, greying out and freezing of HUD boxes.
#include "test_box_support.h"

#include <cmath>

using namespace boxtest;

namespace {

class BoxTimers : public BoxTest {};

TEST_F(BoxTimers, ALifetimeRunsOutAfterItsSecondsAndTheBoxThenStopsForGood) {
    BoxObject* box = NewBox();
    box->SetLifetime(2.0f);
    box->QueueCommand(BoxCommandKind::Wait, 0.0f, {}, 100.0f);
    int frames = 0;
    while (!box->m_expired && frames < 1000) {
        box->Update(0.05f);
        ++frames;
    }
    // 2.0 s of 0.05 s frames: it goes on the frame that takes it below 0.
    EXPECT_GE(frames, 40);
    EXPECT_LE(frames, 41);
    const float waitLeft = box->m_commands.front().m_time;
    box->QueueCommand(BoxCommandKind::MoveTo, 1.0f, {4.0f, 0.0f, 0.0f});
    box->Update(0.05f);
    EXPECT_EQ(box->m_commands.front().m_time, waitLeft);
    EXPECT_EQ(box->m_layoutPosition.x, 0.0f);
    EXPECT_TRUE(box->m_expired);
}

TEST_F(BoxTimers, ALifetimeExpiresWhateverTheSizeOfTheStepThatEndsIt) {
    // Steps of a high time multiplier: each takes the lifetime far below -0.5 at once.
    for (float lifetime : {0.0f, 0.3f, 2.0f}) {
        for (float step : {0.6f, 1.0f, 5.0f}) {
            BoxObject* box = NewBox();
            box->SetLifetime(lifetime);
            int frames = 0;
            while (!box->m_expired && frames < 100) {
                box->Update(step);
                ++frames;
            }
            EXPECT_TRUE(box->m_expired) << lifetime << " " << step;
            EXPECT_EQ(frames, static_cast<int>(std::floor(lifetime / step)) + 1) << lifetime << " " << step;
        }
    }
}

TEST_F(BoxTimers, WithoutALifetimeABoxNeverExpiresAndTimeNeverRunsBackwards) {
    BoxObject* box = NewBox();
    box->SetLifetime(-1.0f);
    EXPECT_FALSE(box->HasLifetime());
    Step(0.05f, 2000);
    Step(3.0f, 50);
    EXPECT_FALSE(box->m_expired);

    BoxObject* offer = NewBox();
    offer->SetLifetime(1.0f);
    offer->Update(-10.0f);
    offer->Update(std::nanf(""));
    EXPECT_EQ(offer->Lifetime(), 1.0f);
    offer->Update(0.5f);
    EXPECT_FALSE(offer->m_expired);
    EXPECT_EQ(offer->Lifetime(), 0.5f);
}

TEST_F(BoxTimers, AFrozenBoxNeitherCountsDownNorRunsCommands) {
    BoxObject* box = NewBox();
    box->SetLifetime(0.1f);
    box->m_blinking = true;
    box->QueueCommand(BoxCommandKind::MoveTo, 1.0f, {4.0f, 0.0f, 0.0f});
    box->m_frozen = true;
    Step(0.05f, 10);
    EXPECT_FALSE(box->m_expired);
    EXPECT_EQ(box->Lifetime(), 0.1f);
    EXPECT_EQ(box->m_layoutPosition.x, 0.0f);
    EXPECT_TRUE(box->IsNotShowingFlash());
}

TEST_F(BoxTimers, ABlinkingBoxTogglesBetweenTheFlashAndItsOwnTextureEvery035Seconds) {
    BoxObject* box = NewBox();
    box->SetTexture("../Assets/Buttons/ButtonDarkBlue.xml");
    box->m_blinking = true;
    const float step = 0.01f;
    std::vector<float> toggles;
    std::vector<std::string> shown;
    std::string last = box->m_sprite.m_xmlName;
    for (int frame = 1; frame <= 200; ++frame) {
        box->Update(step);
        if (box->m_sprite.m_xmlName != last) {
            last = box->m_sprite.m_xmlName;
            toggles.push_back(static_cast<float>(frame) * step);
            shown.push_back(last);
        }
    }
    ASSERT_GE(toggles.size(), 5u);
    // The first toggle comes at once; every later one 0.35 s (one frame's rounding) after the last.
    EXPECT_FLOAT_EQ(toggles[0], step);
    for (size_t i = 1; i < toggles.size(); ++i) {
        EXPECT_NEAR(toggles[i] - toggles[i - 1], kBoxBlinkPeriod, step + 1e-4f) << i;
        EXPECT_EQ(shown[i], i % 2 == 0 ? kBoxFlashTexture : "../Assets/Buttons/ButtonDarkBlue.xml") << i;
    }

    box->StopBlink();
    EXPECT_FALSE(box->m_blinking);
    EXPECT_EQ(box->m_sprite.m_xmlName, "../Assets/Buttons/ButtonDarkBlue.xml");
}

TEST_F(BoxTimers, DisablingABlinkingBoxLeavesItDarkGreyUntilEnabled) {
    BoxObject* box = NewBox();
    box->SetTexture("../Assets/Boxes/PlainBorder.xml");
    box->m_blinking = true;
    box->Update(0.05f);
    ASSERT_FALSE(box->IsNotShowingFlash());
    box->Disable();
    EXPECT_FALSE(box->m_blinking);
    EXPECT_FALSE(box->m_enabled);
    Step(0.05f, 30);
    EXPECT_EQ(box->m_sprite.m_xmlName, kBoxDisabledTexture);
    box->Enable();
    EXPECT_TRUE(box->m_enabled);
    EXPECT_EQ(box->m_sprite.m_xmlName, "../Assets/Boxes/PlainBorder.xml");
}

TEST_F(BoxTimers, TheFourthBoxAlongAChainBlinksOnlyWhenItExistsAndTakesClicks) {
    BoxObject* head = CreateHudBox(gameData, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1, 5, 1.0f, 0.0f, 0.0f, true, true,
                                   true, true, true, 0, 0);
    head->m_members[0]->BlinkFourthInChain();
    for (BoxObject* member : head->m_members) {
        EXPECT_FALSE(member->m_blinking);
    }
    head->m_members[3]->m_pickable = false;
    head->BlinkFourthInChain();
    EXPECT_FALSE(head->m_members[3]->m_blinking);
    head->m_members[3]->m_pickable = true;
    head->BlinkFourthInChain();
    EXPECT_TRUE(head->m_members[3]->m_blinking);
}

} // namespace
