// libFuzzer target for the settings file reader. Any text parses without a crash; what it keeps
// is written out in a form that reads back to the same store (a second write is identical), and
// every quoted text reads back as the bytes it was made from.
#include "core/settings/memory_registry.h"
#include "core/settings/settings_format.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    lumora::MemoryRegistry first;
    lumora::parseSettings(text, first);
    const std::string written = lumora::serializeSettings(first);

    lumora::MemoryRegistry second;
    if (lumora::parseSettings(written, second).damaged() ||
        lumora::serializeSettings(second) != written) {
        std::abort(); // what the program writes must read back whole and unchanged
    }

    // quoteText gives the text with its quotes; unquoteText takes what stands between them.
    const std::string quoted = lumora::quoteText(text);
    std::string back;
    if (quoted.size() < 2 ||
        !lumora::unquoteText(std::string_view(quoted).substr(1, quoted.size() - 2), back) ||
        back != text) {
        std::abort(); // a quoted text must give back every byte
    }
    return 0;
}
