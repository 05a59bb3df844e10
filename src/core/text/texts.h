#pragma once
// Fixed texts, the version caption, and date and time formatting.
#include "core/ports/clock.h"

#include <cstdint>
#include <string>

namespace lumora {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 2;
inline constexpr int kVersionRevision = 4;
inline constexpr const char* kProductName = "Lumora";

// Two-line texts join their lines with a line feed followed by a carriage return.
inline constexpr const char* kLineBreak = "\n\r";

// A stored number's text: whole numbers without a decimal point ("2"), others as "2.5".
std::string singleText(float value);
// A file length as the information panel shows it: "2047 Bytes" below 2,048 bytes, then whole
// kilobytes, the fraction dropped ("2 KB", "976 KB").
std::string fileSizeText(std::uintmax_t bytes);

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
