#pragma once

#include <QDialog>
#include <QPixmap>

#include <functional>
#include <map>
#include <string>

#include "splash/form2.h"

namespace hvr::gui {

// The splash window on screen: the program's own background picture with its two small
// alternating pictures, each a widget named after its control. A click on the background or
// a picture, Enter or Esc enters the program; a click on the maker's corner opens the web site.
class QtForm2View final : public QDialog {
  public:
    // At a zoom: every area and picture at its twips × zoom / 15.
    explicit QtForm2View(Form2& form, double zoom = 1, QWidget* parent = nullptr);
    void render();
    QWidget* widget(const std::string& name) const;

    // The pictures, drawn by the program: the background (802 × 466) and the two small ones
    // (97 × 49).
    static QPixmap background();
    static QPixmap smallPicture(int which);

  protected:
    void reject() override; // Esc

  private:
    void forward(const std::function<void()>& handler);

    Form2& m_form;
    std::map<std::string, QWidget*> m_widgets;
};

} // namespace hvr::gui
