// Numbers read from saved files, as atof and atoi read them (leading blanks, then the longest number;
// nothing is 0), but never undefined: an integer past the 32-bit range stops at its end, and a float
// tells whether it is finite.
#pragma once

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

inline int32_t FileInt(const std::string& text) {
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

// False for "nan", "inf" and values past the float range; value is then 0.
inline bool FileFloat(const std::string& text, float& value) {
    const double read = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(read) || std::fabs(read) > std::numeric_limits<float>::max()) {
        value = 0.0f;
        return false;
    }
    value = static_cast<float>(read);
    return true;
}
