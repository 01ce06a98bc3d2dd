#pragma once

#include <sys/types.h>

namespace tarvane {

// Owns an open file descriptor.
class FileHandle {
public:
    // Opens a file for reading without blocking, so that a FIFO given as the file cannot hang
    // the reader; Fd() is -1 when the file could not be opened.
    explicit FileHandle(const char* fileName);
    // Takes over a descriptor already open (-1 for none).
    explicit FileHandle(int fd);
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int Fd() const { return m_fd; }

    // Whether the descriptor is open on a regular file (not a folder, FIFO or device).
    bool IsRegularFile() const;

    // The file's size as the system reports it, -1 when unknown.
    off_t Size() const;

    // Closes the descriptor; false when the close reported an error (a write that failed late).
    bool Close();

private:
    int m_fd = -1;
};

} // namespace tarvane
