// A message target that handles every message at once on the worker's thread and keeps a copy,
// so tests can check the exact sequence a search reports.
#pragma once

#include "search/MessageTarget.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

struct RecordedMessage {
    unsigned nMessage = 0;
    std::string strWParam;
    std::string strLParam;
    std::int64_t nLParam = 0;
    bool bSent = false;
};

class CRecordingTarget : public CMessageTarget {
public:
    // Called on the worker's thread after each message is recorded.
    std::function<void(const RecordedMessage&)> m_fnOnMessage;

    std::vector<RecordedMessage> Messages() const;

protected:
    void Deliver(std::unique_ptr<CSearchMessage> pMsg) override;

private:
    mutable std::mutex m_mutex;
    std::vector<RecordedMessage> m_messages;
};

// Resets the process-wide events to the idle state of a fresh program.
void ResetSearchEvents();

// Runs one whole search on a worker thread with the given method and waits for it.
std::vector<RecordedMessage> RunSearch(const std::string& strFolder, bool bRecursive, int nMethod,
                                       std::shared_ptr<CRecordingTarget> pTarget = nullptr);

// The duplicate reports of a message sequence as (representative, duplicate) pairs.
std::vector<std::pair<std::string, std::string>>
DuplicatePairs(const std::vector<RecordedMessage>& messages);

// Duplicate groups as sets of paths, for comparing regardless of order.
using ReportGroups = std::set<std::set<std::string>>;

// The groups the reports make: each representative with every file reported against it. The
// prefix, when given, is cut from every path.
ReportGroups ReportedGroups(const std::vector<RecordedMessage>& messages,
                            const std::string& strPrefix = {});
