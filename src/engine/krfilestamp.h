// What a file looked like when it was last read, so that reading it again can be skipped while it
// stays the same.
#pragma once

#include <cstdint>
#include <string>

struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// True when the file's stamp can stand for its contents: it exists and was last changed well before
// now. A file changed in the last seconds may change again within one tick of the file system's clock
// and keep its stamp, so it is always read anew.
bool SettledFileStamp(const std::string& file, FileStamp& out);
