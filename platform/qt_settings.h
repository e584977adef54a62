#pragma once

#include <QSettings>
#include <QSize>

#include <optional>

#include <string>

#include "platform/dialogs.h"
#include "platform/preferences.h"

namespace hvr::platform {

// What the window remembers between runs, in the user's settings.

// The device of the port that last answered; empty when none has.
std::string rememberedPort(const QSettings& settings);
void rememberPort(QSettings& settings, const std::string& device);

// The save dialog as the last save of the same kind left it: in the folder saved to last (while
// it exists), and with the file type chosen last first.
SaveRequest rememberedSave(const QSettings& settings, SaveRequest request);
void rememberSave(QSettings& settings, const SaveRequest& request, const std::string& chosenPath);

// The main window's zoom and size as the user left them; none the first time.
struct WindowPlace {
    double zoom = 1;
    QSize size;
};
std::optional<WindowPlace> rememberedWindow(const QSettings& settings);
void rememberWindow(QSettings& settings, const WindowPlace& place);

// Preferences kept in the user's settings, under a group of their own.
class QtPreferences final : public Preferences {
  public:
    explicit QtPreferences(std::string group) : m_group(std::move(group)) {}
    std::string value(const std::string& key) const override;
    void setValue(const std::string& key, const std::string& value) override;

  private:
    std::string m_group;
};

} // namespace hvr::platform
