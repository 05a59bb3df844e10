#include "platform/desktop/failure_log.h"

#include "platform/linux/picture_file.h"

#include <cstdio>

namespace lumora {

DesktopResult FailureLog::fail(const std::string& reason) {
    if (m_told.insert(reason).second) {
        std::fprintf(stderr, "lumora: %s desktop: %s\n", m_backend.c_str(), reason.c_str());
    }
    return DesktopResult::failure(reason);
}

DesktopResult FailureLog::checkPicturePath(const std::string& path) {
    if (path.empty()) {
        return DesktopResult::success();
    }
    const std::string problem = picturePathProblem(path);
    return problem.empty() ? DesktopResult::success() : fail("picture refused: " + problem);
}

} // namespace lumora
