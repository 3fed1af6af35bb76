// An open file: a POSIX descriptor and the access it was opened for.
#pragma once

#include <unistd.h>

#include "platform/kernel/handle_table.h"

namespace kvplatform {

class FileObject : public KernelObject {
public:
    FileObject(int fd, bool canRead, bool canWrite)
        : m_fd(fd), m_canRead(canRead), m_canWrite(canWrite) {}
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;
    ~FileObject() override { close(m_fd); }

    int Fd() const { return m_fd; }
    bool CanRead() const { return m_canRead; }
    bool CanWrite() const { return m_canWrite; }

private:
    int m_fd;
    bool m_canRead;
    bool m_canWrite;
};

}  // namespace kvplatform
