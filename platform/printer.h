#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace hvr {
class Form3;
}

namespace hvr::platform {

// A font as a printed line asks for it.
struct PrintFont {
    std::string name;
    double points = 9;
    bool bold = false;
    bool operator==(const PrintFont&) const = default;
};

// How texts measure on paper, in twips, as the document painter draws them: what a layout
// needs to wrap a text in its column.
class TextMeasure {
  public:
    virtual ~TextMeasure() = default;
    // The pitch of a font's lines.
    virtual double lineHeight(const PrintFont& font) const = 0;
    virtual double textWidth(const PrintFont& font, std::string_view text) const = 0;
};

// A printer with a document under way. Positions are twips from the top-left corner of the
// printable area; a text stands with its top-left corner at the position.
class Printer {
  public:
    virtual ~Printer() = default;
    // The line pitch of a font on this printer, in twips.
    virtual double lineHeight(const PrintFont& font) = 0;
    // How wide a text prints in a font, in twips.
    virtual double textWidth(const PrintFont& font, std::string_view text) = 0;
    // Starts the next sheet: the first call begins the document, later ones a new page.
    virtual void beginSheet(double heightTwips, double widthTwips) = 0;
    virtual void text(const PrintFont& font, double x, double y, std::string_view text) = 0;
    // Ends the document (if one was begun); false when the printer failed at any point.
    virtual bool finish() = 0;
};

// The printing dialogs: the print options dialog, run modally while the main window is closed,
// and the printer dialog.
class Printing {
  public:
    virtual ~Printing() = default;
    virtual void runPrintOptions(Form3& dialog) = 0;
    // The printer the user chose, or none when the printer dialog was cancelled.
    virtual std::unique_ptr<Printer> choosePrinter() = 0;
};

} // namespace hvr::platform
