#include "platform/qt_settings.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace hvr::platform {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// One key per kind of save, whichever of its types is offered first: "save/.csv.txt".
QString saveKey(const SaveRequest& request, const char* what) {
    std::array<std::string, 2> types{request.filter, request.alternative};
    std::sort(types.begin(), types.end());
    return "save/" + qt(types[0] + types[1]) + "/" + what;
}

} // namespace

std::optional<WindowPlace> rememberedWindow(const QSettings& settings) {
    bool ok = false;
    const double zoom = settings.value("window/zoom").toDouble(&ok);
    const QSize size = settings.value("window/size").toSize();
    if (!ok || zoom <= 0 || !size.isValid()) return std::nullopt;
    return WindowPlace{zoom, size};
}

void rememberWindow(QSettings& settings, const WindowPlace& place) {
    settings.setValue("window/zoom", place.zoom);
    settings.setValue("window/size", place.size);
}

std::string rememberedPort(const QSettings& settings) {
    return settings.value("port/device").toString().toStdString();
}

void rememberPort(QSettings& settings, const std::string& device) {
    settings.setValue("port/device", qt(device));
}

SaveRequest rememberedSave(const QSettings& settings, SaveRequest request) {
    // The folder of the last save of this kind, else the one asked for, else the home folder:
    // never the folder the program happened to start in.
    const QString folder = settings.value(saveKey(request, "folder")).toString();
    if (!folder.isEmpty() && QDir(folder).exists())
        request.directory = folder.toStdString();
    else if (request.directory.empty() || !QDir(qt(request.directory)).exists())
        request.directory = QDir::homePath().toStdString();
    const std::string type = settings.value(saveKey(request, "type")).toString().toStdString();
    if (!request.alternative.empty() && type == request.alternative) {
        const std::string stem = QFileInfo(qt(request.fileName)).completeBaseName().toStdString();
        std::swap(request.filter, request.alternative);
        request.fileName = stem + request.filter;
        request.defaultExtension = request.filter;
    }
    return request;
}

void rememberSave(QSettings& settings, const SaveRequest& request, const std::string& chosenPath) {
    const QFileInfo chosen(qt(chosenPath));
    settings.setValue(saveKey(request, "folder"), chosen.absolutePath());
    const std::string suffix = "." + chosen.suffix().toLower().toStdString();
    if (suffix == request.filter || suffix == request.alternative)
        settings.setValue(saveKey(request, "type"), qt(suffix));
}

std::string QtPreferences::value(const std::string& key) const {
    return QSettings().value(QString::fromStdString(m_group + "/" + key)).toString().toStdString();
}

void QtPreferences::setValue(const std::string& key, const std::string& value) {
    QSettings().setValue(QString::fromStdString(m_group + "/" + key), QString::fromStdString(value));
}

} // namespace hvr::platform
