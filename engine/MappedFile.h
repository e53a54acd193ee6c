// A file read through read-only mappings: one view of the whole file when the address space
// allows, otherwise a walk of fixed-size windows, at most one of them mapped at a time.
#pragma once

#include "platform/FileMapping.h"

#include <cstdint>

// One window of a walk. The data belongs to the CMappedFile that handed it out and stays valid
// until that object's next NextWindow, UnmapView or Close.
struct MappedWindow {
    // Bytes in the window; 0 when nothing remains.
    std::uint32_t length = 0;
    // Start of the window; null when nothing remains or when the window failed to map.
    const unsigned char* data = nullptr;
};

class CMappedFile {
public:
    CMappedFile() = default;
    CMappedFile(const CMappedFile&) = delete;
    CMappedFile& operator=(const CMappedFile&) = delete;
    ~CMappedFile() { Close(); }

    // Opens the file for mapping; the mapping owns the open file until Close. Fails for a file
    // that cannot be opened, for anything but a regular file, and for an empty file, which
    // cannot be mapped.
    bool Open(const char* pszPath);
    // Releases the view and the mapping and zeroes the counters; the object can be opened again.
    void Close();
    // Maps a view of the whole file and returns it, or null on failure (the reason is then in
    // GetLastError()). Called when no view is held.
    const unsigned char* MapWhole();
    void UnmapView();

    // Starts a walk of windows of four times the allocation granularity; every window but the
    // last is full, so every one starts at a multiple of the granularity. Called when no view is
    // held.
    void BeginWindows();
    bool HasRemaining() const { return m_remaining > 0; }
    // Unmaps the previous window and maps the next. The counters advance even when the window
    // fails to map.
    MappedWindow NextWindow();

    // Compares this file (the one looked up) with the representative: by size first, then by
    // content as a string of unsigned bytes. A view that cannot be mapped, or one whose pages
    // vanish because the file shrank while it was read, gives 1.
    int CompareWith(CMappedFile& representative);

    std::int64_t GetSize() const { return m_size; }

private:
    CFileMapping m_hMapping;
    std::int64_t m_size = 0;
    std::int64_t m_remaining = 0;
    std::int64_t m_offset = 0;
    std::uint32_t m_windowSize = 0;
    CMappedView m_view;
};
