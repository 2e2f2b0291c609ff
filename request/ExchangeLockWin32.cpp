// The exchange lock of the Windows build: an unnamed kernel mutex with default security that
// nobody owns when it is created.

#include <windows.h>

#include <atomic>

#include "request/ExchangeLock.h"

namespace {
std::atomic<HANDLE> exchangeMutex{nullptr};
}  // namespace

void ExchangeLock::Create() {
    // Attach runs while no exchange is in flight, so the replaced mutex can be closed.
    HANDLE replaced = exchangeMutex.exchange(CreateMutexW(nullptr, FALSE, nullptr));
    if (replaced != nullptr) {
        CloseHandle(replaced);
    }
}

ExchangeLock::ExchangeLock() : held_(nullptr) {
    HANDLE mutex = exchangeMutex.load();
    if (mutex == nullptr) {
        return;
    }
    const DWORD result = WaitForSingleObject(mutex, INFINITE);
    // An abandoned mutex is held too: its owner thread ended inside an exchange.
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
        held_ = mutex;
    }
}

ExchangeLock::~ExchangeLock() {
    if (held_ != nullptr) {
        ReleaseMutex(static_cast<HANDLE>(held_));
    }
}
