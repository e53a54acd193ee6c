// The window of the duplicate finder. The program takes no arguments of its own.
#include "ui/FinderApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    theApp.InitInstance();
    return 0;
}
