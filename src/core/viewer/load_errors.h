#pragma once
// Why the preview could not load a picture: the error number and description its message box
// shows.

namespace lumora::viewer {

enum class LoadError {
    OutOfMemory = 7,
    FileNotFound = 53,
    DeviceError = 57,
    PermissionDenied = 70,
    AccessError = 75,
    InvalidPicture = 481,
};

struct LoadFailure {
    int number = 0;
    const char* description = ""; // English, marked for translation
};

LoadFailure loadFailure(LoadError error);

// The description of an error number; "" for a number no load reports.
const char* loadErrorDescription(int number);

} // namespace lumora::viewer
