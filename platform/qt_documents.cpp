#include "platform/qt_documents.h"

#include <QPrintDialog>
#include <QPrinter>

#include "platform/qt_document_painter.h"

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

PrintResult QtDocuments::print(const Document& document) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(QString::fromStdString(document.title));
    QPrintDialog dialog(&printer, m_parent);
    if (dialog.exec() != QDialog::Accepted) return PrintResult::Cancelled;
    return paintDocument(document, printer) ? PrintResult::Printed : PrintResult::Failed;
}

} // namespace hvr::platform
