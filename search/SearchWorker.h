// The search itself: one worker per search walks the folder twice. The counting pass counts
// the files so that the index can be sized for them; the listing pass visits every file
// again and either makes it the representative of a file not seen before or reports it as a
// duplicate of the representative it equals.
#pragma once

#include "platform/ByteString.h"
#include "search/MessageTarget.h"
#include "search/RepresentativeIndex.h"
#include "search/SearchParams.h"

#include <memory>

// The worker's procedure. Sends UWM_RESET_RESULTS twice (before and after counting), posts
// UWM_FILE_SCANNED and UWM_DUPLICATE_FOUND during the listing pass and, last and exactly once,
// UWM_SEARCH_FINISHED, whether the search ran to its end, was stopped or failed (then with
// SEARCH_INCOMPLETE). Returns 0.
unsigned SearchThreadProc(std::unique_ptr<SearchParams> pParams);

class CSearchWorker {
public:
    explicit CSearchWorker(CMessageTarget& target) : m_target(target) {}

    // Runs both passes and reports as SearchThreadProc says, except the final message. Throws
    // std::bad_alloc when memory runs out.
    void Run(const CString& strFolder, bool bRecursive);

    // Counting pass: the number of files under path (in subfolders too when bRecursive).
    int CountFiles(const CString& path, bool bRecursive);
    // Listing pass: ProcessFile for every file, in walk order.
    void ListFiles(const CString& path, bool bRecursive);
    // Looks one file up in the index and reports it.
    void ProcessFile(const CString& path);

private:
    // Walks one folder depth first, calling fnFile with the full path of every regular file.
    // Before every entry it fetches it tests the stop request and waits on the run gate.
    template <typename FnFile>
    void WalkFolder(const CString& path, bool bRecursive, FnFile& fnFile);

    CMessageTarget& m_target;
    CRepresentativeIndex m_index;
};
