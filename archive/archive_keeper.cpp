#include "archive/archive_keeper.h"

#include <cstdio>
#include <random>

#include "texts/texts.h"

namespace hvr::archive {

std::string newRecordKey(const std::string& at) {
    static std::mutex mutex;
    static std::mt19937_64 bits{std::random_device{}()};
    const std::lock_guard lock(mutex);
    char random[17];
    std::snprintf(random, sizeof random, "%016llx", static_cast<unsigned long long>(bits()));
    return at + " " + random;
}

ArchiveKeeper::ArchiveKeeper(Say say) : m_say(std::move(say)) {}

ArchiveKeeper::ArchiveKeeper(Say say, std::unique_ptr<Archive> archive, std::string openError)
    : m_say(std::move(say)) {
    attach(std::move(archive), std::move(openError));
}

ArchiveKeeper::~ArchiveKeeper() = default;

void ArchiveKeeper::attach(std::unique_ptr<Archive> archive, std::string openError) {
    m_archive = std::move(archive);
    const std::lock_guard lock(m_mutex);
    m_openError = m_archive ? std::string() : std::move(openError);
    if (!m_archive) m_sessions.clear(); // readings are kept only where there is an archive
}

std::string ArchiveKeeper::openError() const {
    const std::lock_guard lock(m_mutex);
    return m_openError;
}

void ArchiveKeeper::fault(const std::string& why) {
    if (m_said) return;
    m_said = true;
    m_say(std::string(texts::kArchiveFault) + why + texts::kArchiveFaultEnd);
}

void ArchiveKeeper::downloadCompleted(TestRecord record) {
    if (record.key.empty()) record.key = newRecordKey(record.downloadedAt);
    const std::lock_guard lock(m_mutex);
    m_work.emplace_back(std::move(record));
}

void ArchiveKeeper::amend(const TestRef& test, const Amendment& amendment) {
    const std::lock_guard lock(m_mutex);
    // A record or an amendment still waiting takes the change itself; one being written has
    // the amendment follow it.
    for (std::size_t i = m_frontInFlight ? 1 : 0; i < m_work.size(); ++i) {
        if (auto* record = std::get_if<TestRecord>(&m_work[i]);
            record != nullptr && !test.key.empty() && record->key == test.key) {
            record->particulars = amendment.particulars;
            record->rated = amendment.rated;
            record->accuracy = amendment.accuracy;
            return;
        }
        if (auto* waiting = std::get_if<Amend>(&m_work[i]);
            waiting != nullptr && waiting->test.key == test.key && waiting->test.id == test.id) {
            waiting->amendment = amendment;
            return;
        }
    }
    m_work.emplace_back(Amend{test, amendment});
}

void ArchiveKeeper::liveReading(SessionReading reading) {
    const std::lock_guard lock(m_mutex);
    if (!m_openError.empty()) return; // no archive to keep them in
    if (m_sessions.empty() || m_sessions.back().endedAt) m_sessions.push_back({reading.at, {}, {}, 0, {}});
    Session& s = m_sessions.back();
    reading.seq = s.nextSeq++;
    s.readings.push_back(std::move(reading));
}

void ArchiveKeeper::liveStopped(const std::string& at) {
    const std::lock_guard lock(m_mutex);
    if (!m_sessions.empty() && !m_sessions.back().endedAt) m_sessions.back().endedAt = at;
}

bool ArchiveKeeper::write() {
    if (!m_archive) {
        // Records wait for an archive; the reason there is none is said once they do.
        const std::string why = openError();
        if (!why.empty() && waitingRecords() > 0) fault(why);
        return waitingRecords() == 0;
    }
    std::string testsWhy, sessionsWhy;
    // Tests are written whatever the sessions do, and the other way round.
    const bool tests = writeWork(&testsWhy);
    const bool sessions = writeSessions(&sessionsWhy);
    if (tests && sessions) {
        m_said = false;
        return true;
    }
    fault(tests ? sessionsWhy : testsWhy);
    return false;
}

bool ArchiveKeeper::writeWork(std::string* why) {
    for (;;) {
        Work work;
        {
            const std::lock_guard lock(m_mutex);
            if (m_work.empty()) return true;
            work = m_work.front();
            m_frontInFlight = true;
        }
        bool written = false;
        if (const auto* record = std::get_if<TestRecord>(&work)) {
            written = m_archive->storeTest(*record, why).has_value();
        } else {
            const Amend& a = std::get<Amend>(work);
            written = m_archive->amendTest(a.test, a.amendment, why);
        }
        const std::lock_guard lock(m_mutex);
        m_frontInFlight = false;
        if (!written) return false;
        m_work.pop_front();
    }
}

bool ArchiveKeeper::writeSessions(std::string* why) {
    for (;;) {
        Session s;
        {
            const std::lock_guard lock(m_mutex);
            if (m_sessions.empty()) return true;
            s = m_sessions.front();
        }
        if (!s.id) {
            s.id = m_archive->startSession(s.startedAt, why);
            if (!s.id) return false;
            const std::lock_guard lock(m_mutex);
            m_sessions.front().id = s.id;
        }
        if (!s.readings.empty()) {
            if (!m_archive->appendReadings(*s.id, s.readings, why)) return false;
            const std::lock_guard lock(m_mutex);
            auto& held = m_sessions.front().readings;
            held.erase(held.begin(), held.begin() + static_cast<std::ptrdiff_t>(s.readings.size()));
        }
        if (!s.endedAt) return true; // the running session, written so far
        if (!m_archive->endSession(*s.id, *s.endedAt, why)) return false;
        const std::lock_guard lock(m_mutex);
        m_sessions.pop_front();
    }
}

std::string ArchiveKeeper::unwritten() const {
    const std::lock_guard lock(m_mutex);
    std::string lines;
    for (const Work& work : m_work) {
        if (const auto* record = std::get_if<TestRecord>(&work))
            lines += "\n" + record->downloadedAt + "  " + std::to_string(record->frames.size()) + " 组";
        else
            lines += "\n" + std::get<Amend>(work).amendment.at + "  " + texts::kAmendmentLost;
    }
    for (const Session& s : m_sessions)
        if (!s.readings.empty())
            lines += "\n" + std::string(texts::kSessionLost) + s.startedAt + " 起的 " +
                     std::to_string(s.readings.size()) + " 个读数";
    return lines;
}

std::size_t ArchiveKeeper::waitingRecords() const {
    const std::lock_guard lock(m_mutex);
    return static_cast<std::size_t>(
        std::count_if(m_work.begin(), m_work.end(), [](const Work& w) { return std::holds_alternative<TestRecord>(w); }));
}

} // namespace hvr::archive
