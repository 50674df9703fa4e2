// Unit blueprints: the statistics of each unit type the merchants offer, read from one XML file whose
// root holds one element per type, named by the type, with one element per statistic.
#pragma once

#include "battle/krunit.h"
#include "engine/krconfig.h"

#include <memory>
#include <string>
#include <vector>

class KRUnitConfig : public KRConfig {
  public:
    explicit KRUnitConfig(const KRConfig& read) : KRConfig(read) {}

    std::string Describe() const override { return std::string(); }
    // A new KRUnitConfig with one unit per blueprint element, in document order.
    std::unique_ptr<KRConfig> CreateTyped() const override;

    std::vector<std::unique_ptr<KRUnit>> units;
};

// A new copy of the blueprint of that type, or null when the file cannot be read or has no such type.
// The file is read on every call, but its blueprints come from the first reading of the process.
std::unique_ptr<KRUnit> CreateUnitFromBlueprint(const std::string& typeName);
