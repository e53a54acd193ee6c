#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

CTempDir::CTempDir() {
    const char* pszBase = std::getenv("TMPDIR");
    std::string strTemplate =
        std::string(pszBase && *pszBase ? pszBase : "/tmp") + "/twinsift-XXXXXX";
    std::vector<char> buffer(strTemplate.begin(), strTemplate.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        throw std::runtime_error("mkdtemp failed");
    m_strPath = buffer.data();
}

CTempDir::~CTempDir() {
    RemoveTree(m_strPath);
}

std::string CTempDir::operator/(const std::string& strRelative) const {
    return m_strPath + "/" + strRelative;
}

std::string CTempDir::WriteFile(const std::string& strRelative,
                                const std::string& strContent) const {
    const std::string strFull = *this / strRelative;
    fs::create_directories(fs::path(strFull).parent_path());
    std::ofstream out(strFull, std::ios::binary | std::ios::trunc);
    out.write(strContent.data(), static_cast<std::streamsize>(strContent.size()));
    if (!out)
        throw std::runtime_error("cannot write " + strFull);
    return strFull;
}

std::string CTempDir::MakeDir(const std::string& strRelative) const {
    const std::string strFull = *this / strRelative;
    fs::create_directories(strFull);
    return strFull;
}

std::string ReadFileBytes(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void RemoveTree(const std::string& strPath) {
    std::error_code ec;
    // Folders made unreadable by a test must be opened up again before they can be emptied.
    for (auto it = fs::recursive_directory_iterator(
             strPath, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            chmod(it->path().c_str(), 0700);
    }
    chmod(strPath.c_str(), 0700);
    fs::remove_all(strPath, ec);
}
