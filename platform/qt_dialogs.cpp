#include "platform/qt_dialogs.h"

#include "platform/qt_settings.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace hvr::platform {

namespace {
QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

void QtDialogs::message(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::NoIcon, qt(title), qt(text), QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtDialogs::askYesNo(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::Question, qt(title), qt(text), QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::chooseSaveFile(const SaveRequest& asked) {
    // The folder and file type of the last save of this kind come back.
    QSettings settings;
    const SaveRequest request = rememberedSave(settings, asked);
    const auto filterOf = [](const std::string& extension) {
        const QString pattern = "*" + qt(extension);
        const QString name = extension == ".csv" ? QStringLiteral("CSV") : pattern;
        return name + " (" + pattern + ")";
    };
    QStringList filters{filterOf(request.filter)};
    if (!request.alternative.empty()) filters << filterOf(request.alternative);
    QFileDialog dialog(m_parent, QStringLiteral("另存为"), qt(request.directory));
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(qt(request.defaultExtension).remove(0, 1));
    // A name typed without an extension takes the one of the type chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.contains("*.csv") ? QStringLiteral("csv") : QStringLiteral("txt"));
    });
    dialog.selectFile(QDir(qt(request.directory)).filePath(qt(request.fileName)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const std::string chosen = dialog.selectedFiles().constFirst().toStdString();
    rememberSave(settings, asked, chosen);
    return chosen;
}

void QtShell::openUrl(std::string_view url) {
    QDesktopServices::openUrl(QUrl(qt(url)));
}

} // namespace hvr::platform
