#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/printer.h"

namespace hvr::gui {

// The print dialogs of the program: the options dialog, shown while the main window is closed,
// and the system's printer dialog (every CUPS printer, and printing to a PDF file).
class QtPrinting final : public platform::Printing {
  public:
    void setMainWindow(QWidget* window) { m_main = window; }
    void runPrintOptions(Form3& dialog) override;
    std::unique_ptr<platform::Printer> choosePrinter() override;

  private:
    QPointer<QWidget> m_main;
};

} // namespace hvr::gui
