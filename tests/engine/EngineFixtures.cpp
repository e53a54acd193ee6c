#include "tests/engine/EngineFixtures.h"

#include <cstring>
#include <fcntl.h>
#include <random>
#include <stdexcept>
#include <sys/inotify.h>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

std::string RandomBytes(std::size_t nBytes, unsigned nSeed) {
    std::mt19937 engine(nSeed);
    std::string strBytes(nBytes, '\0');
    for (char& ch : strBytes)
        ch = static_cast<char>(engine() & 0xFF);
    return strBytes;
}

std::string MakeSparseFile(const CTempDir& dir, const std::string& strName, std::int64_t nSize,
                           const std::string& strTail) {
    const std::string strPath = dir.WriteFile(strName, "");
    const int fd = open(strPath.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open " + strPath);
    bool bOk = ftruncate(fd, nSize) == 0;
    if (bOk && !strTail.empty()) {
        const auto nOffset = nSize - static_cast<std::int64_t>(strTail.size());
        bOk = pwrite(fd, strTail.data(), strTail.size(), nOffset) ==
              static_cast<ssize_t>(strTail.size());
    }
    close(fd);
    if (!bOk)
        throw std::runtime_error("cannot size " + strPath);
    return strPath;
}

CAccessWatch::CAccessWatch() : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (m_fd < 0)
        throw std::runtime_error("inotify_init1 failed");
}

CAccessWatch::~CAccessWatch() {
    close(m_fd);
}

void CAccessWatch::Watch(const std::string& strPath) {
    const int nWatch = inotify_add_watch(m_fd, strPath.c_str(), IN_OPEN | IN_ACCESS);
    if (nWatch < 0)
        throw std::runtime_error("inotify_add_watch failed for " + strPath);
    m_entries.push_back({nWatch, strPath, {}});
}

void CAccessWatch::Drain() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t nRead = read(m_fd, buffer, sizeof buffer);
        if (nRead <= 0)
            return;
        for (ssize_t nAt = 0; nAt < nRead;) {
            inotify_event event{};
            std::memcpy(&event, buffer + nAt, sizeof event);
            for (Entry& entry : m_entries) {
                if (entry.nWatch != event.wd)
                    continue;
                entry.seen.bOpened |= (event.mask & IN_OPEN) != 0;
                entry.seen.bRead |= (event.mask & IN_ACCESS) != 0;
            }
            nAt += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
        }
    }
}

CAccessWatch::Seen CAccessWatch::Take(const std::string& strPath) {
    Drain();
    for (Entry& entry : m_entries)
        if (entry.strPath == strPath)
            return std::exchange(entry.seen, Seen{});
    throw std::runtime_error("not watched: " + strPath);
}

CFailingRead::CFailingRead(std::size_t nReadable) : m_nReadable(nReadable) {
    const auto nPage = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t nReadablePages = (nReadable + nPage - 1) / nPage;
    // The readable pages, then one page of an empty file: touching that page faults, so a read
    // through /proc/self/mem fails there. The page stays reserved, so that no other mapping
    // can take its place while the test runs.
    m_nMapped = (nReadablePages + 1) * nPage;
    void* pMapped =
        mmap(nullptr, m_nMapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pMapped == MAP_FAILED)
        throw std::runtime_error("mmap failed");
    m_pBase = static_cast<unsigned char*>(pMapped);
    std::memset(m_pBase, 'x', nReadablePages * nPage);
    const int fdEmpty = memfd_create("empty", MFD_CLOEXEC);
    void* pHole = fdEmpty < 0 ? MAP_FAILED
                              : mmap(m_pBase + nReadablePages * nPage, nPage, PROT_READ,
                                     MAP_SHARED | MAP_FIXED, fdEmpty, 0);
    if (fdEmpty >= 0)
        close(fdEmpty);
    if (pHole == MAP_FAILED) {
        munmap(m_pBase, m_nMapped);
        throw std::runtime_error("cannot map the failing page");
    }
}

CFailingRead::~CFailingRead() {
    munmap(m_pBase, m_nMapped);
}

int CFailingRead::OpenDescriptor() const {
    const int fd = open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open /proc/self/mem");
    const auto nPage = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const auto nStart = reinterpret_cast<std::uintptr_t>(m_pBase + m_nMapped - nPage - m_nReadable);
    if (lseek(fd, static_cast<off_t>(nStart), SEEK_SET) < 0) {
        close(fd);
        throw std::runtime_error("cannot seek /proc/self/mem");
    }
    return fd;
}
