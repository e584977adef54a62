// The whole window program against hvr-sim at real time, as an engineer uses it: a read, a
// few seconds of idle link checks, then the particulars typed into the analysis window. The
// record holds what was typed, the analysis window opened again stays open, and an archived
// test opened again takes what is typed for it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "analysis/qt_error_analysis_view.h"
#include "archive/archive.h"
#include "archive/qt_archive_view.h"
#include "main_window/form1.h"
#include "main_window/qt_application.h"
#include "main_window/qt_form1_view.h"
#include "platform/qt_database.h"
#include "texts/texts.h"
#include "tests/support/qt_wait.h"
#include "tests/support/window_program.h"

namespace hvr {
namespace {

using testing::settle;
using testing::waitUntil;

template <class View> View* shown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* view = dynamic_cast<View*>(w); view != nullptr && view->isVisible()) return view;
    return nullptr;
}

class TypedAfterRead : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().remove("analysis");
        m_before = qgetenv("HVR_ARCHIVE");
        qputenv("HVR_ARCHIVE", QByteArray::fromStdString(archivePath()));
    }
    void TearDown() override { qputenv("HVR_ARCHIVE", m_before); }

    std::string archivePath() const { return m_dir.filePath("archive.sqlite").toStdString(); }

    // The archive's newest test, once its particulars are as expected.
    archive::TestRecord newest(const std::function<bool(const archive::TestRecord&)>& holds) {
        archive::TestRecord found;
        waitUntil(
            [&] {
                std::string why;
                auto db = platform::QtDatabase::open(archivePath(), &why);
                if (!db) return false;
                archive::Archive archive(*db);
                if (!archive.open(&why)) return false;
                const auto tests = archive.listTests({}, &why);
                if (!tests || tests->empty()) return false;
                const auto record = archive.loadTest(tests->front().id, &why);
                if (!record) return false;
                found = *record;
                return holds(found);
            },
            5000);
        return found;
    }

    QTemporaryDir m_dir;
    QByteArray m_before;
};

TEST_F(TypedAfterRead, ReachesTheRecordAndTheAnalysisWindowOpenedAgainStaysOpen) {
    testing::SimProcess sim({"--groups", "30"});
    const auto program = testing::startedOn(sim);
    ASSERT_TRUE(program);
    gui::QtForm1View& view = program->view();
    Form1& form = program->form();
    ASSERT_TRUE(waitUntil([&] { return form.Text40.text() == texts::kLinkUp; }, 10000));

    QTest::mouseClick(view.findChild<QPushButton*>("Command9"), Qt::LeftButton);
    QTest::mouseClick(view.findChild<QPushButton*>("Command5"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return form.dl_outcome == Form1::ReadOutcome::Complete; }, 15000));
    settle(3000); // idle link checks, as while the engineer reaches for F4

    view.action("errorAnalysis")->trigger();
    auto* analysis = shown<gui::QtErrorAnalysisView>();
    ASSERT_TRUE(analysis);
    QTest::keyClicks(analysis->findChild<QLineEdit*>("ratedEntry"), "600/5");
    QTest::keyClick(analysis->findChild<QLineEdit*>("ratedEntry"), Qt::Key_Return);
    QTest::keyClicks(analysis->findChild<QLineEdit*>("stationEntry"), "North-220kV");
    QTest::keyClicks(analysis->findChild<QLineEdit*>("deviceEntry"), "CT-601");
    QTest::mouseClick(analysis->findChild<QRadioButton*>("phaseB"), Qt::LeftButton);
    settle(1500);
    archive::TestRecord record = newest([](const auto& r) { return r.particulars.phase == "B"; });
    EXPECT_EQ(record.particulars.station, "North-220kV");
    EXPECT_EQ(record.particulars.device, "CT-601");
    EXPECT_EQ(record.particulars.phase, "B");
    EXPECT_EQ(record.rated, "600/5");
    EXPECT_EQ(record.frames.size(), 30u);

    // Closed, opened again, a click: it stays open, and the change reaches the record.
    QTest::mouseClick(analysis->findChild<QPushButton*>("closeWindow"), Qt::LeftButton);
    ASSERT_FALSE(analysis->isVisible());
    settle(1000);
    view.action("errorAnalysis")->trigger();
    ASSERT_TRUE(analysis->isVisible());
    QTest::mouseClick(analysis->findChild<QRadioButton*>("phaseC"), Qt::LeftButton);
    settle(600);
    EXPECT_TRUE(analysis->isVisible()) << "a window opened again does not close itself";
    record = newest([](const auto& r) { return r.particulars.phase == "C"; });
    EXPECT_EQ(record.particulars.phase, "C");

    // The archived test opened again from the archive window: what is typed is its own.
    view.action("testRecords")->trigger();
    auto* archiveView = shown<gui::QtArchiveView>();
    ASSERT_TRUE(archiveView);
    ASSERT_TRUE(waitUntil(
        [&] { return archiveView->findChild<QTableView*>("recordTable")->model()->rowCount() == 1; }));
    archiveView->findChild<QTableView*>("recordTable")->selectRow(0);
    QTest::mouseClick(archiveView->findChild<QPushButton*>("openRecord"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return form.storeHolds(); }));
    settle(1500);
    view.action("errorAnalysis")->trigger();
    QLineEdit* device = analysis->findChild<QLineEdit*>("deviceEntry");
    device->selectAll();
    QTest::keyClicks(device, "CT-602");
    settle(1500);
    record = newest([](const auto& r) { return r.particulars.device == "CT-602"; });
    EXPECT_EQ(record.particulars.device, "CT-602");
    EXPECT_EQ(record.particulars.station, "North-220kV") << "the rest as it was";
}

} // namespace
} // namespace hvr
