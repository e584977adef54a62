#pragma once

namespace hvr::platform {

// Qt's own texts (the buttons of message boxes, the file and print dialogs) in Chinese, whatever
// the system's locale: the program speaks Chinese throughout. False when Qt's Chinese
// translations are not installed; the dialogs then stay in English.
bool installChineseQtTranslations();

} // namespace hvr::platform
