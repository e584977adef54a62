#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "forms/control.h"

class QRadioButton;

namespace hvr::gui {

// A control's place in twips as pixels: 15 twips a pixel at zoom 1, times the window's zoom.
// Each edge is rounded down on its own, so that controls that touch in the design touch at
// every zoom, and zoom 1 is the design to the pixel.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr double kMinimumZoom = 0.6;
int pixelEdge(double twips, double zoom);
QRect pixels(const Rect& r, double zoom = 1);

// The font of a design, at a window's zoom.
QFont fontOf(const Design& design, double zoom = 1);
// What a control's design asks of its widget beyond its kind: its font where it is not the
// plain one, its alignment, and how a box or a button takes input.
void applyDesign(QWidget& widget, const Design& design, double zoom = 1);
// Only the part of the design that changes with the zoom: the font where it is not the plain
// one (the plain one comes from the window).
void applyDesignFont(QWidget& widget, const Design& design, double zoom);

// The option buttons of one container are one exclusive group, as radio buttons are to everyone
// (announced as radio buttons, the arrow keys move between them), while the model decides
// which one is selected.
void joinOptionGroup(QRadioButton& option, QWidget& container);
// Shows the model's choice; an option the model leaves unselected shows so even when it was
// the group's selected one.
void showOptionSelected(QRadioButton& option, bool selected);

// The widgets of a small form's controls (frames, labels, boxes, option buttons, buttons,
// lists, picture boxes), each named after its control, placed at its twips ÷ 15 inside its container,
// and brought up to the control's state by render(). User events go to the handlers given.
class FormWidgets {
  public:
    struct Handlers {
        std::function<void(const std::string& name)> click;        // buttons
        std::function<void(const std::string& name)> selectOption; // option buttons, list entries
        std::function<void(const std::string& name)> changed;      // after a box was edited
        // The widget of a control this binder does not make itself (a table, a picture box
        // painted from the model), or null for the plain one.
        std::function<QWidget*(const Control& control, QWidget& container)> make = {};
    };
    FormWidgets(const std::vector<Control*>& controls, QWidget& root, const std::string& rootName,
                Handlers handlers);

    void render();
    // Every widget placed and its font sized at the zoom, each text fitting its box.
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    QWidget* widget(const std::string& name) const;

  private:
    std::vector<Control*> m_controls;
    std::map<std::string, QWidget*> m_widgets;
    std::map<QWidget*, QString> m_fitted; // each widget's text when its font was last fitted
    Handlers m_handlers;
    double m_zoom = 1;
};

} // namespace hvr::gui
