#pragma once
// The XDG base directories, by the base-directory rule: a variable that
// is unset, empty or not an absolute path is ignored and the default under $HOME is used.
#include <QString>

namespace lumora {

enum class XdgDir {
    Config,  // $XDG_CONFIG_HOME, default ~/.config
    Data,    // $XDG_DATA_HOME, default ~/.local/share
    Cache,   // $XDG_CACHE_HOME, default ~/.cache
    Runtime, // $XDG_RUNTIME_DIR when it is an existing folder; the temporary folder otherwise
};

// The folder, cleaned, without a trailing slash.
QString xdgDir(XdgDir which);

} // namespace lumora
