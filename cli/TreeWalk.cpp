#include "cli/TreeWalk.h"

#include "cli/ParallelFor.h"
#include "platform/FileFind.h"
#include "platform/PathSeparator.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

// The walk follows CFileFind's rules (readdir order, "." and ".." skipped, regular files and
// real directories only, the type asked without following links where the entry does not
// tell it) and yields the files in the search worker's order: a folder's entries in the order
// the system returns them, each subfolder's files where the subfolder was met. The folders are
// read by several threads at once, each folder into a node of its own; the nodes are then
// laid out depth first. Subfolders are opened, and files asked about, relative to their open
// folder, which spares the system a lookup of every full path.
namespace {

struct CDirCloser {
    void operator()(DIR* pDir) const { closedir(pDir); }
};
using CDir = std::unique_ptr<DIR, CDirCloser>;

// How many folders may stay open: the descriptor limit (raised to its hard maximum) less a
// reserve for the files read at the same time and for everything else.
std::size_t FolderBudget() {
    constexpr rlim_t kReserve = 1024;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 0;
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max == RLIM_INFINITY ? 1u << 20 : limit.rlim_max;
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    if (limit.rlim_cur == RLIM_INFINITY)
        return 1u << 20;
    return limit.rlim_cur > kReserve ? static_cast<std::size_t>(limit.rlim_cur - kReserve) : 0;
}

// One folder as read: its entries in readdir order, its subfolders as nodes of their own.
struct CWalkNode {
    CWalkNode() = default;
    CWalkNode(const CWalkNode&) = delete;
    CWalkNode& operator=(const CWalkNode&) = delete;
    ~CWalkNode() {
        if (fdKept >= 0)
            close(fdKept);
    }

    CString strPath;
    // The parent's kept descriptor and this folder's name in it, or -1 to open by full path.
    int fdParent = -1;
    CString strName;
    // This folder's descriptor, kept open for its files and subfolders; -1 when not kept.
    int fdKept = -1;

    struct Entry {
        std::uint32_t nNameOffset = 0;
        std::uint32_t nNameLength = 0;
        std::int64_t nSize = -1;
        std::uint64_t nInode = 0;
        // Set for a subfolder.
        std::unique_ptr<CWalkNode> pChild;
    };
    std::string names;
    std::vector<Entry> entries;
};

class CParallelWalk {
public:
    CParallelWalk(bool bRecursive, bool bStat, const std::atomic<bool>& bStop,
                  std::atomic<std::int64_t>& nListed)
        : m_bRecursive(bRecursive), m_bStat(bStat), m_bStop(bStop), m_nListed(nListed),
          m_nFolderBudget(FolderBudget()) {}

    // Reads the tree under pRoot on every core.
    void Run(CWalkNode* pRoot) {
        m_queue.push_back(pRoot);
        m_nPending = 1;
        const unsigned nThreads = WorkerThreadCount();
        std::vector<std::thread> threads;
        for (unsigned n = 1; n < nThreads; ++n) {
            try {
                threads.emplace_back([this] { Work(); });
            } catch (...) {
                break;
            }
        }
        Work();
        for (std::thread& thread : threads)
            thread.join();
    }

private:
    void Work() {
        for (;;) {
            CWalkNode* pNode = nullptr;
            {
                std::unique_lock lock(m_mutex);
                m_cvChanged.wait(lock, [this] { return !m_queue.empty() || m_nPending == 0; });
                if (m_queue.empty())
                    return;
                // The newest folder first: the walk stays deep and local, like a serial one.
                pNode = m_queue.back();
                m_queue.pop_back();
            }
            std::vector<CWalkNode*> children;
            try {
                ReadFolder(*pNode, children);
            } catch (...) {
                // Out of memory: the folder stays as far as it was read.
                children.clear();
            }
            {
                std::lock_guard lock(m_mutex);
                m_queue.insert(m_queue.end(), children.begin(), children.end());
                m_nPending += children.size();
                --m_nPending;
            }
            m_cvChanged.notify_all();
        }
    }

    void ReadFolder(CWalkNode& node, std::vector<CWalkNode*>& children) {
        if (m_bStop.load(std::memory_order_relaxed))
            return;
        const int fd = node.fdParent >= 0
                           ? openat(node.fdParent, node.strName.c_str(),
                                    O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)
                           : open(node.strPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
        CDir pDir(fdopendir(fd));
        if (!pDir) {
            close(fd);
            return;
        }
        if (m_nFoldersKept.fetch_add(1) < m_nFolderBudget)
            node.fdKept = fcntl(fd, F_DUPFD_CLOEXEC, 0);
        while (!m_bStop.load(std::memory_order_relaxed)) {
            const dirent* pEntry = readdir(pDir.get());
            if (!pEntry)
                break;
            const char* pszName = pEntry->d_name;
            if (pszName[0] == '.' && (pszName[1] == 0 || (pszName[1] == '.' && pszName[2] == 0)))
                continue;
            const EntryKind kind = KindOfEntry(dirfd(pDir.get()), *pEntry);
            if (kind == EntryKind::Other || (kind == EntryKind::Directory && !m_bRecursive))
                continue;
            CWalkNode::Entry entry;
            entry.nNameOffset = static_cast<std::uint32_t>(node.names.size());
            entry.nNameLength = static_cast<std::uint32_t>(std::strlen(pszName));
            node.names.append(pszName, entry.nNameLength);
            if (kind == EntryKind::Directory) {
                entry.pChild = std::make_unique<CWalkNode>();
                entry.pChild->strPath = JoinPath(node.strPath, pszName);
                entry.pChild->fdParent = node.fdKept;
                entry.pChild->strName = pszName;
                children.push_back(entry.pChild.get());
            } else {
                struct stat st {};
                if (m_bStat && fstatat(dirfd(pDir.get()), pszName, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                    S_ISREG(st.st_mode)) {
                    entry.nSize = st.st_size;
                    entry.nInode = st.st_ino;
                }
                m_nListed.fetch_add(1, std::memory_order_relaxed);
            }
            node.entries.push_back(std::move(entry));
        }
    }

    const bool m_bRecursive;
    const bool m_bStat;
    const std::atomic<bool>& m_bStop;
    std::atomic<std::int64_t>& m_nListed;
    const std::size_t m_nFolderBudget;
    std::atomic<std::size_t> m_nFoldersKept{0};

    std::mutex m_mutex;
    std::condition_variable m_cvChanged;
    std::vector<CWalkNode*> m_queue;
    // Folders queued or being read.
    std::size_t m_nPending = 0;
};

// Lays the nodes out depth first into files, freeing each node once it is laid out. Kept
// descriptors pass to files.
void Flatten(std::unique_ptr<CWalkNode> pRoot, CWalkedFiles& files) {
    struct Frame {
        std::unique_ptr<CWalkNode> pNode;
        std::size_t nNext = 0;
        std::uint32_t nFolder = 0;
    };
    std::vector<Frame> stack;
    auto fnPush = [&](std::unique_ptr<CWalkNode> pNode) {
        Frame frame;
        const int fdKept = std::exchange(pNode->fdKept, -1);
        frame.nFolder = files.AddFolder(pNode->strPath, fdKept);
        frame.pNode = std::move(pNode);
        stack.push_back(std::move(frame));
    };
    fnPush(std::move(pRoot));
    while (!stack.empty()) {
        Frame& frame = stack.back();
        CWalkNode& node = *frame.pNode;
        if (frame.nNext == node.entries.size()) {
            stack.pop_back();
            continue;
        }
        CWalkNode::Entry& entry = node.entries[frame.nNext++];
        if (entry.pChild) {
            fnPush(std::move(entry.pChild)); // invalidates frame
            continue;
        }
        CWalkedFile& file =
            files.Add(frame.nFolder,
                      std::string_view(node.names).substr(entry.nNameOffset, entry.nNameLength));
        file.nSize = entry.nSize;
        file.nInode = entry.nInode;
    }
}

} // namespace

CWalkedFiles::~CWalkedFiles() {
    for (const CFolder& folder : m_folders)
        if (folder.fd >= 0)
            close(folder.fd);
}

CString CWalkedFiles::Path(std::size_t i) const {
    const CWalkedFile& file = m_files[i];
    return JoinPath(m_folders[file.nFolder].strPath, CString(file.Name()));
}

CFileRef CWalkedFiles::Ref(std::size_t i) const {
    const CWalkedFile& file = m_files[i];
    const CFolder& folder = m_folders[file.nFolder];
    if (folder.fd < 0)
        return CFileRef{AT_FDCWD, Path(i)};
    return CFileRef{folder.fd, CString(file.Name())};
}

std::uint32_t CWalkedFiles::AddFolder(CString strPath, int fdFolder) {
    try {
        m_folders.push_back(CFolder{std::move(strPath), fdFolder});
    } catch (...) {
        if (fdFolder >= 0)
            close(fdFolder);
        throw;
    }
    return static_cast<std::uint32_t>(m_folders.size() - 1);
}

CWalkedFile& CWalkedFiles::Add(std::uint32_t nFolder, std::string_view strName) {
    char* pName = Allocate(strName.size() + 1);
    std::copy(strName.begin(), strName.end(), pName);
    pName[strName.size()] = 0;
    CWalkedFile& file = m_files.emplace_back();
    file.pszName = pName;
    file.nNameLength = static_cast<std::uint32_t>(strName.size());
    file.nFolder = nFolder;
    return file;
}

char* CWalkedFiles::Allocate(std::size_t nBytes) {
    constexpr std::size_t kBlockSize = 256u << 10;
    if (m_blocks.empty() || m_nBlockSize - m_nBlockUsed < nBytes) {
        m_nBlockSize = std::max(kBlockSize, nBytes);
        m_blocks.push_back(std::make_unique<char[]>(m_nBlockSize));
        m_nBlockUsed = 0;
    }
    char* p = m_blocks.back().get() + m_nBlockUsed;
    m_nBlockUsed += nBytes;
    return p;
}

void WalkTree(const CString& strFolder, bool bRecursive, bool bStat, const std::atomic<bool>& bStop,
              std::atomic<std::int64_t>& nListed, CWalkedFiles& files) {
    if (strFolder.empty())
        return;
    auto pRoot = std::make_unique<CWalkNode>();
    // Full paths begin with the folder made absolute, exactly as the search worker's do.
    pRoot->strPath = MakeAbsolutePath(strFolder);
    CParallelWalk walk(bRecursive, bStat, bStop, nListed);
    walk.Run(pRoot.get());
    Flatten(std::move(pRoot), files);
}
