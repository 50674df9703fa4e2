// The realm's economy: income from the ring of buildings, population under the housing cap, money from
// the population, upkeep of the purchased units, and the stocks moved by them every frame.
#include "kingdom/gamedata.h"
#include "kingdom/mail.h"
#include "realm/playereditor.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// Per second and per point of net income.
constexpr float kRate[RESOURCE_COUNT] = {0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.01f, 0.1f, 0.001f, 0.1f};

const char* const kNegativeWarning[RESOURCE_COUNT] = {
    "Your highness!! Our fire resource income is negative! \n\nPlease build more Towers!!",
    "Your highness!! Our earth resource income is negative! \n\nPlease build more Biolabs!!",
    "Your highness!! Our light resource income is negative! \n\nPlease build more Houses!!",
    "Your highness!! Our nature resource income is negative! \n\nPlease build more Farms!!",
    "Your highness!! Our magic resource income is negative! \n\nPlease build more Farms!!",
    "Your highness!! Our metal resource income is negative! \n\nPlease build more Smiths!!",
    "Your highness!! Our psychic resource income is negative! \n\nPlease build more Labs!!",
    "Your highness!! Our darkness resource income is negative! \n\nPlease build more Keeps!!",
    "Your highness!! Our money income is negative! \n\nPlease build raise the population count by building "
    "Houses!!",
    "Your highness!! Our population growth is negative! \n\nPlease build more Houses!!",
};

// The last resource in this order whose stock fell is the one the warning names.
constexpr Resource kWarningOrder[] = {
    RESOURCE_FIRE,    RESOURCE_EARTH,    RESOURCE_LIGHT, RESOURCE_MAGIC,      RESOURCE_METAL,
    RESOURCE_PSYCHIC, RESOURCE_DARKNESS, RESOURCE_MONEY, RESOURCE_POPULATION, RESOURCE_NATURE};

// At most one warning a minute of game time: a mail every frame would sweep every other mail away.
constexpr double kWarningPeriod = 60.0;

// The ring of building kinds, each helped by its neighbours and hindered by its two opposites.
constexpr int kRingSize = 7;
constexpr BuildingType kRing[kRingSize] = {BUILDING_BARRACKS, BUILDING_BIOLAB, BUILDING_SPIRE, BUILDING_SMITH,
                                           BUILDING_TECHLAB,  BUILDING_FARM,   BUILDING_HOUSE};
constexpr Resource kRingIncome[kRingSize] = {RESOURCE_FIRE,  RESOURCE_EARTH,   RESOURCE_MAGIC,
                                             RESOURCE_METAL, RESOURCE_PSYCHIC, RESOURCE_NATURE,
                                             RESOURCE_LIGHT};

// The whole tenths of a second on the clock, or -1 for a clock that is no number of tenths.
int64_t ClockTenths(double clock) {
    const double tenths = clock * 10.0;
    if (!std::isfinite(tenths) || std::fabs(tenths) > 9.0e15) {
        return -1;
    }
    return static_cast<int64_t>(tenths);
}

// True on the frame whose game time reaches the next whole warning period.
bool WarningDue(double clock, float dt) {
    if (!(dt > 0.0f) || !std::isfinite(clock) || !std::isfinite(dt)) {
        return false;
    }
    const double now = std::floor(clock / kWarningPeriod);
    const double before = std::floor((clock - static_cast<double>(dt)) / kWarningPeriod);
    return now > before;
}

} // namespace

void PlayerEditor::UpdateEconomy(float dt) {
    const int64_t tenths = ClockTenths(m_clock);
    if (tenths >= 0 && tenths % 10 == 1) {
        RecomputeIncome();
    }
    if (m_income[RESOURCE_POPULATION] - m_upkeep[RESOURCE_POPULATION] > 0.0f &&
        m_stock[RESOURCE_POPULATION] < 1.0f) {
        m_stock[RESOURCE_POPULATION] = 1.0f;
    }
    float delta[RESOURCE_COUNT];
    for (int i = 0; i < RESOURCE_COUNT; ++i) {
        const float net = m_income[i] - m_upkeep[i];
        delta[i] = static_cast<float>(static_cast<double>(net) * static_cast<double>(kRate[i]) *
                                      static_cast<double>(dt));
    }
    for (int i = 0; i < RESOURCE_COUNT; ++i) {
        m_stock[i] += delta[i];
    }
    if (WarningDue(m_clock, dt)) {
        const char* warning = nullptr;
        for (Resource resource : kWarningOrder) {
            if (delta[resource] < 0.0f) {
                warning = kNegativeWarning[resource];
            }
        }
        if (warning != nullptr && !m_tutorial && m_gameData != nullptr) {
            m_gameData->m_mailList.AddMail(warning, MAIL_INFO);
        }
    }
    // "Below 0" alone would let a NaN through for good.
    for (float& stock : m_stock) {
        if (!(stock >= 0.0f) || !std::isfinite(stock)) {
            stock = 0.0f;
        }
    }
}

void PlayerEditor::RecomputeIncome() {
    int32_t count[kBuildingCountSlots] = {};
    if (m_gameData != nullptr) {
        TileMap& map = m_gameData->m_tileMap;
        map.CountBuildings();
        for (size_t type = 0; type < kBuildingCountSlots && type < map.m_buildingCounts.size(); ++type) {
            count[type] = map.m_buildingCounts[type];
        }
    }
    int32_t n[kRingSize];
    for (int j = 0; j < kRingSize; ++j) {
        n[j] = count[kRing[j]];
    }
    for (int i = 0; i < RESOURCE_COUNT; ++i) {
        m_income[i] = 0.0f;
        m_upkeep[i] = 0.0f;
    }

    for (int j = 0; j < kRingSize; ++j) {
        const int prev = j == 0 ? kRingSize - 1 : j - 1;
        const int next = j == kRingSize - 1 ? 0 : j + 1;
        // The opposites wrap by six, not seven: the last kind shares its pair with the first.
        const int a = j + 4 > 6 ? j - 2 : j + 4;
        const int b = j + 3 > 6 ? j - 3 : j + 3;
        float r = static_cast<float>(n[j]) + 5.0f * std::sqrt(static_cast<float>(n[j]));
        if (n[j] != 0) {
            r += static_cast<float>((n[next] + n[prev]) / n[j]);
        }
        r -= std::sqrt(static_cast<float>(n[a] + n[b]));
        if (r < 0.0f) {
            r = 0.0f;
        }
        m_income[kRingIncome[j]] = r;
    }
    m_income[RESOURCE_DARKNESS] = 5.0f * static_cast<float>(count[BUILDING_KEEP]);

    float& population = m_stock[RESOURCE_POPULATION];
    float populationIncome = static_cast<float>(count[BUILDING_HOUSE]);
    if (population >= 1.0f) {
        populationIncome += 100.0f / population;
    }
    if (m_stock[RESOURCE_NATURE] <= 0.0f) {
        populationIncome = -populationIncome;
    }
    m_income[RESOURCE_MONEY] = population;

    for (const auto& unit : m_purchasedUnits) {
        unit->ComputeCost();
        const float g = unit->m_soldierCount * unit->Slots;
        const float* upkeep = unit->m_upkeep;
        m_upkeep[RESOURCE_FIRE] += upkeep[UPKEEP_FIRE] * g;
        m_upkeep[RESOURCE_EARTH] += upkeep[UPKEEP_EARTH] * g;
        m_upkeep[RESOURCE_LIGHT] += upkeep[UPKEEP_LIGHT] * g;
        m_upkeep[RESOURCE_NATURE] += upkeep[UPKEEP_NATURE] * g;
        m_upkeep[RESOURCE_MAGIC] += upkeep[UPKEEP_ICE] * g;
        m_upkeep[RESOURCE_METAL] += upkeep[UPKEEP_METAL] * g;
        m_upkeep[RESOURCE_PSYCHIC] += upkeep[UPKEEP_PSYCHIC] * g;
        m_upkeep[RESOURCE_DARKNESS] += upkeep[UPKEEP_DARK] * g;
        m_upkeep[RESOURCE_POPULATION] += upkeep[UPKEEP_POP] * g;
        m_upkeep[RESOURCE_MONEY] += upkeep[UPKEEP_MONEY] * g * 0.01f;
    }
    // The units' own nature upkeep is paid once, when they are bought; the people eat.
    m_upkeep[RESOURCE_NATURE] = population * 0.25f;

    const float growth = static_cast<float>(static_cast<double>(populationIncome) * 0.1);
    m_income[RESOURCE_POPULATION] = growth;
    const float housingCap = 5.0f * static_cast<float>(count[BUILDING_HOUSE]);
    if (housingCap <= population + growth) {
        m_income[RESOURCE_POPULATION] = 0.0f;
        population = housingCap;
    }

    m_upkeep[RESOURCE_MONEY] *= 100.0f;
    m_income[RESOURCE_MONEY] *= 100.0f;
}
