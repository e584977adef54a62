// What the window remembers between runs: the port that answered, the save dialog's folder
// and file type.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "main_window/form1.h"
#include "main_window/qt_application.h"
#include "platform/qt_settings.h"

namespace hvr {
namespace {

using platform::SaveRequest;

const SaveRequest kListing{"/home/engineer/HVR", "HVR.txt", ".txt", ".txt", ".csv"};
const SaveRequest kBitmap{"/home/engineer/HVR", "HVR.bmp", ".bmp", ".bmp"};

TEST(Remembered, SaveComesBackInItsFolderWithItsType) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath("hvr.conf"), QSettings::IniFormat);
    const std::string home = QDir::homePath().toStdString();
    EXPECT_EQ(platform::rememberedSave(settings, kListing).directory, home) << "nothing yet, and no such folder";
    EXPECT_EQ(platform::rememberedSave(settings, {"", "变比试验报告.pdf", ".pdf", ".pdf"}).directory, home)
        << "never the folder the program started in";

    const QString folder = dir.filePath("site 7");
    ASSERT_TRUE(QDir().mkpath(folder));
    platform::rememberSave(settings, kListing, (folder + "/ct-204.csv").toStdString());
    const SaveRequest again = platform::rememberedSave(settings, kListing);
    EXPECT_EQ(again.directory, folder.toStdString());
    EXPECT_EQ(again.fileName, "HVR.csv");
    EXPECT_EQ(again.filter, ".csv") << "the type chosen last is offered first";
    EXPECT_EQ(again.alternative, ".txt");
    EXPECT_EQ(again.defaultExtension, ".csv");
    EXPECT_EQ(platform::rememberedSave(settings, kBitmap).directory, home) << "another kind of save keeps its own";

    platform::rememberSave(settings, again, (folder + "/ct-205.txt").toStdString());
    EXPECT_EQ(platform::rememberedSave(settings, kListing).filter, ".txt");
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_EQ(platform::rememberedSave(settings, kListing).directory, home) << "a folder that is gone is not offered";
}

TEST(Remembered, TheScanStartsAtThePortThatAnsweredLastTime) {
    qputenv("HVR_PORTS", "/nonexistent/tty0,/nonexistent/tty1,/nonexistent/tty2");
    {
        QSettings settings;
        platform::rememberPort(settings, "/nonexistent/tty2");
    }
    gui::MainWindowProgram program(gui::WindowOptions{});
    std::string error;
    ASSERT_TRUE(program.start(error)) << error;
    EXPECT_EQ(program.form().Combo1.text(), "2") << "the first tick opens COM3";
    QSettings().remove("port");
    qunsetenv("HVR_PORTS");
}

} // namespace
} // namespace hvr
