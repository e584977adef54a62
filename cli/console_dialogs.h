#pragma once

#include <iostream>

#include "platform/dialogs.h"

namespace hvr::cli {

// Boxes for a program without a window: messages go to standard error, questions take their
// default answer (No), and no save dialog is ever offered.
class ConsoleDialogs final : public platform::Dialogs {
  public:
    void message(std::string_view text, std::string_view title) override {
        std::cerr << "hvr-cli: " << title << ": " << text << "\n";
    }
    bool askYesNo(std::string_view, std::string_view) override { return false; }
    std::optional<std::string> chooseSaveFile(const platform::SaveRequest&) override { return std::nullopt; }
};

} // namespace hvr::cli
