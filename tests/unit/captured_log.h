// The game's log (standard output) as the tests read it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace logtest {

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Standard output while it lives.
class CapturedLog {
  public:
    CapturedLog() { testing::internal::CaptureStdout(); }
    ~CapturedLog() {
        if (!m_taken) {
            testing::internal::GetCapturedStdout();
        }
    }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    std::vector<std::string> Lines() {
        m_taken = true;
        return SplitLines(testing::internal::GetCapturedStdout());
    }

  private:
    bool m_taken = false;
};

// The lines the body writes.
inline std::vector<std::string> Captured(const std::function<void()>& body) {
    CapturedLog log;
    body();
    return log.Lines();
}

} // namespace logtest
