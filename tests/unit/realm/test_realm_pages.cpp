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
    // The lines of one drawing of the texts on a screen.
    std::vector<Line> Draw(GameMode mode, int32_t panel) {
        gameData.m_gameMode = mode;
        realm->m_panelMode = panel;
        lines.clear();
        realm->DrawHudTexts();
        return lines;
    }

    std::vector<Line> lines;
    std::unique_ptr<PlayerEditor> realm;
};

TEST_F(Pages, MasteriesCostAPointEachAndTheirPageShowsTheValues) {
    PlayerEditor& r = *realm;
    r.m_masteryPoints = 3;
    r.BuyMasteryLevel(59); // Bio: level 1, next 11 + 1 + 10 / 2
    r.BuyMasteryLevel(62); // Berserker: next 10 + 10 / 2
    r.BuyMasteryLevel(65); // Hardened: next 5 + 1 + 5 / 2
    r.BuyMasteryLevel(60); // no points left
    r.m_masteryPoints = 1;
    r.BuyMasteryLevel(58); // no mastery
    r.BuyMasteryLevel(66);
    EXPECT_EQ(r.m_masteryPoints, 1);
    EXPECT_EQ(r.m_masteryLevel[MASTERY_BIO], 1.0f);
    EXPECT_EQ(r.m_masteryMod[MASTERY_BIO], 11.0f);
    EXPECT_EQ(r.m_masteryNextMod[MASTERY_BIO], 17.0f);
    EXPECT_EQ(r.m_masteryNextMod[MASTERY_BERSERKER], 15.0f);
    EXPECT_EQ(r.m_masteryNextMod[MASTERY_HARDENED_SKIN], 8.5f);
    EXPECT_EQ(r.m_masteryLevel[MASTERY_MAGIC], 0.0f);

    r.m_chosenMastery = 0;
    EXPECT_EQ(Draw(GAME_MODE_UNIT_EDITOR, kPanelModeMasteries),
              (std::vector<Line>{{"You have 1 mastery points", 2.0f, 1.0f, 4.5f}}));
    r.m_chosenMastery = 64;
    const std::vector<Line> sharpened = {{"You have 1 mastery points", 2.0f, 1.0f, 4.5f},
                                         {"Sharpened Attacks", 2.0f, 1.0f, 3.0f},
                                         {"Increases damage dealt by", 2.0f, 1.0f, 2.0f},
                                         {"critical damage to enemies", 2.0f, 1.0f, 1.5f},
                                         {"Current Critical Rate : 2.0 X", 2.0f, 1.0f, -0.5f},
                                         {"Next Level : 5.0 X", 2.0f, 1.0f, -1.0f}};
    EXPECT_EQ(Draw(GAME_MODE_UNIT_EDITOR, kPanelModeMasteries), sharpened);
    r.m_masteryMod[MASTERY_SHARPENED_ATTACKS] = 2.05f;
    EXPECT_EQ(Draw(GAME_MODE_UNIT_EDITOR, kPanelModeMasteries)[4].text, "Current Critical Rate : 2.5 X");
    r.m_chosenMastery = 59;
    const std::vector<Line> bio = Draw(GAME_MODE_UNIT_EDITOR, kPanelModeMasteries);
    ASSERT_EQ(bio.size(), 8u);
    EXPECT_EQ(bio[6].text, "Increases units health by 11");
    EXPECT_EQ(bio[7].text, "Next Level : 17 health bonus");
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
    realm->ScrollGameMessages(); // 27 lines after the first visible one: over the budget
    EXPECT_EQ(realm->m_firstVisibleMessage, 3);
    realm->m_firstVisibleMessage = 24;
    realm->ScrollGameMessages();
    EXPECT_EQ(realm->m_firstVisibleMessage, 24);
}

TEST_F(Pages, ManyThousandMessagesKeepTheListBoundedAndTheWindowOnTheNewest) {
    const int count = 20000;
    for (int i = 0; i < count; ++i) {
        realm->AddGameMessage("hit " + std::to_string(i), 1, 0xFFFFFFFF);
    }
    EXPECT_LE(realm->m_messages.size(), kGameMessagesKept);
    // One line each: every message past the budget moved the window on by one, to the newest.
    const std::vector<Line> shown = Draw(GAME_MODE_WAR, 1);
    ASSERT_EQ(shown.size(), static_cast<size_t>(realm->m_messageLineBudget));
    EXPECT_EQ(shown.front().text, "hit " + std::to_string(count - realm->m_messageLineBudget));
}

TEST_F(Pages, MessagesAreDrawnDownTheWindowUntilTheBudgetIsPassed) {
    BoxObject* window = NewBox();
    realm->m_messageWindowBox = window;
    realm->m_messageLineBudget = 3;
    realm->m_messages = {{"a", 1, 0}, {"b", 2, 0}, {"c", 1, 0}, {"d", 1, 0}, {"e", 1, 0}};
    realm->m_firstVisibleMessage = 1;
    // The total starts at 1; b takes it to 3, c to 4, d past 1 + 3.
    EXPECT_EQ(
        Draw(GAME_MODE_WAR, 1),
        (std::vector<Line>{{"b", -7.5f, 5.0f, 4.5f}, {"c", -7.5f, 5.0f, 4.0f}, {"d", -7.5f, 5.0f, 3.75f}}));
    EXPECT_TRUE(window->m_sprite.m_visible);
    EXPECT_EQ(window->m_layoutPosition.y, realm->m_messageBoxPosition.y);
    realm->m_firstVisibleMessage = 9; // scrolled past the end
    EXPECT_TRUE(Draw(GAME_MODE_WAR, 1).empty());
    realm->m_messageBoxVisible = false;
    realm->m_firstVisibleMessage = 0;
    EXPECT_TRUE(Draw(GAME_MODE_WAR, 1).empty());
    EXPECT_FALSE(window->m_sprite.m_visible);
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
    BoxObject* logo = NewBox();
    realm->m_raceLogoBox = logo;
    realm->m_messageBoxVisible = false;
    const std::vector<Line> elves = Draw(GAME_MODE_UNIT_EDITOR, 5);
    EXPECT_EQ(logo->m_sprite.m_xmlName, "../Assets/Boxes/LogoElf.xml");
    ASSERT_EQ(elves.size(), 4u);
    EXPECT_EQ(elves[0], (Line{"ElvenKind (Nature)", -4.5f, 1.0f, 0.0f}));
    EXPECT_EQ(elves[1],
              (Line{"Damage bonus : (3X) Golems, (3X)Elementals, (0.25X)Angels", -4.5f, 1.0f, -0.35f}));
    EXPECT_FLOAT_EQ(elves[3].z, -1.4f);
    const size_t loreLines[] = {2, 5, 2, 4, 5, 4, 4, 4};
    for (int mode = 5; mode <= 12; ++mode) {
        EXPECT_EQ(Draw(GAME_MODE_UNIT_EDITOR, mode).size(), loreLines[mode - 5] + 2) << mode;
    }
    EXPECT_EQ(logo->m_sprite.m_xmlName, "../Assets/Boxes/LogoTaipen.xml");
    EXPECT_EQ(Draw(GAME_MODE_UNIT_EDITOR, kPanelModeMerchant),
              (std::vector<Line>{{"Merchant sells :", -4.5f, 5.0f, -2.0f},
                                 {"Your technology :", -4.5f, 5.0f, -3.0f}}));

    // The window shown: the portrait still changes, no text is drawn.
    realm->m_messageBoxVisible = true;
    EXPECT_TRUE(Draw(GAME_MODE_UNIT_EDITOR, kPanelModeMerchant).empty());
    EXPECT_TRUE(Draw(GAME_MODE_UNIT_EDITOR, 7).empty());
    EXPECT_EQ(logo->m_sprite.m_xmlName, "../Assets/Boxes/LogoGolem.xml");
}

TEST_F(Pages, TheCountdownAndTheInvaderListShowTheWaves) {
    realm->m_messageBoxVisible = false;
    EXPECT_TRUE(Draw(GAME_MODE_KINGDOM, 1).empty());
    EXPECT_EQ(Draw(GAME_MODE_UNIT_EDITOR, kPanelModeInvaders).size(), 9u); // titles alone
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
    EXPECT_EQ(Draw(GAME_MODE_KINGDOM, 1),
              (std::vector<Line>{{"Next Enemy in : 1 h 2 m 5 s", 3.5f, 5.0f, 4.75f},
                                 {"Level : 2", 3.5f, 5.0f, 4.5f}}));

    // Two waves, two titles, seven columns, eleven rows of eight.
    const std::vector<Line> list = Draw(GAME_MODE_UNIT_EDITOR, kPanelModeInvaders);
    ASSERT_EQ(list.size(), 4u + 2u + 7u + 11u * 8u);
    EXPECT_EQ(list[0], (Line{"Baron Tobrenn", -4.5f, 1.0f, 4.0f}));
    EXPECT_EQ(list[1], (Line{" Arrival in : 1 hrs 2 mins 5 seconds", 0.5f, 1.0f, 4.0f}));
    EXPECT_EQ(list[3].z, 3.5f);
    EXPECT_EQ(list[13], (Line{"Angel", -4.5f, 1.0f, 0.0f}));
    EXPECT_EQ(list[15].text, "7");
    EXPECT_EQ(list[17].text, "2.5");
    EXPECT_EQ(list.back().z, -2.5f);
    // Under the message window the names give way.
    realm->m_messageBoxVisible = true;
    const std::vector<Line> covered = Draw(GAME_MODE_UNIT_EDITOR, kPanelModeInvaders);
    EXPECT_EQ(covered[0].text, "");
    EXPECT_EQ(covered.size(), 4u + 7u + 11u * 7u);
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
    r.m_editedUnit = &edited;
    r.m_selectedUnit = shown;
    r.Update(0.1f);
    EXPECT_EQ(r.m_statNowColumnBox->m_members[1]->m_numberSource, &shown->AttkSpd);
    EXPECT_EQ(*r.m_statNowColumnBox->m_members[6]->m_numberSource, 3.0f);
    EXPECT_EQ(r.m_statNewColumnBox->m_members[8]->m_numberSource, &edited.Evade);
    EXPECT_EQ(edited.m_upkeep[UPKEEP_MONEY], edited.Cost);
    EXPECT_EQ(*r.m_upkeepColumnBox->m_members[RESOURCE_MAGIC]->m_numberSource, 5.0f);
    EXPECT_EQ(*r.m_upkeepColumnBox->m_members[RESOURCE_DARKNESS]->m_numberSource, 2.5f);
    EXPECT_EQ(*r.m_upkeepColumnBox->m_members[RESOURCE_MONEY]->m_numberSource, edited.Cost);
    EXPECT_EQ(r.m_unitNameBox->m_label.m_text, "Elvenkind");

    // The shown unit goes between frames: at once no box reads it any more.
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
    BoxObject* boxes[3] = {NewBox(), NewBox(), NewBox()};
    for (BoxObject* box : boxes) {
        box->SetTexture("../Assets/Buttons/ButtonDarkBlue.xml");
        box->m_actionId = kBoxActionResetStatChange;
    }
    boxes[2]->m_pickable = false;
    boxes[0]->m_blinking = true;
    realm->UnhighlightButton(kBoxActionResetStatChange);
    EXPECT_TRUE(!boxes[0]->m_enabled && !boxes[0]->m_blinking && boxes[0]->m_frozen);
    EXPECT_EQ(boxes[0]->m_sprite.m_xmlName, kBoxDisabledTexture);
    EXPECT_TRUE(boxes[1]->m_enabled);
    realm->HighlightButton(kBoxActionResetStatChange);
    EXPECT_TRUE(boxes[0]->m_enabled && !boxes[0]->m_frozen);
    EXPECT_EQ(boxes[0]->m_sprite.m_xmlName, "../Assets/Buttons/ButtonDarkBlue.xml");
    realm->BlinkBoxes(kBoxActionResetStatChange);
    realm->UnhighlightButton(kBoxActionScrollBack);
    EXPECT_TRUE(boxes[0]->m_blinking && boxes[1]->m_blinking && boxes[0]->m_enabled);
    EXPECT_FALSE(boxes[2]->m_blinking);
}

} // namespace
