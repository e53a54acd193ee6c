// Deleting, copying and moving one file on the user's request. None of them ever overwrites an
// existing file, and a failure leaves no half-written target behind. Each returns 0 on success
// or the errno value that explains the failure (ErrnoText gives it in words).
#pragma once

#include "platform/ByteString.h"

// Removes the file.
int DeleteFileAt(const CString& strPath);
// Copies the file into a new file at strTarget, which must not exist yet.
int CopyFileNoReplace(const CString& strSource, const CString& strTarget);
// Moves the file to strTarget, which must not exist yet; across file systems by a copy that
// replaces nothing, then the removal of the source.
int MoveFileNoReplace(const CString& strSource, const CString& strTarget);
