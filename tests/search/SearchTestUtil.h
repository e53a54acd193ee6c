// Helpers shared by the search tests: what a message sequence says, read back in plain terms.
#pragma once

#include "search/SearchMessages.h"
#include "tests/support/RecordingTarget.h"

#include <map>
#include <string>
#include <vector>

// The paths of the UWM_FILE_SCANNED messages, in the order reported.
inline std::vector<std::string> ScannedPaths(const std::vector<RecordedMessage>& messages) {
    std::vector<std::string> paths;
    for (const RecordedMessage& msg : messages)
        if (msg.nMessage == UWM_FILE_SCANNED)
            paths.push_back(msg.strWParam);
    return paths;
}

inline int CountOf(const std::vector<RecordedMessage>& messages, unsigned nMessage) {
    int nCount = 0;
    for (const RecordedMessage& msg : messages)
        nCount += msg.nMessage == nMessage ? 1 : 0;
    return nCount;
}

// The name of a path after its last '/'.
inline std::string BaseName(const std::string& strPath) {
    return strPath.substr(strPath.rfind('/') + 1);
}
