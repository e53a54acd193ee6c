// Enumeration of one folder's entries, in the order the file system returns them.
//
// Entries are told apart without following links: a regular file is a file, a real directory
// is a directory, and everything else (symbolic links, FIFOs, sockets, devices) is neither, so
// a walk never blocks on a FIFO and never loops through a directory link.
#pragma once

#include "platform/ByteString.h"

#include <dirent.h>
#include <memory>

enum class EntryKind { Other, File, Directory };

class CFileFind {
public:
    CFileFind() = default;
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;
    ~CFileFind() = default;

    // Starts an enumeration of the folder. The folder path is made absolute; full paths of the
    // entries are that path, a separator unless it already ends with one, and the name.
    // Returns false when the folder cannot be read; it then has no entries.
    bool FindFile(const CString& strFolder);
    // Fetches the next entry; returns whether another entry follows it.
    bool FindNextFile();
    void Close();

    bool IsDots() const;
    bool IsDirectory() const { return m_kind == EntryKind::Directory; }
    bool IsFile() const { return m_kind == EntryKind::File; }
    const CString& GetFileName() const { return m_strName; }
    CString GetFilePath() const;

private:
    struct DirCloser {
        void operator()(DIR* pDir) const { closedir(pDir); }
    };
    bool Prefetch();

    std::unique_ptr<DIR, DirCloser> m_pDir;
    CString m_strRoot;
    // The entry handed out by the last FindNextFile, and the one read ahead of it.
    CString m_strName;
    EntryKind m_kind = EntryKind::Other;
    CString m_strNextName;
    EntryKind m_nextKind = EntryKind::Other;
    bool m_bHasNext = false;
};

// What an entry of the open folder nDirFd is, without following a link: the entry's own type
// where the file system reports it, else an fstatat that does not follow links.
EntryKind KindOfEntry(int nDirFd, const dirent& entry);

// The path made absolute against the current directory; an absolute path is returned as is.
CString MakeAbsolutePath(const CString& strPath);
