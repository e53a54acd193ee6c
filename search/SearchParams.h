#pragma once

#include "platform/ByteString.h"
#include "search/MessageTarget.h"

#include <memory>

// The inputs of one search, handed to the worker, which owns the record from then on.
struct SearchParams {
    // The folder to search, as the user entered it, with or without a trailing separator.
    CString strFolder;
    // Include subfolders.
    bool bRecursive = false;
    // The front end that every message of the search goes to.
    std::shared_ptr<CMessageTarget> hWndDlg;
};
