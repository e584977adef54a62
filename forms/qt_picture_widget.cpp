#include "forms/qt_picture_widget.h"

#include <QPainter>

#include "platform/qt_canvas.h"

namespace hvr::gui {

PictureWidget::PictureWidget(const platform::Picture& picture, QWidget* parent)
    : QFrame(parent), m_picture(picture) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void PictureWidget::setZoom(double zoom) {
    m_zoom = zoom;
    update();
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        platform::QtCanvas canvas(painter, platform::pictureFont(), m_zoom);
        platform::paint(m_picture, canvas);
    }
    QFrame::paintEvent(event);
}

} // namespace hvr::gui
