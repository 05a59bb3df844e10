#include "windows/ui/program/console.h"

#include "windows/platform/wide_text.h"

#include <windows.h>

#include <shellapi.h>

namespace lumora {

namespace {

// The handle of a stream: the one inherited when it leads somewhere, else the parent's console.
HANDLE streamHandle(ConsoleStream stream) {
    const DWORD which = stream == ConsoleStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
    HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE &&
        GetFileType(handle) != FILE_TYPE_UNKNOWN) {
        return handle;
    }
    static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    if (!attached) {
        return nullptr;
    }
    static HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    return console == INVALID_HANDLE_VALUE ? nullptr : console;
}

} // namespace

void writeConsole(ConsoleStream stream, const std::string& text) {
    HANDLE handle = streamHandle(stream);
    if (handle == nullptr || text.empty()) {
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        // A console shows UTF-16; line feeds become the console's line ends.
        std::wstring wide;
        for (const wchar_t c : wideFromUtf8(text)) {
            if (c == L'\n') {
                wide += L'\r';
            }
            wide += c;
        }
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    // A pipe or a file takes the bytes as they are.
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::vector<std::string> programArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(utf8FromWide(words[i]));
    }
    LocalFree(words);
    return arguments;
}

} // namespace lumora
