#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hvr::platform {

// What the save dialog starts with.
struct SaveRequest {
    std::string directory;        // where the dialog opens
    std::string fileName;         // proposed name, e.g. "HVR.txt"
    std::string defaultExtension; // appended when the user types a name without one, e.g. ".txt"
    std::string filter;           // the file type offered first, e.g. ".txt"
    std::string alternative = {}; // a second file type offered, e.g. ".csv"; empty: none
};

// Modal boxes and the save dialog. Every box has the given title.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // An information box with an OK button.
    virtual void message(std::string_view text, std::string_view title) = 0;

    // A question box with Yes and No, No being the default button; true for Yes.
    virtual bool askYesNo(std::string_view text, std::string_view title) = 0;

    // The chosen file path, or none when the user cancels.
    virtual std::optional<std::string> chooseSaveFile(const SaveRequest& request) = 0;
};

// The program's event loop: lets the events that wait in the queue run, once, from inside a
// long command; or ends the program, with every window it opened.
class Events {
  public:
    virtual ~Events() = default;
    virtual void processPending() = 0;
    virtual void quit() = 0;
};

} // namespace hvr::platform
