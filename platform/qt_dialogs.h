#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/dialogs.h"
#include "platform/shell.h"

namespace hvr::platform {

// Message and question boxes and the save dialog as Qt shows them, over the given window.
class QtDialogs final : public Dialogs {
  public:
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(std::string_view text, std::string_view title) override;
    bool askYesNo(std::string_view text, std::string_view title) override;
    std::optional<std::string> chooseSaveFile(const SaveRequest& request) override;

  private:
    QPointer<QWidget> m_parent;
};

// The desktop's default browser.
class QtShell final : public Shell {
  public:
    void openUrl(std::string_view url) override;
};

} // namespace hvr::platform
