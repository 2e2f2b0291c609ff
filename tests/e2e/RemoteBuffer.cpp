#include "tests/e2e/RemoteBuffer.h"

RemoteBuffer::RemoteBuffer(HANDLE process, std::size_t size)
    : process_(process),
      size_(size),
      address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
}

RemoteBuffer::~RemoteBuffer() {
    if (address_ != nullptr) {
        ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
}

bool RemoteBuffer::Write(const void* data, std::size_t size, std::size_t offset) const {
    SIZE_T written = 0;
    return address_ != nullptr && offset <= size_ && size <= size_ - offset &&
           ::WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size,
                                &written) &&
           written == size;
}

bool RemoteBuffer::Read(void* data, std::size_t size, std::size_t offset) const {
    SIZE_T read = 0;
    return address_ != nullptr && offset <= size_ && size <= size_ - offset &&
           ::ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size,
                               &read) &&
           read == size;
}
