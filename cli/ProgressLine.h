// The progress line of twinsift-cli on standard error, redrawn in place while the search
// runs: first the counting pass, then files scanned of the counted total and the duplicates
// so far. It is drawn only when enabled (standard error is a terminal and --quiet is off),
// at most ten times a second, and wiped before the program writes its results.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

class CProgressLine {
public:
    CProgressLine(std::ostream& err, bool bEnabled);

    void OnCountingStarted();
    void OnCounted(std::int64_t nFiles);
    void OnFileScanned() { ++m_nScanned; }
    void OnDuplicateFound() { ++m_nDuplicates; }
    // The grouped engine's phases: the walk, with the files listed so far, then the reading,
    // with the candidate files read of those to read.
    void OnListing(std::int64_t nListed);
    void OnReading(std::int64_t nRead, std::int64_t nToRead);
    // Redraws when the last drawing is old enough.
    void Tick();
    // Wipes the line, if one is drawn.
    void Clear();

    // The text of the line at this moment.
    std::string Text() const;

private:
    void Draw();

    std::ostream& m_err;
    bool m_bEnabled;
    enum class Phase { Counting, Scanning, Listing, Reading };
    Phase m_phase = Phase::Counting;
    bool m_bDrawn = false;
    std::int64_t m_nTotal = 0;
    std::int64_t m_nScanned = 0;
    std::int64_t m_nDuplicates = 0;
    std::chrono::steady_clock::time_point m_tStart;
    std::chrono::steady_clock::time_point m_tLastDraw;
};
