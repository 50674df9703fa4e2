// What the save and load tests share: the damaged files under tests/data/savefiles, a scratch folder
// removed with everything in it, and a file's text.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace savetest {

namespace fs = std::filesystem;

inline std::string DataFile(const std::string& name) {
    return (fs::path(__FILE__).parent_path() / ".." / "data" / "savefiles" / name)
        .lexically_normal()
        .string();
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

class Scratch {
  public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "thornvale-save-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data()) != nullptr) {
            m_root = buffer.data();
        }
    }
    ~Scratch() {
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(m_root, error)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
        fs::remove_all(m_root, error);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    // Ends in "/".
    std::string Folder() const { return m_root + "/"; }

  private:
    std::string m_root;
};

// An environment variable for the life of the object.
class EnvVar {
  public:
    EnvVar(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
            m_had = true;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~EnvVar() {
        if (m_had) {
            ::setenv(m_name.c_str(), m_old.c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

  private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

} // namespace savetest
