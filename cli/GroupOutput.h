// Writes the groups of a search: as text in the layout duplicate finders share, or as one
// JSON document.
#pragma once

#include "cli/DuplicateGroups.h"
#include "platform/ByteString.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>

// Text: per group the representative, then its duplicates, one path a line as raw bytes,
// and a blank line after the group.
void WriteGroupsText(std::ostream& out, const CDuplicateGroups& groups);

struct CSearchSummary {
    CString strFolder;
    bool bRecursive = false;
    int nMethod = 0;
    // The search was stopped before it reached its end.
    bool bInterrupted = false;
};

// The size of a file in bytes, or nothing when it cannot be had.
using FileSizeFn = std::function<std::optional<std::int64_t>(const CString&)>;
// The size as the file system gives it now (stat, following links).
std::optional<std::int64_t> CurrentFileSize(const CString& strPath);

// JSON: one document with the summary fields, the total and the groups, each with its
// representative's size and its files (representative first). Paths follow JsonPath.
void WriteGroupsJson(std::ostream& out, const CSearchSummary& summary,
                     const CDuplicateGroups& groups, const FileSizeFn& fnSize = CurrentFileSize);
