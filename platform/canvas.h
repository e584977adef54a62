#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hvr::platform {

// One drawing step of a picture box, in twips inside the box: the clear, a line, or a text
// anchored at its top-left corner. Colours are 0x00BBGGRR.
struct Primitive {
    enum class Kind { Clear, Line, Text };
    Kind kind = Kind::Line;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0; // a text stands at (x0, y0)
    std::uint32_t color = 0;
    std::string text;
    bool operator==(const Primitive&) const = default;
};
using Picture = std::vector<Primitive>;

// Where a picture is painted: the window's picture box, an image, or a recording in tests.
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void clear(std::uint32_t color) = 0;
    virtual void line(double x0, double y0, double x1, double y1, std::uint32_t color) = 0;
    virtual void text(double x, double y, std::string_view text, std::uint32_t color) = 0;
};

// Plays part of a picture onto the canvas, in order.
inline void paint(Picture::const_iterator first, Picture::const_iterator last, Canvas& canvas) {
    for (; first != last; ++first) {
        const Primitive& p = *first;
        switch (p.kind) {
        case Primitive::Kind::Clear:
            canvas.clear(p.color);
            break;
        case Primitive::Kind::Line:
            canvas.line(p.x0, p.y0, p.x1, p.y1, p.color);
            break;
        case Primitive::Kind::Text:
            canvas.text(p.x0, p.y0, p.text, p.color);
            break;
        }
    }
}

// Plays the picture onto the canvas, in order.
inline void paint(const Picture& picture, Canvas& canvas) {
    paint(picture.begin(), picture.end(), canvas);
}

// A canvas that records what is drawn on it, to be played onto a picture box later.
class PictureRecorder final : public Canvas {
  public:
    explicit PictureRecorder(Picture& picture) : m_picture(picture) {}
    void clear(std::uint32_t color) override {
        m_picture.push_back({Primitive::Kind::Clear, 0, 0, 0, 0, color, {}});
    }
    void line(double x0, double y0, double x1, double y1, std::uint32_t color) override {
        m_picture.push_back({Primitive::Kind::Line, x0, y0, x1, y1, color, {}});
    }
    void text(double x, double y, std::string_view text, std::uint32_t color) override {
        m_picture.push_back({Primitive::Kind::Text, x, y, 0, 0, color, std::string(text)});
    }

  private:
    Picture& m_picture;
};

// Saves a picture as an image file.
class PictureFiles {
  public:
    virtual ~PictureFiles() = default;
    // Writes the picture, of that size in twips, as a Windows bitmap, replacing the file as a
    // listing is replaced; false when it cannot be written.
    virtual bool saveBitmap(const Picture& picture, int widthTwips, int heightTwips,
                            const std::string& path) = 0;
};

} // namespace hvr::platform
