// The window's steady cost: one live frame decoded, then the re-render of the controls it
// changed (offscreen), as happens twice a second while real-time monitoring runs; and the
// chart's geometry and paint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QImage>
#include <QPainter>

#include <cmath>

#include <memory>

#include <QTableView>

#include <QTemporaryDir>

#include "analysis/qt_error_analysis_view.h"
#include "archive/archive_form.h"
#include "archive/qt_archive_view.h"
#include "platform/qt_database.h"
#include "sim/scenario.h"
#include "main_window/qt_form1_view.h"
#include "platform/qt_document_painter.h"
#include "report/report_layout.h"
#include "tests/support/fake_services.h"
#include "platform/qt_fonts.h"
#include "platform/qt_canvas.h"
#include "platform/qt_printer.h"
#include "print/sheet_layout.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"

namespace {

void liveFrames(benchmark::State& state, bool repaint) {
    hvr::testing::FormHarness h;
    hvr::gui::QtForm1View view(*h.form);
    h.form->Form_Load();
    view.show();
    view.render();
    h.startLive();
    std::uint16_t raw = 0x1770;
    int rendered = 0;
    for (auto _ : state) {
        raw = raw == 0x1790 ? 0x1770 : raw + 1; // a moving primary, so captions change
        h.live({0x01, 0xF4, 0x32, static_cast<std::uint8_t>(raw >> 8), static_cast<std::uint8_t>(raw & 0xFF),
                0x31, 0x32, 0x00}); // the answer to a live request, as on the line
        rendered += view.render();
        if (repaint) QApplication::processEvents(); // the repaint the changes asked for
    }
    state.counters["controls"] = benchmark::Counter(rendered, benchmark::Counter::kAvgIterations);
}

// Decode, new curve picture, and the widgets of the changed controls brought up to date.
void BM_RenderAfterALiveFrame(benchmark::State& state) {
    liveFrames(state, false);
}
BENCHMARK(BM_RenderAfterALiveFrame)->Unit(benchmark::kMicrosecond);

// The same and the window's repaint of what changed, the curve included.
void BM_RenderAndRepaintAfterALiveFrame(benchmark::State& state) {
    liveFrames(state, true);
}
BENCHMARK(BM_RenderAndRepaintAfterALiveFrame)->Unit(benchmark::kMicrosecond);

// The chart's geometry and its paint into an image of Picture1's size.
void paintChart(benchmark::State& state, hvr::Form1& form) {
    QImage image(753, 385, QImage::Format_RGB32);
    const QFont font = hvr::platform::pictureFont();
    for (auto _ : state) {
        form.DrawCurve();
        QPainter painter(&image);
        hvr::platform::QtCanvas canvas(painter, font);
        hvr::platform::paint(form.picture1(), canvas);
    }
    state.counters["primitives"] = static_cast<double>(form.picture1().size());
}

void BM_LiveCurve(benchmark::State& state) {
    hvr::testing::FormHarness h;
    h.form->Form_Load();
    for (int i = 0; i <= hvr::kCurveNewest; ++i) { // a full buffer of swinging readings
        h.form->sec_curve[static_cast<std::size_t>(i)] = 100000 + 50000 * std::sin(i / 20.0);
        h.form->pri_history[static_cast<std::size_t>(i)] =
            static_cast<std::int64_t>(1200000 + 600000 * std::sin(i / 20.0));
        h.form->status_history[static_cast<std::size_t>(i)] = "0";
    }
    paintChart(state, *h.form);
}
BENCHMARK(BM_LiveCurve)->Unit(benchmark::kMicrosecond);

void BM_HistoryCurveOfAFullStore(benchmark::State& state) {
    hvr::testing::FormHarness h;
    h.form->Form_Load();
    for (int i = 0; i < hvr::kStoreSlots; ++i)
        hvr::testing::putGroup(*h.form, i, {i + 1, '2', 1000 + i % 700, '2', 100 + i % 300});
    h.form->Command9_Click();
    h.form->Command15_Click();
    paintChart(state, *h.form);
}
BENCHMARK(BM_HistoryCurveOfAFullStore)->Unit(benchmark::kMicrosecond);

// A full store, 52 sheets, printed into a PDF in memory.
void BM_FullStoreToPdf(benchmark::State& state) {
    hvr::testing::FormHarness h;
    for (int i = 0; i < hvr::kStoreSlots; ++i)
        hvr::testing::putGroup(*h.form, i, {i + 1, '1', 1000 + i % 900, '2', 100 + i % 300});
    h.form->CountStoredGroups();
    qint64 size = 0;
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setResolution(600);
            hvr::platform::QtPagePrinter printer(writer);
            if (!h.form->PrintSheets(printer, 0, hvr::sheetCount(h.form->ji_ge - 1)))
                state.SkipWithError("not printed");
        }
        size = bytes.size();
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_FullStoreToPdf)->Unit(benchmark::kMillisecond);

// The main window dragged larger around zoom 2: every control placed anew, every font sized,
// the whole window repainted.
void BM_ResizeRepaintAtZoom2(benchmark::State& state) {
    hvr::testing::FormHarness h;
    hvr::gui::QtForm1View view(*h.form);
    h.form->Form_Load();
    view.show();
    view.zoomTo(2);
    QApplication::processEvents();
    bool larger = false;
    for (auto _ : state) {
        larger = !larger;
        view.resize(view.sizeAt(larger ? 2 : 1.98));
        QApplication::processEvents(); // the resize: the zoom that fits
        view.repaint();
    }
    state.counters["zoom"] = view.zoom();
}
BENCHMARK(BM_ResizeRepaintAtZoom2)->Unit(benchmark::kMillisecond);

// A store of 4600 groups: filled into the analysis window's table (judged, summed, plotted)
// and shown, scrolled to its end so that rows are laid out and painted.
void fillStore(hvr::RecordStore& store, int groups) {
    for (int i = 0; i < groups; ++i)
        hvr::testing::putGroup(store, i, {i + 1, '1', 1000 + i % 5000, '2', 8 + (1000 + i % 5000) / 120});
}

void BM_AnalysisTableOf4600Groups(benchmark::State& state) {
    hvr::testing::FakeDialogs dialogs;
    hvr::testing::FakeFileSystem files;
    hvr::testing::FakeDocuments documents;
    hvr::testing::MemoryPreferences preferences;
    hvr::ErrorAnalysisForm form({dialogs, files, documents, preferences}, "bench");
    form.Form_Load();
    hvr::gui::QtErrorAnalysisView view(form);
    view.show();
    auto store = std::make_unique<hvr::RecordStore>();
    fillStore(*store, 4600);
    for (auto _ : state) {
        form.showGroups(*store, hvr::kStoreSlots, "");
        view.sync();
        view.table().scrollToBottom();
        view.repaint();
        QApplication::processEvents();
    }
    state.counters["rows"] = view.table().model()->rowCount();
}
BENCHMARK(BM_AnalysisTableOf4600Groups)->Unit(benchmark::kMillisecond);

// The test report of 4600 groups laid out and written as a PDF in memory.
void BM_ReportOf4600GroupsToPdf(benchmark::State& state) {
    auto store = std::make_unique<hvr::RecordStore>();
    fillStore(*store, 4600);
    std::size_t pages = 0, size = 0;
    for (auto _ : state) {
        const auto groups =
            hvr::analysis::analyseGroups(*store, hvr::kStoreSlots, hvr::verdict::parseNameplate("600/5"),
                                         hvr::verdict::AccuracyClass::C0_5);
        const auto document = hvr::report::layoutReport(
            {{"城南", "CT-1", "A", "王工", ""}, groups, "", "bench"}, hvr::platform::QtTextMeasure());
        const auto bytes = hvr::platform::documentPdf(document);
        if (!bytes) state.SkipWithError("not written");
        pages = document.pages.size();
        size = bytes ? static_cast<std::size_t>(bytes->size()) : 0;
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_ReportOf4600GroupsToPdf)->Unit(benchmark::kMillisecond);

// The layout of a report of 26 groups whose device is so many Chinese characters (an archived
// record of any length): the time grows with the text's length, not faster.
void BM_ReportLayoutOfALongParticular(benchmark::State& state) {
    auto store = std::make_unique<hvr::RecordStore>();
    fillStore(*store, 26);
    const auto groups = hvr::analysis::analyseGroups(
        *store, hvr::kStoreSlots, hvr::verdict::parseNameplate("600/5"), hvr::verdict::AccuracyClass::C0_5);
    std::string device;
    for (int i = 0; i < state.range(0); ++i)
        device += "变";
    std::size_t pages = 0;
    for (auto _ : state)
        pages = hvr::report::layoutReport({{"城南", device, "A", "王工", ""}, groups, "", "bench"},
                                          hvr::platform::QtTextMeasure())
                    .pages.size();
    state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(BM_ReportLayoutOfALongParticular)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// The archive, SQLite in a temporary folder, every commit on the disk.
struct BenchArchive {
    QTemporaryDir dir;
    std::unique_ptr<hvr::platform::QtDatabase> db;
    std::unique_ptr<hvr::archive::Archive> archive;
    BenchArchive() {
        std::string why;
        db = hvr::platform::QtDatabase::open(dir.filePath("bench.sqlite").toStdString(), &why);
        archive = std::make_unique<hvr::archive::Archive>(*db);
        archive->open(&why);
    }
};

hvr::archive::TestRecord benchTest(int groups) {
    const auto scenario = hvr::sim::Scenario::synthetic(groups);
    hvr::archive::TestRecord record{
        0, "", "2026-12-09 10:00:00", {"城南", "CT-1", "A", "王工", ""}, "600/5", "0.5", "b", {}};
    for (int g = 1; g <= groups; ++g)
        record.frames.push_back(scenario.storedGroup(g));
    return record;
}

// A download of 4600 groups stored as one record.
void BM_ArchiveStoreARecordOf4600Groups(benchmark::State& state) {
    BenchArchive a;
    const auto record = benchTest(4600);
    std::string why;
    for (auto _ : state)
        if (!a.archive->storeTest(record, &why)) state.SkipWithError(why.c_str());
}
BENCHMARK(BM_ArchiveStoreARecordOf4600Groups)->Unit(benchmark::kMillisecond);

// The archive window listing 10 000 tests, shown.
void BM_ArchiveListOf10000TestsShown(benchmark::State& state) {
    BenchArchive a;
    std::string why;
    a.db->begin(&why);
    std::vector<std::vector<hvr::platform::SqlValue>> rows;
    for (int i = 0; i < 10000; ++i)
        rows.push_back(
            {std::string("2026-") + (i % 2 ? "11" : "12") + "-0" + std::to_string(1 + i % 9) + " 10:00:00",
             std::string("城南"), "CT-" + std::to_string(i % 300), std::string("A"), std::string("王工"),
             std::string(""), std::string("600/5"), std::string("0.5"), std::int64_t{300},
             std::string("合格"), std::string("b"), -0.1});
    a.db->execMany(
        "INSERT INTO tests (downloaded_at, station, device, phase, tester, remark, rated, accuracy, "
        "group_count, verdict, program_version, error_mean) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        rows, &why);
    a.db->commit(&why);
    hvr::testing::FakeDialogs dialogs;
    hvr::testing::FakeFileSystem files;
    hvr::testing::FakeDocuments documents;
    hvr::ArchiveForm form({dialogs, files, documents}, a.archive.get(), "", {});
    form.Form_Load();
    hvr::gui::QtArchiveView view(form);
    view.show();
    for (auto _ : state) {
        form.search_Click();
        view.sync();
        view.repaint();
        QApplication::processEvents();
    }
    state.counters["tests"] = static_cast<double>(form.cells().size());
}
BENCHMARK(BM_ArchiveListOf10000TestsShown)->Unit(benchmark::kMillisecond);

// A test of 4600 groups read from the archive into the main window's store.
void BM_ArchiveOpenATestOf4600Groups(benchmark::State& state) {
    BenchArchive a;
    std::string why;
    const auto id = a.archive->storeTest(benchTest(4600), &why);
    hvr::testing::FormHarness h;
    h.form->Form_Load();
    for (auto _ : state) {
        const auto record = a.archive->loadTest(*id, &why);
        h.form->OpenStoredFrames(record->frames);
    }
}
BENCHMARK(BM_ArchiveOpenATestOf4600Groups)->Unit(benchmark::kMillisecond);

// A live reading appended to its session; committed ten at a time, as every 2 s at 5 a second.
void BM_ArchiveLiveReadingAppended(benchmark::State& state) {
    BenchArchive a;
    std::string why;
    const auto session = a.archive->startSession("2026-12-09 10:00:00", &why);
    std::vector<hvr::archive::SessionReading> held;
    std::int64_t seq = 0;
    for (auto _ : state) {
        held.push_back({seq++, "2026-12-09 10:00:01", {6000000, 49800}, "2026-12-09T10:00:01.000Z,600,4.98"});
        if (held.size() == 10) {
            a.archive->appendReadings(*session, held, &why);
            held.clear();
        }
    }
}
BENCHMARK(BM_ArchiveLiveReadingAppended)->Unit(benchmark::kMicrosecond);

// An archive of 1000 tests of 4600 groups (about 300 MB), made once for the two below.
const QString& largeArchive() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath("large.sqlite");
        std::string why;
        auto db = hvr::platform::QtDatabase::open(file.toStdString(), &why);
        hvr::archive::Archive archive(*db);
        archive.open(&why);
        db->exec("PRAGMA synchronous=OFF", {}, nullptr, &why); // made fast; read as any archive
        auto record = benchTest(4600);
        for (int i = 0; i < 1000; ++i) {
            record.particulars.device = "CT-" + std::to_string(i % 50);
            archive.storeTest(record, &why);
        }
        return file;
    }();
    return path;
}

// What every archive command and every download pays first, however large the archive: the
// open and, here, the list of its tests.
void BM_ArchiveOpenAndListOf1000TestsOf4600Groups(benchmark::State& state) {
    const std::string path = largeArchive().toStdString();
    std::size_t listed = 0;
    for (auto _ : state) {
        std::string why;
        auto db = hvr::platform::QtDatabase::open(path, &why);
        hvr::archive::Archive archive(*db);
        if (!archive.open(&why)) state.SkipWithError(why.c_str());
        listed = archive.listTests({}, &why)->size();
    }
    state.counters["tests"] = static_cast<double>(listed);
}
BENCHMARK(BM_ArchiveOpenAndListOf1000TestsOf4600Groups)->Unit(benchmark::kMillisecond);

// The archive step of a 4600-group download into that archive: opened, the record stored.
void BM_ArchiveStepOfA4600GroupDownloadInto1000Tests(benchmark::State& state) {
    const std::string path = largeArchive().toStdString();
    const auto record = benchTest(4600);
    for (auto _ : state) {
        std::string why;
        auto db = hvr::platform::QtDatabase::open(path, &why);
        hvr::archive::Archive archive(*db);
        if (!archive.open(&why) || !archive.storeTest(record, &why)) state.SkipWithError(why.c_str());
    }
}
BENCHMARK(BM_ArchiveStepOfA4600GroupDownloadInto1000Tests)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    hvr::platform::installChineseFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
