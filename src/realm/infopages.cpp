// The unit editor's info pages, the kingdom's countdown to the next wave, the unit-info boxes, the hover
// help texts and the look of boxes the tutorial and the save screen point at.
#include "battle/krunit.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

constexpr int32_t kFirstRacePage = 5;
constexpr int32_t kLastRacePage = 12;
constexpr int32_t kLoreLineMax = 5;
constexpr size_t kInvaderRowMax = 11;

struct RaceLore {
    const char* logo;
    const char* title;
    const char* damage;
    const char* lines[kLoreLineMax];
};

const RaceLore kRaceLore[kLastRacePage - kFirstRacePage + 1] = {
    {"../Assets/Boxes/LogoElf.xml",
     "ElvenKind (Nature)",
     "Damage bonus : (3X) Golems, (3X)Elementals, (0.25X)Angels",
     {"Keepers of the old forests, swift and", "patient, who strike from the treeline.", nullptr, nullptr,
      nullptr}},
    {"../Assets/Boxes/LogoDragonkin.xml",
     "DragonKin (Fire)",
     "Damage bonus : (2X)ElvenKind, (3X)Demons",
     {"Born of the mountain fires, the", "Dragonkin hold every oath in flame.",
      "Their scales turn blade and arrow,", "and their fury burns hottest", "against the demon hosts."}},
    {"../Assets/Boxes/LogoGolem.xml",
     "Golems (Metal)",
     "Damage bonus : (2X) Taipen, (0.25X)Angels, (0.5X)Elemental, (5X)Golems",
     {"Forged, not born: slow to anger", "and slower still to fall.", nullptr, nullptr, nullptr}},
    {"../Assets/Boxes/LogoAngel.xml",
     "Angels (Light)",
     "Damage bonus : (10X)Demons, (0.25X)Elementals, (0.25X)Golems, (0.25X)Angels",
     {"Wardens of the high light who", "descend only when darkness stirs.",
      "Against demons they are judgement", "itself; against the rest, gentle.", nullptr}},
    {"../Assets/Boxes/LogoDemon.xml",
     "Demons (Darkness)",
     "Damage bonus : (2X)Taipen, (2X)ElvenKind, (2X)Leviathians, (2X)Elementals, (5X)Demons",
     {"Spawned in the deep dark beneath", "the world, the demon hosts hunger",
      "for every living thing, and for", "each other most of all. Only the",
      "Angels' light truly breaks them."}},
    {"../Assets/Boxes/LogoLeviathian.xml",
     "Leviathians (Ice)",
     "Damage bonus : (2X) Taipen, (2X)Demons",
     {"Ancient lords of the frozen seas,", "the Leviathians rise with the tide",
      "and with the cold that follows", "it, patient as the ice itself.", nullptr}},
    {"../Assets/Boxes/LogoElemental.xml",
     "Elementals (Psychic)",
     "Damage bonus : (2X) Taipen, (2X)ElvenKind, (2X)DragonKin, (0.5X)Golems",
     {"Minds without bodies, bound to", "shapes of wind and stone. They", "strike at thought before flesh,",
      "and little of stone answers them.", nullptr}},
    {"../Assets/Boxes/LogoTaipen.xml",
     "Taipens (Earth)",
     "Damage bonus : (3X) Angels, (3X)Elvenkind, (0.25X)Golems, (0.25X)Leviathians",
     {"Serpent folk of the deep earth who", "tunnel beneath the realm's roads.",
      "They rise where least expected", "and bring down the skyborn.", nullptr}}};

// Indexed by action id.
const char* const kHelpTexts[] = {
    " ",
    "Brings you to your throne to look at your kingdom as a whole. You may place units and buildings there",
    "Marches your army to war against the invaders who come next",
    "Opens the unit editor, where you buy, train and improve your units",
    "Choose to place a Farm. Farms bring in Nature Resources",
    "Choose to place a House. Houses bring in Light Resources and people",
    "Choose to place a Tower. Towers bring in Fire Resources",
    "Choose to place a BioLab. BioLabs bring in Earth Resources",
    "Choose to place a Smith. Smiths bring in Metal Resources",
    "Choose to place a Spire. Spires bring in Ice Resources",
    "Choose to place a Lab. Labs bring in Psychic Resources",
    "Choose to place a Keep. Keeps bring in Darkness Resources",
    "Opens the game options",
    "Raises the number of units the next recruitment buys, up to nine",
    "Lowers the number of units the next recruitment buys, down to one",
    "Purchases the unit that you selected from the merchants tab and permenantly gives you that technology "
    "to "
    "modify",
    "Recruits the selected technology as many times as the counter shows and adds them to your army",
    "Sends the selected unit of your army away for good",
    "Choose to lay path tiles. Buildings and units stand beside your roads",
    "Choose to tear down a building or a path tile",
    ".",
    "Raises the Strength of the unit under edit",
    "Raises the Agility of the unit under edit",
    "Raises the Vitality of the unit under edit",
    "Raises the Move Speed of the unit under edit",
    "Raises the Defense of the unit under edit",
    "Raises the Range of the unit under edit",
    "Raises the Accuracy of the unit under edit",
    "Raises the Evasion of the unit under edit",
    "Raises the Energy of the unit under edit",
    "Lowers the Strength of the unit under edit",
    "Lowers the Agility of the unit under edit",
    "Lowers the Vitality of the unit under edit",
    "Lowers the Move Speed of the unit under edit",
    "Lowers the Defense of the unit under edit",
    "Lowers the Range of the unit under edit",
    "Lowers the Accuracy of the unit under edit",
    "Lowers the Evasion of the unit under edit",
    "Lowers the Energy of the unit under edit",
    "Keeps the statistics you gave the unit under edit",
    "Puts the statistics of the unit under edit back as they were",
    "Shows the earlier entries of this list",
    "Shows the later entries of this list",
    ".",
    "Shows or hides the window of game messages",
    "Scrolls the game messages back to older ones",
    "Scrolls the game messages on to newer ones",
    "Shows the unit page: the merchants' offers, your technologies and their units",
    "Shows the enemy waves on their way and the units of the next one",
    "Choose a race below to read of it",
    "Shows your masteries and the points you may spend on them",
    "Tells of the Elves and whom they strike hardest",
    "Tells of the Dragonkin and whom they strike hardest",
    "Tells of the Golems and whom they strike hardest",
    "Tells of the Angels and whom they strike hardest",
    "Tells of the Demons and whom they strike hardest",
    "Tells of the Leviathians and whom they strike hardest",
    "Tells of the Elementals and whom they strike hardest",
    "Tells of the Taipens and whom they strike hardest",
    "Click to view this mastery type",
    "Click to view this mastery type",
    "Click to view this mastery type",
    "Click to view this mastery type",
    "Click to view this mastery type",
    "Click to view this mastery type",
    "Click to view this mastery type",
    "Spends one mastery point on the mastery you are viewing",
    "Shows the unit panel of the selected unit",
    "Shows the statistics of the selected unit, and lets a new one be changed",
    "Shows what the selected unit costs the kingdom to keep",
    "Shows how many of the selected technology the next recruitment buys",
    "Opens the game menu",
    "A panel of the unit editor",
    "Technologies you own. Select one to recruit units of it",
    "A page of the unit editor",
    "A list of the unit editor",
    "Shows what the box under the mouse does",
    "Units the merchants offer for a while. Select one to buy it",
    "A window of the unit editor",
    ".",
    ".",
    ".",
    "Fire Resources come from building Towers. They are a form of currency to buy and upkeep armies",
    "Earth Resources come from building BioLabs. They are a form of currency to buy and upkeep armies",
    "Light Resources come from building Houses. They are a form of currency to buy and upkeep armies",
    "Nature Resources come from building Farms. They are a form of currency to buy and upkeep armies",
    "Ice Resources come from building Spires. They are a form of currency to buy and upkeep armies",
    "Metal Resources come from building Smiths. They are a form of currency to buy and upkeep armies",
    "Psychic Resources come from building Labs. They are a form of currency to buy and upkeep armies",
    "Darkness Resources come from building Keeps. They are a form of currency to buy and upkeep armies",
    "Your people. Houses raise their number, and every unit needs some of them",
    "Money comes from your people's taxes and buys buildings, units and their upkeep",
    "A count kept by the kingdom",
    "A value kept by the kingdom",
    "A total kept by the kingdom",
    "A figure kept by the kingdom",
    "A sum kept by the kingdom",
    "A tally kept by the kingdom",
    "Opens the list of units ready to be placed in your kingdom",
    "Opens the list of buildings you may place",
    "The number of units the next recruitment buys",
    "Turns the music off or on",
    "Pauses or resumes the game",
    "A merchant technology that you can buy. Click to select buy using button 'Buy From Merchant'",
    "Units that you have created and are ready to deploy and defend the kingdom. Click and place in kingdom",
    "An entry of one of your rosters. Click to select it"};
static_assert(std::size(kHelpTexts) == kBoxActionRosterEntry + 1);

// Whole hours, minutes and seconds of a countdown.
struct Clock {
    int32_t h, m, s;
};

Clock ClockOf(float countdown) {
    const int32_t t = static_cast<int32_t>(countdown);
    return {t / 3600, (t / 60) % 60, t % 60};
}

} // namespace

const char* PlayerEditor::HelpText(int32_t actionId) {
    if (actionId < 0 || static_cast<size_t>(actionId) >= std::size(kHelpTexts)) {
        return ".";
    }
    return kHelpTexts[actionId];
}

bool PlayerEditor::MessageWindowShown() const {
    return m_messageWindowBox != nullptr ? m_messageWindowBox->m_sprite.m_visible : m_messageBoxVisible;
}

void PlayerEditor::UpdateTooltipText() {
    if (m_helpBox != nullptr && m_tooltipTextBox != nullptr) {
        m_tooltipTextBox->m_label.SetText(HelpText(m_helpBox->m_actionId), {0.0f, 0.0f, 0.0f});
    }
}

void PlayerEditor::UpdateUnitInfoPanel() {
    if (m_editedUnit == nullptr) {
        return;
    }
    // The nine boxes after a column's head, and the ten after the upkeep head.
    auto bind = [](BoxObject* head, const float* const* sources, size_t count) {
        if (head == nullptr) {
            return;
        }
        for (size_t i = 0; i < count && i < head->m_members.size(); ++i) {
            head->m_members[i]->m_numberSource = sources[i];
        }
    };
    const float* zero[RESOURCE_COUNT];
    std::fill(std::begin(zero), std::end(zero), &m_zeroDisplay);
    if (m_selectedUnit == nullptr) {
        bind(m_statNowColumnBox, zero, 9);
        bind(m_statNewColumnBox, zero, 9);
        bind(m_upkeepColumnBox, zero, RESOURCE_COUNT);
        if (m_unitNameBox != nullptr) {
            m_unitNameBox->m_label.SetText("Unit Name", {0.0f, 0.0f, 0.0f});
        }
        return;
    }
    KRUnit& shown = *m_selectedUnit;
    KRUnit& edited = *m_editedUnit;
    m_selectedRangeDisplay = static_cast<float>(shown.Range);
    m_editedRangeDisplay = static_cast<float>(edited.Range);
    const float* const shownStats[9] = {
        &shown.STR,     &shown.AttkSpd,          &shown.VIT,      &shown.DEF,  &shown.Energy,
        &shown.MoveSpd, &m_selectedRangeDisplay, &shown.Accuracy, &shown.Evade};
    const float* const editedStats[9] = {&edited.STR,           &edited.AttkSpd,  &edited.VIT,
                                         &edited.DEF,           &edited.Energy,   &edited.MoveSpd,
                                         &m_editedRangeDisplay, &edited.Accuracy, &edited.Evade};
    bind(m_statNowColumnBox, shownStats, 9);
    bind(m_statNewColumnBox, editedStats, 9);

    edited.m_upkeep[UPKEEP_MONEY] = edited.ComputeCost();
    static const UnitUpkeep kUpkeepOfResource[RESOURCE_COUNT] = {
        UPKEEP_FIRE,  UPKEEP_EARTH,   UPKEEP_LIGHT, UPKEEP_NATURE, UPKEEP_ICE,
        UPKEEP_METAL, UPKEEP_PSYCHIC, UPKEEP_DARK,  UPKEEP_MONEY,  UPKEEP_POP};
    const float* upkeep[RESOURCE_COUNT];
    for (int k = 0; k < RESOURCE_COUNT; ++k) {
        const float value = edited.m_upkeep[kUpkeepOfResource[k]];
        m_upkeepDisplay[k] = k == RESOURCE_MONEY ? value : value * 10.0f;
        upkeep[k] = &m_upkeepDisplay[k];
    }
    bind(m_upkeepColumnBox, upkeep, RESOURCE_COUNT);
    if (m_unitNameBox != nullptr) {
        m_unitNameBox->m_label.SetText(shown.m_typeName, {0.0f, 0.0f, 0.0f});
    }
}

void PlayerEditor::DrawRaceLorePage() {
    if (m_panelMode < kFirstRacePage || m_panelMode > kLastRacePage) {
        return;
    }
    const RaceLore& lore = kRaceLore[m_panelMode - kFirstRacePage];
    // Read once when the page changes, not every frame.
    if (m_raceLogoBox != nullptr && m_raceLogoBox->m_sprite.m_xmlName != lore.logo) {
        m_raceLogoBox->m_sprite.ApplyTextureConfig(lore.logo);
    }
    if (MessageWindowShown()) {
        return;
    }
    DrawTextLine(lore.title, -4.5f, 1.0f, 0.0f);
    DrawTextLine(lore.damage, -4.5f, 1.0f, -0.35f);
    float z = -1.05f;
    for (const char* line : lore.lines) {
        if (line == nullptr) {
            break;
        }
        DrawTextLine(line, -4.5f, 1.0f, z);
        z -= 0.35f;
    }
}

void PlayerEditor::DrawMerchantPage() {
    if (m_messageBoxVisible) {
        return;
    }
    DrawTextLine("Merchant sells :", -4.5f, 5.0f, -2.0f);
    DrawTextLine("Your technology :", -4.5f, 5.0f, -3.0f);
}

void PlayerEditor::DrawNextEnemyCountdown() {
    if (m_invasions.empty()) {
        return;
    }
    const Clock left = ClockOf(m_invasions.front().m_countdown);
    DrawTextLine("Next Enemy in : " + IntToString(left.h) + " h " + IntToString(left.m) + " m " +
                     IntToString(left.s) + " s",
                 3.5f, 5.0f, 4.75f);
    DrawTextLine("Level : " + IntToString(m_level), 3.5f, 5.0f, 4.5f);
}

void PlayerEditor::DrawInvaderListPage() {
    const bool covered = MessageWindowShown();
    float z = 4.0f;
    for (const Invasion& wave : m_invasions) {
        const Clock left = ClockOf(wave.m_countdown);
        DrawTextLine(covered ? std::string() : wave.m_commanderName, -4.5f, 1.0f, z);
        DrawTextLine(" Arrival in : " + IntToString(left.h) + " hrs " + IntToString(left.m) + " mins " +
                         IntToString(left.s) + " seconds",
                     0.5f, 1.0f, z);
        z -= 0.5f;
    }
    if (!covered) {
        DrawTextLine("Next Invaders ::", -4.5f, 1.0f, 1.0f);
        DrawTextLine("Unit Name", -4.5f, 1.0f, 0.5f);
    }
    static const struct {
        const char* title;
        float x;
    } kColumns[] = {{"troops", -1.5f}, {"damage", -0.5f}, {"defense", 0.5f}, {"Aspeed", 2.0f},
                    {"Mspeed", 3.5f},  {"Life", 5.0f},    {"Range", 6.0f}};
    for (const auto& column : kColumns) {
        DrawTextLine(column.title, column.x, 1.0f, 0.5f);
    }
    if (m_invasions.empty()) {
        return;
    }
    z = 0.0f;
    size_t row = 0;
    for (const auto& unit : m_invasions.front().m_units) {
        if (row++ == kInvaderRowMax) {
            break;
        }
        if (!covered) {
            DrawTextLine(unit->m_typeName, -4.5f, 1.0f, z);
        }
        DrawTextLine(IntToString(unit->Size), -1.3f, 1.0f, z);
        DrawTextLine(IntToString(static_cast<int32_t>(unit->m_damage)), -0.3f, 1.0f, z);
        DrawTextLine(IntToString(static_cast<int32_t>(unit->DEF)), 0.7f, 1.0f, z);
        DrawTextLine(FloatToString(unit->AttkSpd), 2.2f, 1.0f, z);
        DrawTextLine(FloatToString(unit->MoveSpd), 3.7f, 1.0f, z);
        DrawTextLine(IntToString(static_cast<int32_t>(unit->VIT)), 5.2f, 1.0f, z);
        DrawTextLine(IntToString(unit->Range), 6.2f, 1.0f, z);
        z -= 0.25f;
    }
}

void PlayerEditor::BlinkBoxes(int32_t actionId) {
    if (m_gameData == nullptr) {
        return;
    }
    for (const auto& box : m_gameData->m_hudBoxes) {
        if (box->m_actionId == actionId && box->m_pickable) {
            box->m_blinking = true;
        }
    }
}
