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
    // The full path, NUL-terminated; it lives as long as the CWalkedFiles that holds it.
    const char* pszPath = nullptr;
    std::uint32_t nPathLength = 0;
    // -1 when the file could not be asked about (it vanished or turned into something else
    // between the listing and the question), or when it was not asked.
    std::int64_t nSize = -1;
    std::uint64_t nDevice = 0;
    std::uint64_t nInode = 0;
    // The folder the file was found in, as an index into its CWalkedFiles' open folders, or
    // kNoFolder; and where its name starts in its path.
    std::uint32_t nFolder = 0;
    std::uint32_t nNameOffset = 0;

    static constexpr std::uint32_t kNoFolder = ~std::uint32_t{0};
    std::string_view Path() const { return {pszPath, nPathLength}; }
};

// The files of a walk, in walk order. Paths are packed into large blocks, which tens of
// thousands of small strings would not be. The folders are kept open while the descriptor
// limit allows, so that a file is opened by its name in its folder and the system need not
// look up its whole path again.
class CWalkedFiles {
public:
    CWalkedFiles() = default;
    CWalkedFiles(const CWalkedFiles&) = delete;
    CWalkedFiles& operator=(const CWalkedFiles&) = delete;
    ~CWalkedFiles();

    std::size_t size() const { return m_files.size(); }
    const CWalkedFile& operator[](std::size_t i) const { return m_files[i]; }
    // How to open the file: by name in its open folder, or by its full path.
    CFileRef Ref(std::size_t i) const;

    // Appends a file: folder, a separator unless the folder ends with one, and the name;
    // nFolder is what KeepFolder returned for its folder.
    CWalkedFile& Add(std::string_view strFolder, std::string_view strName, std::uint32_t nFolder);
    // Takes over an open folder's descriptor and returns its index for Add.
    std::uint32_t AdoptFolder(int fdFolder);

private:
    char* Allocate(std::size_t nBytes);

    std::vector<int> m_folderFds;

    std::deque<CWalkedFile> m_files;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_nBlockUsed = 0;
    std::size_t m_nBlockSize = 0;
};

// Lists the files under strFolder in walk order, reading folders on every core. With bStat, asks
// each file's size and identity, without following links. Ends early, with what it has, when bStop
// is set; nListed counts the files as they are found.
void WalkTree(const CString& strFolder, bool bRecursive, bool bStat, const std::atomic<bool>& bStop,
              std::atomic<std::int64_t>& nListed, CWalkedFiles& files);
