// The main dialog driven by real clicks and keys under the offscreen platform: Start with its
// checks, a real search, Pause/Resume/Stop, the method buttons, closing and the keyboard.
#include "engine/CompareMethod.h"
#include "res/ResourceIds.h"
#include "search/SearchEvents.h"
#include "tests/support/RecordingTarget.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/DialogBuilder.h"
#include "ui/FinderDlg.h"
#include "ui/SearchEvent.h"
#include "ui/SearchWorkerThread.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <map>
#include <mutex>
#include <new>
#include <set>
#include <system_error>

namespace {

// A tree with three files named x.txt (1536 bytes each), two named y.txt (empty) and one
// single file: under the name method, 3 duplicates in 2 groups.
void MakeNameTree(const CTempDir& dir) {
    const std::string strBlock(1536, 'x');
    dir.WriteFile("a/x.txt", strBlock);
    dir.WriteFile("b/x.txt", strBlock);
    dir.WriteFile("b/c/x.txt", strBlock);
    dir.WriteFile("a/y.txt", "");
    dir.WriteFile("b/y.txt", "");
    dir.WriteFile("a/single.txt", "alone");
}

// Labels of the group items, in tree order, and the entries beneath each.
std::vector<std::pair<std::string, std::vector<std::string>>> TreeContents(const CFinderDlg& dlg) {
    const auto* pTree = GetDlgItemAs<QTreeWidget>(dlg, IDC_RESULTS);
    std::vector<std::pair<std::string, std::vector<std::string>>> groups;
    for (int i = 0; i < pTree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* pGroup = pTree->topLevelItem(i);
        std::vector<std::string> entries;
        for (int j = 0; j < pGroup->childCount(); ++j)
            entries.push_back(pGroup->child(j)->text(0).toStdString());
        groups.emplace_back(pGroup->text(0).toStdString(), entries);
    }
    return groups;
}

class FinderDlgSearchTest : public CUiTest {
protected:
    void SetUp() override {
        CUiTest::SetUp();
        m_pDlg = std::make_unique<CFinderDlg>();
        m_pDlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pDlg.get()));
    }
    void TearDown() override {
        m_pDlg.reset();
        CUiTest::TearDown();
    }

    CFinderDlg& Dlg() { return *m_pDlg; }
    bool Enabled(int nID) { return GetDlgItem(Dlg(), nID)->isEnabled(); }
    // Starts a search over the folder and waits until it has finished.
    void SearchAndWait(const std::string& strFolder, bool bSubfolders) {
        SetFolderText(Dlg(), strFolder);
        GetDlgItemAs<QCheckBox>(Dlg(), IDC_SUBFOLDERS)->setChecked(bSubfolders);
        Click(Dlg(), IDC_START);
        ASSERT_TRUE(WaitUntil([&] { return !Dlg().IsSearching(); }));
    }

    std::unique_ptr<CFinderDlg> m_pDlg;
};

// Enabled state by control: after set-up, during a search, after the finished message.
struct EnabledRow {
    int nID;
    bool bIdle;
    bool bSearching;
};
constexpr EnabledRow kEnabledTable[] = {
    {IDC_START, true, false},   {IDC_STOP, false, true},   {IDC_PAUSE, false, true},
    {IDC_FOLDER, true, false},  {IDC_BROWSE, true, false}, {IDC_SUBFOLDERS, true, false},
    {IDC_DELETE, false, false}, {IDC_COPY, false, false},  {IDC_MOVE, false, false},
    {IDC_BY_NAME, true, true},  {IDC_BY_CRC, true, true},  {IDC_BY_BYTES, true, true},
    {IDC_BY_MD5, true, true},   {IDC_RESULTS, true, true}, {IDC_CLOSE, true, true},
    {IDC_ABOUT, true, true},    {IDC_WEBLINK, true, true},
};

TEST_F(FinderDlgSearchTest, SetUpStateMatchesTheIdleRowOfTheTable) {
    for (const EnabledRow& row : kEnabledTable)
        EXPECT_EQ(Enabled(row.nID), row.bIdle) << "control " << row.nID;
    EXPECT_TRUE(GetDlgItemAs<QRadioButton>(Dlg(), IDC_BY_NAME)->isChecked());
    EXPECT_EQ(WidgetText(Dlg(), IDC_FOLDER), "");
    EXPECT_FALSE(GetDlgItemAs<QCheckBox>(Dlg(), IDC_SUBFOLDERS)->isChecked());
    EXPECT_EQ(WidgetText(Dlg(), IDC_STATUS), "");
    EXPECT_EQ(Dlg().windowTitle().toStdString(), "Orvane Twinsift");
}

TEST_F(FinderDlgSearchTest, OpeningTheDialogResetsTheMethod) {
    CompareMethod = METHOD_MD5;
    CFinderDlg dlg;
    EXPECT_EQ(CompareMethod, METHOD_NAME);
}

TEST_F(FinderDlgSearchTest, EnabledStateFollowsTheSearch) {
    CTempDir dir;
    MakeNameTree(dir);
    CBoxRecorder boxes;
    // Paused from the start, so the search stays in progress while the table is checked.
    g_evtRun.ResetEvent();
    SetFolderText(Dlg(), dir.Path());
    Click(Dlg(), IDC_START);
    ASSERT_TRUE(Dlg().IsSearching());
    for (const EnabledRow& row : kEnabledTable)
        EXPECT_EQ(Enabled(row.nID), row.bSearching) << "control " << row.nID;
    Click(Dlg(), IDC_STOP);
    ASSERT_TRUE(WaitUntil([&] { return !Dlg().IsSearching(); }));
    for (const EnabledRow& row : kEnabledTable)
        EXPECT_EQ(Enabled(row.nID), row.bIdle) << "control " << row.nID;
}

// Start refused: the warning, the status line already set, the text selected, no search.
TEST_F(FinderDlgSearchTest, StartRefusesAPathThatDoesNotExist) {
    CTempDir dir;
    for (const std::string& strFolder : {std::string(), dir / "missing", dir / "a/b"}) {
        SCOPED_TRACE("folder '" + strFolder + "'");
        CBoxRecorder boxes;
        GetDlgItemAs<QRadioButton>(Dlg(), IDC_BY_CRC)->setChecked(true);
        CompareMethod = METHOD_NAME;
        SetFolderText(Dlg(), strFolder);
        Click(Dlg(), IDC_START);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].strText, "The path specified doesn't exist.");
        EXPECT_EQ(boxes.Boxes()[0].icon, EBoxIcon::Warning);
        EXPECT_FALSE(Dlg().IsSearching());
        EXPECT_TRUE(Enabled(IDC_START));
        EXPECT_EQ(WidgetText(Dlg(), IDC_STATUS), "Searching duplicate files...");
        // The method was taken before the check.
        EXPECT_EQ(CompareMethod, METHOD_SIZE_CRC);
        auto* pEdit = GetDlgItemAs<QLineEdit>(Dlg(), IDC_FOLDER);
        EXPECT_EQ(pEdit->selectedText(), pEdit->text());
        EXPECT_EQ(pEdit->hasSelectedText(), !strFolder.empty());
    }
}

TEST_F(FinderDlgSearchTest, StartAcceptsThePathOfAFile) {
    CTempDir dir;
    const std::string strFile = dir.WriteFile("only.txt", "x");
    CBoxRecorder boxes;
    SearchAndWait(strFile, false);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Total Duplicate files: 0"});
    EXPECT_EQ(WidgetText(Dlg(), IDC_STATUS), "Total Duplicate files: 0");
}

TEST_F(FinderDlgSearchTest, SearchFillsGroupsLabelsAndTotals) {
    CTempDir dir;
    MakeNameTree(dir);
    CBoxRecorder boxes;
    CompareMethod = METHOD_MD5;
    SearchAndWait(dir.Path(), true);

    EXPECT_EQ(CompareMethod, METHOD_NAME);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].strText, "Total Duplicate files: 3");
    EXPECT_EQ(boxes.Boxes()[0].icon, EBoxIcon::Information);
    EXPECT_EQ(WidgetText(Dlg(), IDC_STATUS), "Total Duplicate files: 3");
    EXPECT_EQ(Dlg().DuplicateCount(), 3);
    EXPECT_FALSE(Dlg().IsWorkerRunning());

    // Compare with the pairs the same search reports to a recording target.
    const auto pairs = DuplicatePairs(RunSearch(dir.Path(), true, METHOD_NAME));
    ASSERT_EQ(pairs.size(), 3u);
    const auto groups = TreeContents(Dlg());
    ASSERT_EQ(groups.size(), 2u);
    std::map<std::string, std::vector<std::string>> expected;
    for (const auto& [strRep, strDup] : pairs) {
        auto& entries = expected[strRep];
        if (entries.empty())
            entries.push_back(strRep);
        entries.push_back(strDup);
    }
    for (const auto& [strLabel, entries] : groups) {
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(expected[entries.front()], entries);
        const bool bX = entries.front().ends_with("/x.txt");
        EXPECT_EQ(strLabel, bX ? "2 duplicates of size 1.500 KB" : "1 duplicates of size 0.000 KB");
    }
    // The groups are collapsed.
    const auto* pTree = GetDlgItemAs<QTreeWidget>(Dlg(), IDC_RESULTS);
    EXPECT_FALSE(pTree->topLevelItem(0)->isExpanded());
}

// Each method through its radio button, on one tree where the methods disagree. Groups are
// given as sets of paths relative to the tree.
struct MethodCase {
    int nButton;
    std::set<std::set<std::string>> groups;
};

TEST_F(FinderDlgSearchTest, EachMethodSearchesThroughTheWindow) {
    CTempDir dir;
    dir.WriteFile("a/x.txt", "same content");
    dir.WriteFile("b/x.txt", "same content");
    dir.WriteFile("c/y.txt", "same content");
    dir.WriteFile("d/x.txt", "other bytes!");
    // Empty files: duplicates of each other by MD5 only.
    dir.WriteFile("e/empty1", "");
    dir.WriteFile("f/empty2", "");
    const std::set<std::string> sameContent = {"a/x.txt", "b/x.txt", "c/y.txt"};
    const MethodCase cases[] = {
        {IDC_BY_NAME, {{"a/x.txt", "b/x.txt", "d/x.txt"}}},
        {IDC_BY_CRC, {sameContent}},
        {IDC_BY_BYTES, {sameContent}},
        {IDC_BY_MD5, {sameContent, {"e/empty1", "f/empty2"}}},
    };
    for (const MethodCase& methodCase : cases) {
        SCOPED_TRACE(methodCase.nButton);
        CBoxRecorder boxes;
        Click(Dlg(), methodCase.nButton);
        SearchAndWait(dir.Path(), true);
        std::set<std::set<std::string>> groups;
        int nDuplicates = 0;
        for (const auto& [strLabel, entries] : TreeContents(Dlg())) {
            std::set<std::string> members;
            for (const std::string& strEntry : entries)
                members.insert(strEntry.substr(dir.Path().size() + 1));
            groups.insert(members);
            nDuplicates += static_cast<int>(entries.size()) - 1;
        }
        EXPECT_EQ(groups, methodCase.groups);
        // The same pairs as the search reports to a recording target.
        const int nMethod = CompareMethod;
        EXPECT_EQ(groups, ReportedGroups(RunSearch(dir.Path(), true, nMethod), dir.Path() + "/"));
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Total Duplicate files: " +
                                                          std::to_string(nDuplicates)});
    }
}

TEST_F(FinderDlgSearchTest, PauseHoldsAndResumeContinues) {
    CTempDir dir;
    MakeNameTree(dir);
    CBoxRecorder boxes;
    SetFolderText(Dlg(), dir.Path());
    GetDlgItemAs<QCheckBox>(Dlg(), IDC_SUBFOLDERS)->setChecked(true);
    Click(Dlg(), IDC_START);
    // Paused before the worker's first check.
    Click(Dlg(), IDC_PAUSE);
    EXPECT_EQ(WidgetText(Dlg(), IDC_PAUSE), "Resume");
    EXPECT_FALSE(g_evtRun.IsSet());
    ProcessEventsFor(200);
    EXPECT_TRUE(Dlg().IsWorkerRunning());
    EXPECT_EQ(Dlg().DuplicateCount(), 0);

    Click(Dlg(), IDC_PAUSE);
    EXPECT_EQ(WidgetText(Dlg(), IDC_PAUSE), "Pause");
    EXPECT_TRUE(g_evtRun.IsSet());
    ASSERT_TRUE(WaitUntil([&] { return !Dlg().IsSearching(); }));
    EXPECT_EQ(Dlg().DuplicateCount(), 3);
}

TEST_F(FinderDlgSearchTest, StopWhilePausedEndsTheSearch) {
    CTempDir dir;
    MakeNameTree(dir);
    CBoxRecorder boxes;
    SetFolderText(Dlg(), dir.Path());
    Click(Dlg(), IDC_START);
    Click(Dlg(), IDC_PAUSE);
    ASSERT_EQ(WidgetText(Dlg(), IDC_PAUSE), "Resume");
    Click(Dlg(), IDC_STOP);
    EXPECT_EQ(WidgetText(Dlg(), IDC_PAUSE), "Pause");
    ASSERT_TRUE(WaitUntil([&] { return !Dlg().IsSearching(); }));
    // Stopped at the first check of the counting pass: nothing was listed.
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Total Duplicate files: 0"});
    EXPECT_FALSE(g_evtStop.IsSet());
    EXPECT_TRUE(g_evtRun.IsSet());
}

// A dialog whose search holds back its finished message until the test lets it through.
class CHeldFinishDlg : public CFinderDlg {
public:
    bool IsFinishHeld() {
        std::lock_guard lock(m_pChannel->m_mutex);
        return m_pChannel->m_pHeld != nullptr;
    }
    void ReleaseFinish() {
        std::unique_ptr<CSearchMessage> pHeld;
        {
            std::lock_guard lock(m_pChannel->m_mutex);
            pHeld = std::move(m_pChannel->m_pHeld);
        }
        m_pChannel->m_pInner->Post(std::move(pHeld));
    }

protected:
    class CHoldingChannel : public CMessageTarget {
    public:
        explicit CHoldingChannel(std::shared_ptr<CMessageTarget> pInner)
            : m_pInner(std::move(pInner)) {}
        std::shared_ptr<CMessageTarget> m_pInner;
        std::mutex m_mutex;
        std::unique_ptr<CSearchMessage> m_pHeld;

    protected:
        void Deliver(std::unique_ptr<CSearchMessage> pMsg) override {
            if (pMsg->nMessage == UWM_SEARCH_FINISHED && !m_bHeldOnce) {
                m_bHeldOnce = true;
                std::lock_guard lock(m_mutex);
                m_pHeld = std::move(pMsg);
                return;
            }
            m_pInner->Post(std::move(pMsg));
        }

    private:
        bool m_bHeldOnce = false;
    };

    std::unique_ptr<CSearchWorkerThread>
    LaunchWorker(std::unique_ptr<SearchParams> pParams) override {
        // Only the first search is held; later ones report straight through.
        if (!m_pChannel) {
            m_pChannel = std::make_shared<CHoldingChannel>(pParams->hWndDlg);
            pParams->hWndDlg = m_pChannel;
        }
        return CFinderDlg::LaunchWorker(std::move(pParams));
    }

private:
    std::shared_ptr<CHoldingChannel> m_pChannel;
};

TEST_F(FinderDlgSearchTest, PauseAfterTheLastCheckHoldsTheNextSearch) {
    CTempDir dir;
    MakeNameTree(dir);
    CBoxRecorder boxes;
    CHeldFinishDlg dlg;
    dlg.show();
    SetFolderText(dlg, dir.Path());
    GetDlgItemAs<QCheckBox>(dlg, IDC_SUBFOLDERS)->setChecked(true);
    Click(dlg, IDC_START);
    // The worker has posted its last message: every check of the search is behind it.
    ASSERT_TRUE(WaitUntil([&] { return dlg.IsFinishHeld(); }));
    Click(dlg, IDC_PAUSE);
    ASSERT_EQ(WidgetText(dlg, IDC_PAUSE), "Resume");
    dlg.ReleaseFinish();
    ASSERT_TRUE(WaitUntil([&] { return !dlg.IsSearching(); }));
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Total Duplicate files: 3"});
    // The search ended normally and left the gate reset.
    EXPECT_FALSE(g_evtRun.IsSet());
    EXPECT_EQ(WidgetText(dlg, IDC_PAUSE), "Resume");
    EXPECT_FALSE(GetDlgItem(dlg, IDC_PAUSE)->isEnabled());

    // The next search waits before its first entry until Resume.
    Click(dlg, IDC_START);
    ProcessEventsFor(200);
    EXPECT_TRUE(dlg.IsWorkerRunning());
    EXPECT_EQ(dlg.DuplicateCount(), 0);
    EXPECT_TRUE(dlg.Groups().empty());
    Click(dlg, IDC_PAUSE);
    EXPECT_EQ(WidgetText(dlg, IDC_PAUSE), "Pause");
    ASSERT_TRUE(WaitUntil([&] { return !dlg.IsSearching(); }));
    EXPECT_EQ(dlg.DuplicateCount(), 3);
}

TEST_F(FinderDlgSearchTest, MethodIsTakenAtStartOnly) {
    CTempDir dir;
    // Same names, different contents: duplicates by name only.
    dir.WriteFile("a/x.txt", "one");
    dir.WriteFile("b/x.txt", "two");
    CBoxRecorder boxes;
    g_evtRun.ResetEvent();
    SetFolderText(Dlg(), dir.Path());
    GetDlgItemAs<QCheckBox>(Dlg(), IDC_SUBFOLDERS)->setChecked(true);
    Click(Dlg(), IDC_START);
    Click(Dlg(), IDC_BY_BYTES);
    EXPECT_TRUE(GetDlgItemAs<QRadioButton>(Dlg(), IDC_BY_BYTES)->isChecked());
    EXPECT_FALSE(GetDlgItemAs<QRadioButton>(Dlg(), IDC_BY_NAME)->isChecked());
    EXPECT_EQ(CompareMethod, METHOD_NAME);
    g_evtRun.SetEvent();
    ASSERT_TRUE(WaitUntil([&] { return !Dlg().IsSearching(); }));
    EXPECT_EQ(Dlg().DuplicateCount(), 1);

    Click(Dlg(), IDC_START);
    EXPECT_EQ(CompareMethod, METHOD_BYTES);
    ASSERT_TRUE(WaitUntil([&] { return !Dlg().IsSearching(); }));
}

TEST_F(FinderDlgSearchTest, RadioButtonsExcludeEachOther) {
    const int ids[] = {IDC_BY_NAME, IDC_BY_CRC, IDC_BY_BYTES, IDC_BY_MD5};
    for (int nClicked : ids) {
        Click(Dlg(), nClicked);
        for (int nID : ids)
            EXPECT_EQ(GetDlgItemAs<QRadioButton>(Dlg(), nID)->isChecked(), nID == nClicked);
    }
}

class CFailingLaunchDlg : public CFinderDlg {
protected:
    std::unique_ptr<CSearchWorkerThread> LaunchWorker(std::unique_ptr<SearchParams>) override {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};

TEST_F(FinderDlgSearchTest, WorkerThatCannotStartRestoresTheIdleState) {
    CTempDir dir;
    CBoxRecorder boxes;
    CFailingLaunchDlg dlg;
    SetFolderText(dlg, dir.Path());
    Button(dlg, IDC_START)->click();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"The search could not be started."});
    EXPECT_FALSE(dlg.IsSearching());
    for (const EnabledRow& row : kEnabledTable)
        EXPECT_EQ(GetDlgItem(dlg, row.nID)->isEnabled(), row.bIdle) << "control " << row.nID;
}

// Runs the real worker, but through a channel that fails for want of memory at the third file
// scanned, as an allocation in the middle of a search would; everything else goes on to the
// dialog.
class COutOfMemoryDlg : public CFinderDlg {
protected:
    class CFailingChannel : public CMessageTarget {
    public:
        explicit CFailingChannel(std::shared_ptr<CMessageTarget> pInner)
            : m_pInner(std::move(pInner)) {}

    protected:
        void Deliver(std::unique_ptr<CSearchMessage> pMsg) override {
            if (pMsg->nMessage == UWM_FILE_SCANNED && ++m_nScanned == 3)
                throw std::bad_alloc();
            m_pInner->Post(std::move(pMsg));
        }

    private:
        std::shared_ptr<CMessageTarget> m_pInner;
        int m_nScanned = 0;
    };

    std::unique_ptr<CSearchWorkerThread>
    LaunchWorker(std::unique_ptr<SearchParams> pParams) override {
        pParams->hWndDlg = std::make_shared<CFailingChannel>(pParams->hWndDlg);
        return CFinderDlg::LaunchWorker(std::move(pParams));
    }
};

TEST_F(FinderDlgSearchTest, SearchThatRunsOutOfMemoryEndsAndSaysSo) {
    CTempDir dir;
    for (int i = 0; i < 6; ++i)
        dir.WriteFile("d" + std::to_string(i) + "/same.txt", "x");
    CBoxRecorder boxes;
    COutOfMemoryDlg dlg;
    SetFolderText(dlg, dir.Path());
    GetDlgItemAs<QCheckBox>(dlg, IDC_SUBFOLDERS)->setChecked(true);
    Button(dlg, IDC_START)->click();
    ASSERT_TRUE(WaitUntil([&] { return !dlg.IsSearching(); }));
    // The reports made before the failure stand; the user is told that the rest is missing.
    EXPECT_EQ(dlg.DuplicateCount(), 1);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Texts()[0], "Total Duplicate files: 1");
    EXPECT_EQ(boxes.Boxes()[1].icon, EBoxIcon::Warning);
    EXPECT_NE(boxes.Texts()[1].find("out of memory"), std::string::npos);
    EXPECT_FALSE(dlg.IsWorkerRunning());
    for (const EnabledRow& row : kEnabledTable)
        EXPECT_EQ(GetDlgItem(dlg, row.nID)->isEnabled(), row.bIdle) << "control " << row.nID;
}

// The three ways of closing, idle and during a search.
enum class ECloseBy { CloseButton, CloseBox, EnterInEdit };
struct CloseCase {
    ECloseBy by;
    QDialog::DialogCode result;
};
constexpr CloseCase kCloseCases[] = {
    {ECloseBy::CloseButton, QDialog::Rejected},
    {ECloseBy::CloseBox, QDialog::Rejected},
    {ECloseBy::EnterInEdit, QDialog::Accepted},
};

void RequestClose(CFinderDlg& dlg, ECloseBy by) {
    switch (by) {
    case ECloseBy::CloseButton:
        Click(dlg, IDC_CLOSE);
        break;
    case ECloseBy::CloseBox:
        dlg.close();
        break;
    case ECloseBy::EnterInEdit: {
        // During a search the edit is disabled; Enter in the tree is the same OK command.
        QWidget* pTarget = GetDlgItem(dlg, IDC_FOLDER);
        if (!pTarget->isEnabled())
            pTarget = GetDlgItem(dlg, IDC_RESULTS);
        pTarget->setFocus();
        QTest::keyClick(pTarget, Qt::Key_Return);
        break;
    }
    }
}

TEST_F(FinderDlgSearchTest, ClosingWhenIdleAsksNothing) {
    for (const CloseCase& closeCase : kCloseCases) {
        CBoxRecorder boxes;
        CFinderDlg dlg;
        dlg.show();
        RequestClose(dlg, closeCase.by);
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), closeCase.result);
    }
}

TEST_F(FinderDlgSearchTest, ClosingDuringASearchAsksOnceAndNoKeepsItRunning) {
    CTempDir dir;
    MakeNameTree(dir);
    for (const CloseCase& closeCase : kCloseCases) {
        SCOPED_TRACE(static_cast<int>(closeCase.by));
        ResetSearchEvents();
        CBoxRecorder boxes;
        CFinderDlg dlg;
        dlg.show();
        g_evtRun.ResetEvent();
        SetFolderText(dlg, dir.Path());
        Button(dlg, IDC_START)->click();
        ASSERT_TRUE(dlg.IsSearching());

        boxes.PresetAnswer(IDNO);
        RequestClose(dlg, closeCase.by);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].strText, "Do you want to close the application?");
        EXPECT_EQ(boxes.Boxes()[0].strCaption, "Confirm");
        EXPECT_TRUE(boxes.Boxes()[0].bYesNo);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(dlg.IsSearching());
        EXPECT_TRUE(dlg.IsWorkerRunning());

        boxes.PresetAnswer(IDYES);
        RequestClose(dlg, closeCase.by);
        EXPECT_EQ(boxes.Boxes().size(), 2u);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), closeCase.result);
        // The worker was stopped and waited for; the events are back at rest.
        EXPECT_FALSE(dlg.IsSearching());
        EXPECT_FALSE(dlg.IsWorkerRunning());
        EXPECT_FALSE(g_evtStop.IsSet());
    }
}

TEST_F(FinderDlgSearchTest, ClosingWhileTheWorkerWaitsInASendEndsIt) {
    CTempDir dir;
    MakeNameTree(dir);
    CBoxRecorder boxes;
    auto pDlg = std::make_unique<CFinderDlg>();
    pDlg->show();
    SetFolderText(*pDlg, dir.Path());
    Button(*pDlg, IDC_START)->click();
    // No events processed: the worker is in (or about to enter) its first send.
    boxes.PresetAnswer(IDYES);
    pDlg->close();
    // The close has waited for the worker: it is gone, not merely forgotten.
    EXPECT_FALSE(pDlg->IsSearching());
    EXPECT_FALSE(pDlg->IsWorkerRunning());
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Do you want to close the application?"});
    // Pending messages of the ended search die with the dialog.
    pDlg.reset();
    ProcessEventsFor(20);
}

TEST_F(FinderDlgSearchTest, EscapeDoesNothing) {
    CBoxRecorder boxes;
    for (int nID : {IDC_FOLDER, IDC_RESULTS, IDC_START, IDC_BY_NAME}) {
        GetDlgItem(Dlg(), nID)->setFocus();
        QTest::keyClick(GetDlgItem(Dlg(), nID), Qt::Key_Escape);
        EXPECT_TRUE(Dlg().isVisible()) << "control " << nID;
    }
    QTest::keyClick(&Dlg(), Qt::Key_Escape);
    EXPECT_TRUE(Dlg().isVisible());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(FinderDlgSearchTest, EnterOnAFocusedButtonClicksIt) {
    CBoxRecorder boxes;
    SetFolderText(Dlg(), "");
    QWidget* pStart = GetDlgItem(Dlg(), IDC_START);
    pStart->setFocus();
    QTest::keyClick(pStart, Qt::Key_Return);
    EXPECT_TRUE(Dlg().isVisible());
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"The path specified doesn't exist."});
}

// The real boxes, answered as they appear: the search goes on under a modal box.
TEST_F(FinderDlgSearchTest, SearchMessagesArriveWhileAModalBoxIsOpen) {
    CTempDir dir;
    MakeNameTree(dir);
    g_evtRun.ResetEvent();
    SetFolderText(Dlg(), dir.Path());
    GetDlgItemAs<QCheckBox>(Dlg(), IDC_SUBFOLDERS)->setChecked(true);
    Click(Dlg(), IDC_START);

    CModalDriver driver;
    // Under the question: let the search run, and answer the final box that it opens on top.
    driver.Then([&](QWidget* pModal) {
        if (!qobject_cast<QMessageBox*>(pModal))
            return false;
        g_evtRun.SetEvent();
        return true;
    });
    driver.AnswerBox("Total Duplicate files: 3", "OK");
    driver.Then([&](QWidget* pModal) {
        auto* pBox = qobject_cast<QMessageBox*>(pModal);
        if (!pBox || pBox->text() != QStringLiteral("Do you want to close the application?"))
            return false;
        // Back under the question: the whole search has been handled.
        EXPECT_EQ(Dlg().DuplicateCount(), 3);
        EXPECT_EQ(Dlg().Groups().size(), 2u);
        EXPECT_FALSE(Dlg().IsSearching());
        return true;
    });
    driver.AnswerBox("Do you want to close the application?", "No");
    Click(Dlg(), IDC_CLOSE);

    EXPECT_TRUE(driver.Done());
    EXPECT_TRUE(Dlg().isVisible());
    EXPECT_FALSE(Dlg().IsSearching());
    EXPECT_EQ(WidgetText(Dlg(), IDC_STATUS), "Total Duplicate files: 3");
    ASSERT_EQ(driver.Captions().size(), 2u);
    EXPECT_EQ(driver.Captions()[1], "Confirm");
}

} // namespace
