#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/printer.h"

namespace hvr::platform {

// One mark on a page, in twips from the page's top-left corner: a text, or a line. A text
// stands with its top at y0 and, as anchored, its left edge, centre or right edge at x0.
struct PageMark {
    enum class Kind { Text, Line };
    enum class Anchor { Left, Center, Right };
    Kind kind = Kind::Text;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    std::uint32_t color = 0; // 0x00BBGGRR
    std::string text;
    PrintFont font{"宋体", 10, false};
    Anchor anchor = Anchor::Left;
    double pen = 0; // a line's width in twips; 0 for the thinnest the device draws
};

// A sheet of paper, in twips.
struct Paper {
    double widthTwips = 11906; // A4 portrait
    double heightTwips = 16838;
};

// A document laid out to the last mark: its pages, all of one size.
struct Document {
    std::string title;
    double widthTwips = 11906; // A4 portrait
    double heightTwips = 16838;
    std::vector<std::vector<PageMark>> pages;
};

enum class PrintResult { Printed, Cancelled, Failed };

// Where a laid-out document goes: a PDF file, or a printer chosen in the system's dialog.
class Documents {
  public:
    virtual ~Documents() = default;
    // How the texts of a document measure where it goes.
    virtual const TextMeasure& measure() const = 0;
    // Writes the document as a PDF, replacing the file as a listing is replaced; false with
    // the reason when it cannot.
    virtual bool savePdf(const Document& document, const std::string& path, std::string* why) = 0;
    // Asks for a printer, then prints the document as laid out for the paper picked there.
    virtual PrintResult print(const std::string& title,
                              const std::function<Document(const Paper&)>& layout) = 0;
};

} // namespace hvr::platform
