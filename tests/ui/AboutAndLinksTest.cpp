// The About box and the link labels: opening, closing keys, colours, font, cursor and clicks.
#include "res/MakerInfo.h"
#include "res/ResourceIds.h"
#include "search/SearchMessages.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/AboutDlg.h"
#include "ui/DialogBuilder.h"
#include "ui/FinderDlg.h"
#include "ui/LinkLabel.h"
#include "ui/SearchEvent.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <algorithm>

namespace {

QColor TextColor(const QLabel& label) {
    return label.palette().color(QPalette::WindowText);
}

class AboutAndLinksTest : public CUiTest {
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
    QLabel& MainLink() { return *GetDlgItemAs<QLabel>(*m_pDlg, IDC_WEBLINK); }

    CUrlCatcher m_urls{QStringLiteral("https")};
    std::unique_ptr<CFinderDlg> m_pDlg;
};

TEST_F(AboutAndLinksTest, LinkLabelIsBlueUnderlinedWithTheHandCursor) {
    QLabel& link = MainLink();
    EXPECT_EQ(link.text().toStdString(), kMakerWebAddress);
    EXPECT_EQ(TextColor(link), kLinkColor);
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.font().family(), m_pDlg->font().family());
    EXPECT_EQ(link.font().pointSizeF(), m_pDlg->font().pointSizeF());
    EXPECT_EQ(link.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(link.cursor().hotSpot(), QPoint(5, 0));
    // Every other text keeps the dialog's font, colour and cursor.
    for (int nID : {IDC_STATUS, IDC_FOLDER_LABEL, IDC_METHOD_LABEL}) {
        auto* pLabel = GetDlgItemAs<QLabel>(*m_pDlg, nID);
        EXPECT_FALSE(pLabel->font().underline()) << nID;
        EXPECT_NE(TextColor(*pLabel), kLinkColor) << nID;
        EXPECT_FALSE(pLabel->testAttribute(Qt::WA_SetCursor)) << nID;
    }
}

TEST_F(AboutAndLinksTest, ClickOpensTheSiteAndTurnsTheLinkPurple) {
    QTest::mouseClick(&MainLink(), Qt::LeftButton);
    ASSERT_EQ(m_urls.m_urls.size(), 1u);
    EXPECT_EQ(m_urls.m_urls[0].toString().toStdString(), kMakerWebAddress);
    EXPECT_TRUE(m_pDlg->IsLinkVisited());
    EXPECT_EQ(TextColor(MainLink()), kVisitedLinkColor);
    EXPECT_TRUE(MainLink().font().underline());
    // A right click is no link click.
    QTest::mouseClick(&MainLink(), Qt::RightButton);
    EXPECT_EQ(m_urls.m_urls.size(), 1u);
}

TEST_F(AboutAndLinksTest, AboutBoxHasItsOwnLink) {
    QTest::mouseClick(&MainLink(), Qt::LeftButton);
    for (int nRun = 0; nRun < 2; ++nRun) {
        SCOPED_TRACE(nRun);
        CModalDriver driver;
        driver.Then([&](QWidget* pModal) {
            auto* pAbout = dynamic_cast<CAboutDlg*>(pModal);
            if (!pAbout)
                return false;
            EXPECT_EQ(pAbout->windowTitle().toStdString(), "About Orvane Twinsift");
            auto* pLink = GetDlgItemAs<QLabel>(*pAbout, IDC_ABOUT_WEBLINK);
            // Blue each time the box opens, whatever the main dialog's label shows.
            EXPECT_EQ(TextColor(*pLink), kLinkColor);
            EXPECT_TRUE(pLink->font().underline());
            QTest::mouseClick(pLink, Qt::LeftButton);
            EXPECT_EQ(TextColor(*pLink), kVisitedLinkColor);
            EXPECT_TRUE(pAbout->IsLinkVisited());
            Button(*pAbout, IDOK)->click();
            return true;
        });
        Click(*m_pDlg, IDC_ABOUT);
        EXPECT_TRUE(driver.Done());
        EXPECT_EQ(TextColor(MainLink()), kVisitedLinkColor);
    }
    EXPECT_EQ(m_urls.m_urls.size(), 3u);
}

TEST_F(AboutAndLinksTest, AboutBoxKeysEscapeKeepsEnterCloses) {
    CModalDriver driver;
    std::vector<std::string> texts;
    bool bOpenAfterEscape = false;
    driver.Then([&](QWidget* pModal) {
        auto* pAbout = dynamic_cast<CAboutDlg*>(pModal);
        if (!pAbout)
            return false;
        for (QLabel* pLabel : pAbout->findChildren<QLabel*>())
            texts.push_back(pLabel->text().toStdString());
        QTest::keyClick(pAbout, Qt::Key_Escape);
        bOpenAfterEscape = pAbout->isVisible();
        QTest::keyClick(pAbout, Qt::Key_Return);
        return true;
    });
    Click(*m_pDlg, IDC_ABOUT);
    EXPECT_TRUE(driver.Done());
    EXPECT_TRUE(bOpenAfterEscape);
    for (const char* pszText : {"Orvane Twinsift Version 1.0", kMakerCompany, kMakerNotice,
                                kMakerContact, "For any query or suggestion please contact: "})
        EXPECT_NE(std::find(texts.begin(), texts.end(), pszText), texts.end()) << pszText;
}

TEST_F(AboutAndLinksTest, SearchGoesOnWhileTheAboutBoxIsOpen) {
    // A duplicate report posted while the box is open is handled under it.
    CModalDriver driver;
    int nCountUnderBox = -1;
    QElapsedTimer waited;
    waited.start();
    driver.Then([&](QWidget* pModal) {
        if (!dynamic_cast<CAboutDlg*>(pModal))
            return false;
        // Give the posted report time to arrive, but never wait without end.
        if (m_pDlg->DuplicateCount() == 0 && waited.elapsed() < 10000)
            return false;
        nCountUnderBox = m_pDlg->DuplicateCount();
        pModal->close();
        return true;
    });
    CTempDir dir;
    const std::string strRep = dir.WriteFile("r.txt", "r");
    QTimer::singleShot(0, m_pDlg.get(), [&] {
        QCoreApplication::postEvent(m_pDlg.get(), new CSearchEvent(std::make_unique<CSearchMessage>(
                                                      UWM_DUPLICATE_FOUND, strRep, dir / "d.txt")));
    });
    Click(*m_pDlg, IDC_ABOUT);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(nCountUnderBox, 1);
}

} // namespace
