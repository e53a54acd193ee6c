// Runs the window tests inside one QApplication. The tests default to the offscreen platform
// themselves, since test discovery runs this binary at build time without the test environment.
#include "ui/FolderPicker.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_REGEXP_JIT", "0", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    CFolderPicker::SetDialogOptions(QFileDialog::DontUseNativeDialog);
    return RUN_ALL_TESTS();
}
