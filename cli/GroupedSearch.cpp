#include "cli/GroupedSearch.h"

#include "cli/FileContent.h"
#include "cli/Md5Files.h"
#include "cli/Md5Lanes.h"
#include "cli/ParallelFor.h"
#include "cli/TreeWalk.h"
#include "engine/CompareMethod.h"
#include "engine/Crc32.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

// Bytes compared before whole files are: most same-size files differ early.
constexpr std::size_t kPrefixBytes = 4096;
// Files of one family read side by side at most; larger families are split by hash first.
constexpr std::size_t kMaxSideBySide = 64;
// Memory for the blocks of one side-by-side comparison, and the bounds of one block.
constexpr std::size_t kSideBySideMemory = 1u << 20;
constexpr std::size_t kMinBlock = 16u << 10;
constexpr std::size_t kMaxBlock = 256u << 10;
// The block of whole-file hashing.
constexpr std::size_t kHashBlock = 256u << 10;

// Files (indices into the walk) judged equal so far, in walk order.
using Family = std::vector<std::size_t>;

class CGroupedRun {
public:
    CGroupedRun(const CWalkedFiles& files, CGroupedProgress& progress)
        : m_files(files), m_progress(progress), m_unreadable(files.size(), 0),
          m_nThreads(WorkerThreadCount()) {}

    std::vector<Family> ByName() const;
    // Families of two or more files of equal size; with bEmpty false, empty files are left
    // out. Files whose size could not be had are unreadable.
    std::vector<Family> BySize(bool bEmpty);
    // Splits every family by a key read from each file (in inode order, on every core).
    // fnKey(nFile, nThread, key) returns false when the file cannot be read. States are made
    // per thread by fnState.
    template <typename Key, typename State, typename FnState, typename FnKey>
    std::vector<Family> SplitByKey(const std::vector<Family>& families, FnState&& fnState,
                                   FnKey&& fnKey);
    // The same, where fnRead(order, keys, outcome) reads the keys of the files at the
    // positions of order (inode order) on every core, setting outcome to 1 (read) or 2 (not
    // readable) and leaving 0 for files it did not reach before a stop.
    template <typename Key, typename FnRead>
    std::vector<Family> SplitByKeys(const std::vector<Family>& families, FnRead&& fnRead);
    // Splits by MD5 digest, eight files at a time on each thread where the processor allows.
    std::vector<Family> SplitByMd5(const std::vector<Family>& families);
    // Splits families of same-size files by their whole contents, byte by byte.
    std::vector<Family> SplitByContent(const std::vector<Family>& families);

    bool Stopped() const { return m_progress.bStop.load(std::memory_order_relaxed); }
    std::size_t UnreadableCount() const {
        return static_cast<std::size_t>(std::count(m_unreadable.begin(), m_unreadable.end(), 1));
    }

private:
    // The families, among files of one family read side by side, into which their bytes
    // divide them; nothing when the run was stopped part-way.
    std::optional<std::vector<Family>> CompareSideBySide(const Family& family);
    std::vector<Family> CompareLargeFamily(const Family& family);

    const CWalkedFiles& m_files;
    CGroupedProgress& m_progress;
    // One flag per file, written only by the thread that reads that file.
    std::vector<char> m_unreadable;
    unsigned m_nThreads;
};

// Families of two or more files with equal keys, from (key, file) pairs in walk order: sorted
// by key with the walk order kept within a key, runs of equal keys are the families. Sorting
// a flat array costs far less memory than a map of small vectors.
template <typename Key>
std::vector<Family> FamiliesOfEqualKeys(std::vector<std::pair<Key, std::size_t>>& keyed) {
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Family> families;
    for (std::size_t nStart = 0; nStart < keyed.size();) {
        std::size_t nEnd = nStart + 1;
        while (nEnd < keyed.size() && keyed[nEnd].first == keyed[nStart].first)
            ++nEnd;
        if (nEnd - nStart > 1) {
            Family family;
            family.reserve(nEnd - nStart);
            for (std::size_t i = nStart; i < nEnd; ++i)
                family.push_back(keyed[i].second);
            families.push_back(std::move(family));
        }
        nStart = nEnd;
    }
    return families;
}

std::vector<Family> CGroupedRun::ByName() const {
    std::vector<std::pair<std::string_view, std::size_t>> byName;
    byName.reserve(m_files.size());
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        // The name comparison takes what follows the last separator of either kind: in a
        // full path that is the file's name, or the part of it after its last backslash.
        const std::string_view strName = m_files[i].Name();
        const std::size_t nSep = strName.rfind('\\');
        byName.emplace_back(strName.substr(nSep == std::string_view::npos ? 0 : nSep + 1), i);
    }
    return FamiliesOfEqualKeys(byName);
}

std::vector<Family> CGroupedRun::BySize(bool bEmpty) {
    std::vector<std::pair<std::int64_t, std::size_t>> bySize;
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        const std::int64_t nSize = m_files[i].nSize;
        if (nSize < 0)
            m_unreadable[i] = 1;
        else if (nSize > 0 || bEmpty)
            bySize.emplace_back(nSize, i);
    }
    return FamiliesOfEqualKeys(bySize);
}

template <typename Key, typename FnRead>
std::vector<Family> CGroupedRun::SplitByKeys(const std::vector<Family>& families, FnRead&& fnRead) {
    std::vector<std::size_t> order;
    for (const Family& family : families)
        order.insert(order.end(), family.begin(), family.end());
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return m_files[a].nInode < m_files[b].nInode;
    });
    m_progress.nToRead.fetch_add(static_cast<std::int64_t>(order.size()));

    // Per position in order: the key, and 0 not read (stopped), 1 read, 2 unreadable.
    std::vector<Key> keys(order.size());
    std::vector<char> outcome(order.size(), 0);
    fnRead(order, keys, outcome);
    std::vector<std::size_t> posOf(m_files.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        posOf[order[i]] = i;
        if (outcome[i] == 2)
            m_unreadable[order[i]] = 1;
    }

    std::vector<Family> result;
    std::vector<std::pair<Key, std::size_t>> keyed;
    for (const Family& family : families) {
        const bool bDecided = std::none_of(family.begin(), family.end(),
                                           [&](std::size_t f) { return outcome[posOf[f]] == 0; });
        if (!bDecided)
            continue;
        keyed.clear();
        for (const std::size_t nFile : family)
            if (outcome[posOf[nFile]] == 1)
                keyed.emplace_back(keys[posOf[nFile]], nFile);
        for (Family& part : FamiliesOfEqualKeys(keyed))
            result.push_back(std::move(part));
    }
    return result;
}

template <typename Key, typename State, typename FnState, typename FnKey>
std::vector<Family> CGroupedRun::SplitByKey(const std::vector<Family>& families, FnState&& fnState,
                                            FnKey&& fnKey) {
    return SplitByKeys<Key>(families, [&](const std::vector<std::size_t>& order,
                                          std::vector<Key>& keys, std::vector<char>& outcome) {
        std::vector<State> states;
        for (unsigned n = 0; n < m_nThreads; ++n)
            states.push_back(fnState());
        ParallelFor(order.size(), m_nThreads, [&](std::size_t i, unsigned nThread) {
            if (Stopped())
                return;
            outcome[i] = fnKey(order[i], states[nThread], keys[i]) ? 1 : 2;
            m_progress.nRead.fetch_add(1, std::memory_order_relaxed);
        });
    });
}

std::vector<Family> CGroupedRun::SplitByMd5(const std::vector<Family>& families) {
    if (!Md5LanesAvailable()) {
        return SplitByKey<CMd5Digest, CAlignedBuffer>(
            families, [] { return CAlignedBuffer(kHashBlock); },
            [this](std::size_t nFile, CAlignedBuffer& buffer, CMd5Digest& digest) {
                return FileMd5(m_files.Ref(nFile), m_files[nFile].nSize, buffer, digest);
            });
    }
    return SplitByKeys<CMd5Digest>(families, [&](const std::vector<std::size_t>& order,
                                                 std::vector<CMd5Digest>& digests,
                                                 std::vector<char>& outcome) {
        CMd5Job job;
        job.nCount = order.size();
        job.fnRef = [&](std::size_t i) { return m_files.Ref(order[i]); };
        job.fnSize = [&](std::size_t i) { return m_files[order[i]].nSize; };
        std::atomic<std::size_t> nNext{0};
        auto fnDone = [this](std::size_t) {
            m_progress.nRead.fetch_add(1, std::memory_order_relaxed);
        };
        // One task per thread, each hashing eight files at a time.
        ParallelFor(m_nThreads, m_nThreads, [&](std::size_t, unsigned) {
            try {
                HashFilesInLanes(job, nNext, m_progress.bStop, digests, outcome, fnDone);
            } catch (...) {
                // Out of memory for the lane buffers: the files this thread did not finish
                // stay undecided.
            }
        });
    });
}

std::optional<std::vector<Family>> CGroupedRun::CompareSideBySide(const Family& family) {
    const std::int64_t nSize = m_files[family.front()].nSize;
    Family byInode = family;
    std::sort(byInode.begin(), byInode.end(), [this](std::size_t a, std::size_t b) {
        return m_files[a].nInode < m_files[b].nInode;
    });
    std::vector<std::size_t> members;
    std::vector<CFileHandle> handles;
    for (const std::size_t nFile : byInode) {
        CFileHandle file;
        if (OpenForReading(m_files.Ref(nFile), nSize, file)) {
            members.push_back(nFile);
            handles.push_back(std::move(file));
        } else {
            m_unreadable[nFile] = 1;
        }
    }
    // The first block is the prefix, where most same-size files already differ; the blocks
    // after it are as large as the memory for this family allows.
    const std::size_t nBlock = static_cast<std::size_t>(std::min<std::int64_t>(
        nSize, std::clamp(kSideBySideMemory / std::max<std::size_t>(members.size(), 1), kMinBlock,
                          kMaxBlock)));
    std::vector<CAlignedBuffer> buffers;
    for (std::size_t i = 0; i < members.size(); ++i)
        buffers.emplace_back(nBlock);

    // Positions into members, split further at every block.
    std::vector<std::vector<std::size_t>> parts;
    if (members.size() > 1) {
        parts.emplace_back(members.size());
        for (std::size_t i = 0; i < members.size(); ++i)
            parts.front()[i] = i;
    }
    auto fnUnreadable = [&](std::size_t nPos) {
        m_unreadable[members[nPos]] = 1;
        handles[nPos].Close();
    };
    for (std::int64_t nOffset = 0; nOffset < nSize && !parts.empty();) {
        if (Stopped())
            return std::nullopt;
        const std::size_t nWant = nOffset == 0 ? std::min(kPrefixBytes, nBlock) : nBlock;
        const std::size_t nBytes =
            static_cast<std::size_t>(std::min<std::int64_t>(nSize - nOffset, nWant));
        std::vector<std::vector<std::size_t>> next;
        for (const auto& part : parts) {
            std::vector<std::vector<std::size_t>> split;
            for (const std::size_t nPos : part) {
                if (ReadUpTo(handles[nPos], buffers[nPos].Data(), nBytes) !=
                    static_cast<std::int64_t>(nBytes)) {
                    fnUnreadable(nPos); // shorter than the walk saw it
                    continue;
                }
                auto it = std::find_if(split.begin(), split.end(), [&](const auto& sub) {
                    return std::memcmp(buffers[sub.front()].Data(), buffers[nPos].Data(), nBytes) ==
                           0;
                });
                if (it == split.end())
                    split.push_back({nPos});
                else
                    it->push_back(nPos);
            }
            for (auto& sub : split) {
                if (sub.size() > 1)
                    next.push_back(std::move(sub));
                else
                    handles[sub.front()].Close();
            }
        }
        parts = std::move(next);
        nOffset += static_cast<std::int64_t>(nBytes);
    }

    std::vector<Family> result;
    for (const auto& part : parts) {
        Family equal;
        for (const std::size_t nPos : part) {
            // A file that grew since the walk has changed: it is in no group.
            if (AtEnd(handles[nPos]))
                equal.push_back(members[nPos]);
            else
                fnUnreadable(nPos);
        }
        if (equal.size() < 2)
            continue;
        std::sort(equal.begin(), equal.end());
        result.push_back(std::move(equal));
    }
    return result;
}

std::vector<Family> CGroupedRun::CompareLargeFamily(const Family& family) {
    // Too many to read side by side: compare the first file with the others in batches;
    // files equal to it form its group, and the rest (equal hashes, other bytes) start over.
    std::vector<Family> result;
    Family rest = family;
    while (rest.size() > 1 && !Stopped()) {
        const std::size_t nPivot = rest.front();
        Family equal = {nPivot};
        Family other;
        for (std::size_t nStart = 1; nStart < rest.size(); nStart += kMaxSideBySide - 1) {
            Family batch = {nPivot};
            const std::size_t nEnd = std::min(rest.size(), nStart + kMaxSideBySide - 1);
            batch.insert(batch.end(), rest.begin() + static_cast<std::ptrdiff_t>(nStart),
                         rest.begin() + static_cast<std::ptrdiff_t>(nEnd));
            const auto parts = CompareSideBySide(batch);
            if (!parts)
                return result;
            std::vector<char> bPlaced(batch.size(), 0);
            for (const Family& part : *parts) {
                const bool bWithPivot = std::find(part.begin(), part.end(), nPivot) != part.end();
                for (const std::size_t nFile : part) {
                    if (nFile == nPivot)
                        continue;
                    (bWithPivot ? equal : other).push_back(nFile);
                }
            }
            // Files in no part differ from all others of the batch, the pivot included; they
            // may still equal files of other batches.
            for (std::size_t i = 1; i < batch.size(); ++i) {
                const std::size_t nFile = batch[i];
                const bool bInPart =
                    std::any_of(parts->begin(), parts->end(), [&](const Family& p) {
                        return std::find(p.begin(), p.end(), nFile) != p.end();
                    });
                if (!bInPart && !m_unreadable[nFile])
                    other.push_back(nFile);
            }
        }
        if (equal.size() > 1) {
            std::sort(equal.begin(), equal.end());
            result.push_back(std::move(equal));
        }
        std::sort(other.begin(), other.end());
        rest = std::move(other);
    }
    return result;
}

std::vector<Family> CGroupedRun::SplitByContent(const std::vector<Family>& families) {
    std::vector<Family> sideBySide;
    std::vector<Family> large;
    for (const Family& family : families)
        (family.size() <= kMaxSideBySide ? sideBySide : large).push_back(family);

    // Families too large to read side by side are split by a hash of their first bytes, then
    // of their whole contents, so that few files are left to compare in batches.
    if (!large.empty()) {
        const auto byPrefix = SplitByKey<std::uint64_t, CAlignedBuffer>(
            large, [] { return CAlignedBuffer(kPrefixBytes); },
            [this](std::size_t nFile, CAlignedBuffer& buffer, std::uint64_t& nHash) {
                return PrefixHash64(m_files.Ref(nFile), m_files[nFile].nSize, kPrefixBytes, buffer,
                                    nHash);
            });
        large.clear();
        for (const Family& family : byPrefix)
            (family.size() <= kMaxSideBySide ? sideBySide : large).push_back(family);
    }
    if (!large.empty()) {
        const auto byHash = SplitByKey<std::uint64_t, CAlignedBuffer>(
            large, [] { return CAlignedBuffer(kHashBlock); },
            [this](std::size_t nFile, CAlignedBuffer& buffer, std::uint64_t& nHash) {
                return FileHash64(m_files.Ref(nFile), m_files[nFile].nSize, buffer, nHash);
            });
        large.clear();
        for (const Family& family : byHash)
            (family.size() <= kMaxSideBySide ? sideBySide : large).push_back(family);
    }

    // In the inode order of their first files, each family on one thread.
    auto fnFirstInode = [this](const Family& family) {
        std::uint64_t nInode = m_files[family.front()].nInode;
        for (const std::size_t nFile : family)
            nInode = std::min(nInode, m_files[nFile].nInode);
        return nInode;
    };
    std::sort(sideBySide.begin(), sideBySide.end(),
              [&](const Family& a, const Family& b) { return fnFirstInode(a) < fnFirstInode(b); });
    for (const Family& family : sideBySide)
        m_progress.nToRead.fetch_add(static_cast<std::int64_t>(family.size()));
    for (const Family& family : large)
        m_progress.nToRead.fetch_add(static_cast<std::int64_t>(family.size()));

    std::vector<std::optional<std::vector<Family>>> results(sideBySide.size() + large.size());
    ParallelFor(results.size(), m_nThreads, [&](std::size_t i, unsigned) {
        if (Stopped())
            return;
        const Family& family = i < sideBySide.size() ? sideBySide[i] : large[i - sideBySide.size()];
        try {
            if (i < sideBySide.size())
                results[i] = CompareSideBySide(family);
            else
                results[i] = CompareLargeFamily(family);
        } catch (...) {
            // Out of memory for the blocks: this family stays undecided.
        }
        m_progress.nRead.fetch_add(static_cast<std::int64_t>(family.size()));
    });
    std::vector<Family> decided;
    for (auto& parts : results)
        if (parts)
            for (Family& family : *parts)
                decided.push_back(std::move(family));
    return decided;
}

// The families as the worker would report them: each in walk order, the families in the
// walk order of their second files.
CDuplicateGroups ToGroups(std::vector<Family> families, const CWalkedFiles& files) {
    for (Family& family : families)
        std::sort(family.begin(), family.end());
    std::sort(families.begin(), families.end(),
              [](const Family& a, const Family& b) { return a[1] < b[1]; });
    CDuplicateGroups groups;
    for (const Family& family : families)
        for (std::size_t i = 1; i < family.size(); ++i)
            groups.OnDuplicateFound(files.Path(family.front()), files.Path(family[i]));
    return groups;
}

} // namespace

CGroupedResult RunGroupedSearch(const CString& strFolder, bool bRecursive, int nMethod,
                                CGroupedProgress& progress) {
    CWalkedFiles files;
    WalkTree(strFolder, bRecursive, nMethod != METHOD_NAME, progress.bStop, progress.nListed,
             files);
    progress.bWalkDone = true;
    CGroupedRun run(files, progress);
    CGroupedResult result;
    if (run.Stopped())
        return result;

    std::vector<Family> families;
    switch (nMethod) {
    case METHOD_NAME:
        families = run.ByName();
        break;
    case METHOD_SIZE_CRC:
        families = run.SplitByKey<std::uint32_t, std::unique_ptr<CCrc32>>(
            run.BySize(false),
            [] {
                auto pCrc = std::make_unique<CCrc32>();
                pCrc->BuildTable();
                return pCrc;
            },
            [&files](std::size_t nFile, std::unique_ptr<CCrc32>& pCrc, std::uint32_t& crc) {
                return FileCrc32(files.Ref(nFile), files[nFile].nSize, *pCrc, crc);
            });
        break;
    case METHOD_BYTES:
        families = run.SplitByContent(run.BySize(false));
        break;
    case METHOD_MD5:
        families = run.SplitByMd5(run.BySize(true));
        break;
    default:
        break;
    }
    result.groups = ToGroups(std::move(families), files);
    result.nUnreadable = run.UnreadableCount();
    return result;
}
