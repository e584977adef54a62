#pragma once

#include <QFrame>

#include "platform/canvas.h"

namespace hvr::gui {

// A picture box painted from a picture of its form, at the window's zoom.
class PictureWidget final : public QFrame {
  public:
    PictureWidget(const platform::Picture& picture, QWidget* parent);
    void setZoom(double zoom);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const platform::Picture& m_picture;
    double m_zoom = 1;
};

} // namespace hvr::gui
