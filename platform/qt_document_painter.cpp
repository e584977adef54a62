#include "platform/qt_document_painter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace hvr::platform {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kThinnestPen = 8; // 0.4 pt: what "thinnest" means on paper

QColor colorOf(std::uint32_t bgr) {
    return {static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
            static_cast<int>((bgr >> 16) & 0xFF)};
}

// A font sized in twips, as the painter draws in twips; unhinted, so that its measures do not
// depend on the device it is drawn on.
QFont fontOf(const PrintFont& font) {
    QFont f(QString::fromStdString(font.name));
    f.setPixelSize(static_cast<int>(font.points * 20 + 0.5));
    f.setBold(font.bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

} // namespace

double QtTextMeasure::lineHeight(const PrintFont& font) const {
    return QFontMetricsF(fontOf(font)).height();
}

double QtTextMeasure::textWidth(const PrintFont& font, std::string_view text) const {
    return QFontMetricsF(fontOf(font))
        .horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void drawMark(QPainter& painter, const PageMark& m) {
    if (m.kind == PageMark::Kind::Line) {
        painter.setPen(QPen(colorOf(m.color), std::max(m.pen, kThinnestPen)));
        painter.drawLine(QPointF(m.x0, m.y0), QPointF(m.x1, m.y1));
        return;
    }
    const QFont font = fontOf(m.font);
    painter.setFont(font);
    painter.setPen(colorOf(m.color));
    const QString text = QString::fromStdString(m.text);
    // Measured in the painter's own units: the font's pixels are twips, whatever the device's
    // resolution, so a text has one width on a PDF and on any printer.
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    const double ascent = metrics.ascent();
    const double x = m.anchor == PageMark::Anchor::Left     ? m.x0
                     : m.anchor == PageMark::Anchor::Center ? m.x0 - width / 2
                                                            : m.x0 - width;
    painter.drawText(QPointF(x, m.y0 + ascent), text);
}

bool paintDocument(const Document& document, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    for (std::size_t n = 0; n < document.pages.size(); ++n) {
        if (n > 0 && !device.newPage()) return false;
        painter.resetTransform();
        // Twips onto the device, from the corner of the paper, a page laid out for larger
        // paper made smaller as a whole.
        const QPageLayout layout = device.pageLayout();
        const QRectF paper = layout.fullRect(QPageLayout::Point);
        const QRectF printable = layout.paintRect(QPageLayout::Point);
        double fit = std::min({1.0, paper.width() * 20 / std::max(document.widthTwips, 1.0),
                               paper.height() * 20 / std::max(document.heightTwips, 1.0)});
        if (fit > 0.995) fit = 1; // the paper's size in whole points: A4 is A4
        painter.scale(device.logicalDpiX() / kTwipsPerInch, device.logicalDpiY() / kTwipsPerInch);
        painter.translate((paper.left() - printable.left()) * 20, (paper.top() - printable.top()) * 20);
        painter.scale(fit, fit);
        for (const PageMark& mark : document.pages[n])
            drawMark(painter, mark);
    }
    return painter.end();
}

std::optional<QByteArray> documentPdf(const Document& document) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(static_cast<int>(kTwipsPerInch));
        writer.setTitle(QString::fromStdString(document.title));
        writer.setCreator(QStringLiteral("hvr"));
        writer.setPageLayout(QPageLayout(
            QPageSize(QSizeF(document.widthTwips / 20, document.heightTwips / 20), QPageSize::Point),
            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        if (!paintDocument(document, writer)) return std::nullopt;
    }
    return bytes;
}

} // namespace hvr::platform
