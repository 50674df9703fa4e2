// The kingdom's map and building files: read as a saved slot is loaded, then laid on a map. A file that
// is no map is tried as buildings on a map of the largest size. What the readers accept, the map must
// take whole: loading a slot does not look at the result again.
#include "fuzz_support.h"
#include "kingdom/mapfiles.h"
#include "kingdom/tilemap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FreshCache fresh;
    const std::string& file = fuzz::WriteInput(data, size);
    static TileMap map(kMaxMapSide, kMaxMapSide);
    if (std::unique_ptr<KRMapConfig> config = ReadMapFile(file, false)) {
        if (!ApplyMapConfig(map, *config)) {
            __builtin_trap();
        }
    }
    map.StartGrid(kMaxMapSide, kMaxMapSide);
    if (std::unique_ptr<BuildingConfig> config = ReadBuildingFile(file, false)) {
        if (!ApplyBuildingConfig(map, *config)) {
            __builtin_trap();
        }
    }
    return 0;
}
