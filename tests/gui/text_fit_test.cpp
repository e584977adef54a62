// Every caption, option, heading and shown value whole in its box, in every window, at every
// zoom step; the suite runs these tests again at the scale factors 1.25, 1.5 and 2
// (QT_SCALE_FACTOR), as laptops set them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include "analysis/error_analysis_form.h"
#include "analysis/qt_error_analysis_view.h"
#include "archive/archive.h"
#include "archive/archive_form.h"
#include "archive/qt_archive_view.h"
#include "calculator/form4.h"
#include "calculator/qt_form4_view.h"
#include "forms/qt_text_fit.h"
#include "main_window/qt_form1_view.h"
#include "platform/qt_database.h"
#include "print/form3.h"
#include "print/qt_form3_view.h"
#include "sim/scenario.h"
#include "splash/form2.h"
#include "splash/qt_form2_view.h"
#include "tests/support/fake_services.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

constexpr double kZooms[] = {0.6, 0.67, 0.75, 0.8, 0.9, 1, 1.1, 1.25, 1.5, 1.75, 2, 2.5, 3, 4};

std::string at(double zoom) {
    return "zoom " + std::to_string(zoom) + ", scale " + qEnvironmentVariable("QT_SCALE_FACTOR", "1").toStdString();
}

// A widget that a sibling above it hides whole.
bool covered(const QWidget& w) {
    const QWidget* parent = w.parentWidget();
    if (parent == nullptr) return false;
    const auto siblings = parent->children();
    for (auto i = siblings.indexOf(const_cast<QWidget*>(&w)) + 1; i < siblings.size(); ++i)
        if (const auto* above = qobject_cast<const QWidget*>(siblings[i]);
            above != nullptr && above->isVisible() && above->geometry().contains(w.geometry()))
            return true;
    return false;
}

// Each named control's text against its box, and each table's headings and shown cells
// against their columns.
void expectTextsFit(QWidget& window, const std::string& where) {
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const bool captioned = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                               qobject_cast<QGroupBox*>(w) || qobject_cast<QLineEdit*>(w) ||
                               qobject_cast<QComboBox*>(w);
        // Only what a person sees: a named control, shown and not under another one.
        if (!captioned || w->objectName().isEmpty() || w->objectName().startsWith("qt_") ||
            !w->isVisibleTo(&window) || covered(*w) || gui::textNeed(*w, w->font()) == 0)
            continue;
        EXPECT_LE(gui::textNeed(*w, w->font()), gui::textRoom(*w))
            << where << ": " << w->objectName().toStdString() << " " << w->width() << " px, room "
            << gui::textRoom(*w) << ", need " << gui::textNeed(*w, w->font());
    }
    for (QTableView* table : window.findChildren<QTableView*>()) {
        const QHeaderView* header = table->horizontalHeader();
        const QAbstractItemView& rows = *table;
        for (int c = 0; c < header->count() - 1; ++c) { // the last one stretches to the edge
            const std::string column =
                table->model()->headerData(c, Qt::Horizontal).toString().toStdString();
            EXPECT_GE(header->sectionSize(c), gui::headingNeed(*table, c)) << where << ": heading " << column;
            EXPECT_GE(header->sectionSize(c), rows.sizeHintForColumn(c)) << where << ": cells of " << column;
        }
    }
}

TEST(TextFits, TheMainWindowAtEveryZoom) {
    testing::FormHarness h;
    gui::QtForm1View view(*h.form);
    h.form->Form_Load();
    view.show();
    for (double zoom : kZooms) {
        view.zoomTo(zoom);
        view.render();
        expectTextsFit(view, "main window, " + at(zoom));
    }
}

TEST(TextFits, TheCalculatorPrintOptionsAndSplashAtEveryZoom) {
    testing::FakeDialogs dialogs;
    Form4 calculator(dialogs);
    gui::QtForm4View calculatorView(calculator);
    calculatorView.show();
    PrintHandOff handOff;
    Form3 printOptions{handOff, 300, dialogs};
    printOptions.Form_Load();
    gui::QtForm3View printView(printOptions);
    printView.show();
    for (double zoom : kZooms) {
        calculatorView.setZoom(zoom);
        expectTextsFit(calculatorView, "calculator, " + at(zoom));
        printView.setZoom(zoom);
        expectTextsFit(printView, "print options, " + at(zoom));
        testing::FakeShell shell;
        Form2 splash{shell, [] {}};
        gui::QtForm2View splashView(splash, zoom);
        splashView.show();
        expectTextsFit(splashView, "splash, " + at(zoom));
    }
}

TEST(TextFits, TheAnalysisAndArchiveWindowsWithTheirTablesAtEveryZoom) {
    testing::FakeDialogs dialogs;
    testing::FakeFileSystem files;
    testing::FakeDocuments documents;
    testing::MemoryPreferences preferences;
    ErrorAnalysisForm analysis{{dialogs, files, documents, preferences}, "1.0.1"};
    analysis.Form_Load();
    RecordStore store;
    testing::putGroup(store, 0, {7, '1', 6000, '2', 498});
    testing::putGroup(store, 1, {4321, '1', 1200, '2', 99, 5});
    analysis.showGroups(store, kStoreSlots, "2026-12-09 10:00:00");
    gui::QtErrorAnalysisView analysisView(analysis);
    analysisView.sync();
    analysisView.show();
    analysisView.table().sortByColumn(1, Qt::AscendingOrder); // its heading shows the sort mark

    QTemporaryDir dir;
    std::string why;
    auto db = platform::QtDatabase::open(dir.filePath("a.sqlite").toStdString(), &why);
    ASSERT_TRUE(db) << why;
    archive::Archive records(*db);
    ASSERT_TRUE(records.open(&why)) << why;
    const auto instrument = sim::Scenario::synthetic(40, 1);
    archive::TestRecord test{0,     "",    "2026-12-09 10:00:00", {"城南110kV变电站", "1号主变高压侧 CT", "A", "王工", ""},
                             "600/5", "0.5", "1.0.1",               {}};
    for (int g = 1; g <= 40; ++g)
        test.frames.push_back(instrument.storedGroup(g));
    ASSERT_TRUE(records.storeTest(test, &why)) << why;
    ArchiveForm archiveForm({dialogs, files, documents}, &records, "", [](const archive::TestRecord&) {});
    archiveForm.Form_Load();
    gui::QtArchiveView archiveView(archiveForm);
    archiveView.sync();
    archiveView.show();
    ASSERT_EQ(archiveView.table().model()->rowCount(), 1);

    for (double zoom : kZooms) {
        analysisView.setZoom(zoom);
        expectTextsFit(analysisView, "analysis, " + at(zoom));
        archiveView.setZoom(zoom);
        expectTextsFit(archiveView, "archive, " + at(zoom));
    }
}

} // namespace
} // namespace hvr
