// The realm's masteries, game messages, help texts, info pages (every line recorded with its origin)
// and the unit-info boxes of the unit editor.
#include "battle/krunit.h"
#include "captured_log.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"
#include "scene/test_box_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

struct Line {
    std::string text;
    float x, y, z;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
    return out << '"' << line.text << "\" at (" << line.x << ", " << line.y << ", " << line.z << ")";
}

class Pages : public boxtest::BoxTest {
  protected:
    void SetUp() override {
        BoxTest::SetUp();
        realm = std::make_unique<PlayerEditor>(engine.get(), &gameData);
        realm->m_onTextLine = [this](const std::string& text, float x, float y, float z) {
            lines.push_back({text, x, y, z});
        };
    }
    void TearDown() override {
        realm.reset();
        BoxTest::TearDown();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Line& line : lines) {
            texts.push_back(line.text);
        }
        return texts;
    }

    std::vector<Line> lines;
    std::unique_ptr<PlayerEditor> realm;
};

TEST_F(Pages, MasteryLevelsCostAPointEachAndRaiseTheNextValue) {
    PlayerEditor& r = *realm;
    r.m_masteryPoints = 3;
    r.BuyMasteryLevel(59); // Bio: level 1, next 11 + 1 + 10 / 2
    r.BuyMasteryLevel(62); // Berserker: next 10 + 10 / 2
    r.BuyMasteryLevel(65); // Hardened: next 5 + 1 + 5 / 2
    EXPECT_EQ(r.m_masteryPoints, 0);
    EXPECT_EQ(r.m_masteryLevel[MASTERY_BIO], 1.0f);
    EXPECT_EQ(r.m_masteryMod[MASTERY_BIO], 11.0f);
    EXPECT_EQ(r.m_masteryNextMod[MASTERY_BIO], 17.0f);
    EXPECT_EQ(r.m_masteryNextMod[MASTERY_BERSERKER], 15.0f);
    EXPECT_EQ(r.m_masteryNextMod[MASTERY_HARDENED_SKIN], 8.5f);

    // No points, or an id that is no mastery: nothing changes.
    r.BuyMasteryLevel(60);
    r.m_masteryPoints = 1;
    r.BuyMasteryLevel(58);
    r.BuyMasteryLevel(66);
    EXPECT_EQ(r.m_masteryPoints, 1);
    EXPECT_EQ(r.m_masteryLevel[MASTERY_MAGIC], 0.0f);
    EXPECT_EQ(r.m_masteryNextMod[MASTERY_MAGIC], 5.0f);
    r.BuyMasteryLevel(61);
    EXPECT_EQ(r.m_masteryNextMod[MASTERY_COMMANDER], 2.0f);
}

TEST_F(Pages, TheMasteryPageShowsThePointsAndTheChosenMastery) {
    realm->m_chosenMastery = 0;
    realm->DrawHudTexts();
    EXPECT_TRUE(lines.empty()); // not on the kingdom screen
    gameData.m_gameMode = GAME_MODE_UNIT_EDITOR;
    realm->m_panelMode = kPanelModeMasteries;
    realm->DrawHudTexts();
    EXPECT_EQ(lines, (std::vector<Line>{{"You have 1 mastery points", 2.0f, 1.0f, 4.5f}}));

    lines.clear();
    realm->m_chosenMastery = 64;
    realm->DrawHudTexts();
    const std::vector<Line> sharpened = {{"You have 1 mastery points", 2.0f, 1.0f, 4.5f},
                                         {"Sharpened Attacks", 2.0f, 1.0f, 3.0f},
                                         {"Increases damage dealt by", 2.0f, 1.0f, 2.0f},
                                         {"critical damage to enemies", 2.0f, 1.0f, 1.5f},
                                         {"Current Critical Rate : 2.0 X", 2.0f, 1.0f, -0.5f},
                                         {"Next Level : 5.0 X", 2.0f, 1.0f, -1.0f}};
    EXPECT_EQ(lines, sharpened);

    lines.clear();
    realm->m_masteryMod[MASTERY_SHARPENED_ATTACKS] = 2.05f;
    realm->m_chosenMastery = 59;
    realm->BuyMasteryLevel(59);
    realm->DrawHudTexts();
    EXPECT_EQ(Texts().back(), "Next Level : 17 health bonus");
    EXPECT_EQ(Texts()[Texts().size() - 2], "Increases units health by 11");
    EXPECT_EQ(Texts()[5], "Leviathian, Demons");
    lines.clear();
    realm->m_chosenMastery = 64;
    realm->DrawHudTexts();
    EXPECT_EQ(Texts()[4], "Current Critical Rate : 2.5 X");
}

TEST_F(Pages, MessagesHaveALengthLimitAndScrollPastTheLineBudget) {
    logtest::CapturedLog log;
    realm->AddGameMessage(std::string(101, 'x'), 1, 0xFFFF0101);
    realm->AddGameMessage(std::string(100, 'y'), 1, 0xFFFF0101);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Player Editor Warning : Game Message added too long"});
    ASSERT_EQ(realm->m_messages.size(), 1u);
    EXPECT_EQ(realm->m_messages.front().m_colour, 0xFFFF0101);

    for (int i = 2; i <= 25; ++i) {
        realm->AddGameMessage("line " + std::to_string(i), 1, 0xFFFFFFFF);
    }
    EXPECT_EQ(realm->m_firstVisibleMessage, 0);
    realm->AddGameMessage("line 26", 1, 0xFFFFFFFF);
    EXPECT_EQ(realm->m_firstVisibleMessage, 1);
    realm->AddGameMessage("line 27", 3, 0xFFFFFFFF);
    EXPECT_EQ(realm->m_firstVisibleMessage, 2);

    // 29 lines after the first visible one's successors: over the budget, so one more goes.
    realm->ScrollGameMessages();
    EXPECT_EQ(realm->m_firstVisibleMessage, 3);
    realm->m_firstVisibleMessage = 24;
    realm->ScrollGameMessages();
    EXPECT_EQ(realm->m_firstVisibleMessage, 24);
}

TEST_F(Pages, MessagesAreDrawnDownTheWindowUntilTheBudgetIsPassed) {
    realm->m_messageLineBudget = 3;
    realm->m_messages = {{"a", 1, 0}, {"b", 2, 0}, {"c", 1, 0}, {"d", 1, 0}, {"e", 1, 0}};
    realm->m_firstVisibleMessage = 1;
    realm->DrawHudTexts();
    // Total starts at 1; b takes it to 3, c to 4, d past 1 + 3.
    EXPECT_EQ(lines, (std::vector<Line>{
                         {"b", -7.5f, 5.0f, 4.5f}, {"c", -7.5f, 5.0f, 4.0f}, {"d", -7.5f, 5.0f, 3.75f}}));
    lines.clear();
    realm->m_firstVisibleMessage = 9; // scrolled past the end
    realm->DrawHudTexts();
    EXPECT_TRUE(lines.empty());

    BoxObject* window = NewBox();
    realm->m_messageWindowBox = window;
    realm->m_messageBoxVisible = false;
    realm->m_firstVisibleMessage = 0;
    realm->DrawHudTexts();
    EXPECT_FALSE(window->m_sprite.m_visible);
    EXPECT_TRUE(lines.empty());
    realm->m_messageBoxVisible = true;
    realm->DrawHudTexts();
    EXPECT_TRUE(window->m_sprite.m_visible);
    EXPECT_EQ(window->m_boundingBox.m_scale[1], 8.5f);
    EXPECT_EQ(window->m_layoutPosition.y, realm->m_messageBoxPosition.y);
}

TEST_F(Pages, HelpTextsCoverEveryIdAndGiveADotPastTheTable) {
    EXPECT_STREQ(PlayerEditor::HelpText(0), " ");
    for (int id : {-1, 20, 43, 79, 80, 81, 106, 1000}) {
        EXPECT_STREQ(PlayerEditor::HelpText(id), ".") << id;
    }
    for (int id = 59; id <= 65; ++id) {
        EXPECT_STREQ(PlayerEditor::HelpText(id), "Click to view this mastery type");
    }
    EXPECT_STREQ(PlayerEditor::HelpText(15),
                 "Purchases the unit that you selected from the merchants tab and "
                 "permenantly gives you that technology to modify");
    EXPECT_STREQ(PlayerEditor::HelpText(104),
                 "Units that you have created and are ready to deploy and defend "
                 "the kingdom. Click and place in kingdom");
    EXPECT_STREQ(PlayerEditor::HelpText(82), "Fire Resources come from building Towers. They are a form of "
                                             "currency to buy and upkeep armies");
    // Every other id has a sentence no other id shares.
    std::set<std::string> sentences;
    for (int id = 1; id <= 105; ++id) {
        const bool shared = id == 20 || id == 43 || (id >= 59 && id <= 65) || (id >= 79 && id <= 81);
        if (!shared) {
            EXPECT_TRUE(sentences.insert(PlayerEditor::HelpText(id)).second) << id;
        }
    }
    EXPECT_EQ(sentences.count("."), 0u);
}

TEST_F(Pages, RaceLoreAndMerchantLabelsGiveWayToTheMessageWindow) {
    gameData.m_gameMode = GAME_MODE_UNIT_EDITOR;
    BoxObject* logo = NewBox();
    realm->m_raceLogoBox = logo;
    realm->m_messageBoxVisible = false;
    realm->m_panelMode = 5;
    realm->DrawHudTexts();
    EXPECT_EQ(logo->m_sprite.m_xmlName, "../Assets/Boxes/LogoElf.xml");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], (Line{"ElvenKind (Nature)", -4.5f, 1.0f, 0.0f}));
    EXPECT_EQ(lines[1],
              (Line{"Damage bonus : (3X) Golems, (3X)Elementals, (0.25X)Angels", -4.5f, 1.0f, -0.35f}));
    EXPECT_FLOAT_EQ(lines[3].z, -1.4f);

    const size_t counts[] = {2, 5, 2, 4, 5, 4, 4, 4};
    for (int mode = 5; mode <= 12; ++mode) {
        lines.clear();
        realm->m_panelMode = mode;
        realm->DrawHudTexts();
        EXPECT_EQ(lines.size(), counts[mode - 5] + 2) << mode;
    }
    EXPECT_EQ(logo->m_sprite.m_xmlName, "../Assets/Boxes/LogoTaipen.xml");

    realm->m_panelMode = kPanelModeMerchant;
    lines.clear();
    realm->DrawHudTexts();
    EXPECT_EQ(lines, (std::vector<Line>{{"Merchant sells :", -4.5f, 5.0f, -2.0f},
                                        {"Your technology :", -4.5f, 5.0f, -3.0f}}));

    // The window shown: the portrait still changes, no text is drawn.
    realm->m_messageBoxVisible = true;
    for (int mode : {1, 7}) {
        lines.clear();
        realm->m_panelMode = mode;
        realm->DrawHudTexts();
        EXPECT_TRUE(lines.empty()) << mode;
    }
    EXPECT_EQ(logo->m_sprite.m_xmlName, "../Assets/Boxes/LogoGolem.xml");
}

TEST_F(Pages, TheCountdownAndTheInvaderListShowTheWaves) {
    realm->DrawHudTexts();
    gameData.m_gameMode = GAME_MODE_UNIT_EDITOR;
    realm->m_panelMode = kPanelModeInvaders;
    realm->m_messageBoxVisible = false;
    realm->DrawHudTexts(); // an empty queue draws the titles alone
    EXPECT_EQ(lines.size(), 9u);

    Invasion& wave = realm->m_invasions.emplace_back();
    wave.m_commanderName = "Baron Tobrenn";
    wave.m_countdown = 3725.9f;
    for (int i = 0; i < 12; ++i) {
        auto unit = std::make_unique<KRUnit>();
        unit->m_typeName = "Angel";
        unit->Size = 3;
        unit->m_damage = 7.8f;
        unit->AttkSpd = 2.5f;
        wave.m_units.push_back(std::move(unit));
    }
    realm->m_invasions.emplace_back().m_countdown = 4000.0f;
    realm->m_level = 2;
    gameData.m_gameMode = GAME_MODE_KINGDOM;
    lines.clear();
    realm->DrawHudTexts();
    EXPECT_EQ(lines, (std::vector<Line>{{"Next Enemy in : 1 h 2 m 5 s", 3.5f, 5.0f, 4.75f},
                                        {"Level : 2", 3.5f, 5.0f, 4.5f}}));

    gameData.m_gameMode = GAME_MODE_UNIT_EDITOR;
    lines.clear();
    realm->DrawHudTexts();
    // Two waves, two titles, seven columns, eleven rows of eight.
    ASSERT_EQ(lines.size(), 4u + 2u + 7u + 11u * 8u);
    EXPECT_EQ(lines[0], (Line{"Baron Tobrenn", -4.5f, 1.0f, 4.0f}));
    EXPECT_EQ(lines[1], (Line{" Arrival in : 1 hrs 2 mins 5 seconds", 0.5f, 1.0f, 4.0f}));
    EXPECT_EQ(lines[3].z, 3.5f);
    EXPECT_EQ(lines[13], (Line{"Angel", -4.5f, 1.0f, 0.0f}));
    EXPECT_EQ(lines[14].text, "3");
    EXPECT_EQ(lines[15].text, "7");
    EXPECT_EQ(lines[17].text, "2.5");
    EXPECT_EQ(lines.back().z, -2.5f);

    // Under the message window the names give way.
    realm->m_messageBoxVisible = true;
    lines.clear();
    realm->DrawHudTexts();
    EXPECT_EQ(lines[0].text, "");
    EXPECT_EQ(lines.size(), 4u + 7u + 11u * 7u);
}

TEST_F(Pages, TheUnitInfoBoxesFollowTheUnitsAndLetGoOfADeletedOne) {
    PlayerEditor& r = *realm;
    auto column = [this](int count) {
        return CreateHudBox(gameData, 0.0f, 0.0f, 0.0f, 1.0f, 0.5f, 1, count, 0.0f, 0.0f, -1.0f, false, true,
                            false, false, true, 1, 2);
    };
    r.m_statNowColumnBox = column(10);
    r.m_statNewColumnBox = column(10);
    r.m_upkeepColumnBox = column(11);
    r.m_unitNameBox = NewBox();
    r.m_purchasedUnits.push_back(std::make_unique<KRUnit>());
    KRUnit* shown = r.m_purchasedUnits.back().get();
    shown->m_typeName = "Elvenkind";
    shown->Range = 3;
    KRUnit edited;
    edited.m_upkeep[UPKEEP_ICE] = 0.5f;
    edited.m_upkeep[UPKEEP_DARK] = 0.25f;

    r.Update(0.1f); // nothing under edit: nothing bound
    EXPECT_EQ(r.m_statNowColumnBox->m_members[0]->m_numberSource, nullptr);
    r.m_editedUnit = &edited;
    r.m_selectedUnit = shown;
    r.Update(0.1f);
    EXPECT_EQ(r.m_statNowColumnBox->m_members[0]->m_numberSource, &shown->STR);
    EXPECT_EQ(r.m_statNowColumnBox->m_members[1]->m_numberSource, &shown->AttkSpd);
    EXPECT_EQ(*r.m_statNowColumnBox->m_members[6]->m_numberSource, 3.0f);
    EXPECT_EQ(r.m_statNewColumnBox->m_members[8]->m_numberSource, &edited.Evade);
    EXPECT_EQ(edited.m_upkeep[UPKEEP_MONEY], edited.Cost);
    EXPECT_EQ(*r.m_upkeepColumnBox->m_members[RESOURCE_MAGIC]->m_numberSource, 5.0f);
    EXPECT_EQ(*r.m_upkeepColumnBox->m_members[RESOURCE_DARKNESS]->m_numberSource, 2.5f);
    EXPECT_EQ(*r.m_upkeepColumnBox->m_members[RESOURCE_MONEY]->m_numberSource, edited.Cost);
    EXPECT_EQ(r.m_unitNameBox->m_label.m_text, "Elvenkind");

    // The shown unit goes between frames: no box reads it any more.
    r.RemovePurchasedUnit(shown);
    for (const BoxObject* box : r.m_statNowColumnBox->m_members) {
        EXPECT_TRUE(box->m_numberSource == &r.m_zeroDisplay ||
                    box->m_numberSource == &r.m_selectedRangeDisplay);
    }
    r.Update(0.1f);
    for (BoxObject* head : {r.m_statNowColumnBox, r.m_statNewColumnBox, r.m_upkeepColumnBox}) {
        for (const BoxObject* box : head->m_members) {
            EXPECT_EQ(box->m_numberSource, &r.m_zeroDisplay);
        }
    }
    EXPECT_EQ(r.m_unitNameBox->m_label.m_text, "Unit Name");
    r.m_editedUnit = nullptr;
}

TEST_F(Pages, HighlightingGreysOutOrRestoresTheFirstBoxAndBlinkingTakesEveryPickableOne) {
    BoxObject* first = NewBox();
    BoxObject* second = NewBox();
    BoxObject* folded = NewBox();
    for (BoxObject* box : {first, second, folded}) {
        box->SetTexture("../Assets/Buttons/ButtonDarkBlue.xml");
        box->m_actionId = 40;
    }
    folded->m_pickable = false;
    first->m_blinking = true;
    realm->UnhighlightButton(40);
    EXPECT_FALSE(first->m_enabled);
    EXPECT_FALSE(first->m_blinking);
    EXPECT_TRUE(first->m_frozen);
    EXPECT_EQ(first->m_sprite.m_xmlName, kBoxDisabledTexture);
    EXPECT_TRUE(second->m_enabled);
    realm->HighlightButton(40);
    EXPECT_TRUE(first->m_enabled);
    EXPECT_FALSE(first->m_frozen);
    EXPECT_EQ(first->m_sprite.m_xmlName, "../Assets/Buttons/ButtonDarkBlue.xml");

    realm->BlinkBoxes(40);
    realm->UnhighlightButton(41);
    EXPECT_TRUE(first->m_blinking && second->m_blinking);
    EXPECT_FALSE(folded->m_blinking);
    EXPECT_TRUE(first->m_enabled);
}

} // namespace
