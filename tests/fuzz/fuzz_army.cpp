// The army file of a realm: read as the save screen reads a slot, then restored into a realm.
#include "fuzz_support.h"
#include "realm/armyconfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FreshCache fresh;
    const std::string& file = fuzz::WriteInput(data, size);
    if (std::unique_ptr<ArmyConfig> army = ReadArmyFile(file, false)) {
        PlayerEditor realm(nullptr, nullptr);
        realm.ApplyArmyConfig(*army);
    }
    return 0;
}
