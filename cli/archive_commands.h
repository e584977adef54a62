#pragma once

#include <optional>
#include <string>

#include "cli/options.h"
#include "main_window/form1.h"

namespace hvr::cli {

// archive list | show | report | export-session: the exit status.
int runArchiveCommand(const Options& options);

// The store just read, as a test record of the archive the options name, with their
// particulars, nameplate and class. The reason when it could not be archived.
std::optional<std::string> archiveDownload(const Form1& form, const Options& options,
                                           const std::string& downloadedAt);

} // namespace hvr::cli
