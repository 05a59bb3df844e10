#include "windows/platform/mutex_instance_guard.h"

#include "windows/platform/wide_text.h"

#include <windows.h>

#include <utility>

namespace lumora {

MutexInstanceGuard::MutexInstanceGuard(std::string name) : m_name(std::move(name)) {}

MutexInstanceGuard::~MutexInstanceGuard() {
    if (m_mutex != nullptr) {
        CloseHandle(m_mutex);
    }
}

bool MutexInstanceGuard::tryAcquire() {
    if (m_mutex != nullptr) {
        return true;
    }
    HANDLE mutex = CreateMutexW(nullptr, FALSE, wideFromUtf8(m_name).c_str());
    if (mutex == nullptr) {
        // No mutex can be made at all: start rather than never start.
        return true;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    m_mutex = mutex;
    return true;
}

} // namespace lumora
