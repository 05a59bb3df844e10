#include "linux/desktop/failure_log.h"

#include "linux/platform/picture_file.h"

#include <QString>

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
    if (const std::string problem = picturePathProblem(path); !problem.empty()) {
        return fail("picture refused: " + problem);
    }
    // The desktop decodes the picture later, out of our sight: what its header says is read
    // here, so a file that is no picture, or one larger than the program itself would decode,
    // is reported failed instead of handed on.
    PictureReader header(path);
    const QSize declared = header.size();
    if (!declared.isValid()) {
        return fail(header.isOpen() ? "no picture in " + path
                                    : "picture refused: " + header.problem());
    }
    if (!PictureReader::withinLimit(declared)) {
        return fail("picture refused: " + path + " declares " + std::to_string(declared.width()) +
                    " x " + std::to_string(declared.height()) + " pixels, more than " +
                    std::to_string(kMaxPicturePixels));
    }
    return DesktopResult::success();
}

DesktopResult FailureLog::checkPicturePathAsText(const std::string& path) {
    if (QString::fromStdString(path).toStdString() != path) {
        return fail("picture refused: the name of " + path +
                    " is no UTF-8 text, which this desktop needs");
    }
    return checkPicturePath(path);
}

} // namespace lumora
