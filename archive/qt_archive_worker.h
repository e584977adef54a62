#pragma once

#include <QObject>
#include <QThread>

#include <memory>
#include <string>

#include "archive/archive_keeper.h"
#include "platform/qt_database.h"

class QTimer;

namespace hvr::gui {

// The archive's writing thread: it opens its own connection to the archive (Qt SQL connections
// belong to the thread that made them) and runs the keeper's writes, at once when something is
// handed over and every 2 s, so that a database that does not answer never holds up the
// window. An archive that could not be opened is tried again while records wait for it.
class QtArchiveWorker {
  public:
    QtArchiveWorker(archive::ArchiveKeeper& keeper, std::string where);
    ~QtArchiveWorker();
    QtArchiveWorker(const QtArchiveWorker&) = delete;
    QtArchiveWorker& operator=(const QtArchiveWorker&) = delete;

    // Something was handed over: written now.
    void poke();
    // What waits written, the connection closed and the thread ended, waiting at most
    // `milliseconds`; false when the database did not answer in time (the thread is then
    // still inside it, and this object must not be destroyed).
    bool stop(int milliseconds);

  private:
    void open(); // on the thread
    void tick(); // on the thread

    archive::ArchiveKeeper& m_keeper;
    std::string m_where;
    QThread m_thread;
    QObject* m_context; // lives on the thread
    std::unique_ptr<platform::QtDatabase> m_db; // made, used and closed on the thread
    bool m_refused = false; // the address itself is wrong: not tried again
};

} // namespace hvr::gui
