#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "archive/archive_keeper.h"
#include "platform/preferences.h"

namespace hvr {
class Form1;
}

namespace hvr::archive {

// What the window's archive follows of the main window and the ratio error window: a read
// that ended complete becomes a record of the frames it filed and what the ratio error window
// holds; that test, or an archived one opened, is the test on screen, and what is typed for it
// afterwards amends its record; live readings make the run's session. The ratio error window's
// nameplate, class and particulars are its preferences.
class TestCoordinator {
  public:
    struct Services {
        ArchiveKeeper& keeper;
        platform::Preferences& preferences;
        std::function<std::string()> localTime; // "2026-12-09 16:36:09"
        std::function<std::string()> isoTime;   // the monitor CSV's time
        std::string programVersion;
    };
    explicit TestCoordinator(Services services);

    // The main window's read has ended (told where it ends).
    void readEnded(const Form1& form);
    // After every event of the main window: live readings while monitoring runs, the session
    // ended when it stops; a read begun or the store cleared leaves no test on screen.
    void followMainWindow(const Form1& form);
    // An archived test opened into the main window: its nameplate, class and particulars become
    // the ratio error window's.
    void testOpened(const TestRecord& record);
    // After every event of the ratio error window: what it holds, once changed, amends the test
    // on screen.
    void particularsChanged();

    // When the test on screen was read; empty before the first.
    const std::string& downloadedAt() const { return m_downloadedAt; }
    const std::optional<TestRef>& onScreen() const { return m_onScreen; }

  private:
    struct Typed {
        report::Particulars particulars;
        std::string rated, accuracy;
        bool operator==(const Typed& other) const;
    };
    Typed typed() const;

    Services m_services;
    std::optional<TestRef> m_onScreen;
    Typed m_filed; // what the record of the test on screen holds
    std::string m_downloadedAt;
    std::uint64_t m_liveSeen = 0;
    bool m_sessionOpen = false;
};

} // namespace hvr::archive
