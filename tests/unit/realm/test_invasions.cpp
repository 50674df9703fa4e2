// Enemy waves: their rolls in the order drawn, the queue that must be full before anything counts down,
// one alert per wave, and "Warring" when a countdown runs out.
#include "realm_support.h"

#include "engine/engine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using realmtest::RealmTest;

int g_warring = 0;

class Invasions : public RealmTest {
  protected:
    void SetUp() override {
        RealmTest::SetUp();
        g_warring = 0;
        // No merchant comes while the waves are watched.
        realm->m_merchantCountdown = 1e9f;
        engine->m_scripts.m_scripts["Warring"] = [] { ++g_warring; };
    }

    // A wave with no units, arriving in `countdown` seconds.
    void Queue(float countdown, const std::string& commander = "General Test") {
        Invasion& wave = realm->m_invasions.emplace_back();
        wave.m_commanderName = commander;
        wave.m_countdown = countdown;
    }

    // One frame of the realm; what it logged.
    std::vector<std::string> Frame(float dt) {
        spritetest::CapturedLog log;
        realm->Update(dt);
        return log.Lines();
    }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const GameMessage& message : realm->m_messages) {
            texts.push_back(message.m_text);
        }
        return texts;
    }
};

TEST_F(Invasions, AWaveIsRolledInTheOrderOfItsDraws) {
    realm->m_commanders[3] = {5, "Baron Test"};
    draws = {20, 5,     // base 200; a wave is built
             3, 1, 7,   // commander 3, two types, 7 s more
             10,        // the commander's own race: "Watcher Golem"
             2, 3, 4, 9, 0, 9, 1, 7, 8, 2,
             99, 0,     // another race: 1, "Taipen Prowler"
             0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
             1, 4,      // budget: (4 + 11) x (1 + 1) x F + 25 = 55
             1, 1, 0};  // two cheap units, then a dear one
    Frame(0.0f);
    EXPECT_TRUE(draws.empty());
    EXPECT_EQ(extraDraws, 0);
    ASSERT_EQ(realm->m_invasions.size(), 1u);
    const Invasion& wave = realm->m_invasions.front();
    EXPECT_EQ(wave.m_commanderName, "Baron Test");
    EXPECT_EQ(wave.m_race, 5);
    EXPECT_TRUE(wave.m_alertPending);
    EXPECT_FLOAT_EQ(wave.m_countdown, 207.0f);
    EXPECT_FLOAT_EQ(realm->m_invasionBudget, 55.0f);
    EXPECT_FLOAT_EQ(realm->m_strengthFactor, 1.1f);

    ASSERT_EQ(wave.m_units.size(), 3u);
    const KRUnit& cheap = *wave.m_units.front();
    const KRUnit& dear = *wave.m_units.back();
    EXPECT_EQ(cheap.m_typeName, "Taipen Prowler");
    EXPECT_EQ(cheap.m_name, "Taipen Prowler");
    EXPECT_EQ(cheap.m_race, RACE_TAIPEN);
    EXPECT_FALSE(cheap.m_playerSide);
    EXPECT_FLOAT_EQ(cheap.STR, 4.0f);
    EXPECT_FLOAT_EQ(cheap.m_damage, 4.0f);
    EXPECT_FLOAT_EQ(cheap.MoveSpd, 0.51f);
    EXPECT_FLOAT_EQ(cheap.HP, 4.1f);
    EXPECT_FLOAT_EQ(cheap.VIT, 4.1f);
    EXPECT_FLOAT_EQ(cheap.m_battleHP, 4.1f);
    EXPECT_FLOAT_EQ(cheap.AttkSpd, 3.31f);
    EXPECT_EQ(cheap.Size, 1);
    EXPECT_EQ(cheap.Range, 1);

    EXPECT_EQ(dear.m_typeName, "Watcher Golem");
    EXPECT_EQ(dear.m_race, RACE_GOLEM);
    EXPECT_FLOAT_EQ(dear.STR, 10.0f);
    EXPECT_FLOAT_EQ(dear.MoveSpd, 1.41f);
    EXPECT_FLOAT_EQ(dear.HP, 31.5f);
    // 3 - (0.01 + 3.0) would be below zero: kept positive.
    EXPECT_GT(dear.AttkSpd, 0.0f);
    EXPECT_EQ(dear.Size, 8);
    EXPECT_EQ(dear.m_soldiers.size(), 8u);
    EXPECT_EQ(dear.Range, 3);
    EXPECT_EQ(dear.m_channelGroup.Handle(), plat::ChannelGroup().Handle());
}

TEST_F(Invasions, CountdownsRunOnlyWithAFullQueueAndAreAbsolute) {
    // While the queue is short a wave is added with a draw of 5, paused or not.
    draws = {0, 4};
    Frame(0.0f);
    EXPECT_TRUE(realm->m_invasions.empty());
    std::vector<float> budgets;
    for (int i = 0; i < 5; ++i) {
        draws = {10 + i, 5, 0, 0, i};
        Frame(0.0f);
        budgets.push_back(realm->m_invasionBudget);
    }
    // Each budget carries the one before it.
    EXPECT_TRUE(std::is_sorted(budgets.begin(), budgets.end(), std::less_equal<float>()));
    EXPECT_GT(budgets.front(), 25.0f);
    ASSERT_EQ(realm->m_invasions.size(), 5u);
    // Each arrives base (190 + i) and i seconds after the one before it.
    float expected = 0.0f;
    auto wave = realm->m_invasions.begin();
    for (int i = 0; i < 5; ++i, ++wave) {
        expected += 190.0f + static_cast<float>(i) + static_cast<float>(i);
        EXPECT_FLOAT_EQ(wave->m_countdown, expected) << i;
        EXPECT_FALSE(wave->m_units.empty()) << i;
    }
    EXPECT_FLOAT_EQ(realm->m_strengthFactor, 1.5f);

    // Full: every wave counts down together, and no more are added.
    draws.clear();
    Frame(10.0f);
    EXPECT_FLOAT_EQ(realm->m_invasions.front().m_countdown, 180.0f);
    EXPECT_FLOAT_EQ(realm->m_invasions.back().m_countdown, expected - 10.0f);
    EXPECT_EQ(realm->m_invasions.size(), 5u);
    // The tutorial stops the clocks.
    realm->m_tutorial = true;
    Frame(10.0f);
    EXPECT_FLOAT_EQ(realm->m_invasions.front().m_countdown, 180.0f);
}

TEST_F(Invasions, EachWaveIsAnnouncedOnceAndAnEndedCountdownStartsTheWar) {
    for (float countdown : {25.0f, 300.0f, 400.0f, 500.0f, 600.0f}) {
        Queue(countdown, "King Vashkar");
    }
    std::vector<std::string> logged;
    Frame(4.9f);
    EXPECT_TRUE(realm->m_messages.empty());
    logged = Frame(0.1f);
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"ALERT!! Enemy King Vashkar", "IS APPROACHING IN 20 SECONDS!!"}));
    EXPECT_EQ(realm->m_messages.front().m_lineCount, 1);
    EXPECT_EQ(realm->m_messages.back().m_lineCount, 2);
    EXPECT_EQ(realm->m_messages.back().m_colour, 0xFFFFFFFFu);
    EXPECT_FALSE(realm->m_invasions.front().m_alertPending);
    // Without a sound system the alert says so.
    EXPECT_EQ(std::count(logged.begin(), logged.end(), "Couldn't find sound to play."), 1);
    Frame(10.0f);
    EXPECT_EQ(realm->m_messages.size(), 2u);
    EXPECT_EQ(g_warring, 0);
    Frame(10.0f);
    EXPECT_EQ(g_warring, 1);
    // Its battle is starting: nothing more counts down or starts.
    Frame(10.0f);
    EXPECT_EQ(g_warring, 1);
    EXPECT_FLOAT_EQ(realm->m_invasions.back().m_countdown, 575.0f);

}

TEST_F(Invasions, AFrameThatJumpsPastZeroAlertsThenStartsTheWarForEveryEndedWave) {
    for (float countdown : {30.0f, 31.0f, 400.0f, 500.0f, 600.0f}) {
        Queue(countdown);
    }
    Frame(40.0f);
    EXPECT_EQ(realm->m_messages.size(), 4u);
    EXPECT_EQ(g_warring, 2);
    Frame(1.0f);
    EXPECT_EQ(g_warring, 2);
    // Won, the oldest goes; the next one, whose time ran out as well, is fought in its turn.
    realm->m_invasions.pop_front();
    Queue(700.0f);
    Frame(0.0f);
    EXPECT_EQ(g_warring, 3);

    // In the tutorial a wave already due is still announced and fought.
    realm->m_invasions.clear();
    realm->m_messages.clear();
    g_warring = 0;
    realm->m_tutorial = true;
    for (float countdown : {15.0f, 400.0f, 400.0f, 500.0f, 600.0f}) {
        Queue(countdown);
    }
    Frame(0.0f);
    EXPECT_EQ(realm->m_messages.size(), 2u);
    EXPECT_EQ(g_warring, 0);
    // A countdown cut below zero from outside still starts the war.
    realm->m_invasions.front().m_countdown = -5.0f;
    Frame(0.0f);
    EXPECT_EQ(g_warring, 1);
}

} // namespace
