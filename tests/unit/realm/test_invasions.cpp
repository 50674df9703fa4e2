// Enemy waves: their rolls in the order drawn, countdowns that run only with a full queue, one alert per
// wave, and "Warring" when a countdown runs out.
#include "realm_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

int g_warring = 0;

class Invasions : public realmtest::RealmTest {
  protected:
    void SetUp() override {
        RealmTest::SetUp();
        g_warring = 0;
        realm->m_merchantCountdown = 1e9f; // no merchant while the waves are watched
        engine->m_scripts.m_scripts["Warring"] = [] { ++g_warring; };
    }
    void Queue(std::initializer_list<float> countdowns) {
        for (const float countdown : countdowns) {
            realm->m_invasions.emplace_back().m_countdown = countdown;
        }
    }
};

TEST_F(Invasions, AWaveIsRolledInTheOrderOfItsDraws) {
    realm->m_commanders[3] = {5, "Baron Test"};
    draws = {20, 5,                               // base 200; a wave is built
             3,  1, 7,                            // commander 3, two types, 7 s more
             10, 2, 3, 4, 9, 0, 9, 1, 7, 8, 2,    // the commander's race: "Watcher Golem"
             99, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // race 1: "Taipen Prowler"
             1,  4,                               // budget (4 + 11) x (1 + 1) x F + 25 = 55
             1,  1, 0};                           // two cheap units, then a dear one
    Frame(0.0f);
    EXPECT_TRUE(draws.empty());
    ASSERT_EQ(realm->m_invasions.size(), 1u);
    const Invasion& wave = realm->m_invasions.front();
    EXPECT_EQ(wave.m_commanderName, "Baron Test");
    EXPECT_FLOAT_EQ(wave.m_countdown, 207.0f);
    EXPECT_FLOAT_EQ(realm->m_invasionBudget, 55.0f);
    EXPECT_FLOAT_EQ(realm->m_strengthFactor, 1.1f);
    ASSERT_EQ(wave.m_units.size(), 3u);
    const KRUnit& cheap = *wave.m_units.front();
    EXPECT_EQ(cheap.m_typeName, "Taipen Prowler");
    EXPECT_EQ(cheap.m_race, RACE_TAIPEN);
    EXPECT_FALSE(cheap.m_playerSide);
    EXPECT_FLOAT_EQ(cheap.STR, 4.0f);
    EXPECT_FLOAT_EQ(cheap.MoveSpd, 0.51f);
    EXPECT_FLOAT_EQ(cheap.HP, 4.1f);
    EXPECT_FLOAT_EQ(cheap.AttkSpd, 3.31f);
    const KRUnit& dear = *wave.m_units.back();
    EXPECT_EQ(dear.m_typeName, "Watcher Golem");
    EXPECT_FLOAT_EQ(dear.STR, 10.0f);
    EXPECT_FLOAT_EQ(dear.VIT, 31.5f);
    EXPECT_GT(dear.AttkSpd, 0.0f); // 3 - 3.01 would have it strike every frame
    EXPECT_EQ(dear.m_soldiers.size(), 8u);
    EXPECT_EQ(dear.Range, 3);
}

TEST_F(Invasions, CountdownsRunTogetherOnlyWithAFullQueue) {
    for (int i = 0; i < 5; ++i) {
        draws = {10 + i, 5, 0, 0, i}; // every wave arrives base + i after the one before it
        Frame(0.0f);
    }
    ASSERT_EQ(realm->m_invasions.size(), 5u);
    EXPECT_FLOAT_EQ(realm->m_invasions.front().m_countdown, 190.0f);
    EXPECT_FLOAT_EQ(realm->m_invasions.back().m_countdown, 190.0f + 191 + 192 + 193 + 194 + 1 + 2 + 3 + 4);
    Frame(10.0f);
    EXPECT_FLOAT_EQ(realm->m_invasions.front().m_countdown, 180.0f);
    realm->m_tutorial = true;
    Frame(10.0f);
    EXPECT_FLOAT_EQ(realm->m_invasions.front().m_countdown, 180.0f);
}

TEST_F(Invasions, EachWaveIsAnnouncedOnceAndEveryEndedOneAsksForWar) {
    Queue({25.0f, 300.0f, 400.0f, 500.0f, 600.0f});
    Frame(4.9f);
    EXPECT_TRUE(realm->m_messages.empty());
    const std::vector<std::string> logged = Frame(0.1f);
    ASSERT_EQ(realm->m_messages.size(), 2u);
    EXPECT_EQ(realm->m_messages.back().m_text, "IS APPROACHING IN 20 SECONDS!!");
    EXPECT_EQ(std::count(logged.begin(), logged.end(), "Couldn't find sound to play."), 1);
    Frame(20.0f);
    EXPECT_EQ(realm->m_messages.size(), 2u);
    EXPECT_EQ(g_warring, 1);
    realm->m_invasions.front().m_battleStarted = true;
    Frame(1.0f); // its battle is running: nothing more
    EXPECT_EQ(g_warring, 1);

    // A frame past zero for two waves: both announced, both ask; the next asks again in its turn.
    realm->m_invasions.clear();
    realm->m_messages.clear();
    g_warring = 0;
    Queue({30.0f, 31.0f, 400.0f, 500.0f, 600.0f});
    Frame(40.0f);
    EXPECT_EQ(realm->m_messages.size(), 4u);
    EXPECT_EQ(g_warring, 2);
    realm->m_invasions.pop_front(); // won
    Queue({700.0f});
    Frame(0.0f);
    EXPECT_EQ(g_warring, 3);

    // Frozen by the tutorial, a countdown cut below zero from outside still brings its war.
    realm->m_tutorial = true;
    realm->m_invasions.pop_front();
    Queue({800.0f});
    realm->m_invasions.front().m_countdown = -5.0f;
    Frame(0.0f);
    EXPECT_EQ(g_warring, 4);
}

} // namespace
