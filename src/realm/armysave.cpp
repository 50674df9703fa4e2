// Saving the realm into an army data file and restoring it from one.
#include "realm/armyconfig.h"

#include "engine/krlog.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"

#include <algorithm>
#include <ctime>

namespace {

constexpr const char* kRestoredBaseUnitName = "New Base Unit";
constexpr const char* kRestoredPurchasedUnitName = "New Purchased Unit";

void StampSaveTime(ArmyDataBlock& block) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    block.DateStamp = FormatString("%d/%d/%d", utc.tm_mday, utc.tm_mon + 1, utc.tm_year + 1900);
    block.TimeStamp = FormatString("%d:%d:%d", utc.tm_hour, utc.tm_min, utc.tm_sec);
}

} // namespace

bool PlayerEditor::SaveArmyData(const std::string& type, const std::string& file) const {
    ArmyConfig config(file, type + FormatString("%lld", static_cast<long long>(std::time(nullptr))));
    ArmyDataBlock& block = config.m_block;
    std::copy(std::begin(m_stock), std::end(m_stock), std::begin(block.resources));
    block.GameTime = m_clock;
    block.Land = m_land;
    block.Level = m_level;
    block.StrengthFactor = m_strengthFactor;
    block.InvasionBudget = m_invasionBudget;
    for (const auto& unit : m_baseUnits) {
        config.m_writeTech.push_back(unit.get());
    }
    for (const auto& unit : m_purchasedUnits) {
        config.m_writeUnits.push_back(unit.get());
    }
    block.Points = m_masteryPoints;
    std::copy(std::begin(m_masteryLevel), std::end(m_masteryLevel), std::begin(block.Current));
    std::copy(std::begin(m_masteryMod), std::end(m_masteryMod), std::begin(block.Mod));
    std::copy(std::begin(m_masteryNextMod), std::end(m_masteryNextMod), std::begin(block.NextMod));
    StampSaveTime(block);
    LogLine("Saving ArmyData...");
    WriteArmyTree(config);
    if (!WriteConfig(config)) {
        LogLine("Failed to save ArmyData to " + file);
        return false;
    }
    LogLine("Completed Saving ArmyData...");
    return true;
}

bool PlayerEditor::ApplyArmyData(const std::string& file) {
    std::unique_ptr<ArmyConfig> config = ReadArmyFile(file, true);
    if (!config) {
        return false;
    }
    ApplyArmyConfig(*config);
    return true;
}

void PlayerEditor::ApplyArmyConfig(ArmyConfig& config) {
    ArmyDataBlock& block = config.m_block;
    m_clock = block.GameTime;
    m_land = block.Land;
    m_level = block.Level;
    m_strengthFactor = block.StrengthFactor;
    m_invasionBudget = block.InvasionBudget;
    m_masteryPoints = block.Points;
    std::copy(std::begin(block.Current), std::end(block.Current), std::begin(m_masteryLevel));
    std::copy(std::begin(block.Mod), std::end(block.Mod), std::begin(m_masteryMod));
    std::copy(std::begin(block.NextMod), std::end(block.NextMod), std::begin(m_masteryNextMod));

    // Re-created as they were: nothing is charged and nothing refused.
    for (auto& unit : block.Tech) {
        m_purchaseGroupSize = unit->m_soldierCount;
        unit->m_name = kRestoredBaseUnitName;
        RestoreBaseUnit(std::move(unit));
    }
    for (auto& unit : block.Unit) {
        // A group of no soldiers would divide upkeep by zero in later purchases.
        m_purchaseGroupSize = std::clamp(unit->m_soldierCount, 1.0f, static_cast<float>(kMaxSquadSize));
        unit->m_name = kRestoredPurchasedUnitName;
        KRUnit& placed = *unit;
        RestorePurchasedUnit(std::move(unit));
        if (!placed.m_sprite.m_visible || placed.m_pos.x == 0.0f || placed.m_pos.z == 0.0f) {
            continue;
        }
        placed.Initialize();
        placed.m_homePos = placed.m_pos;
        placed.m_lifeState = UNIT_ACTIVE;
        placed.m_sprite.m_visible = false;
        KRUnit::RemoveDeadMiniUnits(&placed);
        placed.m_boundingBox.m_position = {placed.m_pos.x, 0.0f, -placed.m_pos.z};
        if (m_gameData != nullptr) {
            m_gameData->AddPlayerUnit(&placed);
        }
    }
    block.Tech.clear();
    block.Unit.clear();
    std::copy(std::begin(block.resources), std::end(block.resources), std::begin(m_stock));
}

void PlayerEditor::UnhighlightButton(int32_t actionId) {
    if (BoxObject* box = FirstBoxWithId(actionId)) {
        box->Disable();
        box->m_frozen = true;
    }
}

void PlayerEditor::HighlightButton(int32_t actionId) {
    if (BoxObject* box = FirstBoxWithId(actionId)) {
        box->Enable();
        box->m_frozen = false;
    }
}

BoxObject* PlayerEditor::FirstBoxWithId(int32_t actionId) const {
    if (m_gameData == nullptr) {
        return nullptr;
    }
    for (const auto& box : m_gameData->m_hudBoxes) {
        if (box != nullptr && box->m_actionId == actionId) {
            return box.get();
        }
    }
    return nullptr;
}
