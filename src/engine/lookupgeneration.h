// Managers that let their users keep look-ups stamp their entries with a generation. Generations are
// never reused, not even by a manager made where another was, so a stale stamp can never match.
#pragma once

#include <cstdint>

inline uint64_t NextLookupGeneration() {
    static uint64_t last = 0;
    return ++last;
}
