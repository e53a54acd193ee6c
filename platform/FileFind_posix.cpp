#include "platform/FileFind.h"
#include "platform/PathSeparator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CString MakeAbsolutePath(const CString& strPath) {
    if (!strPath.empty() && strPath.front() == g_chPathSeparator)
        return strPath;
    std::unique_ptr<char, decltype(&free)> pCwd(getcwd(nullptr, 0), &free);
    if (!pCwd)
        return strPath;
    if (strPath.empty() || strPath == ".")
        return pCwd.get();
    CString strRelative = strPath;
    while (strRelative.starts_with("./"))
        strRelative.erase(0, 2);
    return JoinPath(pCwd.get(), strRelative);
}

bool CFileFind::FindFile(const CString& strFolder) {
    Close();
    if (strFolder.empty())
        return false;
    m_strRoot = MakeAbsolutePath(strFolder);
    m_pDir.reset(opendir(m_strRoot.c_str()));
    if (!m_pDir)
        return false;
    if (!Prefetch()) {
        Close();
        return false;
    }
    return true;
}

bool CFileFind::FindNextFile() {
    if (!m_bHasNext)
        return false;
    m_strName = std::move(m_strNextName);
    m_kind = m_nextKind;
    return Prefetch();
}

void CFileFind::Close() {
    m_pDir.reset();
    m_strRoot.clear();
    m_strName.clear();
    m_strNextName.clear();
    m_kind = m_nextKind = EntryKind::Other;
    m_bHasNext = false;
}

bool CFileFind::IsDots() const {
    return m_strName == "." || m_strName == "..";
}

CString CFileFind::GetFilePath() const {
    return JoinPath(m_strRoot, m_strName);
}

bool CFileFind::Prefetch() {
    m_bHasNext = false;
    if (!m_pDir)
        return false;
    // A read error ends the enumeration like the end of the folder does.
    const dirent* pEntry = readdir(m_pDir.get());
    if (!pEntry)
        return false;
    m_strNextName = pEntry->d_name;
    m_nextKind = KindOfEntry(dirfd(m_pDir.get()), *pEntry);
    m_bHasNext = true;
    return true;
}

EntryKind KindOfEntry(int nDirFd, const dirent& entry) {
    switch (entry.d_type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Directory;
    case DT_UNKNOWN:
        break;
    default:
        return EntryKind::Other;
    }
    // Some file systems do not report the type in the entry: ask without following links.
    struct stat st {};
    if (fstatat(nDirFd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryKind::Other;
    if (S_ISREG(st.st_mode))
        return EntryKind::File;
    if (S_ISDIR(st.st_mode))
        return EntryKind::Directory;
    return EntryKind::Other;
}
