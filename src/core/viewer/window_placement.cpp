#include "core/viewer/window_placement.h"

namespace lumora::viewer {

PointI centredOn(const RectI& screen, int frameWidth, int frameHeight) {
    return {screen.left + (screen.width - frameWidth) / 2,
            screen.top + (screen.height - frameHeight) / 2};
}

} // namespace lumora::viewer
