#include "platform/FileHandle.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

CFileHandle::CFileHandle(CFileHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

CFileHandle& CFileHandle::operator=(CFileHandle&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

DWORD CFileHandle::Open(const char* pszPath, bool bSequential, std::int64_t* pnSize) {
    Close();
    // O_NONBLOCK keeps the open itself from waiting on a FIFO that took a file's place; it
    // changes nothing for regular files.
    const int fd = open(pszPath, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return GetLastError();
    m_fd = fd;
    struct stat st {};
    if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int nErrno = S_ISDIR(st.st_mode) ? EISDIR : EACCES;
        Close();
        errno = nErrno;
        return ERROR_ACCESS_DENIED;
    }
    if (pnSize)
        *pnSize = st.st_size;
    if (bSequential)
        posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return ERROR_SUCCESS;
}

DWORD CFileHandle::Read(void* pBuffer, std::size_t nBytes, std::size_t& nRead) {
    nRead = 0;
    for (;;) {
        const ssize_t nResult = read(m_fd, pBuffer, nBytes);
        if (nResult >= 0) {
            nRead = static_cast<std::size_t>(nResult);
            return ERROR_SUCCESS;
        }
        if (errno != EINTR)
            return GetLastError();
    }
}

DWORD CFileHandle::GetSize(std::int64_t& nSize) const {
    struct stat st {};
    if (fstat(m_fd, &st) != 0) {
        nSize = 0;
        return GetLastError();
    }
    nSize = st.st_size;
    return ERROR_SUCCESS;
}

int CFileHandle::Release() {
    return std::exchange(m_fd, -1);
}

CFileStream OpenRegularFileStream(const char* pszPath) {
    CFileHandle file;
    if (file.Open(pszPath, false) != ERROR_SUCCESS)
        return nullptr;
    // Back to blocking reads: the descriptor was opened without blocking only so that the
    // open itself could not wait on a FIFO.
    fcntl(file.Get(), F_SETFL, fcntl(file.Get(), F_GETFL) & ~O_NONBLOCK);
    CFileStream pStream(fdopen(file.Get(), "rb"));
    if (pStream)
        file.Release();
    return pStream;
}

void CFileHandle::Close() {
    // Never retried: after EINTR the descriptor is already gone on Linux, and a retry could
    // close a descriptor that another thread has just been given.
    if (m_fd >= 0)
        close(std::exchange(m_fd, -1));
}
