// The window of the duplicate finder. The program takes no arguments of its own.
#include "ui/FinderApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Ties the window to its desktop entry (icon and name in the desktop's task list).
    QGuiApplication::setDesktopFileName(QStringLiteral("twinsift"));
    theApp.InitInstance();
    return 0;
}
