// Read-only mappings of files into memory.
//
// A CFileMapping holds the file open for as long as views of it may be made; a CMappedView is
// one mapped range of it. Both are move-only and release what they hold when they go.
//
// A view of a file that shrinks while it is mapped loses its pages past the new end: reading
// them raises SIGBUS. Read views through GuardedCompare (platform/GuardedCompare.h).
#pragma once

#include "platform/ErrorCodes.h"
#include "platform/FileHandle.h"

#include <cstddef>
#include <cstdint>

// The granularity of view offsets: every view starts at a multiple of it. Reported as 64 KiB
// (or the page size, should that be larger), so that windows have the same size everywhere.
DWORD GetAllocationGranularity();

class CMappedView {
public:
    CMappedView() = default;
    CMappedView(CMappedView&& other) noexcept;
    CMappedView& operator=(CMappedView&& other) noexcept;
    CMappedView(const CMappedView&) = delete;
    CMappedView& operator=(const CMappedView&) = delete;
    ~CMappedView() { Unmap(); }

    const unsigned char* Data() const { return static_cast<const unsigned char*>(m_pData); }
    std::size_t Length() const { return m_nLength; }
    bool IsMapped() const { return m_pData != nullptr; }
    void Unmap();

private:
    friend class CFileMapping;
    CMappedView(void* pData, std::size_t nLength) : m_pData(pData), m_nLength(nLength) {}

    void* m_pData = nullptr;
    std::size_t m_nLength = 0;
};

class CFileMapping {
public:
    CFileMapping() = default;
    CFileMapping(CFileMapping&&) noexcept = default;
    CFileMapping& operator=(CFileMapping&&) noexcept = default;
    CFileMapping(const CFileMapping&) = delete;
    CFileMapping& operator=(const CFileMapping&) = delete;
    ~CFileMapping() = default;

    // Makes the mapping object of an open file, taking the handle over, and notes the file's
    // size. An empty file cannot be mapped and fails with ERROR_FILE_INVALID; anything but a
    // regular file fails with ERROR_ACCESS_DENIED. The object stays closed on failure.
    DWORD Create(CFileHandle file);
    // The same for a regular file whose size the caller has just taken from the open handle
    // (CFileHandle::Open), which spares asking the system again.
    DWORD Create(CFileHandle file, std::int64_t nSize);
    void Close();
    bool IsOpen() const { return m_file.IsOpen(); }
    // The size noted by Create.
    std::int64_t GetSize() const { return m_nSize; }

    // Maps nLength bytes from nOffset, a multiple of the granularity; bSequential tells the
    // system that the view will be read once from start to end. On failure the view stays
    // empty, the result is the error code and errno tells the same (so GetLastError() right
    // after the call gives it); a length that does not fit the address space fails with
    // ERROR_NOT_ENOUGH_MEMORY.
    DWORD MapView(std::int64_t nOffset, std::uint64_t nLength, bool bSequential,
                  CMappedView& view) const;

private:
    CFileHandle m_file;
    std::int64_t m_nSize = 0;
};

// A test seam: when a hook is set, MapView calls it before mapping. A non-zero result is an
// errno value with which MapView then fails; zero lets the mapping go ahead. The hook may also
// change the file (truncate it, for instance). Set it only while no other thread maps.
using MapViewHook = int (*)(std::int64_t nOffset, std::uint64_t nLength);
void SetMapViewHook(MapViewHook pfnHook);
