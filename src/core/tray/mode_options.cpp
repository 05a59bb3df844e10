#include "core/tray/mode_options.h"

namespace lumora {

float readSelectWall(Options& options) {
    std::string text = options.GetSetting(kSelectWall, "2");
    if (text == "3") {
        return 3.0f;
    }
    return 2.0f;
}

float readDirectWall(Options& options) {
    std::string text = options.GetSetting(kDirectWall, "1");
    if (text == "2") {
        return 2.0f;
    }
    if (text == "3") {
        return 3.0f;
    }
    return 1.0f;
}

} // namespace lumora
