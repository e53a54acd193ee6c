#include "platform/PathSeparator.h"

CString JoinPath(const CString& strFolder, const CString& strName) {
    CString strPath = strFolder;
    if (strPath.empty() || strPath.back() != g_chPathSeparator)
        strPath += g_chPathSeparator;
    strPath += strName;
    return strPath;
}
