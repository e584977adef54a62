#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "archive/archive.h"
#include "platform/dialogs.h"

namespace hvr::archive {

// What the window does with the archive, beside its own work: every completed download stored
// at once, every live monitoring run kept as a session, a fault said once. A record that
// cannot be written waits and is written when the archive answers again; what still waits when
// the program ends is named as lost. Without an archive (none could be opened) the window
// works as before.
class ArchiveKeeper {
  public:
    // The archive, or none with the reason it could not be opened (said once, at the first
    // download).
    ArchiveKeeper(platform::Dialogs& dialogs, std::unique_ptr<Archive> archive, std::string openError);

    Archive* archive() { return m_archive.get(); }
    // Why there is no archive; empty when there is one.
    const std::string& openError() const { return m_openError; }

    // A download completed: its record, stored now or as soon as the archive answers.
    void downloadCompleted(TestRecord record);
    // A live reading was shown while monitoring runs: it joins this run's session.
    void liveReading(const SessionReading& reading);
    // Monitoring stopped (pause, history review, a lost link): the run's session ends.
    void liveStopped(const std::string& at);
    // Every few seconds: held readings are committed, waiting records tried again.
    void tick();
    // The program ends: the session closed, and what could not be written said.
    void finish(const std::string& at);

    std::size_t waitingRecords() const { return m_waiting.size(); }
    std::optional<std::int64_t> session() const { return m_session; }
    // The id of the last record stored.
    std::optional<std::int64_t> lastStored() const { return m_lastStored; }

  private:
    void fault(const std::string& why);
    void retry();

    platform::Dialogs& m_dialogs;
    std::unique_ptr<Archive> m_archive;
    std::string m_openError;
    std::deque<TestRecord> m_waiting;
    std::optional<std::int64_t> m_session;
    std::optional<std::int64_t> m_lastStored;
    bool m_said = false; // the fault has been said; said again only after a success
};

} // namespace hvr::archive
