// The kingdom's map and building files: read as a saved slot is loaded, then laid on a map. A file that
// is no map is tried as buildings on a map of the largest size.
#include "fuzz_support.h"
#include "kingdom/mapfiles.h"
#include "kingdom/tilemap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FreshCache fresh;
    const std::string& file = fuzz::WriteInput(data, size);
    TileMap map(kMaxMapSide, kMaxMapSide);
    if (std::unique_ptr<KRMapConfig> config = ReadMapFile(file, false)) {
        ApplyMapConfig(map, *config);
    }
    if (std::unique_ptr<BuildingConfig> config = ReadBuildingFile(file, false)) {
        ApplyBuildingConfig(map, *config);
    }
    return 0;
}
