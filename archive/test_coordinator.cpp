#include "archive/test_coordinator.h"

#include "analysis/group_analysis.h"
#include "cli/monitor_output.h"
#include "link/group_filing.h"
#include "main_window/form1.h"

namespace hvr::archive {

bool TestCoordinator::Typed::operator==(const Typed& o) const {
    const report::Particulars& a = particulars;
    const report::Particulars& b = o.particulars;
    return a.station == b.station && a.device == b.device && a.phase == b.phase && a.tester == b.tester &&
           a.remark == b.remark && rated == o.rated && accuracy == o.accuracy;
}

TestCoordinator::TestCoordinator(Services services) : m_services(std::move(services)) {}

TestCoordinator::Typed TestCoordinator::typed() const {
    const auto p = [this](const char* key) { return m_services.preferences.value(key); };
    return {{p("station"), p("device"), p("phase"), p("tester"), p("remark")},
            p("rated"),
            verdict::classText(verdict::parseClass(p("class")).value_or(verdict::AccuracyClass::None))};
}

void TestCoordinator::readEnded(const Form1& form) {
    m_downloadedAt = m_services.localTime();
    if (form.dl_outcome != Form1::ReadOutcome::Complete || form.dl_filed <= 0) return;
    const Typed now = typed();
    TestRecord record;
    record.downloadedAt = m_downloadedAt;
    record.key = newRecordKey(m_downloadedAt);
    record.particulars = now.particulars;
    record.rated = now.rated;
    record.accuracy = now.accuracy;
    record.programVersion = m_services.programVersion;
    // Every frame the read filed, whatever its range codes.
    record.frames = storedFrames(form, form.dl_filed);
    m_onScreen = TestRef{0, record.key};
    m_filed = now;
    m_services.keeper.downloadCompleted(std::move(record));
}

void TestCoordinator::followMainWindow(const Form1& form) {
    // The count the instrument last reported is no sign of what the store holds: every idle
    // link check sets it back to 0.
    if (form.readUnderWay() || !form.storeHolds()) m_onScreen.reset();

    // While a print runs, the window created anew for it monitors live readings that nobody
    // started: they are no session.
    const bool running = form.live_polling != 0 && !form.live_stale && !form.printing();
    if (form.live_shown_count != m_liveSeen) {
        m_liveSeen = form.live_shown_count;
        if (running) {
            m_services.keeper.liveReading({0, m_services.localTime(), analysis::liveReading(form.last_shown),
                                           cli::csvRow(form, m_services.isoTime())});
            m_sessionOpen = true;
        }
    }
    if (!running && m_sessionOpen) {
        m_services.keeper.liveStopped(m_services.localTime());
        m_sessionOpen = false;
    }
}

void TestCoordinator::testOpened(const TestRecord& record) {
    const report::Particulars& p = record.particulars;
    for (const auto& [key, value] :
         {std::pair{"station", p.station}, std::pair{"device", p.device}, std::pair{"phase", p.phase},
          std::pair{"tester", p.tester}, std::pair{"remark", p.remark}, std::pair{"rated", record.rated},
          std::pair{"class", record.accuracy}})
        m_services.preferences.setValue(key, value);
    m_downloadedAt = record.downloadedAt;
    m_onScreen = TestRef{record.id, record.key};
    m_filed = typed();
}

void TestCoordinator::particularsChanged() {
    if (!m_onScreen) return;
    const Typed now = typed();
    if (now == m_filed) return;
    m_filed = now;
    m_services.keeper.amend(*m_onScreen, {now.particulars, now.rated, now.accuracy, m_services.localTime()});
}

} // namespace hvr::archive
