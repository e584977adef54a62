// hvr-cli: the instrument's downloads and live readings without a window.
#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QElapsedTimer>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <memory>
#include <iostream>
#include <string>
#include <vector>

#include "analysis/group_analysis.h"
#include "units/number_text.h"
#include "cli/archive_commands.h"
#include "platform/archive_address.h"
#include "cli/exit_status.h"
#include "cli/monitor_output.h"
#include "cli/options.h"
#include "cli/patience.h"
#include "cli/session.h"
#include "texts/texts.h"
#include "platform/file_system.h"
#include "platform/gbk.h"
#include "platform/qt_clock.h"
#include "platform/console.h"
#include "platform/qt_database.h"
#include "platform/qt_document_painter.h"
#include "platform/qt_fonts.h"
#include "platform/qt_printer.h"
#include "print/sheet_layout.h"
#include "records/group_csv.h"
#include "report/report_layout.h"

namespace {

using namespace hvr;
using namespace hvr::cli;

// The reader of standard output has gone (`| head`): the program ends quietly.
bool pipeClosed() {
    return errno == EPIPE;
}

double secondsSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.elapsed()) / 1000.0;
}

// The ports a scan could not open, in one line, once a whole round of the scan has failed.
class ScanReport {
  public:
    explicit ScanReport(const platform::QtSerialPort& port) : m_port(port) {}
    void look() {
        if (m_said || m_port.failedOpensInARow() == m_seenFailures) return;
        m_seenFailures = m_port.failedOpensInARow();
        const std::string& why = m_port.lastOpenFailure();
        // "COMn 没有对应的设备" is the port table's end, not a device worth naming.
        if (why.find(": ") != std::string::npos &&
            std::find(m_reasons.begin(), m_reasons.end(), why) == m_reasons.end())
            m_reasons.push_back(why);
        if (m_seenFailures < platform::kLastPort) return;
        m_said = true;
        std::string line = "没有可以打开的串口";
        if (m_reasons.empty()) line += ": 本机没有串口设备 (可用 --port 或 HVR_PORTS 指定)";
        for (std::size_t i = 0; i < m_reasons.size(); ++i)
            line += (i == 0 ? ": " : "; ") + m_reasons[i];
        std::cerr << "hvr-cli: " << line << "; 继续扫描…\n";
    }

  private:
    const platform::QtSerialPort& m_port;
    int m_seenFailures = 0;
    bool m_said = false;
    std::vector<std::string> m_reasons;
};

// Waits for a link check to succeed, and says on which port; says so when none does in time.
bool waitForInstrument(Session& session, const Options& options) {
    std::cerr << "hvr-cli: 等待仪器应答…\n";
    ScanReport report(session.port());
    const auto outcome = session.runUntil(
        [&] {
            report.look();
            return session.linkUp();
        },
        options.timeout);
    if (outcome == Session::Outcome::Done) {
        const std::string device = session.port().device();
        const std::string where =
            session.portGiven()
                ? device
                : "COM" + std::to_string(session.form().MSComm1.CommPort()) + " (" + device + ")";
        std::cerr << "hvr-cli: 仪器在 " << where << " 上应答\n";
        return true;
    }
    if (outcome == Session::Outcome::Interrupted) return false;
    std::string tried;
    for (const std::string& device : session.port().openedDevices())
        tried += (tried.empty() ? " (试过的端口: " : ", ") + device;
    fail(kExitNoInstrument,
         "仪器在 " + options.timeoutText + " 秒内没有应答" + (tried.empty() ? "" : tried + ")"));
    return false;
}

// The port table as the scan sees it: number, device, whether it opens and why not, and the
// adapter's name.
int listPorts() {
    const auto ports = platform::QtSerialPort::describePorts();
    if (ports.empty()) {
        std::cout << "本机没有串口设备 (可用 --port 或 HVR_PORTS 指定)\n";
        return kExitOk;
    }
    std::size_t width = 0;
    for (const auto& port : ports)
        width = std::max(width, port.device.size());
    for (const auto& port : ports) {
        std::string number = "COM" + std::to_string(port.number);
        number.resize(6, ' ');
        std::string device = port.device;
        device.resize(width + 2, ' ');
        std::cout << number << device
                  << (port.openFailure.empty() ? "可以打开" : "不能打开: " + port.openFailure)
                  << (port.adapter.empty() ? "" : "    " + port.adapter) << "\n";
    }
    return kExitOk;
}

// Progress of the download on standard error: in place on a terminal, every ten percent
// elsewhere.
class Progress {
  public:
    explicit Progress(Form1& form) : m_form(form), m_tty(::isatty(STDERR_FILENO) != 0) {}
    void update() {
        const std::string& shown = m_form.Text34.text();
        if (shown == m_last || shown.empty()) return;
        m_last = shown;
        const int percent = std::atoi(shown.c_str());
        if (m_tty) {
            std::cerr << "\r" << texts::kReading << " " << shown << std::flush;
            m_dirty = true;
        } else if (percent / 10 != m_lastTen) {
            m_lastTen = percent / 10;
            std::cerr << texts::kReading << " " << shown << "\n";
        }
    }
    void finish() {
        if (m_dirty) std::cerr << "\n";
    }

  private:
    Form1& m_form;
    bool m_tty;
    bool m_dirty = false;
    std::string m_last;
    int m_lastTen = -1;
};

// The sheets of the whole store, as "全部" prints them, into a PDF file (A4), written as a
// listing is written.
int writePdf(Form1& form, const std::string& path) {
    form.CountStoredGroups();
    if (form.ji_ge == 1) {
        std::cerr << "hvr-cli: 没有存储的数据组, 不生成 PDF\n";
        return kExitOk;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool printed = false;
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(600);
        writer.setTitle(QString::fromUtf8("变比记录仪"));
        platform::QtPagePrinter printer(writer);
        printed = form.PrintSheets(printer, 0, sheetCount(form.ji_ge - 1));
    }
    if (!printed) return fail(kExitCannotWrite, "PDF 无法生成");
    platform::LocalFileSystem files;
    std::string why;
    if (!files.saveFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        &why))
        return fail(kExitCannotWrite, "无法写入 " + path + ": " + why);
    std::cerr << "hvr-cli: " << sheetCount(form.ji_ge - 1) << " 页已写入 " << path << "\n";
    return kExitOk;
}

// The test report of the whole store into a PDF file, written as a listing is written.
int writeReport(Form1& form, const Options& options, const std::string& downloadedAt, bool guessSaid) {
    const analysis::GroupAnalysis groups =
        analysis::analyseGroups(form, kStoreSlots, options.rated, options.accuracy);
    if (groups.rows.empty()) return fail(kExitNoInstrument, "没有存储的数据组, 不生成报告");
    if (!options.rated && !guessSaid && groups.basis.nameplate)
        std::cerr << "hvr-cli: 未给出 --rated, 报告按" << verdict::nameplateText(*groups.basis.nameplate)
                  << " 计算变比误差\n";
    const platform::Document document = report::layoutReport(
        {options.particulars, groups, downloadedAt, HVR_VERSION}, platform::QtTextMeasure());
    const auto bytes = platform::documentPdf(document);
    if (!bytes) return fail(kExitCannotWrite, "报告无法生成");
    platform::LocalFileSystem files;
    std::string why;
    if (!files.saveFile(options.report,
                        std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())), &why))
        return fail(kExitCannotWrite, "无法写入 " + options.report + ": " + why);
    std::cerr << "hvr-cli: 试验报告 (" << document.pages.size() << " 页) 已写入 " << options.report << "\n";
    return kExitOk;
}

// The nameplate and class the verdict columns judge against: as given, or guessed from the
// stored groups and said so.
std::optional<verdict::Columns> verdictColumns(Form1& form, const Options& options) {
    if (options.rated) return verdict::Columns{*options.rated, options.accuracy};
    std::vector<verdict::Reading> readings;
    for (int slot = 0; slot + 1 < form.ji_ge; ++slot)
        readings.push_back(groupReading(form, slot));
    const auto guess = verdict::guessNameplate(readings);
    if (!guess) {
        std::cerr << "hvr-cli: 未给出 --rated, 也没有可以推测额定变比的数据组, 不给出变比误差\n";
        return std::nullopt;
    }
    std::cerr << "hvr-cli: 未给出 --rated, 按" << verdict::nameplateText(*guess) << " 计算变比误差\n";
    return verdict::Columns{*guess, options.accuracy};
}

// The download's outputs: the listing or CSV, the printed sheets and the report.
int writeDownload(Form1& form, const Options& options, const std::string& downloadedAt) {
    // From here output may wait for a reader (a FIFO, a stalled pipe): a signal ends it.
    const Session::BlockingOutput output;
    // The listing in GBK as the window saves it, or the groups as data in UTF-8 (the sort
    // keeps the count). A terminal shows UTF-8: the GBK bytes are for files and pipes.
    const bool terminal = options.out == "-" && ::isatty(STDOUT_FILENO) != 0;
    const auto columns = options.format == Format::Csv ? verdictColumns(form, options) : std::nullopt;
    const auto bytes =
        options.format == Format::Csv
            ? std::optional<std::string>(groupsCsv(form, form.ji_ge, columns ? &*columns : nullptr))
        : terminal ? std::optional<std::string>(form.ListingText())
                   : platform::toGbk(form.ListingText());
    if (!bytes) return fail(kExitCannotWrite, "记录无法转换为 GBK");
    if (options.out == "-") {
        std::cout.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
        std::cout.flush();
        if (!std::cout) return pipeClosed() ? kExitOk : fail(kExitCannotWrite, "无法写到标准输出");
    } else {
        platform::LocalFileSystem files;
        std::string why;
        if (!files.saveFile(options.out, *bytes, &why))
            return fail(kExitCannotWrite, "无法写入 " + options.out + ": " + why);
        std::cerr << "hvr-cli: 记录已保存到 " << options.out << "\n";
    }
    if (!options.pdf.empty())
        if (const int status = writePdf(form, options.pdf); status != kExitOk) return status;
    if (!options.report.empty())
        return writeReport(form, options, downloadedAt, options.format == Format::Csv && !options.rated);
    return kExitOk;
}

int download(Session& session, const Options& options) {
    // Outputs that cannot be written, or that would land on each other or on the archive, are
    // said before the instrument is asked for anything.
    if (const auto clash = clashingOutputs(options)) return fail(kExitBadArguments, *clash);
    for (const std::string& path : {options.out, options.pdf, options.report}) {
        std::string why;
        if (!path.empty() && path != "-" && !platform::canSave(path, &why))
            return fail(kExitCannotWrite, "无法写入 " + path + ": " + why);
    }
    if (const auto refused = options.noArchive ? std::nullopt : refusedArchiveAddress(options))
        return fail(kExitBadArguments, *refused);
    if (!waitForInstrument(session, options)) return kExitNoInstrument;
    Form1& form = session.form();
    form.Command9_Click(); // history review, as the user would
    form.Command5_Click(); // "读  取"
    QElapsedTimer clock;
    clock.start();

    Progress progress(form);
    Patience patience(options.timeout);
    bool stalled = false;
    const auto outcome = session.runUntil(
        [&] {
            progress.update();
            if (form.dl_outcome != Form1::ReadOutcome::None) return true;
            // Each group filed is progress; a pair asked for again after a fault is not.
            const auto filed = static_cast<std::uint64_t>(form.dl_request) * 2 + form.dl_half;
            stalled = patience.exhausted(filed, form.Text40.text() == texts::kLinkDown, secondsSince(clock));
            return stalled;
        },
        1e9);
    progress.finish();
    if (outcome == Session::Outcome::Interrupted) return fail(kExitNoInstrument, "读取被中断");
    // An incomplete read has said why, as the window's box does; nothing is written.
    if (form.dl_outcome == Form1::ReadOutcome::Incomplete) return kExitNoInstrument;
    if (stalled)
        return fail(kExitNoInstrument,
                    "与仪器的连接中断, " + options.timeoutText + " 秒内没有恢复, 读取未完成");

    form.CountStoredGroups();
    const std::string downloadedAt = platform::localTimeText();
    // The test is archived as received, before any sort, and after the outputs: a signal
    // during the archive step leaves the listing written and the record whole or absent.
    std::optional<archive::TestRecord> record;
    if (!options.noArchive && form.dl_filed > 0) record = downloadRecord(form, options, downloadedAt);
    const std::string seconds = fixedText(static_cast<double>(clock.elapsed()) / 1000.0, 2);
    std::cerr << "hvr-cli: 已读取 " << form.ji_ge - 1 << " 组, 用时 " << seconds << " 秒\n";

    if (options.sort == SortOrder::Ascending)
        form.Command13_Click();
    else if (options.sort == SortOrder::Descending)
        form.Command12_Click();

    const int written = writeDownload(form, options, downloadedAt);
    if (!options.noArchive && form.dl_filed == 0)
        std::cerr << "hvr-cli: 仪器中没有存储的数据组, 不存为测试记录\n";
    if (!record) return written;
    // From here the database may keep the program waiting: a signal ends it at once.
    const Session::BlockingOutput archiving;
    if (const auto notArchived = archiveDownload(*record, options)) {
        std::cerr << "hvr-cli: " << *notArchived << "; 本次读取未存入测试记录\n";
        return written != kExitOk ? written : kExitCannotWrite;
    }
    return written;
}

int monitor(Session& session, const Options& options) {
    // A file that cannot be written is said at once; an existing one is replaced only once
    // the first reading is there, so that a monitor that never starts keeps it. Each line is
    // flushed as it is written.
    std::ofstream file;
    const bool toFile = !options.out.empty() && options.out != "-";
    if (const auto clash = clashingOutputs(options)) return fail(kExitBadArguments, *clash);
    if (std::string why; toFile && !platform::canSave(options.out, &why))
        return fail(kExitCannotWrite, "无法写入 " + options.out + ": " + why);
    std::ostream& out = toFile ? static_cast<std::ostream&>(file) : std::cout;
    if (!waitForInstrument(session, options)) return kExitNoInstrument;
    Form1& form = session.form();
    bool begun = false;
    const auto begin = [&] {
        begun = true;
        if (toFile) {
            file.open(options.out, std::ios::binary | std::ios::trunc);
            if (!file) return false;
        }
        if (options.format == Format::Csv) out << csvHeader(true) << "\r\n";
        return true;
    };
    // The verdict's nameplate: as given, or guessed from the readings so far (said when it
    // changes).
    std::optional<verdict::Columns> columns;
    if (options.rated) columns = verdict::Columns{*options.rated, options.accuracy};
    std::vector<verdict::Reading> seen;
    const auto judgeAgainst = [&] {
        if (options.rated || seen.size() >= 200) return; // two hundred readings settle it
        seen.push_back(analysis::liveReading(form.last_shown));
        const auto guess = verdict::guessNameplate(seen);
        if (!guess || (columns && columns->nameplate == *guess)) return;
        columns = verdict::Columns{*guess, options.accuracy};
        std::cerr << "hvr-cli: 未给出 --rated, 按" << verdict::nameplateText(*guess) << " 计算变比误差\n";
    };

    std::uint64_t written = 0;
    const std::uint64_t before = form.shownLiveFrames();
    QElapsedTimer clock;
    clock.start();
    Patience patience(options.timeout);
    bool lost = false;
    bool outputFailed = false;
    session.runUntil(
        [&] {
            while (before + written < form.shownLiveFrames()) {
                const Session::BlockingOutput output; // a reader that does not read blocks it
                if (!begun && !begin()) {
                    outputFailed = true;
                    return true;
                }
                ++written;
                judgeAgainst();
                if (options.format == Format::Jsonl)
                    out << jsonLine(form, platform::isoTimeText(), columns, true) << "\n";
                else
                    out << csvRow(form, platform::isoTimeText(), columns, true) << "\r\n";
                out.flush();
                if (!out) {
                    outputFailed = true;
                    return true;
                }
            }
            if (options.frames > 0 && written >= static_cast<std::uint64_t>(options.frames)) return true;
            lost = patience.exhausted(form.shownLiveFrames(), form.Text40.text() == texts::kLinkDown,
                                      secondsSince(clock));
            return lost;
        },
        1e9);
    out.flush();
    if (outputFailed && !toFile && pipeClosed()) return kExitOk; // `| head` took what it wanted
    if (outputFailed) return fail(kExitCannotWrite, toFile ? "无法写入 " + options.out : "无法写到标准输出");
    if (lost) return fail(kExitNoInstrument, "与仪器的连接中断, " + options.timeoutText + " 秒内没有恢复");
    return kExitOk; // the frames asked for, or Ctrl-C
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = platform::consoleArguments(argc, argv);
    platform::hidePasswordsInArguments(argc, argv); // read: nobody else needs to see it
    const Parsed parsed = parseOptions(args);
    if (!parsed.options) {
        std::cerr << "hvr-cli: " << parsed.error << "\n";
        return kExitBadArguments;
    }
    const Options& options = *parsed.options;
    // Qt's own warnings (a missing runtime directory and the like) are not the user's business.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << "hvr-cli: " << message.toStdString() << "\n";
    });
    // Printed sheets need fonts, not a display: the offscreen platform serves.
    std::unique_ptr<QCoreApplication> app;
    if (!options.pdf.empty() || !options.report.empty() ||
        (options.command == Command::Archive && options.archiveAction == ArchiveAction::Report)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
        platform::installChineseFontSubstitutes();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    if (options.command == Command::Help) {
        std::cout << usage({platform::QtSerialPort::deviceExamples(),
                            platform::QtDatabase::defaultPathAsWritten(),
                            platform::QtDatabase::passwordFileAsWritten()});
        return kExitOk;
    }
    if (options.command == Command::Version) {
        std::cout << "hvr-cli " << HVR_VERSION << "\n";
        return kExitOk;
    }

    if (options.command == Command::Ports) return listPorts();
    if (options.command == Command::Archive) return runArchiveCommand(options);

    Session session(options);
    std::string error;
    if (!session.start(error)) return fail(kExitNoInstrument, error);
    return options.command == Command::Download ? download(session, options) : monitor(session, options);
}
