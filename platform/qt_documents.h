#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/documents.h"
#include "platform/file_system.h"

namespace hvr::platform {

// Documents of the window program: a PDF written through the file system, or printed on the
// printer the user chooses in the system's print dialog.
class QtDocuments final : public Documents {
  public:
    explicit QtDocuments(FileSystem& files) : m_files(files) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    bool savePdf(const Document& document, const std::string& path, std::string* why) override;
    PrintResult print(const Document& document) override;

  private:
    FileSystem& m_files;
    QPointer<QWidget> m_parent;
};

} // namespace hvr::platform
