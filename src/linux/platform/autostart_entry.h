#pragma once
// Start at logon through the per-user XDG autostart entry
// $XDG_CONFIG_HOME/autostart/lumora.desktop. "Off" keeps the file and marks it Hidden=true.
#include "core/ports/autostart.h"

#include <optional>
#include <string>

namespace lumora {

class AutostartEntry : public Autostart {
public:
    // The entry in `configHome`/autostart; by default $XDG_CONFIG_HOME, else ~/.config.
    explicit AutostartEntry(std::optional<std::string> configHome = std::nullopt);

    // Writes the whole entry atomically. False when it could not be written (the old file, if
    // any, is left as it was) or when the path cannot be put into an entry.
    bool write(const std::string& programPath, bool enabled) override;
    // An entry is on disk and not marked Hidden=true.
    bool isEnabled() const override;

    std::string filePath() const { return m_file; }

    // The text of the entry for `programPath`; nothing when the path holds a control character
    // other than tab, line feed and carriage return, which an entry cannot carry.
    static std::optional<std::string> entryText(const std::string& programPath, bool enabled);
    // The program path as one argument of an Exec line, quoted by the Exec rules, with "%"
    // doubled and then escaped for a string value.
    static std::optional<std::string> execValue(const std::string& programPath);

private:
    std::string m_file;
};

} // namespace lumora
