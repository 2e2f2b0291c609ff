// The exchange lock. A standard mutex cannot be swapped while another
// thread may wait on it, so there is a single one; Create only makes it available.

#include <atomic>
#include <mutex>

#include "request/ExchangeLock.h"

namespace {
std::mutex exchangeMutex;
std::atomic<bool> created{false};
}  // namespace

void ExchangeLock::Create() {
    created.store(true);
}

ExchangeLock::ExchangeLock() : held_(nullptr) {
    if (created.load()) {
        exchangeMutex.lock();
        held_ = &exchangeMutex;
    }
}

ExchangeLock::~ExchangeLock() {
    if (held_ != nullptr) {
        static_cast<std::mutex*>(held_)->unlock();
    }
}
