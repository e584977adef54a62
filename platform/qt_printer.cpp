#include "platform/qt_printer.h"

#include <QFontMetricsF>

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

QFont QtPagePrinter::qtFont(const PrintFont& font) const {
    QFont f(QString::fromStdString(font.name));
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    return f;
}

double QtPagePrinter::lineHeight(const PrintFont& font) {
    const QFontMetricsF metrics(qtFont(font), &m_device);
    return metrics.height() * kTwipsPerInch / m_device.logicalDpiY();
}

double QtPagePrinter::textWidth(const PrintFont& font, std::string_view text) {
    const QFontMetricsF metrics(qtFont(font), &m_device);
    return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) *
           kTwipsPerInch / m_device.logicalDpiX();
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
    // The painter draws in twips, so the font's size is given in twips too (20 a point).
    const QFontMetricsF metrics(qtFont(font), &m_device);
    const double ascent = metrics.ascent() * kTwipsPerInch / m_device.logicalDpiY();
    QFont f = qtFont(font);
    f.setPixelSize(static_cast<int>(font.points * 20 + 0.5));
    m_painter.setFont(f);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QPointF(x, y + ascent),
                       QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

bool QtPagePrinter::finish() {
    if (m_painter.isActive() && !m_painter.end()) m_failed = true;
    return !m_failed;
}

} // namespace hvr::platform
