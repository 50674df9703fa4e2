// The two units of the player's own that every new realm starts with.
#include "battle/krunit.h"
#include "engine/engine.h"
#include "kingdom/gamedata.h"

#include <algorithm>
#include <iterator>

namespace {

struct DefaultRecord {
    const char* typeWord;
    const char* name;
    Race race;
    plat::Vector3 homePos; // x = column, z = row
    int32_t size;
    float hp;
    float battleHP;
    float str;
    float def;
    float attkSpd;
    int32_t range;
    const char* spriteFile;
};

const DefaultRecord kDefaultRecords[] = {
    {"Golem",
     "Primal Guardian",
     RACE_GOLEM,
     {11.0f, 0.0f, 13.0f},
     7,
     50.0f,
     50.0f,
     10.0f,
     5.0f,
     2.0f,
     1,
     "../Assets/Units/golem_unit.xml"},
    {"Demon",
     "Primal Mage",
     RACE_DEMON,
     {11.0f, 0.0f, 12.0f},
     5,
     1.0f,
     10.0f,
     20.0f,
     1.0f,
     2.0f,
     7,
     "../Assets/Units/demon_unit.xml"},
};

} // namespace

void GameData::BuildDefaultUnitRecords() {
    m_unitRecords.reserve(m_unitRecords.size() + std::size(kDefaultRecords));
    for (const DefaultRecord& record : kDefaultRecords) {
        KRUnit working(record.typeWord);
        working.Initialize();
        working.m_name = record.name;
        working.m_typeName = record.name;
        working.m_homePos = record.homePos;
        working.Size = record.size;
        working.m_soldierCount = static_cast<float>(record.size);
        working.HP = record.hp;
        working.m_battleHP = record.battleHP;
        working.STR = record.str;
        working.m_damage = record.str;
        working.DEF = record.def;
        working.AttkSpd = record.attkSpd;
        working.Range = record.range;
        working.m_cooldown = 0.0f;
        std::fill(std::begin(working.m_upkeep), std::end(working.m_upkeep), 0.0f);
        working.m_sprite.ApplyTextureConfig(record.spriteFile);
        working.m_race = record.race;
        // The copy builds its own squad of Size soldiers and has no channel group.
        m_unitRecords.push_back(working);
        // A group exists only where an engine's sound made it.
        if (Engine* engine = Engine::Current()) {
            working.Cleanup(*engine);
        }
    }
}

void GameData::SpawnPlayerUnits() {
    PlayerEditor* realm = m_playerEditor.get();
    if (realm == nullptr) {
        return;
    }
    float& money = realm->m_stock[RESOURCE_MONEY];
    const float savedMoney = money;
    money = 9999.0f;
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
    money = savedMoney;
}
