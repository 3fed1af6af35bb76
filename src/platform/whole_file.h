// The one reader of whole files: loaders read a file once into memory and parse it
// there. Written on the Win32 calls alone, so it is the same on every platform.
#pragma once

#include <cstddef>
#include <memory>
#include <new>

#include "platform/win32.h"

namespace kvplatform {

class WholeFile {
public:
    // Reads the file at path, opened with shareMode; empty when it cannot be
    // opened, sized or read, or holds more than maxBytes.
    WholeFile(const char* path, DWORD shareMode, size_t maxBytes) {
        if (path == nullptr) {
            return;
        }
        const Handle file{CreateFileA(path, GENERIC_READ, shareMode, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (file.handle == INVALID_HANDLE_VALUE) {
            return;
        }
        DWORD high = 0;
        const DWORD size = GetFileSize(file.handle, &high);
        if (size == INVALID_FILE_SIZE || high != 0 || size > maxBytes) {
            return;
        }
        std::unique_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[size + 1]);
        // ReadFile may return fewer bytes than asked; only 0 means the end came early.
        DWORD done = 0;
        while (bytes != nullptr && done < size) {
            DWORD got = 0;
            if (!ReadFile(file.handle, bytes.get() + done, size - done, &got, nullptr) ||
                got == 0) {
                return;
            }
            done += got;
        }
        m_bytes = std::move(bytes);
        m_size = size;
    }

    bool Read() const { return m_bytes != nullptr; }
    const unsigned char* Bytes() const { return m_bytes.get(); }
    size_t Size() const { return m_size; }
    // Hands the bytes over; the reader is empty afterwards.
    std::unique_ptr<unsigned char[]> Take() {
        m_size = 0;
        return std::move(m_bytes);
    }

private:
    struct Handle {
        HANDLE handle;
        ~Handle() {
            if (handle != INVALID_HANDLE_VALUE) {
                CloseHandle(handle);
            }
        }
    };

    std::unique_ptr<unsigned char[]> m_bytes;
    size_t m_size = 0;
};

}  // namespace kvplatform
