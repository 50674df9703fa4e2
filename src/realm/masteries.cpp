// Masteries: levels bought with mastery points, and the page that describes them.
#include "realm/playereditor.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

constexpr float kStartMod[MASTERY_COUNT] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 2.0f, 0.0f};
constexpr float kStartNextMod[MASTERY_COUNT] = {11.0f, 5.0f, 1.0f, 10.0f, 11.0f, 5.0f, 5.0f};

// How much the next level's value grows once level L is reached.
float NextIncrement(int mastery, float level) {
    switch (mastery) {
    case MASTERY_BIO:
    case MASTERY_FATALITY:
        return 1.0f + 10.0f / (level + 1.0f);
    case MASTERY_MAGIC:
    case MASTERY_SHARPENED_ATTACKS:
        return 5.0f;
    case MASTERY_COMMANDER:
        return 1.0f;
    case MASTERY_BERSERKER:
        return 10.0f / (level + 1.0f);
    case MASTERY_HARDENED_SKIN:
        return 1.0f + 5.0f / (level + 1.0f);
    default:
        return 0.0f;
    }
}

// The whole part, ".", then the hundredths without a leading zero: 2.05 reads "2.5". Worked in float,
// where 2.05 x 100 is exactly 205.
std::string RateText(float value) {
    const float hundredths = value * 100.0f;
    return PlayerEditor::IntToString(static_cast<int32_t>(value)) + "." +
           PlayerEditor::IntToString(static_cast<int32_t>(hundredths) % 100);
}

struct MasteryPage {
    const char* title;
    const char* lines[4];
    const char* currentBefore;
    const char* currentAfter;
    const char* nextAfter;
    bool rate;
};

const MasteryPage kPages[MASTERY_COUNT] = {
    {"Biological Unit Mastery",
     {"Increases Points of Health for", " biological units which includes",
      "Dragonkin, Taipen, Angel, Elven,", "Leviathian, Demons"},
     "Increases units health by ",
     "",
     " health bonus",
     false},
    {"Magical Unit Mastery",
     {"Increases percentage Health for", "Magical units which includes", "Dragonkin, Angel, Golem,",
      "Elemental, Demon"},
     "Increases units health by ",
     "",
     " health bonus",
     false},
    {"Commander Mastery",
     {"Increases damage for all units", nullptr, nullptr, nullptr},
     "Increases damage by ",
     "",
     " damage bonus",
     false},
    {"Berserk Mastery",
     {"Increases chance to halve", "attack cooldown on each attack", nullptr, nullptr},
     "Current Berserk Chance : ",
     " %",
     " %",
     false},
    {"Fatality Mastery",
     {"Increases chance to deal", "critical damage to enemies", nullptr, nullptr},
     "Current Critical Chance : ",
     " %",
     " %",
     false},
    {"Sharpened Attacks",
     {"Increases damage dealt by", "critical damage to enemies", nullptr, nullptr},
     "Current Critical Rate : ",
     " X",
     " X",
     true},
    {"Hardened Shell",
     {"Increases defense by a", "fixed percentage", nullptr, nullptr},
     "Current Defense increase : ",
     " %",
     " %",
     false}};

} // namespace

void PlayerEditor::StartMasteries() {
    std::fill(std::begin(m_masteryLevel), std::end(m_masteryLevel), 0.0f);
    std::copy(std::begin(kStartMod), std::end(kStartMod), std::begin(m_masteryMod));
    std::copy(std::begin(kStartNextMod), std::end(kStartNextMod), std::begin(m_masteryNextMod));
    m_chosenMastery = 0;
}

void PlayerEditor::BuyMasteryLevel(int32_t masteryId) {
    const int32_t m = masteryId - kBoxActionFirstMastery;
    if (m < 0 || m >= MASTERY_COUNT || m_masteryPoints <= 0) {
        return;
    }
    m_masteryPoints -= 1;
    m_masteryLevel[m] += 1.0f;
    m_masteryMod[m] = m_masteryNextMod[m];
    m_masteryNextMod[m] += NextIncrement(m, m_masteryLevel[m]);
}

void PlayerEditor::DrawMasteryPage() {
    constexpr float kX = 2.0f;
    constexpr float kY = 1.0f;
    DrawTextLine("You have " + IntToString(m_masteryPoints) + " mastery points", kX, kY, 4.5f);
    const int32_t m = m_chosenMastery - kBoxActionFirstMastery;
    if (m < 0 || m >= MASTERY_COUNT) {
        return;
    }
    const MasteryPage& page = kPages[m];
    DrawTextLine(page.title, kX, kY, 3.0f);
    const float lineZ[4] = {2.0f, 1.5f, 1.0f, 0.5f};
    for (int i = 0; i < 4 && page.lines[i] != nullptr; ++i) {
        DrawTextLine(page.lines[i], kX, kY, lineZ[i]);
    }
    const auto value = [&page](float v) { return page.rate ? RateText(v) : FloatToString(v); };
    DrawTextLine(page.currentBefore + value(m_masteryMod[m]) + page.currentAfter, kX, kY, -0.5f);
    DrawTextLine("Next Level : " + value(m_masteryNextMod[m]) + page.nextAfter, kX, kY, -1.0f);
}
