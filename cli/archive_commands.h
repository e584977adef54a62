#pragma once

#include <optional>
#include <string>

#include "archive/archive.h"
#include "cli/options.h"
#include "main_window/form1.h"

namespace hvr::cli {

// archive list | show | report | export-session: the exit status.
int runArchiveCommand(const Options& options);

// Why the archive's address is refused (a mistyped scheme, a foreign database), before
// anything is read or made; none when it is one.
std::optional<std::string> refusedArchiveAddress(const Options& options);

// Two of the outputs the options name, or an output and the archive's file, that are one file
// (through any path or link): the clash said, before anything is read or written.
std::optional<std::string> clashingOutputs(const Options& options);

// The store just read, as a test record with the options' particulars, nameplate and class.
archive::TestRecord downloadRecord(const Form1& form, const Options& options,
                                   const std::string& downloadedAt);

// The record into the archive the options name; the reason when it could not be archived.
std::optional<std::string> archiveDownload(const archive::TestRecord& record, const Options& options);

} // namespace hvr::cli
