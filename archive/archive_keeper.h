#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "archive/archive.h"

namespace hvr::archive {

// What the window hands the archive, beside its own work: every completed download, the
// amendments of the test on screen, every live monitoring run as a session. The window's
// thread only hands over, never waiting on the database; write() does the writing, in order,
// on the thread that owns the archive's connection. A record that cannot be written waits and
// is written when the archive answers again; a fault is said once; what still waits when the
// program ends is named. Without an archive (none could be opened) nothing is kept but the
// records, which wait for one.
class ArchiveKeeper {
  public:
    using Say = std::function<void(const std::string&)>;
    // `say` tells the user, from the writing thread.
    explicit ArchiveKeeper(Say say);
    ArchiveKeeper(Say say, std::unique_ptr<Archive> archive, std::string openError);
    ~ArchiveKeeper();

    // The writing thread's archive, or why there is none; an archive attached later takes what
    // waits.
    void attach(std::unique_ptr<Archive> archive, std::string openError);
    Archive* archive() { return m_archive.get(); }
    // The archive given back, for the writing thread to close; what waits stays.
    std::unique_ptr<Archive> detach() { return std::move(m_archive); }
    // Why there is no archive; empty when there is one, or while it is being opened.
    std::string openError() const;

    // From the window's thread.
    // A download completed: its record (a key is given when it has none).
    void downloadCompleted(TestRecord record);
    // The particulars, nameplate or class of a test changed after its read.
    void amend(const TestRef& test, const Amendment& amendment);
    // A live reading shown while monitoring runs: it joins this run's session.
    void liveReading(SessionReading reading);
    // Monitoring stopped (pause, history review, a lost link): the run's session ends.
    void liveStopped(const std::string& at);

    // From the writing thread: writes what waits, tests first, in the order handed over.
    // False when something could not be written.
    bool write();

    // What has not been written, a line each, for the user; empty when nothing waits.
    std::string unwritten() const;
    std::size_t waitingRecords() const;

  private:
    struct Amend {
        TestRef test;
        Amendment amendment;
    };
    using Work = std::variant<TestRecord, Amend>;
    struct Session {
        std::string startedAt;
        std::optional<std::int64_t> id;
        std::vector<SessionReading> readings; // not yet written
        std::int64_t nextSeq = 0;
        std::optional<std::string> endedAt;
    };
    bool writeWork(std::string* why);
    bool writeSessions(std::string* why);
    void fault(const std::string& why);

    Say m_say;
    std::unique_ptr<Archive> m_archive; // the writing thread's
    mutable std::mutex m_mutex;         // guards what follows
    std::string m_openError;
    std::deque<Work> m_work;
    bool m_frontInFlight = false; // the first work is being written: amendments queue behind it
    std::deque<Session> m_sessions;
    bool m_said = false; // the fault has been said; said again only after a success
};

// A key no other record has: when it was read, and 64 random bits.
std::string newRecordKey(const std::string& at);

} // namespace hvr::archive
