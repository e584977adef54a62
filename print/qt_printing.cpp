#include "print/qt_printing.h"

#include <QPrintDialog>
#include <QPrinter>

#include "platform/qt_printer.h"
#include "print/qt_form3_view.h"

namespace hvr::gui {

void QtPrinting::runPrintOptions(Form3& dialog) {
    if (m_main) m_main->hide(); // the main window is closed while the options are chosen
    {
        QtForm3View view(dialog);
        if (m_zoom) view.setZoom(m_zoom());
        view.exec();
    }
    if (m_main) m_main->show();
}

std::unique_ptr<platform::Printer> QtPrinting::choosePrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // The one setting the job sets: portrait, the sheet's orientation.
    printer->setPageOrientation(QPageLayout::Portrait);
    QPrintDialog dialog(printer.get(), m_main);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    return std::make_unique<platform::QtPagePrinter>(std::move(printer));
}

} // namespace hvr::gui
