// The folder picker's three results, through a stand-in browser and through the real
// (non-native) folder dialog, and the "..." button of the main dialog.
#include "ui/FolderPicker.h"

#include "res/ResourceIds.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/DialogBuilder.h"
#include "ui/FinderDlg.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

namespace {

class FolderPickerTest : public CUiTest {
protected:
    void TearDown() override {
        CFolderPicker::SetFolderSource({});
        CUiTest::TearDown();
    }
    // Makes the browser return url and counts how often it was shown.
    void BrowserReturns(const QUrl& url) {
        CFolderPicker::SetFolderSource([this, url](QWidget*, QFileDialog::Options options) {
            ++m_nShown;
            EXPECT_TRUE(options.testFlag(QFileDialog::ShowDirsOnly));
            return url;
        });
    }

    CTempDir m_dir;
    int m_nShown = 0;
};

struct BrowseCase {
    const char* pszName;
    QUrl url;
    int nResult;
};

TEST_F(FolderPickerTest, BrowseResults) {
    const std::string strFolder = m_dir.MakeDir("picked");
    const BrowseCase cases[] = {
        {"cancelled", QUrl(), BROWSE_CANCELLED},
        {"remote item", QUrl(QStringLiteral("sftp://host.example/srv/data")), BROWSE_NO_PATH},
        {"local folder", QUrl::fromLocalFile(QString::fromStdString(strFolder)), BROWSE_OK},
        {"root", QUrl::fromLocalFile(QStringLiteral("/")), BROWSE_OK},
    };
    for (const BrowseCase& browseCase : cases) {
        SCOPED_TRACE(browseCase.pszName);
        BrowserReturns(browseCase.url);
        CString strPath = "unchanged";
        EXPECT_EQ(CFolderPicker().Browse(nullptr, &strPath), browseCase.nResult);
        if (browseCase.nResult == BROWSE_OK)
            EXPECT_EQ(strPath, browseCase.url.toLocalFile().toStdString());
        else
            EXPECT_EQ(strPath, "unchanged");
    }
    EXPECT_EQ(m_nShown, 4);
}

TEST_F(FolderPickerTest, NullOutputShowsNothing) {
    BrowserReturns(QUrl::fromLocalFile(QString::fromStdString(m_dir.Path())));
    EXPECT_EQ(CFolderPicker().Browse(nullptr, nullptr), BROWSE_NO_PATH);
    EXPECT_EQ(m_nShown, 0);
}

TEST_F(FolderPickerTest, RealFolderDialogChoosesAndCancels) {
    const std::string strFolder = m_dir.MakeDir("chosen");
    for (const bool bAccept : {true, false}) {
        SCOPED_TRACE(bAccept ? "accepted" : "cancelled");
        CModalDriver driver;
        driver.Then([&](QWidget* pModal) {
            auto* pDialog = qobject_cast<QFileDialog*>(pModal);
            if (!pDialog)
                return false;
            pDialog->setDirectory(QString::fromStdString(strFolder));
            if (bAccept)
                static_cast<QDialog*>(pDialog)->accept();
            else
                pDialog->reject();
            return true;
        });
        CString strPath = "before";
        const int nResult = CFolderPicker().Browse(nullptr, &strPath);
        EXPECT_TRUE(driver.Done());
        EXPECT_EQ(nResult, bAccept ? BROWSE_OK : BROWSE_CANCELLED);
        EXPECT_EQ(strPath, bAccept ? strFolder : "before");
    }
}

TEST_F(FolderPickerTest, BrowseButtonFillsTheFolderOrWarns) {
    CFinderDlg dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    SetFolderText(dlg, "typed");

    CBoxRecorder boxes;
    BrowserReturns(QUrl());
    Click(dlg, IDC_BROWSE);
    EXPECT_EQ(WidgetText(dlg, IDC_FOLDER), "typed");
    EXPECT_TRUE(boxes.Boxes().empty());

    BrowserReturns(QUrl(QStringLiteral("sftp://host.example/x")));
    Click(dlg, IDC_BROWSE);
    EXPECT_EQ(WidgetText(dlg, IDC_FOLDER), "typed");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].strText, "The shell did not return a path for the selected item.");
    EXPECT_EQ(boxes.Boxes()[0].icon, EBoxIcon::Warning);

    const std::string strFolder = m_dir.MakeDir("pick");
    BrowserReturns(QUrl::fromLocalFile(QString::fromStdString(strFolder)));
    Click(dlg, IDC_BROWSE);
    EXPECT_EQ(WidgetText(dlg, IDC_FOLDER), strFolder);
    EXPECT_EQ(dlg.focusWidget(), GetDlgItem(dlg, IDC_FOLDER));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

} // namespace
