#include "engine/krconfig.h"

#include <filesystem>

namespace {

// "../Assets//a.xml" and "../Assets/a.xml" are one file and one entry.
std::string FileKey(const std::string& fileName) {
    return std::filesystem::path(fileName).lexically_normal().string();
}

// Built before the program's entry, so destroyed after the Engine and every screen.
[[maybe_unused]] const ConfigCache& g_builtBeforeEntry = ConfigCache::Instance();

} // namespace

ConfigCache& ConfigCache::Instance() {
    static ConfigCache cache;
    return cache;
}

const KRConfig* ConfigCache::Offer(std::unique_ptr<KRConfig> config) {
    if (!config) {
        return nullptr;
    }
    auto key = std::make_pair(FileKey(config->m_fileName), config->m_type);
    auto [entry, added] = m_configs.try_emplace(std::move(key), nullptr);
    if (added) {
        entry->second = std::move(config);
    }
    return entry->second.get();
}

const KRConfig* ConfigCache::Find(const std::string& fileName, const std::string& type) const {
    auto entry = m_configs.find(std::make_pair(FileKey(fileName), type));
    return entry != m_configs.end() ? entry->second.get() : nullptr;
}

void ConfigCache::ForgetFile(const std::string& fileName) {
    const std::string file = FileKey(fileName);
    // Keys are ordered by file first, so a file's entries lie together.
    auto first = m_configs.lower_bound(std::make_pair(file, std::string()));
    auto last = first;
    while (last != m_configs.end() && last->first.first == file) {
        m_forgotten.push_back(std::move(last->second));
        ++last;
    }
    m_configs.erase(first, last);
}

void ConfigCache::Destroy() {
    m_configs.clear();
    m_forgotten.clear();
}

void DestroyConfigCache() {
    ConfigCache::Instance().Destroy();
}
