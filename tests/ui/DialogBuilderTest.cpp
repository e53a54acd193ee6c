// The template builder: controls placed by dialog units, groups of radio buttons, styles, and
// the main dialog's template as the program shows it.
#include "ui/DialogBuilder.h"

#include "res/DialogTemplate.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "res/Version.h"
#include "tests/ui/UiTestSupport.h"

#include <QButtonGroup>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr CControlTemplate kSmallControls[] = {
    {10, EControlKind::RadioButton, "A1", 4, 8, 40, 10, CS_GROUP},
    {11, EControlKind::RadioButton, "A2", 4, 20, 40, 10, CS_NONE},
    {12, EControlKind::RadioButton, "B1", 60, 8, 40, 10, CS_GROUP},
    {13, EControlKind::RadioButton, "B2", 60, 20, 40, 10, CS_NONE},
    {14, EControlKind::PushButton, "Go", 100, 40, 50, 14, CS_TABSTOP | CS_DEFAULT},
    {15, EControlKind::PushButton, "Off", 100, 60, 50, 14, CS_TABSTOP | CS_DISABLED},
};
constexpr CDialogTemplate kSmall = {1, "Small", 160, 80, DS_NONE, kSmallControls};

TEST(DialogBuilder, PlacesControlsByDialogUnits) {
    QDialog dlg;
    BuildDialog(dlg, kSmall);
    const QSize units = DialogBaseUnits(dlg.font());
    ASSERT_GT(units.width(), 0);
    ASSERT_GT(units.height(), units.width());
    const auto expected = [&](int x, int y, int cx, int cy) {
        return QRect((x * units.width() + 2) / 4, (y * units.height() + 4) / 8,
                     (cx * units.width() + 2) / 4, (cy * units.height() + 4) / 8);
    };
    EXPECT_EQ(GetDlgItem(dlg, 14)->geometry(), expected(100, 40, 50, 14));
    EXPECT_EQ(GetDlgItem(dlg, 13)->geometry(), expected(60, 20, 40, 10));
    EXPECT_EQ(dlg.size(), expected(0, 0, 160, 80).size());
    EXPECT_EQ(dlg.windowTitle().toStdString(), "Small");
    EXPECT_FALSE(dlg.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(dlg.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(GetDlgItem(dlg, 99), nullptr);
}

TEST(DialogBuilder, GroupStartsSplitRadioButtons) {
    QDialog dlg;
    BuildDialog(dlg, kSmall);
    auto* pA1 = GetDlgItemAs<QRadioButton>(dlg, 10);
    auto* pA2 = GetDlgItemAs<QRadioButton>(dlg, 11);
    auto* pB1 = GetDlgItemAs<QRadioButton>(dlg, 12);
    pA1->click();
    pB1->click();
    EXPECT_TRUE(pA1->isChecked());
    EXPECT_TRUE(pB1->isChecked());
    pA2->click();
    EXPECT_FALSE(pA1->isChecked());
    EXPECT_TRUE(pB1->isChecked());
}

TEST(DialogBuilder, HonoursDefaultAndDisabledStyles) {
    QDialog dlg;
    BuildDialog(dlg, kSmall);
    EXPECT_TRUE(GetDlgItemAs<QPushButton>(dlg, 14)->isDefault());
    EXPECT_FALSE(GetDlgItem(dlg, 15)->isEnabled());
    EXPECT_FALSE(GetDlgItemAs<QPushButton>(dlg, 15)->isDefault());
}

TEST(DialogBuilder, LengthensTextControlsThatWouldCutTheirText) {
    constexpr CControlTemplate kNarrow[] = {
        {20, EControlKind::Static, "A label far longer than its place", 10, 10, 8, 8, CS_NONE},
        {21, EControlKind::CheckBox, "A check box with a long text", 10, 30, 8, 10, CS_NONE},
        {22, EControlKind::PushButton, "A long button text", 10, 50, 8, 14, CS_NONE},
    };
    const CDialogTemplate tmpl = {2, "Narrow", 100, 80, DS_NONE, kNarrow};
    QDialog dlg;
    BuildDialog(dlg, tmpl);
    const QSize units = DialogBaseUnits(dlg.font());
    for (int nID : {20, 21}) {
        QWidget* pWidget = GetDlgItem(dlg, nID);
        EXPECT_GE(pWidget->width(), pWidget->sizeHint().width()) << nID;
        EXPECT_GT(pWidget->width(), (8 * units.width() + 2) / 4) << nID;
        EXPECT_EQ(pWidget->x(), (10 * units.width() + 2) / 4) << nID;
    }
    // Buttons keep their template size.
    EXPECT_EQ(GetDlgItem(dlg, 22)->width(), (8 * units.width() + 2) / 4);
}

TEST(MainTemplate, HoldsEveryControlWithItsText) {
    const CDialogTemplate* pTmpl = FindDialogTemplate(IDD_MAIN_DIALOG);
    ASSERT_NE(pTmpl, nullptr);
    EXPECT_EQ(pTmpl->cx, 491);
    EXPECT_EQ(pTmpl->cy, 388);
    QDialog dlg;
    BuildDialog(dlg, *pTmpl);
    const std::pair<int, const char*> texts[] = {
        {IDC_BROWSE, "..."},
        {IDC_SUBFOLDERS, "Include subfolder"},
        {IDC_BY_NAME, "Filename Only"},
        {IDC_BY_CRC, "CRC32 + File size"},
        {IDC_BY_BYTES, "Byte by Byte comparision"},
        {IDC_BY_MD5, "MD5 Checksum"},
        {IDC_START, "Start"},
        {IDC_STOP, "Stop"},
        {IDC_PAUSE, "Pause"},
        {IDC_METHOD_LABEL, "Select a method"},
        {IDC_CLOSE, "Close"},
        {IDC_DELETE, "Delete"},
        {IDC_COPY, "Copy"},
        {IDC_MOVE, "Move"},
        {IDC_ABOUT, "About"},
    };
    for (const auto& [nID, pszText] : texts)
        EXPECT_EQ(WidgetText(dlg, nID), pszText) << "control " << nID;
    for (int nID : {IDC_FOLDER, IDC_RESULTS, IDC_STATUS, IDC_FOLDER_LABEL, IDC_WEBLINK})
        EXPECT_NE(GetDlgItem(dlg, nID), nullptr) << "control " << nID;
    // No button is the default one; only the three file actions start disabled.
    for (QPushButton* pButton : dlg.findChildren<QPushButton*>()) {
        EXPECT_FALSE(pButton->isDefault());
        const int nID = GetDlgItem(dlg, IDC_DELETE) == pButton ? IDC_DELETE
                        : GetDlgItem(dlg, IDC_COPY) == pButton ? IDC_COPY
                        : GetDlgItem(dlg, IDC_MOVE) == pButton ? IDC_MOVE
                                                               : 0;
        EXPECT_EQ(pButton->isEnabled(), nID == 0) << pButton->text().toStdString();
    }
    // Three pictures, each showing its artwork.
    int nPictures = 0;
    for (QLabel* pLabel : dlg.findChildren<QLabel*>())
        if (!pLabel->pixmap().isNull())
            ++nPictures;
    EXPECT_EQ(nPictures, 3);
}

TEST(Resources, StringTableAndVersion) {
    EXPECT_EQ(LoadResourceString(IDS_ABOUTBOX), "&About Twinsift...");
    EXPECT_EQ(LoadResourceString(12345), "");
    EXPECT_STREQ(kVersionString, "1.0.0.1");
}

} // namespace
