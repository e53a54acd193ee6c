// Times a search through the real window (offscreen), from the Start click to the final box,
// and measures how long the window's event loop went without answering a 5 ms timer: the
// window must stay responsive while reports pour in.
//
//   twinsift_windowbench FOLDER METHOD-BUTTON-ID
//
// Prints "window_seconds <s> longest_gap_ms <ms> duplicates <n>".
#include "res/ResourceIds.h"
#include "ui/DialogBuilder.h"
#include "ui/FinderDlg.h"
#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER METHOD-BUTTON-ID\n", argv[0]);
        return 2;
    }
    QElapsedTimer clock;
    double dSeconds = 0;
    CMessageBox::SetAnswerer([&](const CBoxInfo&) {
        dSeconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        QTimer::singleShot(0, &app, &QApplication::quit);
        return static_cast<int>(IDOK);
    });

    CFinderDlg dlg;
    dlg.show();
    GetDlgItemAs<QLineEdit>(dlg, IDC_FOLDER)->setText(QFile::decodeName(argv[1]));
    GetDlgItemAs<QCheckBox>(dlg, IDC_SUBFOLDERS)->setChecked(true);
    GetDlgItemAs<QAbstractButton>(dlg, std::atoi(argv[2]))->click();

    qint64 nLastTick = 0;
    qint64 nLongestGap = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, &dlg, [&] {
        const qint64 nNow = clock.nsecsElapsed();
        nLongestGap = std::max(nLongestGap, nNow - nLastTick);
        nLastTick = nNow;
    });
    clock.start();
    ticker.start(5);
    GetDlgItemAs<QAbstractButton>(dlg, IDC_START)->click();
    app.exec();
    std::printf("window_seconds %.3f longest_gap_ms %.1f duplicates %d\n", dSeconds,
                static_cast<double>(nLongestGap) / 1e6, dlg.DuplicateCount());
    return 0;
}
