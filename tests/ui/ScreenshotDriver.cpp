// Runs the real main window on the current display, searches a folder through its controls,
// and prints "READY <width>x<height>+<x>+<y>" with the window's place on the screen once the
// search has finished, so that scripts/screenshot can take its picture. Arguments: the folder
// and the identifier of the method's radio button.
#include "res/ResourceIds.h"
#include "ui/DialogBuilder.h"
#include "ui/FinderDlg.h"
#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER METHOD-BUTTON-ID\n", argv[0]);
        return 2;
    }
    // The final box is answered at once, so the picture shows the window itself.
    CMessageBox::SetAnswerer([](const CBoxInfo&) { return static_cast<int>(IDOK); });

    CFinderDlg dlg;
    dlg.move(0, 0);
    dlg.show();
    GetDlgItemAs<QLineEdit>(dlg, IDC_FOLDER)->setText(QFile::decodeName(argv[1]));
    GetDlgItemAs<QCheckBox>(dlg, IDC_SUBFOLDERS)->setChecked(true);
    GetDlgItemAs<QAbstractButton>(dlg, std::atoi(argv[2]))->click();
    GetDlgItemAs<QAbstractButton>(dlg, IDC_START)->click();

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &dlg, [&] {
        if (dlg.IsSearching())
            return;
        poll.stop();
        auto* pTree = GetDlgItemAs<QTreeWidget>(dlg, IDC_RESULTS);
        pTree->expandAll();
        if (pTree->topLevelItemCount() > 0 && pTree->topLevelItem(0)->childCount() > 1)
            pTree->setCurrentItem(pTree->topLevelItem(0)->child(1));
        pTree->setFocus();
        QTimer::singleShot(500, &dlg, [&] {
            const QRect rect = dlg.frameGeometry();
            std::printf("READY %dx%d+%d+%d\n", rect.width(), rect.height(), rect.x(), rect.y());
            std::fflush(stdout);
        });
    });
    poll.start(50);
    return app.exec();
}
