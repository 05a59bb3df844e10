#pragma once
// The texts of the about and help windows, made the same way in every edition.
#include "core/ports/clock.h"

#include <cstdint>
#include <string>

namespace lumora {

// The author's contact address, behind the about window's hot spot.
inline constexpr const char* kContactAddress = "lumora@example.org";

// Label1 of the about window by how it was opened: TimShw 0 "Wednesday 03 February 2027 -
// 09:05:07", 1 the same without the seconds, any other value empty.
std::string aboutClockText(std::int16_t timShw, const DateTime& when, const Clock& names);
// Label2 of the about window: "v2.2.4".
std::string aboutVersionText();
// The tooltip of the about window's hot spot: "E-mail: " and the contact address.
std::string aboutContactTip();
// The help window's caption: "Lumora Help - v2.2.4 - 03 February 2027 - 09:05:07".
std::string helpCaption(const DateTime& when, const Clock& names);

} // namespace lumora
