#include "core/text/window_texts.h"

#include "core/text/texts.h"
#include "core/text/translation.h"

namespace lumora {

std::string aboutClockText(std::int16_t timShw, const DateTime& when, const Clock& names) {
    if (timShw == 0) {
        return formatDateTime(when, "dddd dd mmmm yyyy", names) + " - " +
               formatDateTime(when, "hh:mm:ss", names);
    }
    if (timShw == 1) {
        return formatDateTime(when, "dddd dd mmmm yyyy", names) + " - " +
               formatDateTime(when, "hh:mm", names);
    }
    return {};
}

std::string aboutVersionText() {
    return "v" + versionNumber();
}

std::string aboutContactTip() {
    return compose(LUMORA_TR("Lumora", "E-mail: %1"), {kContactAddress});
}

std::string helpCaption(const DateTime& when, const Clock& names) {
    const std::string prefix = compose(LUMORA_TR("Lumora", "Lumora Help - v%1"), {versionNumber()});
    return clockCaption(prefix, when, names);
}

} // namespace lumora
