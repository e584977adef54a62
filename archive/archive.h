#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/group_analysis.h"
#include "link/protocol.h"
#include "platform/database.h"
#include "report/report_layout.h"

// The test archive: every completed download as one record, and every live monitoring run as a
// session of readings, in SQLite or PostgreSQL behind platform::Database.
namespace hvr::archive {

// One downloaded test: when, what was tested and against what, and the groups' frames exactly
// as the instrument sent them, in store order.
struct TestRecord {
    std::int64_t id = 0;
    // Unique to this record, given when it is made: a record sent again after a commit whose
    // answer was lost is found, not stored twice. Empty in records of older programs.
    std::string key;
    std::string downloadedAt; // "2026-12-09 16:36:09", local time
    report::Particulars particulars;
    std::string rated;    // the nameplate as given ("600/5"); empty: guessed from the groups
    std::string accuracy; // "0.5", …, "不判定"
    std::string programVersion;
    std::vector<protocol::FrameBytes> frames;
};

// What the user changed of a test after its read: its particulars, nameplate and class, and
// when.
struct Amendment {
    report::Particulars particulars;
    std::string rated;
    std::string accuracy;
    std::string at;
};
// A stored test by its key, else (records of older programs) by its id.
struct TestRef {
    std::int64_t id = 0;
    std::string key;
};

// A test as the list shows it.
struct TestSummary {
    std::int64_t id = 0;
    std::string downloadedAt;
    std::string station, device, phase;
    std::string rated; // as judged: "600/5", or "推测额定变比 600/5"
    std::string accuracy;
    int groups = 0;
    std::string verdict;                                 // 合格, 不合格, 未判定
    std::optional<double> errorMean, errorMin, errorMax; // ε in %, over the groups not flagged
};

// Which tests to list: text anywhere in the particulars, a device exactly, and dates
// ("2026-12-09", inclusive); empty: any.
struct TestFilter {
    std::string text;
    std::string device;
    std::string from, to;
};

struct SessionSummary {
    std::int64_t id = 0;
    std::string startedAt, endedAt; // endedAt empty while running, or after a crash
    int readings = 0;
};
struct SessionReading {
    std::int64_t seq = 0; // its place in the session, from 0
    std::string at;
    verdict::Reading reading;
    std::string csvRow; // the reading as the monitor's CSV row, as it was shown
};

// The stored groups of a record put into a store, decoded as a download decodes them.
void fileTest(const TestRecord& record, RecordStore& store);
// The record's groups judged against its nameplate (given, else guessed) and class; the store
// they were filed into, when given.
analysis::GroupAnalysis analyseTest(const TestRecord& record, RecordStore* store = nullptr);
// The record's groups as download's group CSV, with the verdict columns.
std::string testCsv(const TestRecord& record);
// A live session's readings as the monitor's CSV.
std::string sessionCsv(const std::vector<SessionReading>& readings);
// Whether the text is a date of the calendar as the filters take it ("2026-02-28").
bool isCalendarDate(const std::string& text);
// A test's ratio error as the list shows it ("-0.140%"); empty without one.
std::string errorPercentText(const std::optional<double>& percent);

class Archive {
  public:
    explicit Archive(platform::Database& database) : m_db(database) {}

    // What the archive is opened for: reading never makes tables in a database that has none.
    enum class Purpose { Writing, Reading };
    // Reads what the database holds, without writing; refuses a database of a newer version or
    // another program's, unchanged; then brings it to the newest schema under a lock that
    // every other program opening it waits for. False with the reason.
    bool open(std::string* why, Purpose purpose = Purpose::Writing);
    int version() const { return m_version; }
    std::string name() const { return m_db.name(); }

    // The whole record in one transaction: all of it, or none of it. Its id; the id it already
    // has when a record of the same key is there.
    std::optional<std::int64_t> storeTest(const TestRecord& record, std::string* why);
    // The particulars, nameplate and class of a stored test changed, its verdict judged again.
    bool amendTest(const TestRef& test, const Amendment& amendment, std::string* why);
    std::optional<std::vector<TestSummary>> listTests(const TestFilter& filter, std::string* why);
    std::optional<TestRecord> loadTest(std::int64_t id, std::string* why);
    bool deleteTest(std::int64_t id, std::string* why);
    // The whole archive read and checked: SQLite's own integrity, the tables and columns of its
    // version, objects this program did not make, and every test's groups (their count, slots
    // without gaps, frames of 8 bytes, numbers that are numbers). "ok", or each fault named.
    std::optional<std::string> check(std::string* why);

    // Live sessions. Readings are appended in one transaction; a reading already there (a
    // commit whose answer was lost) is not written again.
    std::optional<std::int64_t> startSession(const std::string& at, std::string* why);
    bool appendReadings(std::int64_t session, const std::vector<SessionReading>& readings, std::string* why);
    bool endSession(std::int64_t session, const std::string& at, std::string* why);
    std::optional<std::vector<SessionSummary>> listSessions(std::string* why);
    std::optional<std::vector<SessionReading>> sessionReadings(std::int64_t session, std::string* why);

  private:
    // Every fault of check() but SQLite's own, one a line.
    std::optional<std::vector<std::string>> faults(std::string* why);
    // The tables, views, triggers and indexes this program did not make: "触发器 t1", ...
    std::optional<std::vector<std::string>> foreignObjects(std::string* why);

    platform::Database& m_db;
    int m_version = 0;
};

} // namespace hvr::archive
