#include "core/text/texts.h"

#include "core/text/translation.h"

#include <cmath>
#include <cstdio>

namespace lumora {

std::string versionNumber() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

std::string versionCaption() {
    return std::string(kProductName) + " - v" + versionNumber();
}

namespace {
std::string twoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}
bool startsWith(const std::string& s, std::size_t at, const char* token) {
    return s.compare(at, std::char_traits<char>::length(token), token) == 0;
}
} // namespace

std::string formatDateTime(const DateTime& when, const std::string& pattern, const Clock& names) {
    std::string out;
    bool afterHour = false; // "mm" right after "hh:" is minutes
    for (std::size_t i = 0; i < pattern.size();) {
        if (startsWith(pattern, i, "dddd")) {
            out += names.weekdayName(when.weekday);
            i += 4;
        } else if (startsWith(pattern, i, "dd")) {
            out += twoDigits(when.day);
            i += 2;
        } else if (startsWith(pattern, i, "mmmm")) {
            out += names.monthName(when.month);
            i += 4;
        } else if (startsWith(pattern, i, "yyyy")) {
            out += std::to_string(when.year);
            i += 4;
        } else if (startsWith(pattern, i, "hh")) {
            out += twoDigits(when.hour);
            afterHour = true;
            i += 2;
            continue;
        } else if (startsWith(pattern, i, "mm")) {
            out += afterHour ? twoDigits(when.minute) : twoDigits(when.month);
            i += 2;
        } else if (startsWith(pattern, i, "ss")) {
            out += twoDigits(when.second);
            i += 2;
        } else {
            out += pattern[i];
            ++i;
            if (afterHour && pattern[i - 1] == ':') {
                continue; // keep "hh:" context for the following "mm"
            }
        }
        afterHour = false;
    }
    return out;
}

std::string clockCaption(const std::string& prefix, const DateTime& when, const Clock& names) {
    return prefix + " - " + formatDateTime(when, "dd mmmm yyyy", names) + " - " +
           formatDateTime(when, "hh:mm:ss", names);
}

std::string singleText(float value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e9f) {
        return std::to_string(static_cast<long long>(value));
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
    return buffer;
}

std::string fileSizeText(std::uintmax_t bytes) {
    const std::uintmax_t kilobytes = bytes / 1024;
    if (kilobytes > 1) {
        return compose(LUMORA_TR("Lumora", "%1 KB"), {std::to_string(kilobytes)});
    }
    return compose(LUMORA_TR("Lumora", "%1 Bytes"), {std::to_string(bytes)});
}

} // namespace lumora
