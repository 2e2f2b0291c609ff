#pragma once
// A block of memory inside another process. Messages whose parameters point at structures
// (list-view and tab-control queries) are not copied across processes by the system, so the
// structure and its text buffer must live in the target process itself.

#include <windows.h>

#include <cstddef>

class RemoteBuffer {
  public:
    RemoteBuffer(HANDLE process, std::size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    // The address in the target process, at an offset into the block.
    LPARAM At(std::size_t offset = 0) const {
        return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
    }
    bool Write(const void* data, std::size_t size, std::size_t offset = 0) const;
    bool Read(void* data, std::size_t size, std::size_t offset = 0) const;

  private:
    HANDLE process_;
    std::size_t size_;
    void* address_;
};
