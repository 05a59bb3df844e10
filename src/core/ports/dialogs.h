#pragma once
// Modal dialogs and message boxes. A cancel is told apart from a choice.
#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

enum class MessageIcon { None, Information, Warning, Critical, Question };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The colour dialog, preset with `initial` (0x00BBGGRR) when given. Nothing on cancel.
    virtual std::optional<std::uint32_t> chooseColor(std::optional<std::uint32_t> initial) = 0;
    // An open-file dialog starting at `initialPath`. Nothing on cancel.
    virtual std::optional<std::string> openFile(const std::string& title,
                                                const std::string& initialPath,
                                                const std::string& filter) = 0;
    // A modal box with an OK button.
    virtual void messageBox(const std::string& text, const std::string& title,
                            MessageIcon icon) = 0;
};

} // namespace lumora
