// The four messages through which the worker reports to its front end, and the record that
// carries one of them. A message owns its payload (paths by value), so a message that is never
// handled frees what it carries.
#pragma once

#include "platform/ByteString.h"

#include <cstdint>
#include <memory>

inline constexpr unsigned WM_APP = 0x8000;
// Sent twice per search: when the worker starts (nLParam 0) and when the counting pass has
// ended (nLParam the number of files counted). The receiver empties its results.
inline constexpr unsigned UWM_RESET_RESULTS = WM_APP + 1;
// Posted once, as the worker's last message, whether the search ran to its end or was stopped.
// nLParam is 0, or SEARCH_INCOMPLETE when the search could not go on (out of memory): what it
// reported until then stands, but files may be missing from it.
inline constexpr unsigned UWM_SEARCH_FINISHED = WM_APP + 2;
inline constexpr std::int64_t SEARCH_INCOMPLETE = 1;
// Posted for every visited file that equals a representative: strWParam is the
// representative's path, strLParam the path of the file that equals it.
inline constexpr unsigned UWM_DUPLICATE_FOUND = WM_APP + 3;
// Posted for every file of the listing pass, before it is looked up: strWParam is its path.
inline constexpr unsigned UWM_FILE_SCANNED = WM_APP + 4;

class CSendReceipt;

struct CSearchMessage {
    CSearchMessage();
    CSearchMessage(unsigned nMsg, CString strW = {}, CString strL = {}, std::int64_t nL = 0);
    CSearchMessage(CSearchMessage&&) noexcept;
    CSearchMessage& operator=(CSearchMessage&&) noexcept;
    // Destroying a sent message completes its send: the worker waiting in Send goes on.
    ~CSearchMessage();

    unsigned nMessage = 0;
    CString strWParam;
    CString strLParam;
    std::int64_t nLParam = 0;
    // Present on a sent message only.
    std::unique_ptr<CSendReceipt> pReceipt;
};
