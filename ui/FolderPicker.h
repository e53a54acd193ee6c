// The folder browser behind the "..." buttons: shows the platform's folder dialog owned by the
// calling dialog and hands back the chosen folder's path.
#pragma once

#include "platform/ByteString.h"

#include <QFileDialog>
#include <QUrl>
#include <functional>

class QWidget;

enum : int {
    // The user closed the browser without choosing.
    BROWSE_CANCELLED = 0,
    // No output was given, or the chosen item has no local file-system path.
    BROWSE_NO_PATH = 1,
    // The chosen folder's full path stands in the output.
    BROWSE_OK = 2,
};

class CFolderPicker {
public:
    // Shows a folder dialog and returns the chosen item; an empty URL when cancelled.
    using FnGetFolder = std::function<QUrl(QWidget* pOwner, QFileDialog::Options options)>;

    CFolderPicker();

    // Shows the browser modally to pOwner. On BROWSE_OK, *pstrPath holds the path; on any other
    // result it is left as it was. A null pstrPath gives BROWSE_NO_PATH without a window.
    int Browse(QWidget* pOwner, CString* pstrPath) const;

    // Options of every browser shown from now on (tests use the non-native dialog).
    static void SetDialogOptions(QFileDialog::Options options);
    // Replaces the browser itself, for tests of items that have no local path; an empty
    // function restores the real one.
    static void SetFolderSource(FnGetFolder fnGetFolder);

private:
    // Instruction text above the tree; empty, so none is shown.
    QString m_strTitle;
};

// What both "..." buttons do: browse into strFolder and, when the chosen item has no path, tell
// the user so. Returns true when strFolder holds a newly chosen folder.
bool BrowseForFolder(QWidget* pOwner, CString& strFolder);
