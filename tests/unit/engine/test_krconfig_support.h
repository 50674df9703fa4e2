// Helpers shared by the configuration layer's tests: a scratch folder, files, the captured log.
#pragma once

#include "captured_log.h"
#include "engine/krconfig.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace krconfig_test {

namespace fs = std::filesystem;
using logtest::CapturedLog;
using logtest::SplitLines;

// tests/data/config in the source tree, found from this file's own path.
inline std::string DataFile(const std::string& name) {
    return (fs::path(__FILE__).parent_path() / ".." / ".." / "data" / "config" / name)
        .lexically_normal()
        .string();
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A fresh folder per test, removed with everything in it.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "krconfig-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        const char* made = ::mkdtemp(buffer.data());
        if (made != nullptr) {
            m_path = made;
        }
    }
    ~ScratchDir() {
        std::error_code error;
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(m_path, error);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    bool Ok() const { return !m_path.empty(); }
    std::string Path(const std::string& name) const { return (fs::path(m_path) / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::string path = Path(name);
        WriteBytes(path, bytes);
        return path;
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(m_path, error)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    const std::string& Root() const { return m_path; }

  private:
    std::string m_path;
};

// Every test starts and ends with an empty cache, since it lives for the whole process.
class ConfigTest : public testing::Test {
  protected:
    void SetUp() override {
        DestroyConfigCache();
        ASSERT_TRUE(m_dir.Ok());
    }
    void TearDown() override { DestroyConfigCache(); }

    ScratchDir m_dir;
};

} // namespace krconfig_test
