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
    std::string downloadedAt; // "2026-12-09 16:36:09", local time
    report::Particulars particulars;
    std::string rated;    // the nameplate as given ("600/5"); empty: guessed from the groups
    std::string accuracy; // "0.5", …, "不判定"
    std::string programVersion;
    std::vector<protocol::FrameBytes> frames;
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
// A test's ratio error as the list shows it ("-0.14%"); empty without one.
std::string errorPercentText(const std::optional<double>& percent);

class Archive {
  public:
    explicit Archive(platform::Database& database) : m_db(database) {}

    // Brings the database to the newest schema, one step at a time; refuses a database of a
    // newer version, unchanged. False with the reason.
    bool open(std::string* why);
    int version() const { return m_version; }
    std::string name() const { return m_db.name(); }

    // The whole record in one transaction: all of it, or none of it. Its id.
    std::optional<std::int64_t> storeTest(const TestRecord& record, std::string* why);
    std::optional<std::vector<TestSummary>> listTests(const TestFilter& filter, std::string* why);
    std::optional<TestRecord> loadTest(std::int64_t id, std::string* why);
    bool deleteTest(std::int64_t id, std::string* why);

    // Live sessions: readings are held and written together by flush(), each flush one
    // transaction.
    std::optional<std::int64_t> startSession(const std::string& at, std::string* why);
    void addReading(std::int64_t session, const SessionReading& reading);
    bool flush(std::string* why);
    bool endSession(std::int64_t session, const std::string& at, std::string* why);
    std::size_t heldReadings() const { return m_held.size(); }
    std::optional<std::vector<SessionSummary>> listSessions(std::string* why);
    std::optional<std::vector<SessionReading>> sessionReadings(std::int64_t session, std::string* why);

  private:
    platform::Database& m_db;
    int m_version = 0;
    std::vector<std::vector<platform::SqlValue>> m_held;
    std::int64_t m_nextSeq = 0;
    std::int64_t m_seqSession = 0;
};

} // namespace hvr::archive
