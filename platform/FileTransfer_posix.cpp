#include "platform/FileTransfer.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A descriptor closed on every path out of a function.
class CFd {
public:
    explicit CFd(int nFd) : m_nFd(nFd) {}
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    ~CFd() {
        if (m_nFd >= 0)
            close(m_nFd);
    }
    int Get() const { return m_nFd; }
    // Closes now and reports a failed close, which can be the first sign of a failed write.
    int CloseChecked() {
        const int nFd = m_nFd;
        m_nFd = -1;
        return close(nFd) == 0 ? 0 : errno;
    }

private:
    int m_nFd;
};

int CopyContents(int nSource, int nTarget) {
    // The kernel copies without a trip through user space where it can.
    for (;;) {
        const ssize_t nCopied = copy_file_range(nSource, nullptr, nTarget, nullptr, 1 << 30, 0);
        if (nCopied == 0)
            return 0;
        if (nCopied > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return errno;
        break;
    }
    alignas(4096) static thread_local std::array<char, 1 << 16> buffer;
    for (;;) {
        const ssize_t nRead = read(nSource, buffer.data(), buffer.size());
        if (nRead == 0)
            return 0;
        if (nRead < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        for (ssize_t nDone = 0; nDone < nRead;) {
            const ssize_t nWritten =
                write(nTarget, buffer.data() + nDone, static_cast<size_t>(nRead - nDone));
            if (nWritten < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            nDone += nWritten;
        }
    }
}

} // namespace

int DeleteFileAt(const CString& strPath) {
    return unlink(strPath.c_str()) == 0 ? 0 : errno;
}

int CopyFileNoReplace(const CString& strSource, const CString& strTarget) {
    // O_NONBLOCK: a FIFO standing in the source's place must not block the open; it is refused
    // below like anything else that is not a regular file.
    CFd source(open(strSource.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (source.Get() < 0)
        return errno;
    struct stat st {};
    if (fstat(source.Get(), &st) != 0)
        return errno;
    if (!S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    // O_EXCL: an existing target, or a link standing in its place, is never written through.
    CFd target(open(strTarget.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777));
    if (target.Get() < 0)
        return errno;
    int nError = CopyContents(source.Get(), target.Get());
    if (nError == 0) {
        const std::array<timespec, 2> times = {st.st_atim, st.st_mtim};
        futimens(target.Get(), times.data());
        nError = target.CloseChecked();
    }
    if (nError != 0) {
        // The target is ours (made exclusively above): leave nothing half-written behind.
        unlink(strTarget.c_str());
    }
    return nError;
}

int MoveFileNoReplace(const CString& strSource, const CString& strTarget) {
    if (renameat2(AT_FDCWD, strSource.c_str(), AT_FDCWD, strTarget.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    int nError = errno;
    if (nError == EINVAL || nError == ENOSYS || nError == EOPNOTSUPP) {
        // The file system cannot rename without replacing: a second name, then drop the first.
        if (link(strSource.c_str(), strTarget.c_str()) == 0) {
            if (unlink(strSource.c_str()) == 0)
                return 0;
            // The file must stand in one place only: drop the new name again.
            nError = errno;
            unlink(strTarget.c_str());
            return nError;
        }
        nError = errno;
        if (nError != EPERM && nError != EOPNOTSUPP && nError != EMLINK)
            return nError;
    } else if (nError != EXDEV) {
        return nError;
    }
    // Another file system: copy, then remove the source. If the source cannot be removed, the
    // copy goes again, so that the file stands in exactly one place.
    nError = CopyFileNoReplace(strSource, strTarget);
    if (nError != 0)
        return nError;
    if (unlink(strSource.c_str()) != 0) {
        nError = errno;
        unlink(strTarget.c_str());
        return nError;
    }
    return 0;
}
