#include "realm/armyconfig.h"

#include "engine/krfilenumbers.h"
#include "engine/krlog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const char* const kResourceNames[RESOURCE_COUNT] = {"Fire",  "Earth",   "Light",    "Nature", "Magic",
                                                    "Metal", "Psychic", "Darkness", "Money",  "Population"};
const char* const kMasteryNames[MASTERY_COUNT] = {
    "BioMastery", "MagicMastery", "Commander", "Berserker", "Fatality", "SharpenedAttacks", "HardenedSkin"};
const char* const kUpkeepNames[UPKEEP_COUNT] = {"UpKeepFire", "UpKeepEarth", "UpKeepLight",   "UpKeepNature",
                                                "UpKeepIce",  "UpKeepMetal", "UpKeepPsychic", "UpKeepMoney",
                                                "UpKeepPop",  "UpKeepDark"};

std::string Float(float value) {
    return FormatString("%f", static_cast<double>(value));
}

std::string Double(double value) {
    return FormatString("%f", value);
}

std::string Int(int32_t value) {
    return FormatString("%d", value);
}

ConfigNode Value(const char* name, const std::string& text) {
    return ConfigNode(name, text, true);
}

// Only element children; an empty section is written as an empty element.
ConfigNode Section(const char* name) {
    return ConfigNode(name, "", false);
}

void AddMasteryValues(ConfigNode& node, const float (&values)[MASTERY_COUNT]) {
    for (int i = 0; i < MASTERY_COUNT; ++i) {
        node.AddChild(Value(kMasteryNames[i], Float(values[i])));
    }
}

// HP to Cost, then the ten upkeep values in the unit's own order.
void AddUnitValues(ConfigNode& node, const KRUnit& unit) {
    node.AddChild(Value("HP", Float(unit.HP)));
    node.AddChild(Value("STR", Float(unit.STR)));
    node.AddChild(Value("VIT", Float(unit.VIT)));
    node.AddChild(Value("DEF", Float(unit.DEF)));
    node.AddChild(Value("MoveSpd", Float(unit.MoveSpd)));
    node.AddChild(Value("Range", Int(unit.Range)));
    node.AddChild(Value("Accuracy", Float(unit.Accuracy)));
    node.AddChild(Value("AttkSpd", Float(unit.AttkSpd)));
    node.AddChild(Value("Force", Float(unit.Force)));
    node.AddChild(Value("Evade", Float(unit.Evade)));
    node.AddChild(Value("Energy", Float(unit.Energy)));
    node.AddChild(Value("Slots", Float(unit.Slots)));
    node.AddChild(Value("Cost", Float(unit.Cost)));
    for (int i = 0; i < UPKEEP_COUNT; ++i) {
        node.AddChild(Value(kUpkeepNames[i], Float(unit.m_upkeep[i])));
    }
}

const ConfigNode* FindSection(const std::vector<ConfigNode>& nodes, const char* name) {
    for (const ConfigNode& node : nodes) {
        if (node.m_name == name) {
            return &node;
        }
    }
    return nullptr;
}

// Reads the file's numbers and remembers the first that is not finite.
class NumberReader {
  public:
    float Read(const ConfigNode& node, const char* name) {
        float value = 0.0f;
        if (!FileFloat(node.GetChildValue(name), value) && m_bad.empty()) {
            m_bad = name;
        }
        return value;
    }
    // The clock alone keeps a double's precision; a float range would cut a long campaign short.
    double ReadClock(const ConfigNode& node, const char* name) {
        const double value = std::strtod(node.GetChildValue(name).c_str(), nullptr);
        if (!std::isfinite(value)) {
            if (m_bad.empty()) {
                m_bad = name;
            }
            return 0.0;
        }
        return value;
    }
    void ReadMasteries(const ConfigNode& node, float (&values)[MASTERY_COUNT]) {
        for (int i = 0; i < MASTERY_COUNT; ++i) {
            values[i] = Read(node, kMasteryNames[i]);
        }
    }
    void ReadUnit(const ConfigNode& node, KRUnit& unit) {
        unit.HP = Read(node, "HP");
        unit.STR = Read(node, "STR");
        unit.VIT = Read(node, "VIT");
        unit.DEF = Read(node, "DEF");
        unit.MoveSpd = Read(node, "MoveSpd");
        unit.Range = FileInt(node.GetChildValue("Range"));
        unit.Accuracy = Read(node, "Accuracy");
        unit.Cost = Read(node, "Cost");
        unit.AttkSpd = Read(node, "AttkSpd");
        unit.Evade = Read(node, "Evade");
        unit.Energy = Read(node, "Energy");
        unit.Force = Read(node, "Force");
        unit.Slots = Read(node, "Slots");
        for (int i = 0; i < UPKEEP_COUNT; ++i) {
            unit.m_upkeep[i] = Read(node, kUpkeepNames[i]);
        }
    }
    const std::string& Bad() const { return m_bad; }

  private:
    std::string m_bad;
};

// Far past what any game reaches, and far from where the clock loses its tenths, a war's next level
// overflows or land stops counting in whole tiles: a file beyond them was not written by a game.
constexpr double kMaxGameTime = 1.0e9;
constexpr int32_t kMaxLevel = 1000000;
constexpr float kMaxLand = 1.0e6f;
constexpr float kMaxStrengthFactor = 1.0e5f;

// Each wave adds at most 60 times the strength of its day to the budget, and 0.1 to the strength.
float MaxInvasionBudget(float strength) {
    const float waves = (strength - kNewGameStrengthFactor) * 10.0f + 1.0f;
    return kNewGameInvasionBudget + 60.0f * waves * strength;
}

std::string Stamp(const std::string& text) {
    return text.substr(0, kMaxStampLength);
}

} // namespace

ArmyConfig::ArmyConfig(const std::string& file, const std::string& type) : KRConfig(file, "ArmyData", type) {}

void WriteArmyTree(ArmyConfig& config) {
    const ArmyDataBlock& block = config.m_block;
    ConfigNode resource = Section("Resource");
    resource.AddChild(Value("Difficulty", Float(block.Difficulty)));
    for (int i = 0; i < RESOURCE_COUNT; ++i) {
        resource.AddChild(Value(kResourceNames[i], Float(block.resources[i])));
    }
    resource.AddChild(Value("GameTime", Double(block.GameTime)));
    resource.AddChild(Value("DateStamp", block.DateStamp));
    resource.AddChild(Value("TimeStamp", block.TimeStamp));
    resource.AddChild(Value("Land", Float(block.Land)));
    resource.AddChild(Value("Level", Int(block.Level)));
    resource.AddChild(Value("StrengthFactor", Float(block.StrengthFactor)));
    resource.AddChild(Value("InvasionBudget", Float(block.InvasionBudget)));
    config.m_nodes.push_back(std::move(resource));

    ConfigNode mastery = Section("Mastery");
    ConfigNode& current = mastery.AddChild(Section("Current"));
    current.AddChild(Value("Points", Int(block.Points)));
    AddMasteryValues(current, block.Current);
    AddMasteryValues(mastery.AddChild(Section("Mod")), block.Mod);
    AddMasteryValues(mastery.AddChild(Section("NextMod")), block.NextMod);
    config.m_nodes.push_back(std::move(mastery));

    ConfigNode tech = Section("Tech");
    for (const KRUnit* unit : config.m_writeTech) {
        AddUnitValues(tech.AddChild(Section(RaceToName(unit->m_race).c_str())), *unit);
    }
    config.m_nodes.push_back(std::move(tech));

    ConfigNode units = Section("Unit");
    for (const KRUnit* unit : config.m_writeUnits) {
        ConfigNode& node = units.AddChild(Section(RaceToName(unit->m_race).c_str()));
        node.AddChild(Value("Size", Int(static_cast<int32_t>(unit->m_soldiers.size()))));
        node.AddChild(Value("Visible", Int(unit->m_sprite.m_visible ? 1 : 0)));
        node.AddChild(Value("MapX", Float(unit->m_pos.x)));
        node.AddChild(Value("MapY", Float(unit->m_pos.y)));
        node.AddChild(Value("MapZ", Float(unit->m_pos.z)));
        AddUnitValues(node, *unit);
    }
    config.m_nodes.push_back(std::move(units));
}

std::unique_ptr<KRConfig> ArmyConfig::CreateTyped() const {
    auto typed = std::make_unique<ArmyConfig>(static_cast<const KRConfig&>(*this));
    ArmyDataBlock& block = typed->m_block;
    NumberReader numbers;

    if (m_elementName != "ArmyData") {
        typed->m_damage = "no ArmyData root";
        return typed;
    }
    // Without a Resource section the stocks, clock and stamps stay 0 and empty.
    if (const ConfigNode* resource = FindSection(m_nodes, "Resource")) {
        block.Difficulty = numbers.Read(*resource, "Difficulty");
        for (int i = 0; i < RESOURCE_COUNT; ++i) {
            block.resources[i] = numbers.Read(*resource, kResourceNames[i]);
        }
        block.GameTime = numbers.ReadClock(*resource, "GameTime");
        block.DateStamp = Stamp(resource->GetChildValue("DateStamp"));
        block.TimeStamp = Stamp(resource->GetChildValue("TimeStamp"));
        block.GameTime = std::clamp(block.GameTime, 0.0, kMaxGameTime);
        if (resource->FindChild("Land") != nullptr) {
            block.Land = std::clamp(numbers.Read(*resource, "Land"), 0.0f, kMaxLand);
        }
        if (resource->FindChild("Level") != nullptr) {
            block.Level = std::clamp(FileInt(resource->GetChildValue("Level")), 0, kMaxLevel);
        }
        if (resource->FindChild("StrengthFactor") != nullptr) {
            block.StrengthFactor = std::clamp(numbers.Read(*resource, "StrengthFactor"),
                                              kNewGameStrengthFactor, kMaxStrengthFactor);
        }
        if (resource->FindChild("InvasionBudget") != nullptr) {
            block.InvasionBudget = std::clamp(numbers.Read(*resource, "InvasionBudget"), 0.0f,
                                              MaxInvasionBudget(block.StrengthFactor));
        }
    }

    if (const ConfigNode* mastery = FindSection(m_nodes, "Mastery")) {
        if (const ConfigNode* current = mastery->FindChild("Current")) {
            block.Points = std::max(0, FileInt(current->GetChildValue("Points")));
            numbers.ReadMasteries(*current, block.Current);
        }
        if (const ConfigNode* mod = mastery->FindChild("Mod")) {
            numbers.ReadMasteries(*mod, block.Mod);
        }
        if (const ConfigNode* next = mastery->FindChild("NextMod")) {
            numbers.ReadMasteries(*next, block.NextMod);
        }
    }

    const ConfigNode* tech = FindSection(m_nodes, "Tech");
    const ConfigNode* units = FindSection(m_nodes, "Unit");
    if ((tech != nullptr && tech->m_children.size() > kMaxArmyRecords) ||
        (units != nullptr && units->m_children.size() > kMaxArmyRecords)) {
        typed->m_damage = FormatString("more than %zu units in a roster", kMaxArmyRecords);
        return typed;
    }
    if (tech != nullptr) {
        for (const auto& node : tech->m_children) {
            auto unit = std::make_unique<KRUnit>(node->m_name);
            unit->m_typeName = node->m_name;
            numbers.ReadUnit(*node, *unit);
            unit->m_race = RaceFromName(node->m_name);
            block.Tech.push_back(std::move(unit));
        }
    }
    if (units != nullptr) {
        for (const auto& node : units->m_children) {
            KRUnit working(node->m_name);
            FileInt(node->GetChildValue("Visible")); // read, and of no further use
            working.m_typeName = node->m_name;
            working.Size = std::clamp(FileInt(node->GetChildValue("Size")), 0, kMaxSquadSize);
            working.m_soldierCount = static_cast<float>(working.Size);
            working.m_pos = {numbers.Read(*node, "MapX"), numbers.Read(*node, "MapY"),
                             numbers.Read(*node, "MapZ")};
            numbers.ReadUnit(*node, working);
            working.m_race = RaceFromName(node->m_name);
            block.Unit.push_back(std::make_unique<KRUnit>(working));
        }
    }
    if (!numbers.Bad().empty()) {
        typed->m_damage = "the number of " + numbers.Bad() + " is not finite";
    }
    return typed;
}

std::unique_ptr<ArmyConfig> ReadArmyFile(const std::string& file, bool useCache) {
    KRConfig read = ReadConfig(file);
    std::unique_ptr<ArmyConfig> army;
    if (read.m_fileName != kConfigErrorFile) {
        army =
            useCache ? TypedConfig<ArmyConfig>(read) : ConfigCast<ArmyConfig>(ArmyConfig(read).CreateTyped());
    }
    if (!army || !army->m_damage.empty()) {
        LogLine("Fail to load ArmyData from " + file + (army ? ": " + army->m_damage : std::string()));
        return nullptr;
    }
    return army;
}
