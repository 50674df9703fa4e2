#include "engine/krfilestamp.h"

#include <ctime>

#include <sys/stat.h>

namespace {

constexpr int64_t kSettleNs = 2'000'000'000;

int64_t Nanoseconds(const timespec& t) {
    return static_cast<int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

} // namespace

bool SettledFileStamp(const std::string& file, FileStamp& out) {
    timespec now{};
    struct stat info {};
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0 || ::stat(file.c_str(), &info) != 0) {
        return false;
    }
    out.device = static_cast<uint64_t>(info.st_dev);
    out.inode = static_cast<uint64_t>(info.st_ino);
    out.size = static_cast<int64_t>(info.st_size);
    out.modifiedNs = Nanoseconds(info.st_mtim);
    out.changedNs = Nanoseconds(info.st_ctim);
    const int64_t settled = Nanoseconds(now) - kSettleNs;
    return out.modifiedNs < settled && out.changedNs < settled;
}
