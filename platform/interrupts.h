#pragma once

namespace hvr::platform {

// The requests a command-line program gets to end: Ctrl-C, Ctrl-Break where the system has it,
// and termination. The handler runs asynchronously (on Windows on a thread of its own): it may
// only set flags, or end the process.
void onInterruptRequests(void (*handler)(int request));

// Ends the process as the request would by default, with the status a shell expects of it
// (128 + the signal's number; 130 for Ctrl-C and Ctrl-Break alike on Windows).
[[noreturn]] void endAsInterrupted(int request);

} // namespace hvr::platform
