// The server's log: one line per event on standard error, stamped with the
// local time ("2026-12-08 10:15:02 Client connected").
//
// Texts are in the ANSI code page and are written as UTF-8; line breaks
// inside a text are written as blanks, so every event stays one line.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace Vdei {

// The line for text at time, without its line feed.
std::string StatusLogLine(std::time_t time, std::string_view text);
// Writes the line for text at the current time, and flushes it.
void LogStatus(std::string_view text);

}  // namespace Vdei
