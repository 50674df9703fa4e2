// The log is standard output: one narrow line per message, flushed at the line end.
#pragma once

#include <string>

// Makes standard output line-buffered so that the log is seen as it happens.
void InitLog();
void LogLine(const std::string& line);
// Writes text without a line end; the next log text continues the same line.
void LogText(const std::string& text);

// printf-style formatting, capped at the size of the buffer the game formats into (255 bytes).
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same for the debug overlay's texts (250 bytes).
std::string FormatDebugText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// One line: the bare source file name, "(", the line number, ") : " and the message.
void PrintCheckFailure(const std::string& file, int line, const std::string& message);
