// The army data file "armydata.xml": the realm's stocks, clock, save date and time, masteries, and its
// technology and purchased units. Floats are written with "%f", so nothing is lost; older files with
// whole numbers read the same way.
#pragma once

#include "battle/krunit.h"
#include "engine/krconfig.h"
#include "realm/playereditor.h"

#include <memory>
#include <string>
#include <vector>

// No roster holds more; a file with more is taken for damaged.
inline constexpr size_t kMaxArmyRecords = 1000;
// A squad has 0 to 9 soldiers.
inline constexpr int32_t kMaxSquadSize = 9;
inline constexpr size_t kMaxStampLength = 32;

struct ArmyDataBlock {
    float resources[RESOURCE_COUNT] = {};
    float Difficulty = 0.0f;
    int32_t Points = 0;
    float Current[MASTERY_COUNT] = {};
    float Mod[MASTERY_COUNT] = {};
    float NextMod[MASTERY_COUNT] = {};
    double GameTime = 0.0;
    // Path allowance, wave level and the waves' strength; a file from before they were kept reads as a
    // new game's.
    float Land = 1.0f;
    int32_t Level = 0;
    float StrengthFactor = kNewGameStrengthFactor;
    float InvasionBudget = kNewGameInvasionBudget;
    std::string DateStamp;
    std::string TimeStamp;
    // Built by the reader; whoever applies the file takes them over.
    std::vector<std::unique_ptr<KRUnit>> Tech;
    std::vector<std::unique_ptr<KRUnit>> Unit;
};

class ArmyConfig : public KRConfig {
  public:
    // A writer's configuration with the root "ArmyData".
    ArmyConfig(const std::string& file, const std::string& type);
    // A read tree, before CreateTyped.
    explicit ArmyConfig(const KRConfig& read) : KRConfig(read) {}

    std::string Describe() const override { return "Getting Building Config Data..."; }
    // The block rebuilt from the read tree, its units new.
    std::unique_ptr<KRConfig> CreateTyped() const override;

    ArmyDataBlock m_block;
    // The units a save writes, borrowed from the realm's rosters.
    std::vector<const KRUnit*> m_writeTech;
    std::vector<const KRUnit*> m_writeUnits;
    // Why the read tree is not a realm; empty when it is.
    std::string m_damage;
};

// The element tree of a filled configuration, ready for WriteConfig.
void WriteArmyTree(ArmyConfig& config);

// A checked army file: root "ArmyData" with its Resource section, finite numbers and at most
// kMaxArmyRecords units per roster. Null, after one line naming the file, when it is not. Without the
// cache the file is read as it is now.
std::unique_ptr<ArmyConfig> ReadArmyFile(const std::string& file, bool useCache);
