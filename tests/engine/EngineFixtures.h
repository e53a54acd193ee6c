// Fixture helpers for the comparison tests: files of given bytes and sizes, a watch on file
// reads, and a descriptor whose reads fail part-way.
#pragma once

#include "tests/support/TempDir.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// n bytes of reproducible pseudo-random data.
std::string RandomBytes(std::size_t nBytes, unsigned nSeed);

// Makes a sparse file of nSize bytes (holes read as zeros) with strTail written at its end.
std::string MakeSparseFile(const CTempDir& dir, const std::string& strName, std::int64_t nSize,
                           const std::string& strTail = {});

// Reports whether watched files were opened or read, through inotify: an independent witness
// that a comparison did or did not touch a file.
class CAccessWatch {
public:
    CAccessWatch();
    CAccessWatch(const CAccessWatch&) = delete;
    CAccessWatch& operator=(const CAccessWatch&) = delete;
    ~CAccessWatch();

    void Watch(const std::string& strPath);
    // Drains the events so far; whether the file was opened, and whether it was read.
    struct Seen {
        bool bOpened = false;
        bool bRead = false;
    };
    Seen Take(const std::string& strPath);

private:
    int m_fd = -1;
    struct Entry {
        int nWatch;
        std::string strPath;
        Seen seen;
    };
    std::vector<Entry> m_entries;
    void Drain();
};

// A range of this process's memory, readable for nReadable bytes and then faulting, seen
// through /proc/self/mem: reading it gives data first and then fails with EIO, as a disk that
// goes bad part-way through a file does.
class CFailingRead {
public:
    explicit CFailingRead(std::size_t nReadable);
    CFailingRead(const CFailingRead&) = delete;
    CFailingRead& operator=(const CFailingRead&) = delete;
    ~CFailingRead();

    // A new descriptor positioned at the start of the readable bytes; the caller owns it.
    int OpenDescriptor() const;

private:
    unsigned char* m_pBase = nullptr;
    std::size_t m_nReadable = 0;
    std::size_t m_nMapped = 0;
};
