#pragma once

#include <QPagedPaintDevice>
#include <QPainter>

#include <memory>

#include "platform/printer.h"
#include "platform/qt_document_painter.h"

namespace hvr::platform {

// Prints on a paged device (a printer, or a PDF writer): twips from the top-left corner of the
// printable area, each sheet scaled down as a whole when it would not fit the page, so that a
// full sheet holds on A4 and Letter alike. Texts are measured and drawn as the document painter
// does. The document begins with the first sheet; a new page is started only between sheets.
class QtPagePrinter final : public Printer {
  public:
    // The device stays the caller's, or is owned when handed over.
    explicit QtPagePrinter(QPagedPaintDevice& device);
    explicit QtPagePrinter(std::unique_ptr<QPagedPaintDevice> device);
    ~QtPagePrinter() override;

    double lineHeight(const PrintFont& font) override;
    double textWidth(const PrintFont& font, std::string_view text) override;
    void beginSheet(double heightTwips, double widthTwips) override;
    void text(const PrintFont& font, double x, double y, std::string_view text) override;
    bool finish() override;

  private:
    std::unique_ptr<QPagedPaintDevice> m_owned;
    QPagedPaintDevice& m_device;
    QtTextMeasure m_measure;
    QPainter m_painter;
    bool m_begun = false;
    bool m_failed = false;
};

} // namespace hvr::platform
