#pragma once

#include <QColor>
#include <QFont>
#include <QLine>
#include <QPainter>
#include <QVector>

#include "platform/canvas.h"
#include "platform/file_system.h"

namespace hvr::platform {

// Where a position in twips falls at a zoom: 15 twips a pixel at zoom 1, to the nearest pixel.
int canvasPixel(double twips, double zoom);

// Paints onto a QPainter, 15 twips a pixel times the zoom. Lines stay one device pixel wide;
// texts use the picture box's font at the zoom, anchored at their top-left corner.
class QtCanvas final : public Canvas {
  public:
    QtCanvas(QPainter& painter, const QFont& font, double zoom = 1);
    ~QtCanvas() override { flush(); }
    void clear(std::uint32_t color) override;
    void line(double x0, double y0, double x1, double y1, std::uint32_t color) override;
    void text(double x, double y, std::string_view text, std::uint32_t color) override;

    // Draws the lines still held back.
    void flush();

  private:
    // Lines of one colour in a row are drawn together: one pen, one call.
    QPainter& m_painter;
    double m_zoom;
    int m_ascent;
    std::uint32_t m_lineColor = 0;
    QVector<QLine> m_lines;
};

// A colour of the forms (0x00BBGGRR) as Qt takes it.
QColor qtColor(std::uint32_t bgr);

// The font a picture box draws its texts in (宋体 9 pt).
QFont pictureFont();

// Renders a picture into an image and writes it as a Windows bitmap, atomically, through the
// file system.
class QtPictureFiles final : public PictureFiles {
  public:
    explicit QtPictureFiles(FileSystem& files) : m_files(files) {}
    bool saveBitmap(const Picture& picture, int widthTwips, int heightTwips,
                    const std::string& path) override;

  private:
    FileSystem& m_files;
};

} // namespace hvr::platform
