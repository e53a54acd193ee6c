#include "cli/GroupOutput.h"

#include "cli/CliOptions.h"
#include "cli/JsonText.h"

#include <sys/stat.h>

void WriteGroupsText(std::ostream& out, const CDuplicateGroups& groups) {
    for (const CDuplicateGroup& group : groups.Groups()) {
        out << group.strRepresentative << '\n';
        for (const CString& strDuplicate : group.duplicates)
            out << strDuplicate << '\n';
        out << '\n';
    }
}

std::optional<std::int64_t> CurrentFileSize(const CString& strPath) {
    struct stat st {};
    if (stat(strPath.c_str(), &st) != 0)
        return std::nullopt;
    return static_cast<std::int64_t>(st.st_size);
}

void WriteGroupsJson(std::ostream& out, const CSearchSummary& summary,
                     const CDuplicateGroups& groups, const FileSizeFn& fnSize) {
    out << "{\n";
    out << "  \"folder\": " << JsonPath(summary.strFolder) << ",\n";
    out << "  \"recursive\": " << (summary.bRecursive ? "true" : "false") << ",\n";
    out << "  \"method\": " << JsonQuote(MethodName(summary.nMethod)) << ",\n";
    out << "  \"interrupted\": " << (summary.bInterrupted ? "true" : "false") << ",\n";
    out << "  \"duplicates\": " << groups.DuplicateCount() << ",\n";
    out << "  \"groups\": [";
    bool bFirstGroup = true;
    for (const CDuplicateGroup& group : groups.Groups()) {
        out << (bFirstGroup ? "\n" : ",\n");
        bFirstGroup = false;
        out << "    {\"size\": ";
        if (const auto nSize = fnSize(group.strRepresentative))
            out << *nSize;
        else
            out << "null";
        out << ", \"files\": [" << JsonPath(group.strRepresentative);
        for (const CString& strDuplicate : group.duplicates)
            out << ", " << JsonPath(strDuplicate);
        out << "]}";
    }
    out << (bFirstGroup ? "]\n" : "\n  ]\n");
    out << "}\n";
}
