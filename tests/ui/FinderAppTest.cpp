// The application object: the title of the notice boxes, F1 help, and the main dialog run
// modally until it ends.
#include "ui/FinderApp.h"

#include "res/ResourceIds.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/DialogBuilder.h"
#include "ui/FinderDlg.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>

namespace {

TEST(FinderApp, TitleIsTheExecutableNameWithoutExtension) {
    const std::string strExpected =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
    EXPECT_EQ(theApp.AppTitle(), strExpected);
    EXPECT_EQ(strExpected, "twinsift_ui_test");

    CBoxRecorder boxes;
    CMessageBox::AfxMessageBox(nullptr, "note", EBoxIcon::Information);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].strCaption, strExpected);
}

TEST(FinderApp, F1ShowsTheHelpText) {
    CBoxRecorder boxes;
    CFinderDlg dlg;
    dlg.show();
    for (int nID : {IDC_FOLDER, IDC_RESULTS}) {
        GetDlgItem(dlg, nID)->setFocus();
        QTest::keyClick(GetDlgItem(dlg, nID), Qt::Key_F1);
    }
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].strText, g_pszHelpText);
    EXPECT_EQ(boxes.Boxes()[0].strCaption, theApp.AppTitle());
    EXPECT_TRUE(dlg.isVisible());
}

TEST(FinderApp, InitInstanceRunsTheDialogUntilItEnds) {
    CModalDriver driver;
    std::string strCaption;
    driver.Then([&](QWidget* pModal) {
        if (!dynamic_cast<CFinderDlg*>(pModal))
            return false;
        strCaption = pModal->windowTitle().toStdString();
        QTest::mouseClick(GetDlgItem(*pModal, IDC_CLOSE), Qt::LeftButton);
        return true;
    });
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(strCaption, "Orvane Twinsift");
}

} // namespace
