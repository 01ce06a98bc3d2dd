#include "FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvane {

FileHandle::FileHandle(const char* fileName)
    : m_fd(::open(fileName, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY))
{
}

FileHandle::FileHandle(int fd)
    : m_fd(fd)
{
}

FileHandle::~FileHandle()
{
    Close();
}

bool FileHandle::IsRegularFile() const
{
    struct stat info {};
    return m_fd >= 0 && ::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode);
}

off_t FileHandle::Size() const
{
    struct stat info {};
    return m_fd >= 0 && ::fstat(m_fd, &info) == 0 ? info.st_size : -1;
}

bool FileHandle::Close()
{
    if (m_fd < 0)
        return true;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    return closed;
}

} // namespace tarvane
