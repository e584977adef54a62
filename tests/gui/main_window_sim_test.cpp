// The window against hvr-sim over a pseudo-terminal: the scan finds the instrument, live
// readings reach the panel, and a download fills the first page.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

#include "main_window/curve_chart.h"
#include "main_window/form1.h"
#include "main_window/qt_application.h"
#include "main_window/qt_form1_view.h"
#include "texts/texts.h"
#include "records/row_format.h"
#include "sim/scenario.h"
#include "tests/support/qt_wait.h"
#include "tests/support/sim_listing.h"
#include "tests/support/window_program.h"

namespace hvr {
namespace {

using testing::SimProcess;
using testing::waitUntil;

TEST(MainWindowWithTheSimulator, FindsItShowsLiveReadingsAndDownloads) {
    SimProcess sim({"--groups", "60"});
    ASSERT_FALSE(sim.device().isEmpty());
    gui::WindowOptions options;
    options.port.device = sim.device().toStdString();
    options.timeScale = 0.1;
    gui::MainWindowProgram program(options);
    std::string error;
    ASSERT_TRUE(program.start(error)) << error;
    gui::QtForm1View& view = program.view();
    auto text = [&](const char* name) {
        if (auto* label = view.findChild<QLabel*>(name)) return label->text();
        return view.findChild<QLineEdit*>(name)->text();
    };

    ASSERT_TRUE(waitUntil([&] { return text("Text40") == texts::kLinkUp; }, 5000))
        << text("Text40").toStdString();
    EXPECT_EQ(text("Text39"), "串口已打开");
    ASSERT_TRUE(waitUntil([&] { return !text("Label10").isEmpty() && !text("Label9").isEmpty(); }, 5000));
    EXPECT_TRUE(text("Label10").endsWith("A")) << text("Label10").toStdString();

    view.findChild<QPushButton*>("Command9")->click();
    view.findChild<QPushButton*>("Command5")->click();
    ASSERT_TRUE(waitUntil([&] { return text("Text41").endsWith("60组"); }, 10000))
        << text("Text41").toStdString();
    ASSERT_TRUE(waitUntil([&] { return !program.form().dl_active; }, 10000));

    // The rows shown are the row texts of the simulator's groups.
    const sim::Scenario store = sim::Scenario::synthetic(60);
    auto expected = std::make_unique<RecordStore>();
    testing::fileGroups(*expected, sim::Scenario::synthetic(60), 26);
    EXPECT_EQ(text("Text1").toStdString(), formatRow(*expected, 0));
    EXPECT_EQ(text("Text13").toStdString(), formatRow(*expected, 12));
    EXPECT_EQ(text("Text14").toStdString(), formatRow(*expected, 13));
    EXPECT_EQ(text("Text41"), "1/3页   60组");
}

// At real time and 4800 baud, the pair of groups 45 and 46 answered a second late: the read
// in the window files exactly the store.
TEST(MainWindowWithTheSimulator, ReadsAnInstrumentThatAnswersLateExactly) {
    SimProcess sim({"--groups", "157", "--paced", "--late", "pair:23:1.0"});
    const auto program = testing::startedOn(sim);
    ASSERT_TRUE(program);
    gui::QtForm1View& view = program->view();
    Form1& form = program->form();
    auto text = [&](const char* name) {
        if (auto* label = view.findChild<QLabel*>(name)) return label->text();
        return view.findChild<QLineEdit*>(name)->text();
    };
    ASSERT_TRUE(waitUntil([&] { return text("Text40") == texts::kLinkUp; }, 10000));
    QTest::mouseClick(view.findChild<QPushButton*>("Command9"), Qt::LeftButton);
    QTest::qWait(1500); // idle link checks before the read, as a user takes a moment
    QTest::mouseClick(view.findChild<QPushButton*>("Command5"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return form.dl_outcome != Form1::ReadOutcome::None; }, 30000));
    EXPECT_EQ(form.dl_outcome, Form1::ReadOutcome::Complete);
    EXPECT_EQ(*platform::toGbk(form.ListingText()), testing::expectedListing(sim::Scenario::synthetic(157)));
    EXPECT_EQ(text("Text41"), "1/7页   157组");
}

// Whether a pixel near the middle of a segment (twips) has the colour.
bool paintedNear(const QImage& image, const platform::Primitive& segment,
                 const std::function<bool(QColor)>& is) {
    const int cx = static_cast<int>((segment.x0 + segment.x1) / 2 / 15);
    const int cy = static_cast<int>((segment.y0 + segment.y1) / 2 / 15);
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            if (image.valid(cx + dx, cy + dy) && is(image.pixelColor(cx + dx, cy + dy))) return true;
    return false;
}

TEST(MainWindowWithTheSimulator, PaintsTheLiveCurveWhereItsGeometryPutsIt) {
    SimProcess sim;
    gui::WindowOptions options;
    options.port.device = sim.device().toStdString();
    options.timeScale = 0.2;
    gui::MainWindowProgram program(options);
    std::string error;
    ASSERT_TRUE(program.start(error)) << error;
    Form1& form = program.form();
    ASSERT_TRUE(waitUntil([&] { return form.sec_curve[kCurveNewest - 1] < 4100000; }, 8000))
        << "two readings";
    const auto last = [&](std::uint32_t color) {
        std::optional<platform::Primitive> found;
        for (const auto& p : form.picture1())
            if (p.kind == platform::Primitive::Kind::Line && p.color == color) found = p;
        return found;
    };
    const auto green = last(chart::kSecondary);
    const auto red = last(chart::kPrimary);
    ASSERT_TRUE(green && red);
    const QImage image = program.view().widget("Picture1")->grab().toImage();
    EXPECT_TRUE(paintedNear(image, *green, [](QColor c) { return c.green() > 200 && c.red() < 80; }));
    EXPECT_TRUE(paintedNear(image, *red, [](QColor c) { return c.red() > 200 && c.green() < 80; }));
    EXPECT_EQ(image.pixelColor(image.width() - 5, 5), QColor(0x40, 0x40, 0x40)) << "the background";
}

} // namespace
} // namespace hvr
