#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/documents.h"
#include "platform/file_system.h"
#include "platform/qt_document_painter.h"

namespace hvr::platform {

// Documents of the window program: a PDF written through the file system, or printed on the
// printer the user chooses in the system's print dialog.
class QtDocuments final : public Documents {
  public:
    explicit QtDocuments(FileSystem& files) : m_files(files) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    const TextMeasure& measure() const override { return m_measure; }
    bool savePdf(const Document& document, const std::string& path, std::string* why) override;
    PrintResult print(const std::string& title, const std::function<Document(const Paper&)>& layout) override;

  private:
    FileSystem& m_files;
    QtTextMeasure m_measure;
    QPointer<QWidget> m_parent;
};

} // namespace hvr::platform
