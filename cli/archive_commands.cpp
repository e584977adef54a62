#include "cli/archive_commands.h"

#include <QByteArray>

#include <cstdio>
#include <iostream>
#include <memory>

#include <unistd.h>

#include "archive/archive.h"
#include "cli/console_dialogs.h"
#include "cli/exit_status.h"
#include "cli/monitor_output.h"
#include "platform/file_system.h"
#include "platform/gbk.h"
#include "platform/qt_database.h"
#include "platform/qt_document_painter.h"
#include "platform/qt_events.h"
#include "platform/qt_serial_port.h"
#include "link/group_filing.h"

namespace hvr::cli {

namespace {

// The archive the options name: --archive, else HVR_ARCHIVE, else the laptop's own.
std::string archiveWhere(const Options& options) {
    return options.archive.empty() ? qEnvironmentVariable("HVR_ARCHIVE").toStdString() : options.archive;
}

struct OpenArchive {
    std::unique_ptr<platform::QtDatabase> database;
    std::unique_ptr<archive::Archive> archive;
};
// Opened to read (nothing is made where there is no archive) or to write.
std::optional<OpenArchive> openArchive(const Options& options, archive::Archive::Purpose purpose,
                                       std::string* why) {
    const auto address = platform::parseArchiveAddress(archiveWhere(options), why);
    if (!address) return std::nullopt;
    OpenArchive open;
    open.database = platform::QtDatabase::open(*address,
                                               purpose == archive::Archive::Purpose::Reading
                                                   ? platform::QtDatabase::Missing::Refuse
                                                   : platform::QtDatabase::Missing::Create,
                                               why);
    if (!open.database) return std::nullopt;
    open.archive = std::make_unique<archive::Archive>(*open.database);
    if (!open.archive->open(why, purpose)) return std::nullopt;
    return open;
}

int list(archive::Archive& a, const Options& options) {
    std::string why;
    archive::TestFilter filter;
    filter.device = options.particulars.device;
    filter.from = options.since;
    const auto tests = a.listTests(filter, &why);
    if (!tests) return fail(kExitArchive, "测试记录无法读取: " + why);
    std::cout << "编号\t时间\t变电站\t设备\t相别\t额定变比\t准确级\t组数\t结论\t平均误差\n";
    for (const auto& t : *tests)
        std::cout << t.id << "\t" << t.downloadedAt << "\t" << escapedText(t.station) << "\t"
                  << escapedText(t.device) << "\t" << escapedText(t.phase) << "\t" << t.rated << "\t"
                  << t.accuracy << "\t" << t.groups << "\t" << t.verdict << "\t"
                  << archive::errorPercentText(t.errorMean) << "\n";
    return kExitOk;
}

// The groups of a test as download writes them: the listing (GBK, or UTF-8 on a terminal)
// or the group CSV with the verdict columns.
int show(archive::Archive& a, const Options& options) {
    std::string why;
    const auto record = a.loadTest(options.archiveId, &why);
    if (!record) return fail(kExitArchive, why);
    if (options.format == Format::Csv) {
        std::cout << archive::testCsv(*record);
        return kExitOk;
    }
    // The listing is the main window's: a form without a port fills its pages.
    ConsoleDialogs dialogs;
    ConsoleShell shell;
    NoPictureFiles pictures;
    NoPrinting printing;
    platform::QtEvents events;
    platform::LocalFileSystem files;
    platform::QtSerialPort port([] { return platform::PortTable{}; });
    Form1 form(platform::Services{port, dialogs, events, files, shell, pictures, printing});
    archive::fileTest(*record, form);
    const std::string listing = form.ListingText();
    const bool terminal = ::isatty(STDOUT_FILENO) != 0;
    const auto bytes = terminal ? std::optional<std::string>(listing) : platform::toGbk(listing);
    if (!bytes) return fail(kExitCannotWrite, "记录无法转换为 GBK");
    std::cout << *bytes;
    return kExitOk;
}

int report(archive::Archive& a, const Options& options) {
    std::string why;
    const auto record = a.loadTest(options.archiveId, &why);
    if (!record) return fail(kExitArchive, why);
    const auto judged = archive::analyseTest(*record);
    const auto document =
        report::layoutReport({record->particulars, judged, record->downloadedAt, record->programVersion},
                             platform::QtTextMeasure());
    const auto bytes = platform::documentPdf(document);
    if (!bytes) return fail(kExitCannotWrite, "报告无法生成");
    platform::LocalFileSystem files;
    if (!files.saveFile(options.archiveFile,
                        std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())), &why))
        return fail(kExitCannotWrite, "无法写入 " + options.archiveFile + ": " + why);
    std::cerr << "hvr-cli: 试验报告 (" << document.pages.size() << " 页) 已写入 " << options.archiveFile
              << "\n";
    return kExitOk;
}

int exportSession(archive::Archive& a, const Options& options) {
    std::string why;
    const auto readings = a.sessionReadings(options.archiveId, &why);
    if (!readings) return fail(kExitArchive, "测试记录无法读取: " + why);
    if (readings->empty())
        return fail(kExitArchive, "没有编号为 " + std::to_string(options.archiveId) + " 的实时记录");
    std::cout << archive::sessionCsv(*readings);
    return kExitOk;
}

int check(archive::Archive& a) {
    std::string why;
    const auto result = a.check(&why);
    if (!result) return fail(kExitArchive, "测试记录无法读取: " + why);
    if (*result != "ok") return fail(kExitArchive, "测试记录 " + a.name() + " 已损坏: " + *result);
    std::cout << "测试记录 " << a.name() << " 完好\n";
    return kExitOk;
}

} // namespace

int runArchiveCommand(const Options& options) {
    std::string why;
    if (!platform::parseArchiveAddress(archiveWhere(options), &why)) return fail(kExitBadArguments, why);
    if (const auto clash = clashingOutputs(options)) return fail(kExitBadArguments, *clash);
    auto open = openArchive(options, archive::Archive::Purpose::Reading, &why);
    if (!open) return fail(kExitArchive, why);
    switch (options.archiveAction) {
    case ArchiveAction::List:
        return list(*open->archive, options);
    case ArchiveAction::Show:
        return show(*open->archive, options);
    case ArchiveAction::Report:
        return report(*open->archive, options);
    case ArchiveAction::ExportSession:
        return exportSession(*open->archive, options);
    case ArchiveAction::Check:
        return check(*open->archive);
    }
    return kExitArchive;
}

std::optional<std::string> clashingOutputs(const Options& options) {
    std::vector<std::pair<std::string, std::string>> files; // (what, path)
    for (const auto& [what, path] : {std::pair{"--out", options.out}, std::pair{"--pdf", options.pdf},
                                     std::pair{"--report", options.report}})
        if (!path.empty() && path != "-") files.emplace_back(what, path);
    if (options.command == Command::Archive && options.archiveAction == ArchiveAction::Report)
        files.emplace_back("报告", options.archiveFile);
    std::string ignored;
    const auto address = platform::parseArchiveAddress(archiveWhere(options), &ignored);
    if (address && address->kind == platform::ArchiveAddress::Kind::Sqlite && !options.noArchive)
        files.emplace_back("测试记录",
                           address->path.empty() ? platform::QtDatabase::defaultPath() : address->path);
    for (std::size_t i = 0; i < files.size(); ++i)
        for (std::size_t j = i + 1; j < files.size(); ++j)
            if (platform::sameFile(files[i].second, files[j].second))
                return files[i].first + " 与" + (files[j].first[0] == '-' ? " " : "") + files[j].first +
                       " 是同一个文件: " + files[j].second;
    return std::nullopt;
}

std::optional<std::string> refusedArchiveAddress(const Options& options) {
    std::string why;
    const auto address = platform::parseArchiveAddress(archiveWhere(options), &why);
    if (!address) return why;
    if (address->kind == platform::ArchiveAddress::Kind::Postgres) return platform::QtDatabase::whyNoServer();
    return std::nullopt;
}

archive::TestRecord downloadRecord(const Form1& form, const Options& options,
                                   const std::string& downloadedAt) {
    archive::TestRecord record;
    record.downloadedAt = downloadedAt;
    record.particulars = options.particulars;
    record.rated = options.rated ? verdict::nameplateText(*options.rated) : "";
    record.accuracy = verdict::classText(options.accuracy);
    record.programVersion = HVR_VERSION;
    record.frames = storedFrames(form, form.dl_filed); // every frame the read filed
    return record;
}

std::optional<std::string> archiveDownload(const archive::TestRecord& record, const Options& options) {
    std::string why;
    auto open = openArchive(options, archive::Archive::Purpose::Writing, &why);
    if (!open) return why;
    const auto id = open->archive->storeTest(record, &why);
    if (!id) return "测试记录 " + open->database->name() + " 无法写入: " + why;
    std::cerr << "hvr-cli: 已存为测试记录 " << *id << " (" << open->database->name() << ")\n";
    return std::nullopt;
}

} // namespace hvr::cli
