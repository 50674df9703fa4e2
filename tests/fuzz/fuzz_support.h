// The bytes of one fuzz input become a file of their own, so that every reader takes the path it takes
// in the game: open, size check, read, parse. The file lives as long as the process.
#pragma once

#include "engine/krconfig.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace fuzz {

inline const std::string& ScratchFile() {
    static const std::string file = [] {
        const char* folder = std::getenv("TMPDIR");
        std::string pattern = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                              "/thornvale-fuzz-XXXXXX.xml";
        int fd = ::mkstemps(pattern.data(), 4);
        if (fd < 0) {
            std::abort();
        }
        ::close(fd);
        std::atexit([] { ::unlink(ScratchFile().c_str()); });
        return pattern;
    }();
    return file;
}

// Writes the input over the scratch file and returns its name.
inline const std::string& WriteInput(const uint8_t* data, size_t size) {
    const std::string& file = ScratchFile();
    int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    size_t done = 0;
    while (fd >= 0 && done < size) {
        ssize_t wrote = ::write(fd, data + done, size - done);
        if (wrote <= 0) {
            std::abort();
        }
        done += static_cast<size_t>(wrote);
    }
    if (fd < 0 || ::close(fd) != 0) {
        std::abort();
    }
    return file;
}

// Each input is read anew: nothing cached from the one before may answer for it.
struct FreshCache {
    ~FreshCache() { DestroyConfigCache(); }
};

} // namespace fuzz
