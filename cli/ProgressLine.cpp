#include "cli/ProgressLine.h"

namespace {
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
// Back to the start of the line, and erase to its end.
constexpr const char* kReturn = "\r";
constexpr const char* kEraseToEnd = "\x1b[K";
} // namespace

CProgressLine::CProgressLine(std::ostream& err, bool bEnabled)
    : m_err(err), m_bEnabled(bEnabled), m_tStart(std::chrono::steady_clock::now()) {}

void CProgressLine::OnCountingStarted() {
    m_phase = Phase::Counting;
    m_nTotal = m_nScanned = m_nDuplicates = 0;
    m_tStart = std::chrono::steady_clock::now();
    Draw();
}

void CProgressLine::OnCounted(std::int64_t nFiles) {
    m_phase = Phase::Scanning;
    m_nTotal = nFiles;
    m_nScanned = m_nDuplicates = 0;
    Draw();
}

void CProgressLine::OnListing(std::int64_t nListed) {
    m_phase = Phase::Listing;
    m_nScanned = nListed;
}

void CProgressLine::OnReading(std::int64_t nRead, std::int64_t nToRead) {
    m_phase = Phase::Reading;
    m_nScanned = nRead;
    m_nTotal = nToRead;
}

void CProgressLine::Tick() {
    if (std::chrono::steady_clock::now() - m_tLastDraw >= kRedrawInterval)
        Draw();
}

void CProgressLine::Clear() {
    if (!m_bDrawn)
        return;
    m_err << kReturn << kEraseToEnd << std::flush;
    m_bDrawn = false;
}

std::string CProgressLine::Text() const {
    switch (m_phase) {
    case Phase::Counting: {
        const auto nSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                                  std::chrono::steady_clock::now() - m_tStart)
                                  .count();
        return "Counting files... " + std::to_string(nSeconds) + " s";
    }
    case Phase::Listing:
        return "Listing files... " + std::to_string(m_nScanned);
    case Phase::Reading:
        return "Reading " + std::to_string(m_nScanned) + " of " + std::to_string(m_nTotal) +
               " candidate files";
    case Phase::Scanning:
        break;
    }
    return "Scanned " + std::to_string(m_nScanned) + " of " + std::to_string(m_nTotal) +
           " files, " + std::to_string(m_nDuplicates) + " duplicates";
}

void CProgressLine::Draw() {
    if (!m_bEnabled)
        return;
    m_err << kReturn << Text() << kEraseToEnd << std::flush;
    m_bDrawn = true;
    m_tLastDraw = std::chrono::steady_clock::now();
}
