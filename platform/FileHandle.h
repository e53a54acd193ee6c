// A file opened for reading, owned by exactly one object and closed when that object goes.
//
// POSIX has no share modes: a file that another process holds open for writing opens here
// like any other, where Windows would refuse a read-only-sharing open with a sharing violation.
#pragma once

#include "platform/ErrorCodes.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

class CFileHandle {
public:
    CFileHandle() = default;
    // Takes ownership of an open descriptor.
    explicit CFileHandle(int fd) : m_fd(fd) {}
    CFileHandle(CFileHandle&& other) noexcept;
    CFileHandle& operator=(CFileHandle&& other) noexcept;
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    ~CFileHandle() { Close(); }

    // Opens an existing regular file for reading; bSequential tells the system that the file
    // will be read once from start to end. Anything else at the path (a FIFO, a device, a
    // folder, all possible when a file is replaced after the walk saw it) is refused with
    // ERROR_ACCESS_DENIED, so that reading it can neither block nor go on forever. Returns
    // ERROR_SUCCESS or the error code of the failure. When pnSize is given, it receives the
    // file's size as the open found it (the check already asked for it).
    DWORD Open(const char* pszPath, bool bSequential, std::int64_t* pnSize = nullptr);
    // Reads up to nBytes into pBuffer; nRead is 0 at the end of the file. An interrupted read
    // is retried. Returns ERROR_SUCCESS or the error code of the failed read.
    DWORD Read(void* pBuffer, std::size_t nBytes, std::size_t& nRead);
    // The file's current size in bytes.
    DWORD GetSize(std::int64_t& nSize) const;

    bool IsOpen() const { return m_fd >= 0; }
    // Gives up ownership of the descriptor and returns it.
    int Release();
    int Get() const { return m_fd; }
    void Close();

private:
    int m_fd = -1;
};

struct CStreamCloser {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};
using CFileStream = std::unique_ptr<std::FILE, CStreamCloser>;

// Opens a regular file as a C stream for reading ("rb"), with the checks of CFileHandle::Open.
// Null on failure, with errno set.
CFileStream OpenRegularFileStream(const char* pszPath);
