#include "engine/krlog.h"

#include <cstdarg>
#include <cstdio>

namespace {

std::string FormatInto(size_t bufferSize, const char* format, va_list args) {
    std::string out(bufferSize, '\0');
    int written = std::vsnprintf(out.data(), bufferSize, format, args);
    if (written < 0) {
        return std::string();
    }
    out.resize(static_cast<size_t>(written) < bufferSize ? static_cast<size_t>(written) : bufferSize - 1);
    return out;
}

} // namespace

void InitLog() { std::setvbuf(stdout, nullptr, _IOLBF, 0); }

void LogLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void LogText(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

std::string FormatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = FormatInto(255, format, args);
    va_end(args);
    return out;
}

std::string FormatDebugText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = FormatInto(250, format, args);
    va_end(args);
    return out;
}

void PrintCheckFailure(const std::string& file, int line, const std::string& message) {
    LogLine(file + "(" + std::to_string(line) + ") : " + message);
}
