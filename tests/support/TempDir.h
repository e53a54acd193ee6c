// A temporary folder made per test and removed with everything in it afterwards, with helpers
// to lay out fixture trees.
#pragma once

#include <string>

class CTempDir {
public:
    CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;
    ~CTempDir();

    const std::string& Path() const { return m_strPath; }
    // Full path of a relative name inside the folder.
    std::string operator/(const std::string& strRelative) const;

    // Writes a file (making its folders); returns its full path.
    std::string WriteFile(const std::string& strRelative, const std::string& strContent) const;
    // Makes a folder and its parents; returns its full path.
    std::string MakeDir(const std::string& strRelative) const;

private:
    std::string m_strPath;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& strPath);

// Removes a tree without following links; restores permissions that would stop it.
void RemoveTree(const std::string& strPath);
