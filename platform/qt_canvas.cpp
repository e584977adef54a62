#include "platform/qt_canvas.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>

#include <cmath>

namespace hvr::platform {

namespace {

constexpr double kTwipsPerPixel = 15;

} // namespace

QColor qtColor(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

QFont pictureFont() {
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(9);
    return font;
}

namespace {

QFont zoomed(QFont font, double zoom) {
    if (zoom != 1) font.setPointSizeF(font.pointSizeF() * zoom);
    return font;
}

} // namespace

int canvasPixel(double twips, double zoom) {
    return static_cast<int>(std::lround(twips * zoom / kTwipsPerPixel));
}

QtCanvas::QtCanvas(QPainter& painter, const QFont& font, double zoom)
    : m_painter(painter), m_zoom(zoom),
      m_ascent(QFontMetrics(zoomed(font, zoom), painter.device()).ascent()) {
    m_painter.setFont(zoomed(font, zoom));
}

void QtCanvas::flush() {
    if (m_lines.isEmpty()) return;
    m_painter.setPen(QPen(qtColor(m_lineColor), 0)); // cosmetic: one pixel, the fast path
    m_painter.drawLines(m_lines);
    m_lines.clear();
}

void QtCanvas::clear(std::uint32_t color) {
    m_lines.clear(); // whatever was drawn before is gone
    const QRect all = m_painter.window();
    m_painter.fillRect(all, qtColor(color));
}

void QtCanvas::line(double x0, double y0, double x1, double y1, std::uint32_t color) {
    if (color != m_lineColor) {
        flush();
        m_lineColor = color;
    }
    // Whole pixels: the raster engine draws integer one-pixel lines on its fastest path.
    const auto px = [this](double twips) { return canvasPixel(twips, m_zoom); };
    m_lines.append(QLine(px(x0), px(y0), px(x1), px(y1)));
}

void QtCanvas::text(double x, double y, std::string_view text, std::uint32_t color) {
    flush();
    m_painter.setPen(qtColor(color));
    m_painter.drawText(QPointF(x * m_zoom / kTwipsPerPixel, y * m_zoom / kTwipsPerPixel + m_ascent),
                       QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

bool QtPictureFiles::saveBitmap(const Picture& picture, int widthTwips, int heightTwips,
                                const std::string& path) {
    QImage image(static_cast<int>(widthTwips / kTwipsPerPixel),
                 static_cast<int>(heightTwips / kTwipsPerPixel), QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter, pictureFont());
        paint(picture, canvas);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) return false;
    return m_files.saveFile(path,
                            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace hvr::platform
