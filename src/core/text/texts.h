#pragma once
// Fixed texts, the version caption, and date and time formatting.
#include "core/ports/clock.h"

#include <string>

namespace lumora {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 2;
inline constexpr int kVersionRevision = 4;
inline constexpr const char* kProductName = "Lumora";

// Two-line texts join their lines with a line feed followed by a carriage return.
inline constexpr const char* kLineBreak = "\n\r";

// "2.2.4"
std::string versionNumber();
// "Lumora - v2.2.4"
std::string versionCaption();

// Formats a date and time with the patterns the program uses: "dddd" full weekday name, "dd"
// two-digit day, "mmmm" full month name, "yyyy" four-digit year, "hh" 00-23, "mm" minutes when
// after "hh:" (otherwise the two-digit month), "ss" seconds. Other characters are copied.
std::string formatDateTime(const DateTime& when, const std::string& pattern, const Clock& names);

// "Lumora - v2.2.4 - 03 February 2027 - 09:05:07"
std::string clockCaption(const std::string& prefix, const DateTime& when, const Clock& names);

} // namespace lumora
