// The one walk of the grouped engine: the same rules and the same order as the search
// worker's passes (regular files only, no links followed, subfolders depth first where they
// are met, entries in the order the file system returns them), and the same full paths.
#pragma once

#include "cli/FileContent.h"
#include "platform/ByteString.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

struct CWalkedFile {
    // The name, NUL-terminated; it lives as long as the CWalkedFiles that holds it.
    const char* pszName = nullptr;
    std::uint32_t nNameLength = 0;
    // The folder the file was found in, an index into its CWalkedFiles' folders.
    std::uint32_t nFolder = 0;
    // -1 when the file could not be asked about (it vanished or turned into something else
    // between the listing and the question), or when it was not asked.
    std::int64_t nSize = -1;
    std::uint64_t nInode = 0;

    std::string_view Name() const { return {pszName, nNameLength}; }
};

// The files of a walk, in walk order. Each folder's path is held once and each file's name
// is packed into large blocks, which tens of thousands of full paths would not be. The
// folders are kept open while the descriptor limit allows, so that a file is opened by its
// name in its folder and the system need not look up its whole path again.
class CWalkedFiles {
public:
    CWalkedFiles() = default;
    CWalkedFiles(const CWalkedFiles&) = delete;
    CWalkedFiles& operator=(const CWalkedFiles&) = delete;
    ~CWalkedFiles();

    std::size_t size() const { return m_files.size(); }
    const CWalkedFile& operator[](std::size_t i) const { return m_files[i]; }
    // The full path: the folder, a separator unless the folder ends with one, and the name.
    CString Path(std::size_t i) const;
    // How to open the file: by name in its open folder, or by its full path.
    CFileRef Ref(std::size_t i) const;

    // Adds a folder with its full path and, when it is kept open, its descriptor, which the
    // object then owns (-1 otherwise); returns its index for Add.
    std::uint32_t AddFolder(CString strPath, int fdFolder);
    // Appends a file of a folder.
    CWalkedFile& Add(std::uint32_t nFolder, std::string_view strName);

private:
    struct CFolder {
        CString strPath;
        int fd = -1;
    };
    char* Allocate(std::size_t nBytes);

    std::deque<CWalkedFile> m_files;
    std::vector<CFolder> m_folders;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_nBlockUsed = 0;
    std::size_t m_nBlockSize = 0;
};

// Lists the files under strFolder in walk order, reading folders on every core. With bStat, asks
// each file's size and identity, without following links. Ends early, with what it has, when bStop
// is set; nListed counts the files as they are found.
void WalkTree(const CString& strFolder, bool bRecursive, bool bStat, const std::atomic<bool>& bStop,
              std::atomic<std::int64_t>& nListed, CWalkedFiles& files);
