#include "cli/TreeWalk.h"

#include "platform/FileFind.h"

#include <sys/stat.h>

namespace {

void WalkFolder(const CString& strFolder, bool bRecursive, bool bStat,
                const std::atomic<bool>& bStop, std::atomic<std::int64_t>& nListed,
                std::vector<CWalkedFile>& files) {
    CFileFind finder;
    if (!finder.FindFile(strFolder))
        return;
    bool bMore = true;
    while (bMore) {
        if (bStop.load(std::memory_order_relaxed))
            break;
        bMore = finder.FindNextFile();
        if (finder.IsDots())
            continue;
        if (finder.IsDirectory()) {
            if (bRecursive)
                WalkFolder(finder.GetFilePath(), bRecursive, bStat, bStop, nListed, files);
            continue;
        }
        if (!finder.IsFile())
            continue;
        CWalkedFile file;
        file.strPath = finder.GetFilePath();
        struct stat st {};
        if (bStat && lstat(file.strPath.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            file.nSize = st.st_size;
            file.nDevice = st.st_dev;
            file.nInode = st.st_ino;
        }
        files.push_back(std::move(file));
        nListed.fetch_add(1, std::memory_order_relaxed);
    }
}

} // namespace

std::vector<CWalkedFile> WalkTree(const CString& strFolder, bool bRecursive, bool bStat,
                                  const std::atomic<bool>& bStop,
                                  std::atomic<std::int64_t>& nListed) {
    std::vector<CWalkedFile> files;
    WalkFolder(strFolder, bRecursive, bStat, bStop, nListed, files);
    return files;
}
