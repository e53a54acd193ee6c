// Delete, Copy and Move on the selected duplicate, through the real buttons and the real
// Copy/Move dialog, on fixture files.
#include "platform/ErrorCodes.h"
#include "res/ResourceIds.h"
#include "search/SearchMessages.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CopyMoveDlg.h"
#include "ui/DialogBuilder.h"
#include "ui/FinderDlg.h"
#include "ui/FolderPicker.h"
#include "ui/SearchEvent.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cerrno>
#include <fstream>
#include <sys/stat.h>

namespace {

bool Exists(const std::string& strPath) {
    struct stat st {};
    return ::stat(strPath.c_str(), &st) == 0;
}

TEST(TransferTarget, JoinsFolderAndFileName) {
    const std::pair<std::pair<const char*, const char*>, const char*> cases[] = {
        {{"/dest", "/src/a.txt"}, "/dest/a.txt"},
        {{"/dest/", "/src/a.txt"}, "/dest/a.txt"},
        {{"/", "/src/sub/b.bin"}, "/b.bin"},
        {{"/dest", "plain"}, "/dest/plain"},
        // Backslashes are ordinary bytes of a name here.
        {{"/dest", "/src/x\\y.txt"}, "/dest/x\\y.txt"},
    };
    for (const auto& [input, pszExpected] : cases)
        EXPECT_EQ(TransferTargetPath(input.first, input.second), pszExpected);
}

class FileActionsTest : public CUiTest {
protected:
    void SetUp() override {
        CUiTest::SetUp();
        m_strRepA = m_dir.WriteFile("a.txt", "same");
        m_strA1 = m_dir.WriteFile("sub1/a.txt", "same");
        m_strA2 = m_dir.WriteFile("sub2/a.txt", "same");
        m_strRepB = m_dir.WriteFile("b.txt", "bb");
        m_strB1 = m_dir.WriteFile("sub1/b.txt", "bb");
        m_pDlg = std::make_unique<CFinderDlg>();
        m_pDlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pDlg.get()));
        m_pTree = GetDlgItemAs<QTreeWidget>(*m_pDlg, IDC_RESULTS);
        Report(m_strRepA, m_strA1);
        Report(m_strRepA, m_strA2);
        Report(m_strRepB, m_strB1);
    }
    void TearDown() override {
        CFolderPicker::SetFolderSource({});
        m_pDlg.reset();
        CUiTest::TearDown();
    }

    void Report(const std::string& strRep, const std::string& strDup) {
        SendSearchMessage(*m_pDlg, CSearchMessage(UWM_DUPLICATE_FOUND, strRep, strDup));
    }
    void Reset() { SendSearchMessage(*m_pDlg, CSearchMessage(UWM_RESET_RESULTS)); }
    QTreeWidgetItem* Group(int i) const { return m_pTree->topLevelItem(i); }
    void Select(QTreeWidgetItem* pItem) { m_pTree->setCurrentItem(pItem); }
    std::string Label(int i) const { return Group(i)->text(0).toStdString(); }
    static void PickFolder(const std::string& strFolder) {
        CFolderPicker::SetFolderSource([strFolder](QWidget*, QFileDialog::Options) {
            return QUrl::fromLocalFile(QString::fromStdString(strFolder));
        });
    }
    // Runs fnAct on the Copy/Move dialog as soon as it is open; the step closes it afterwards.
    void OnCopyMoveDialog(CModalDriver& driver, std::function<void(CCopyMoveDlg&)> fnAct) {
        driver.Then([fnAct](QWidget* pModal) {
            auto* pDlg = dynamic_cast<CCopyMoveDlg*>(pModal);
            if (!pDlg)
                return false;
            fnAct(*pDlg);
            if (pDlg->isVisible())
                Button(*pDlg, IDCANCEL)->click();
            return true;
        });
    }

    CTempDir m_dir;
    std::string m_strRepA, m_strA1, m_strA2, m_strRepB, m_strB1;
    std::unique_ptr<CFinderDlg> m_pDlg;
    QTreeWidget* m_pTree = nullptr;
};

TEST_F(FileActionsTest, NoSelectionOrAGroupDoesNothing) {
    CBoxRecorder boxes;
    CModalDriver driver;
    bool bModalSeen = false;
    driver.Then([&](QWidget* pModal) {
        bModalSeen = true;
        pModal->close();
        return true;
    });
    Select(Group(0)->child(1));
    m_pTree->clearSelection();
    // The buttons stay enabled without a selection; a click does nothing.
    for (int nID : {IDC_DELETE, IDC_COPY, IDC_MOVE}) {
        ASSERT_TRUE(GetDlgItem(*m_pDlg, nID)->isEnabled());
        Click(*m_pDlg, nID);
    }
    ProcessEventsFor(50);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(bModalSeen);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 3);
    // A group selected: the buttons are disabled and the actions unreachable.
    Select(Group(0));
    for (int nID : {IDC_DELETE, IDC_COPY, IDC_MOVE})
        EXPECT_FALSE(GetDlgItem(*m_pDlg, nID)->isEnabled());
}

TEST_F(FileActionsTest, DeleteAsksAndRemovesFileThenEntry) {
    CBoxRecorder boxes;
    Select(Group(0)->child(2));
    boxes.PresetAnswer(IDNO);
    Click(*m_pDlg, IDC_DELETE);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].strText, "Are you sure you want to delete the selected file?");
    EXPECT_EQ(boxes.Boxes()[0].strCaption, "Confirm");
    EXPECT_TRUE(Exists(m_strA2));
    EXPECT_EQ(Group(0)->childCount(), 3);

    // In a larger group only the entry goes and the label counts one less.
    boxes.PresetAnswer(IDYES);
    Click(*m_pDlg, IDC_DELETE);
    EXPECT_FALSE(Exists(m_strA2));
    EXPECT_EQ(Group(0)->childCount(), 2);
    EXPECT_EQ(Label(0), "1 duplicates of size 0.004 KB");
    EXPECT_EQ(m_pDlg->DuplicateCount(), 2);

    // A group of two goes with its remaining entry.
    Select(Group(1)->child(1));
    boxes.PresetAnswer(IDYES);
    Click(*m_pDlg, IDC_DELETE);
    EXPECT_FALSE(Exists(m_strB1));
    EXPECT_TRUE(Exists(m_strRepB));
    EXPECT_EQ(m_pTree->topLevelItemCount(), 1);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 1);
    EXPECT_EQ(boxes.Boxes().size(), 3u);
}

TEST_F(FileActionsTest, DeleteThatFailsKeepsTheEntryAndSaysWhy) {
    CBoxRecorder boxes;
    ASSERT_EQ(::unlink(m_strA1.c_str()), 0);
    Select(Group(0)->child(1));
    boxes.PresetAnswer(IDYES);
    Click(*m_pDlg, IDC_DELETE);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].strText,
              "The file could not be deleted: " + ErrnoText(ENOENT) + ".");
    EXPECT_EQ(boxes.Boxes()[1].icon, EBoxIcon::Warning);
    EXPECT_EQ(Group(0)->childCount(), 3);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 3);
}

TEST_F(FileActionsTest, CopyIntoAPickedFolderNeverOverwrites) {
    CBoxRecorder boxes;
    CModalDriver driver;
    const std::string strDest = m_dir.MakeDir("dest");
    Select(Group(0)->child(1));
    OnCopyMoveDialog(driver, [&](CCopyMoveDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle().toStdString(), "Copy");
        EXPECT_EQ(WidgetText(dlg, IDC_DO_COPY), "Copy File");
        EXPECT_FALSE(GetDlgItem(dlg, IDC_DO_COPY)->isEnabled());
        // Cancelled, then an item without a path: still no destination.
        CFolderPicker::SetFolderSource([](QWidget*, QFileDialog::Options) { return QUrl(); });
        Button(dlg, IDC_DEST_BROWSE)->click();
        CFolderPicker::SetFolderSource([](QWidget*, QFileDialog::Options) {
            return QUrl(QStringLiteral("sftp://host.example/x"));
        });
        Button(dlg, IDC_DEST_BROWSE)->click();
        EXPECT_FALSE(GetDlgItem(dlg, IDC_DO_COPY)->isEnabled());
        EXPECT_EQ(WidgetText(dlg, IDC_DEST_FOLDER), "");

        PickFolder(strDest);
        Button(dlg, IDC_DEST_BROWSE)->click();
        EXPECT_TRUE(GetDlgItem(dlg, IDC_DO_COPY)->isEnabled());
        EXPECT_EQ(WidgetText(dlg, IDC_DEST_FOLDER), strDest);
        Button(dlg, IDC_DO_COPY)->click();
        // The same folder again: the copy made a moment ago is not overwritten.
        m_dir.WriteFile("dest/a.txt", "changed");
        Button(dlg, IDC_DO_COPY)->click();
    });
    Click(*m_pDlg, IDC_COPY);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{
                                 "The shell did not return a path for the selected item.",
                                 "File copied successfully",
                                 "The file could not be copied: " + ErrnoText(EEXIST) + ".",
                             }));
    EXPECT_EQ(ReadFileBytes(strDest + "/a.txt"), "changed");
    EXPECT_TRUE(Exists(m_strA1));
    // A copy never changes the tree.
    EXPECT_EQ(Group(0)->childCount(), 3);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 3);
}

TEST_F(FileActionsTest, TransferUsesTheFolderTheFieldShows) {
    CBoxRecorder boxes;
    CModalDriver driver;
    const std::string strPicked = m_dir.MakeDir("picked");
    const std::string strTyped = m_dir.MakeDir("typed");
    Select(Group(1)->child(1));
    OnCopyMoveDialog(driver, [&](CCopyMoveDlg& dlg) {
        PickFolder(strPicked);
        Button(dlg, IDC_DEST_BROWSE)->click();
        auto* pEdit = GetDlgItemAs<QLineEdit>(dlg, IDC_DEST_FOLDER);
        pEdit->setText(QString::fromStdString(strTyped));
        Button(dlg, IDC_DO_COPY)->click();
        pEdit->clear();
        Button(dlg, IDC_DO_COPY)->click();
        pEdit->setText(QString::fromStdString(m_dir / "missing"));
        Button(dlg, IDC_DO_COPY)->click();
        // A file is no folder.
        pEdit->setText(QString::fromStdString(m_strRepA));
        Button(dlg, IDC_DO_COPY)->click();
    });
    Click(*m_pDlg, IDC_COPY);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{
                                 "File copied successfully",
                                 "Please select a destination folder.",
                                 "The destination folder doesn't exist.",
                                 "The destination folder doesn't exist.",
                             }));
    EXPECT_EQ(ReadFileBytes(strTyped + "/b.txt"), "bb");
    EXPECT_FALSE(Exists(strPicked + "/b.txt"));
}

TEST_F(FileActionsTest, MoveRemovesTheEntryOnlyWhenTheFileMoved) {
    CBoxRecorder boxes;
    const std::string strDest = m_dir.MakeDir("dest");
    m_dir.WriteFile("dest/b.txt", "already here");
    Select(Group(1)->child(1));
    {
        // A move that fails (the name is taken), then Close: the entry stays.
        CModalDriver driver;
        OnCopyMoveDialog(driver, [&](CCopyMoveDlg& dlg) {
            EXPECT_EQ(dlg.windowTitle().toStdString(), "Move");
            EXPECT_EQ(WidgetText(dlg, IDC_DO_COPY), "Move File");
            EXPECT_FALSE(GetDlgItem(dlg, IDC_DO_COPY)->isEnabled());
            PickFolder(strDest);
            Button(dlg, IDC_DEST_BROWSE)->click();
            Button(dlg, IDC_DO_COPY)->click();
        });
        Click(*m_pDlg, IDC_MOVE);
        EXPECT_TRUE(driver.Done());
    }
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::string>{"The file could not be moved: " + ErrnoText(EEXIST) + "."});
    EXPECT_EQ(ReadFileBytes(strDest + "/b.txt"), "already here");
    EXPECT_TRUE(Exists(m_strB1));
    ASSERT_EQ(m_pTree->topLevelItemCount(), 2);
    {
        // Closed at once: nothing moved, the entry stays.
        CModalDriver driver;
        OnCopyMoveDialog(driver, [](CCopyMoveDlg&) {});
        Click(*m_pDlg, IDC_MOVE);
        EXPECT_TRUE(driver.Done());
    }
    EXPECT_EQ(m_pTree->topLevelItemCount(), 2);

    Select(Group(0)->child(1));
    {
        CModalDriver driver;
        OnCopyMoveDialog(driver, [&](CCopyMoveDlg& dlg) {
            PickFolder(strDest);
            Button(dlg, IDC_DEST_BROWSE)->click();
            Button(dlg, IDC_DO_COPY)->click();
        });
        Click(*m_pDlg, IDC_MOVE);
        EXPECT_TRUE(driver.Done());
    }
    EXPECT_EQ(boxes.Texts().back(), "File moved successfully");
    EXPECT_FALSE(Exists(m_strA1));
    EXPECT_EQ(ReadFileBytes(strDest + "/a.txt"), "same");
    EXPECT_EQ(Group(0)->childCount(), 2);
    EXPECT_EQ(Label(0), "1 duplicates of size 0.004 KB");
    EXPECT_EQ(m_pDlg->DuplicateCount(), 2);
}

TEST_F(FileActionsTest, MoveAcrossFileSystems) {
    struct stat stTemp {
    }, stShm{};
    if (::stat(m_dir.Path().c_str(), &stTemp) != 0 || ::stat("/dev/shm", &stShm) != 0 ||
        stTemp.st_dev == stShm.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    char szDest[] = "/dev/shm/twinsift-move-XXXXXX";
    ASSERT_NE(::mkdtemp(szDest), nullptr);
    CBoxRecorder boxes;
    CModalDriver driver;
    Select(Group(1)->child(1));
    OnCopyMoveDialog(driver, [&](CCopyMoveDlg& dlg) {
        PickFolder(szDest);
        Button(dlg, IDC_DEST_BROWSE)->click();
        Button(dlg, IDC_DO_COPY)->click();
    });
    Click(*m_pDlg, IDC_MOVE);
    const std::string strTarget = std::string(szDest) + "/b.txt";
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"File moved successfully"});
    EXPECT_FALSE(Exists(m_strB1));
    EXPECT_EQ(ReadFileBytes(strTarget), "bb");
    EXPECT_EQ(m_pTree->topLevelItemCount(), 1);
    ::unlink(strTarget.c_str());
    ::rmdir(szDest);
}

TEST_F(FileActionsTest, EscapeClosesTheCopyMoveDialog) {
    CBoxRecorder boxes;
    CModalDriver driver;
    Select(Group(0)->child(1));
    bool bClosed = false;
    OnCopyMoveDialog(driver, [&](CCopyMoveDlg& dlg) {
        QTest::keyClick(GetDlgItem(dlg, IDC_DEST_FOLDER), Qt::Key_Escape);
        bClosed = !dlg.isVisible();
    });
    Click(*m_pDlg, IDC_COPY);
    EXPECT_TRUE(driver.Done());
    EXPECT_TRUE(bClosed);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(FileActionsTest, ResetDuringAModalWindowLeavesNoStaleEntry) {
    CBoxRecorder boxes;
    // Delete: the results are reset while the question is open.
    Select(Group(0)->child(1));
    boxes.m_fnOnBox = [&](const CBoxInfo&) { Reset(); };
    boxes.PresetAnswer(IDYES);
    Click(*m_pDlg, IDC_DELETE);
    boxes.m_fnOnBox = nullptr;
    EXPECT_FALSE(Exists(m_strA1));
    EXPECT_EQ(m_pTree->topLevelItemCount(), 0);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 0);

    // Move: the results are reset, and filled again, while the dialog is open.
    Report(m_strRepB, m_strB1);
    Select(Group(0)->child(1));
    const std::string strDest = m_dir.MakeDir("dest");
    CModalDriver driver;
    OnCopyMoveDialog(driver, [&](CCopyMoveDlg& dlg) {
        Reset();
        Report(m_strRepA, m_strA2);
        PickFolder(strDest);
        Button(dlg, IDC_DEST_BROWSE)->click();
        Button(dlg, IDC_DO_COPY)->click();
    });
    Click(*m_pDlg, IDC_MOVE);
    EXPECT_TRUE(driver.Done());
    EXPECT_FALSE(Exists(m_strB1));
    // The new group is untouched.
    ASSERT_EQ(m_pTree->topLevelItemCount(), 1);
    EXPECT_EQ(Group(0)->childCount(), 2);
    EXPECT_EQ(m_pDlg->DuplicateCount(), 1);
}

} // namespace
