#include "platform/FileMapping.h"

#include <atomic>
#include <cerrno>
#include <limits>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

std::atomic<MapViewHook> g_pfnMapViewHook{nullptr};

DWORD Fail(int nErrno) {
    errno = nErrno;
    return ErrorFromErrno(nErrno);
}

} // namespace

void SetMapViewHook(MapViewHook pfnHook) {
    g_pfnMapViewHook.store(pfnHook);
}

DWORD GetAllocationGranularity() {
    constexpr long nGranularity = 64 * 1024;
    const long nPage = sysconf(_SC_PAGESIZE);
    return static_cast<DWORD>(nPage > nGranularity ? nPage : nGranularity);
}

CMappedView::CMappedView(CMappedView&& other) noexcept
    : m_pData(std::exchange(other.m_pData, nullptr)), m_nLength(std::exchange(other.m_nLength, 0)) {
}

CMappedView& CMappedView::operator=(CMappedView&& other) noexcept {
    if (this != &other) {
        Unmap();
        m_pData = std::exchange(other.m_pData, nullptr);
        m_nLength = std::exchange(other.m_nLength, 0);
    }
    return *this;
}

void CMappedView::Unmap() {
    if (m_pData)
        munmap(std::exchange(m_pData, nullptr), std::exchange(m_nLength, 0));
}

DWORD CFileMapping::Create(CFileHandle file) {
    Close();
    struct stat st {};
    if (fstat(file.Get(), &st) != 0)
        return GetLastError();
    if (!S_ISREG(st.st_mode))
        return Fail(EACCES);
    return Create(std::move(file), st.st_size);
}

DWORD CFileMapping::Create(CFileHandle file, std::int64_t nSize) {
    Close();
    // A mapping of nothing has no view to compare: a file of length 0 is refused, as the
    // comparison methods expect.
    if (nSize <= 0) {
        errno = EINVAL;
        return ERROR_FILE_INVALID;
    }
    m_file = std::move(file);
    m_nSize = nSize;
    return ERROR_SUCCESS;
}

void CFileMapping::Close() {
    m_file.Close();
    m_nSize = 0;
}

DWORD CFileMapping::MapView(std::int64_t nOffset, std::uint64_t nLength, bool bSequential,
                            CMappedView& view) const {
    view.Unmap();
    if (!IsOpen())
        return Fail(EBADF);
    if (nOffset < 0 || nLength == 0)
        return Fail(EINVAL);
    if (nLength > std::numeric_limits<std::size_t>::max())
        return Fail(ENOMEM);
    if (const MapViewHook pfnHook = g_pfnMapViewHook.load())
        if (const int nErrno = pfnHook(nOffset, nLength))
            return Fail(nErrno);
    const auto nBytes = static_cast<std::size_t>(nLength);
    void* pData = mmap(nullptr, nBytes, PROT_READ, MAP_SHARED, m_file.Get(), nOffset);
    if (pData == MAP_FAILED)
        return GetLastError();
    if (bSequential)
        madvise(pData, nBytes, MADV_SEQUENTIAL);
    view = CMappedView(pData, nBytes);
    return ERROR_SUCCESS;
}
