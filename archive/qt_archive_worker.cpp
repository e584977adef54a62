#include "archive/qt_archive_worker.h"

#include <QDeadlineTimer>
#include <QTimer>

namespace hvr::gui {

QtArchiveWorker::QtArchiveWorker(archive::ArchiveKeeper& keeper, std::string where)
    : m_keeper(keeper), m_where(std::move(where)), m_context(new QObject) {
    m_context->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(m_context, [this] {
        open();
        // Live readings are committed every 2 s: a crash loses at most the last few.
        auto* timer = new QTimer(m_context);
        QObject::connect(timer, &QTimer::timeout, m_context, [this] { tick(); });
        timer->start(2000);
    });
}

QtArchiveWorker::~QtArchiveWorker() {
    if (m_thread.isRunning()) stop(10000);
}

void QtArchiveWorker::open() {
    std::string why;
    const auto address = platform::parseArchiveAddress(m_where, &why);
    if (!address) {
        m_refused = true;
        m_keeper.attach(nullptr, why);
        return;
    }
    m_db = platform::QtDatabase::open(*address, platform::QtDatabase::Missing::Create, &why);
    auto archive = m_db ? std::make_unique<archive::Archive>(*m_db) : nullptr;
    if (archive && !archive->open(&why)) archive.reset();
    if (!archive) m_db.reset();
    m_keeper.attach(std::move(archive), why);
}

void QtArchiveWorker::tick() {
    if (!m_keeper.archive() && !m_refused && m_keeper.waitingRecords() > 0) open();
    m_keeper.write();
}

void QtArchiveWorker::poke() {
    QMetaObject::invokeMethod(m_context, [this] { m_keeper.write(); });
}

bool QtArchiveWorker::stop(int milliseconds) {
    QMetaObject::invokeMethod(m_context, [this] {
        m_keeper.write();
        m_keeper.detach().reset(); // the archive before its connection
        m_db.reset();
        m_thread.quit();
    });
    return m_thread.wait(QDeadlineTimer(milliseconds));
}

} // namespace hvr::gui
