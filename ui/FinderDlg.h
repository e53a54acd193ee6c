// The main window: a modal dialog built from template IDD_MAIN_DIALOG. The user chooses the
// folder, the subfolder option and the comparison method; Start runs the search worker on its
// own thread, Pause/Resume and Stop steer it through the two search events, and the result tree
// shows the duplicates it reports, one group per representative file.
//
// The handlers are spread over files by concern: FinderDlg.cpp (set-up, keys, closing),
// FinderDlgSearch.cpp (search control), FinderDlgResults.cpp (the result tree),
// FinderDlgFileActions.cpp (Delete, Copy, Move) and FinderDlgLinks.cpp (the link label and the
// About box).
#pragma once

#include "platform/ByteString.h"
#include "search/SearchParams.h"

#include <QByteArray>
#include <QCursor>
#include <QDialog>
#include <QHash>
#include <QIcon>
#include <cstdint>
#include <memory>
#include <vector>

class CDialogMessageTarget;
class CSearchWorkerThread;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// One group of the result tree. A group item's data is its 1-based index into m_groups.
struct GroupInfo {
    // Duplicates in the group: its file entries minus one (the representative).
    int nCount = 0;
    // Size in bytes of the representative, read once when the group was made; all 64 bits.
    std::uint64_t dwSize = 0;
};

// The label of a group: "%d duplicates of size %.3f KB".
CString FormatGroupLabel(int nCount, std::uint64_t dwSize);

// The item data role that holds the full path bytes of a file entry, exactly as the worker
// reported them (the label shows them decoded and cannot always give them back).
inline constexpr int kPathRole = Qt::UserRole + 1;

class CFinderDlg : public QDialog {
public:
    explicit CFinderDlg(QWidget* pParent = nullptr);
    ~CFinderDlg() override;

    // Result tree.
    // The group item whose first file entry is path (the same bytes), or null.
    QTreeWidgetItem* FindGroup(const CString& path) const;
    // Takes one file entry (item data 0) out of the tree and keeps its group, the group's
    // record and the duplicate counter consistent.
    void RemoveFileEntry(QTreeWidgetItem* pEntry);
    const std::vector<GroupInfo>& Groups() const { return m_groups; }
    int DuplicateCount() const { return m_nDuplicates; }
    bool IsSearching() const { return m_bSearching; }
    // Whether a worker thread exists and has not yet returned from its procedure.
    bool IsWorkerRunning() const;
    // Enables or disables Delete, Copy and Move together.
    void EnableFileActions(bool bEnable);
    bool IsLinkVisited() const { return m_bLinkVisited; }

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    // WM_CLOSE: the Close button, the close box, Alt+F4.
    void closeEvent(QCloseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    // Starts the worker thread; throws std::system_error when it cannot be created.
    virtual std::unique_ptr<CSearchWorkerThread>
    LaunchWorker(std::unique_ptr<SearchParams> pParams);

private:
    void OnInitDialog();
    // Moves the folder and subfolder option between the controls and the members.
    void UpdateData(bool bSaveAndValidate);
    int GetCheckedRadioButton(int nFirstID, int nLastID) const;
    void SetStatus(const CString& strText);

    // Search control.
    void OnBrowse();
    void OnStart();
    void OnPause();
    void OnStop();
    void OnCloseButton();
    // The OK command (Enter outside a push button): ends the dialog, asking first during a
    // search, as closing does.
    void OnOK();
    // Asks before a close during a search; true when the dialog may end.
    bool ConfirmClose();
    // bIncomplete: the search could not go on (out of memory); the user is told so.
    void OnSearchFinished(bool bIncomplete);
    void OnFileScanned(const CString& strPath);
    // Raises the stop request, opens the run gate, closes the message target and waits for the
    // worker. Does nothing when no worker exists.
    void EndSearchNow();
    // Closes the message channel, waits for the worker to end and resets the stop request.
    void JoinWorker();
    // The controls of the idle state (after a search, or when none could be started).
    void RestoreIdleControls();

    // Handles the messages the search target has queued, in order, for a few milliseconds.
    void DrainSearchMessages();
    // Hands one search message to its handler.
    void OnSearchMessage(const CSearchMessage& msg);

    // Result tree.
    void OnResetResults();
    // Returns 0 after a recorded report, 1 after a dropped one.
    int OnDuplicateFound(const CString& strRepresentative, const CString& strDuplicate);
    void OnSelChangedResults();
    // Drops the group's lookup entry for its current first file entry.
    void UnmapGroup(QTreeWidgetItem* pGroup);

    // File actions on the selected file entry.
    // The selected file entry and its path; null when nothing or a group is selected.
    QTreeWidgetItem* SelectedFileEntry(CString& strPath) const;
    void OnDelete();
    void OnCopy();
    void OnMove();

    // Link label and About box.
    void OnWebLink();
    void OnAbout();

    std::unique_ptr<CSearchWorkerThread> m_pWorker;
    // The channel of the running search; closed before the worker is joined.
    std::shared_ptr<CDialogMessageTarget> m_pTarget;
    QTreeWidget* m_tree = nullptr;
    QLabel* m_pStatus = nullptr;
    QLabel* m_pLink = nullptr;
    // Counts the result resets, so that a handler that held a tree item across a modal window
    // can tell whether the item still exists.
    unsigned m_nResets = 0;
    CString m_strFolder;
    bool m_bSubfolders = false;
    QIcon m_hIcon;
    bool m_bSearching = false;
    bool m_bLinkVisited = false;
    QCursor m_hHandCursor;
    std::vector<GroupInfo> m_groups;
    // Each group item by the path bytes of its first file entry, so that a report finds its
    // group without walking them all. Kept wherever a first entry changes: a new group, the
    // removal of a representative entry or of a group, a reset.
    QHash<QByteArray, QTreeWidgetItem*> m_groupByFirstPath;
    int m_nDuplicates = 0;
};
