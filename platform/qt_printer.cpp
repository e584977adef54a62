#include "platform/qt_printer.h"

#include <algorithm>

namespace hvr::platform {

namespace {
constexpr double kTwipsPerInch = 1440;
} // namespace

QtPagePrinter::QtPagePrinter(QPagedPaintDevice& device) : m_device(device) {}

QtPagePrinter::QtPagePrinter(std::unique_ptr<QPagedPaintDevice> device)
    : m_owned(std::move(device)), m_device(*m_owned) {}

QtPagePrinter::~QtPagePrinter() {
    if (m_painter.isActive()) m_painter.end();
}

double QtPagePrinter::lineHeight(const PrintFont& font) {
    return m_measure.lineHeight(font);
}

double QtPagePrinter::textWidth(const PrintFont& font, std::string_view text) {
    return m_measure.textWidth(font, text);
}

void QtPagePrinter::beginSheet(double heightTwips, double widthTwips) {
    if (m_failed) return;
    if (!m_begun) {
        m_begun = true;
        if (!m_painter.begin(&m_device)) {
            m_failed = true; // the job cannot start
            return;
        }
    } else if (!m_device.newPage()) {
        m_failed = true;
        return;
    }
    // Twips onto device units, the whole sheet made smaller where the page is too small.
    const double dpiX = m_device.logicalDpiX(), dpiY = m_device.logicalDpiY();
    const double pageWidth = m_device.width() * kTwipsPerInch / dpiX;
    const double pageHeight = m_device.height() * kTwipsPerInch / dpiY;
    const double fit =
        std::min({1.0, pageHeight / std::max(heightTwips, 1.0), pageWidth / std::max(widthTwips, 1.0)});
    m_painter.resetTransform();
    m_painter.scale(dpiX / kTwipsPerInch * fit, dpiY / kTwipsPerInch * fit);
}

void QtPagePrinter::text(const PrintFont& font, double x, double y, std::string_view text) {
    if (m_failed || !m_painter.isActive()) return;
    PageMark mark;
    mark.x0 = x;
    mark.y0 = y;
    mark.text = std::string(text);
    mark.font = font;
    drawMark(m_painter, mark);
}

bool QtPagePrinter::finish() {
    if (m_painter.isActive() && !m_painter.end()) m_failed = true;
    return !m_failed;
}

} // namespace hvr::platform
