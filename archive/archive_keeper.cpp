#include "archive/archive_keeper.h"

#include "texts/texts.h"

namespace hvr::archive {

ArchiveKeeper::ArchiveKeeper(platform::Dialogs& dialogs, std::unique_ptr<Archive> archive,
                             std::string openError)
    : m_dialogs(dialogs), m_archive(std::move(archive)), m_openError(std::move(openError)) {}

void ArchiveKeeper::fault(const std::string& why) {
    if (m_said) return;
    m_said = true;
    m_dialogs.message(std::string(texts::kArchiveFault) + why + texts::kArchiveFaultEnd,
                      texts::kMessageTitle);
}

void ArchiveKeeper::downloadCompleted(TestRecord record) {
    if (!m_archive) {
        if (!m_openError.empty()) fault(m_openError);
        return;
    }
    m_waiting.push_back(std::move(record));
    retry();
}

void ArchiveKeeper::retry() {
    while (!m_waiting.empty()) {
        std::string why;
        const auto id = m_archive->storeTest(m_waiting.front(), &why);
        if (!id) return fault(why);
        m_lastStored = id;
        m_waiting.pop_front();
        m_said = false;
    }
}

void ArchiveKeeper::liveReading(const SessionReading& reading) {
    if (!m_archive) return;
    if (!m_session) {
        std::string why;
        m_session = m_archive->startSession(reading.at, &why);
        if (!m_session) return fault(why);
    }
    m_archive->addReading(*m_session, reading);
}

void ArchiveKeeper::liveStopped(const std::string& at) {
    if (!m_archive || !m_session) return;
    std::string why;
    if (!m_archive->endSession(*m_session, at, &why)) fault(why);
    m_session.reset(); // the next reading starts another run
}

void ArchiveKeeper::tick() {
    if (!m_archive) return;
    std::string why;
    if (!m_archive->flush(&why)) return fault(why);
    retry();
}

void ArchiveKeeper::finish(const std::string& at) {
    liveStopped(at);
    if (m_waiting.empty()) return;
    std::string lost;
    for (const TestRecord& r : m_waiting)
        lost += "\n" + r.downloadedAt + "  " + std::to_string(r.frames.size()) + " 组";
    m_dialogs.message(std::string(texts::kArchiveLost) + lost, texts::kMessageTitle);
}

} // namespace hvr::archive
