#include "core/viewer/load_errors.h"

#include "core/text/translation.h"

namespace lumora::viewer {

const char* loadErrorDescription(int number) {
    switch (static_cast<LoadError>(number)) {
    case LoadError::OutOfMemory:
        return LUMORA_TR("Lumora", "Out of memory");
    case LoadError::FileNotFound:
        return LUMORA_TR("Lumora", "File not found");
    case LoadError::DeviceError:
        return LUMORA_TR("Lumora", "Device I/O error");
    case LoadError::PermissionDenied:
        return LUMORA_TR("Lumora", "Permission denied");
    case LoadError::AccessError:
        return LUMORA_TR("Lumora", "Path/File access error");
    case LoadError::InvalidPicture:
        return LUMORA_TR("Lumora", "Invalid picture");
    }
    return "";
}

LoadFailure loadFailure(LoadError error) {
    const int number = static_cast<int>(error);
    return {number, loadErrorDescription(number)};
}

} // namespace lumora::viewer
