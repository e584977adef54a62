// The window never waits for the database: a team server that stops answering during live
// monitoring and a read holds up neither, and what was kept lands once it answers again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "archive/archive.h"
#include "main_window/form1.h"
#include "main_window/qt_application.h"
#include "main_window/qt_form1_view.h"
#include "platform/qt_database.h"
#include "texts/texts.h"
#include "tests/support/postgres_server.h"
#include "tests/support/qt_wait.h"
#include "tests/support/sim_listing.h"

namespace hvr {
namespace {

using testing::waitUntil;

TEST(ArchiveWorker, AServerThatStopsAnsweringHoldsUpNeitherTheLiveReadingsNorARead) {
    testing::PostgresServer server;
    if (!server.ok()) GTEST_SKIP() << server.why();
    const QByteArray before = qgetenv("HVR_ARCHIVE");
    qputenv("HVR_ARCHIVE", QByteArray::fromStdString(server.url()));
    // A box the archive says is closed and kept: a modal box would hold the test.
    std::vector<std::string> boxes;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes.push_back(box->text().toStdString());
            box->accept();
        }
    });
    closer.start(100);

    testing::SimProcess sim({"--groups", "60"});
    gui::WindowOptions options;
    options.port.device = sim.device().toStdString(); // at the instrument's own pace
    gui::MainWindowProgram program(options);
    std::string error;
    ASSERT_TRUE(program.start(error)) << error;
    Form1& form = program.form();
    ASSERT_TRUE(waitUntil([&] { return form.live_shown_count >= 4; }, 20000));

    server.freeze();
    QElapsedTimer frozen;
    frozen.start();
    const std::uint64_t frozenAt = form.live_shown_count;
    testing::settle(10000);
    EXPECT_GE(form.live_shown_count - frozenAt, 10u) << "two readings a second go on: not held up";

    program.view().findChild<QPushButton*>("Command9")->click();
    program.view().findChild<QPushButton*>("Command5")->click();
    EXPECT_TRUE(waitUntil([&] { return form.dl_outcome == Form1::ReadOutcome::Complete; }, 18000))
        << "the read completes while the server does not answer";
    testing::settle(std::max(0, 30000 - static_cast<int>(frozen.elapsed())));
    server.thaw();

    // The record and the live session land once the server answers.
    std::string why;
    auto db = platform::QtDatabase::open(server.url(), &why);
    ASSERT_TRUE(db) << why;
    archive::Archive archive(*db);
    ASSERT_TRUE(archive.open(&why)) << why;
    const auto landed = [&] {
        const auto tests = archive.listTests({}, &why);
        const auto sessions = archive.listSessions(&why);
        return tests && tests->size() == 1u && tests->front().groups == 60 && sessions && sessions->size() == 1u &&
               !sessions->front().endedAt.empty();
    };
    EXPECT_TRUE(waitUntil(landed, 20000)) << why;
    const auto sessions = archive.listSessions(&why);
    ASSERT_TRUE(sessions && sessions->size() == 1u) << why;
    EXPECT_GE(sessions->front().readings, 14) << "every reading shown while it ran";
    EXPECT_TRUE(program.finishArchive());
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    qputenv("HVR_ARCHIVE", before);
}

} // namespace
} // namespace hvr
