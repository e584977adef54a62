// The curve bitmap as the program writes it: a Windows bitmap of the picture box, written as a
// listing is written.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "main_window/curve_chart.h"
#include "platform/file_system.h"
#include "platform/qt_canvas.h"
#include "tests/support/form_harness.h"

namespace hvr {
namespace {

TEST(CurveBitmap, IsTheChartAsAWindowsBitmap) {
    testing::FormHarness h;
    h.form->Form_Load();
    h.form->sec_curve[399] = 100000;
    h.form->sec_curve[400] = 1500000;
    h.form->DrawCurve();
    QTemporaryDir dir;
    const QString path = dir.filePath("HVR.bmp");
    platform::LocalFileSystem files;
    platform::QtPictureFiles pictures(files);
    ASSERT_TRUE(pictures.saveBitmap(h.form->picture1(), 11295, 5775, path.toStdString()));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), "BM");
    file.close();
    const QImage image(path, "BMP");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(753, 385));
    EXPECT_EQ(image.pixelColor(700, 20), QColor(0x40, 0x40, 0x40));
    // The last green segment rises from 1 A to 15 A at the right end of the live curve.
    const int x = static_cast<int>((400.5 * 22.5 + 530) / 15);
    const int y = static_cast<int>((chart::yOf(100000, 3000) + chart::yOf(1500000, 3000)) / 2 / 15);
    bool green = false;
    for (int dx = -2; dx <= 2; ++dx)
        green = green || image.pixelColor(x + dx, y).green() > 200;
    EXPECT_TRUE(green);
}

TEST(CurveBitmap, AFailedWriteLeavesNothingAndSaysSo) {
    platform::LocalFileSystem files;
    platform::QtPictureFiles pictures(files);
    EXPECT_FALSE(pictures.saveBitmap({}, 11295, 5775, "/nonexistent/dir/HVR.bmp"));
}

} // namespace
} // namespace hvr
