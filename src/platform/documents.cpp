#include "platform/documents.h"

#include <cstdlib>
#include <fstream>

namespace plat {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

bool IsAbsolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

// One line of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents" or an absolute path, in quotes.
std::string UserDirsEntry(const std::string& file, const std::string& home) {
    std::ifstream in(file);
    const std::string key = "XDG_DOCUMENTS_DIR=";
    std::string line;
    while (std::getline(in, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) {
            continue;
        }
        std::string value = line.substr(start + key.size());
        if (value.size() < 2 || value.front() != '"') {
            return "";
        }
        const size_t close = value.find('"', 1);
        if (close == std::string::npos) {
            return "";
        }
        value = value.substr(1, close - 1);
        if (value.rfind("$HOME", 0) == 0) {
            if (home.empty()) {
                return "";
            }
            value = home + value.substr(5);
        }
        return value;
    }
    return "";
}

// "/home/a/Documents/" and "/home/a/Documents" are one folder; the save paths add their own "/".
std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string FindDocumentsFolder() {
    const std::string explicitFolder = Env("XDG_DOCUMENTS_DIR");
    if (!explicitFolder.empty()) {
        return IsAbsolute(explicitFolder) ? explicitFolder : std::string();
    }
    const std::string home = Env("HOME");
    std::string config = Env("XDG_CONFIG_HOME");
    if (config.empty() && IsAbsolute(home)) {
        config = home + "/.config";
    }
    if (IsAbsolute(config)) {
        const std::string entry = UserDirsEntry(config + "/user-dirs.dirs", home);
        if (IsAbsolute(entry)) {
            return entry;
        }
    }
    return IsAbsolute(home) ? home + "/Documents" : std::string();
}

} // namespace

std::string DocumentsFolder() {
    return WithoutTrailingSlash(FindDocumentsFolder());
}

} // namespace plat
