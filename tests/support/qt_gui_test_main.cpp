// Test entry for suites that show windows (on the offscreen platform).
#include <QApplication>

#include <gtest/gtest.h>

#include "platform/qt_fonts.h"

int main(int argc, char** argv) {
    // ctest sets the offscreen platform; listing the tests at build time runs without it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    hvr::platform::installChineseFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
