#pragma once

#include <iostream>

#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/shell.h"

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

// Without a window there is no picture to save.
class NoPictureFiles final : public platform::PictureFiles {
  public:
    bool saveBitmap(const platform::Picture&, int, int, const std::string&) override { return false; }
};

// Without a window nothing is printed through dialogs (download --pdf prints directly).
class NoPrinting final : public platform::Printing {
  public:
    void runPrintOptions(Form3&) override {}
    std::unique_ptr<platform::Printer> choosePrinter() override { return nullptr; }
};

// Without a desktop an address is only named.
class ConsoleShell final : public platform::Shell {
  public:
    void openUrl(std::string_view url) override { std::cerr << "hvr-cli: " << url << "\n"; }
};

} // namespace hvr::cli
