#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/port_table.h"
#include "report/report_layout.h"
#include "verdict/verdict.h"

namespace hvr::cli {

enum class Command { Download, Monitor, Ports, Archive, Help, Version };
enum class ArchiveAction { List, Show, Report, ExportSession, Check };
enum class SortOrder { None, Ascending, Descending };
enum class Format { Listing, Csv, Jsonl };

using platform::PortChoice;

struct Options {
    Command command = Command::Help;
    PortChoice port;
    std::string out; // download: "HVR.txt" (or "HVR.csv"); monitor: standard output. "-": standard output
    std::string pdf; // the printed sheets as a PDF, when given
    SortOrder sort = SortOrder::None;
    long frames = 0;             // 0: until Ctrl-C
    Format format = Format::Csv; // download: Listing unless csv is asked for
    // How long to wait for the instrument to answer, and for a lost link or a stalled read to
    // come back. The default outlasts two full rounds of the link's own recovery.
    double timeout = 60;
    std::string timeoutText = "60"; // as typed, for messages
    double timeScale = 1;
    bool demo = false;
    // The CT's nameplate and class for the verdict columns; without a nameplate it is guessed.
    std::optional<verdict::Nameplate> rated;
    verdict::AccuracyClass accuracy = verdict::AccuracyClass::None;
    // download: the test report as a PDF, when given, with the test's particulars.
    std::string report;
    report::Particulars particulars;
    // The test archive: where (a file or postgresql://…; empty: HVR_ARCHIVE, else the
    // laptop's own), and whether a download is archived.
    std::string archive;
    bool noArchive = false;
    // archive: what to do, with which test or session, into which file; list's filter.
    ArchiveAction archiveAction = ArchiveAction::List;
    std::int64_t archiveId = 0;
    std::string archiveFile;
    std::string since;
};

// The options, or the one line that says what is wrong with them.
struct Parsed {
    std::optional<Options> options;
    std::string error;
};
// A text on one line: tabs, line breaks and backslashes as \t, \n, \r and \\, every other
// control character as \xHH, so that a record or a quoted argument is one line and can never
// drive a terminal.
std::string escapedText(std::string_view text);

Parsed parseOptions(const std::vector<std::string>& args);

// What this system calls a port, the default archive and the password file, as --help shows
// them.
struct UsagePlaces {
    std::string device;
    std::string archive;
    std::string passwords;
};
std::string usage(const UsagePlaces& places);

} // namespace hvr::cli
