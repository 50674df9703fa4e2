#include "battle/krunit.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"

#include <algorithm>
#include <iterator>

namespace {

// Enough to buy the records whatever they cost; the stock is given back afterwards.
constexpr float kSpawnMoney = 9999.0f;

} // namespace

void GameData::SpawnPlayerUnits() {
    PlayerEditor* realm = m_playerEditor.get();
    if (realm == nullptr) {
        return;
    }
    float& money = realm->m_stock[RESOURCE_MONEY];
    const float saved = money;
    money = kSpawnMoney;
    for (const KRUnit& record : m_unitRecords) {
        KRUnit copy(record);
        copy.m_sprite.m_visible = false;
        realm->m_purchaseGroupSize = copy.m_soldierCount;
        realm->CreatePurchasedUnit(&copy);
    }
    realm->m_purchaseGroupSize = 1.0f;
    for (const auto& unit : realm->m_purchasedUnits) {
        AddPlayerUnit(unit.get());
        std::fill(std::begin(unit->m_upkeep), std::end(unit->m_upkeep), 0.0f);
    }
    money = saved;
}
