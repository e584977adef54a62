// Test entry for suites that show windows (on the offscreen platform).
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/qt_fonts.h"

int main(int argc, char** argv) {
    // ctest sets the offscreen platform; listing the tests at build time runs without it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", HVR_OFFSCREEN);
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // settings written by tests stay out of the user's
    // Each test its own settings: a zoom or port remembered by a test running beside it never
    // reaches this one.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QCoreApplication::setOrganizationName("hvr");
    QCoreApplication::setApplicationName("hvr-tests");
    hvr::platform::installChineseFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
