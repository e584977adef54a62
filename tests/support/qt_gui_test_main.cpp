// Test entry for suites that show windows (on the offscreen platform).
#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include "platform/qt_fonts.h"

int main(int argc, char** argv) {
    // ctest sets the offscreen platform; listing the tests at build time runs without it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", HVR_OFFSCREEN);
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // settings written by tests stay out of the user's
    QCoreApplication::setOrganizationName("hvr");
    QCoreApplication::setApplicationName("hvr-tests");
    hvr::platform::installChineseFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
