#include "tests/support/RecordingTarget.h"

#include "engine/CompareMethod.h"
#include "search/SearchEvents.h"
#include "search/SearchWorker.h"

#include <map>
#include <thread>

std::vector<RecordedMessage> CRecordingTarget::Messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

void CRecordingTarget::Deliver(std::unique_ptr<CSearchMessage> pMsg) {
    RecordedMessage record{pMsg->nMessage, pMsg->strWParam, pMsg->strLParam, pMsg->nLParam,
                           pMsg->pReceipt != nullptr};
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(record);
    }
    if (m_fnOnMessage)
        m_fnOnMessage(record);
    // pMsg is destroyed here: a sent message is handled.
}

void ResetSearchEvents() {
    g_evtStop.ResetEvent();
    g_evtRun.SetEvent();
}

std::vector<RecordedMessage> RunSearch(const std::string& strFolder, bool bRecursive, int nMethod,
                                       std::shared_ptr<CRecordingTarget> pTarget) {
    if (!pTarget)
        pTarget = std::make_shared<CRecordingTarget>();
    CompareMethod = nMethod;
    auto pParams = std::make_unique<SearchParams>();
    pParams->strFolder = strFolder;
    pParams->bRecursive = bRecursive;
    pParams->hWndDlg = pTarget;
    std::thread worker(SearchThreadProc, std::move(pParams));
    worker.join();
    return pTarget->Messages();
}

std::vector<std::pair<std::string, std::string>>
DuplicatePairs(const std::vector<RecordedMessage>& messages) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const RecordedMessage& msg : messages)
        if (msg.nMessage == UWM_DUPLICATE_FOUND)
            pairs.emplace_back(msg.strWParam, msg.strLParam);
    return pairs;
}

ReportGroups ReportedGroups(const std::vector<RecordedMessage>& messages,
                            const std::string& strPrefix) {
    auto strip = [&strPrefix](const std::string& strPath) {
        return strPath.starts_with(strPrefix) ? strPath.substr(strPrefix.size()) : strPath;
    };
    std::map<std::string, std::set<std::string>> byRepresentative;
    for (const auto& [strRep, strDup] : DuplicatePairs(messages)) {
        byRepresentative[strRep].insert(strip(strRep));
        byRepresentative[strRep].insert(strip(strDup));
    }
    ReportGroups groups;
    for (const auto& [strRep, members] : byRepresentative)
        groups.insert(members);
    return groups;
}
