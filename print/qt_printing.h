#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

#include "platform/printer.h"

namespace hvr::gui {

// The print dialogs of the program: the options dialog, shown while the main window is closed,
// and the system's printer dialog (every CUPS printer, and printing to a PDF file).
class QtPrinting final : public platform::Printing {
  public:
    void setMainWindow(QWidget* window) { m_main = window; }
    // The options dialog follows the main window's zoom.
    void setZoom(std::function<double()> zoom) { m_zoom = std::move(zoom); }
    void runPrintOptions(Form3& dialog) override;
    std::unique_ptr<platform::Printer> choosePrinter() override;

  private:
    QPointer<QWidget> m_main;
    std::function<double()> m_zoom;
};

} // namespace hvr::gui
