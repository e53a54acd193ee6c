#include "engine/MappedFile.h"

#include "platform/GuardedCompare.h"

#include <utility>

namespace {

constexpr DWORD WINDOW_GRANULES = 4;

// The result of comparing two views, or 1 when one of them could not be read through.
int CompareViews(const unsigned char* pLooked, const unsigned char* pRepresentative,
                 std::size_t nBytes) {
    int nResult = 0;
    if (!GuardedCompare(pLooked, pRepresentative, nBytes, nResult))
        return 1;
    return nResult;
}

} // namespace

bool CMappedFile::Open(const char* pszPath) {
    Close();
    // POSIX has no share modes: a file that another process holds open for writing opens and
    // maps here like any other. Should it shrink while mapped, the guarded reads catch it.
    // The open checks that this is a regular file and tells its size; views get the
    // sequential hint when they are mapped.
    CFileHandle file;
    std::int64_t nSize = 0;
    if (file.Open(pszPath, false, &nSize) != ERROR_SUCCESS)
        return false;
    if (m_hMapping.Create(std::move(file), nSize) != ERROR_SUCCESS)
        return false;
    m_size = m_hMapping.GetSize();
    return true;
}

void CMappedFile::Close() {
    m_size = 0;
    m_remaining = 0;
    m_offset = 0;
    m_windowSize = 0;
    m_view.Unmap();
    m_hMapping.Close();
}

const unsigned char* CMappedFile::MapWhole() {
    if (m_hMapping.MapView(0, static_cast<std::uint64_t>(m_size), true, m_view) != ERROR_SUCCESS)
        return nullptr;
    return m_view.Data();
}

void CMappedFile::UnmapView() {
    m_view.Unmap();
}

void CMappedFile::BeginWindows() {
    m_remaining = m_size;
    m_offset = 0;
    m_view.Unmap();
    m_windowSize = WINDOW_GRANULES * GetAllocationGranularity();
}

MappedWindow CMappedFile::NextWindow() {
    m_view.Unmap();
    if (!HasRemaining())
        return {};
    const std::uint32_t nLength = m_remaining < static_cast<std::int64_t>(m_windowSize)
                                      ? static_cast<std::uint32_t>(m_remaining)
                                      : m_windowSize;
    m_hMapping.MapView(m_offset, nLength, true, m_view);
    m_offset += nLength;
    m_remaining -= nLength;
    return {nLength, m_view.Data()};
}

int CMappedFile::CompareWith(CMappedFile& representative) {
    if (m_size != representative.m_size)
        return m_size > representative.m_size ? 1 : -1;

    const unsigned char* pLooked = MapWhole();
    const unsigned char* pRepresentative = pLooked ? representative.MapWhole() : nullptr;
    if (pLooked && pRepresentative)
        return CompareViews(pLooked, pRepresentative, static_cast<std::size_t>(m_size));

    const DWORD dwError = GetLastError();
    UnmapView();
    representative.UnmapView();
    if (dwError != ERROR_NOT_ENOUGH_MEMORY)
        return 1;

    // No room for whole views: walk both files window by window. Equal sizes and equal window
    // sizes keep the two walks in step, so they end together.
    BeginWindows();
    representative.BeginWindows();
    while (HasRemaining() && representative.HasRemaining()) {
        const MappedWindow window = NextWindow();
        const MappedWindow representativeWindow = representative.NextWindow();
        if (!window.data || !representativeWindow.data)
            return 1;
        if (const int nResult = CompareViews(window.data, representativeWindow.data, window.length))
            return nResult;
    }
    return 0;
}
