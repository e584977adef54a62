#include "platform/qt_documents.h"

#include <QPrintDialog>
#include <QPrinter>

namespace hvr::platform {

bool QtDocuments::savePdf(const Document& document, const std::string& path, std::string* why) {
    const auto bytes = documentPdf(document);
    if (!bytes) {
        if (why != nullptr) *why = "PDF 无法生成";
        return false;
    }
    return m_files.saveFile(
        path, std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())), why);
}

PrintResult QtDocuments::print(const std::string& title, const std::function<Document(const Paper&)>& layout) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(QString::fromStdString(title));
    printer.setPageOrientation(QPageLayout::Portrait);
    QPrintDialog dialog(&printer, m_parent);
    if (dialog.exec() != QDialog::Accepted) return PrintResult::Cancelled;
    // Laid out for the paper picked in the dialog, as it lies.
    const QSizeF points = printer.pageLayout().fullRectPoints().size();
    const Document document = layout({points.width() * 20, points.height() * 20});
    return paintDocument(document, printer) ? PrintResult::Printed : PrintResult::Failed;
}

} // namespace hvr::platform
