#include "archive/archive.h"
#include "units/number_text.h"

#include <algorithm>
#include <cstdio>

#include "archive/schema.h"
#include "cli/monitor_output.h"
#include "link/group_filing.h"
#include "records/group_csv.h"

namespace hvr::archive {

namespace {

using platform::SqlRow;
using platform::SqlValue;

SqlValue optionalReal(const std::optional<double>& v) {
    return v ? SqlValue(*v) : SqlValue(std::monostate{});
}

// The ratio error of a test at a glance, whatever its class: mean, least and greatest over
// the groups whose reading the instrument did not flag.
struct ErrorStatistics {
    std::optional<double> mean, min, max;
};
ErrorStatistics errorStatistics(const analysis::GroupAnalysis& a) {
    ErrorStatistics s;
    double sum = 0;
    int n = 0;
    for (const analysis::GroupRow& row : a.rows) {
        const verdict::Judgement& j = row.judgement;
        if (!j.error || row.reading.noSignal || row.reading.overRange || row.reading.lowBattery)
            continue;
        const double e = static_cast<double>(verdict::approximately(*j.error));
        sum += e;
        ++n;
        s.min = s.min ? std::min(*s.min, e) : e;
        s.max = s.max ? std::max(*s.max, e) : e;
    }
    if (n > 0) s.mean = sum / n;
    return s;
}

// What the tests table keeps of a record's judgement: the nameplate as judged, the overall
// verdict and the error at a glance.
struct JudgedColumns {
    std::string rated, verdict;
    ErrorStatistics errors;
};
JudgedColumns judgedColumns(const analysis::GroupAnalysis& judged) {
    return {judged.basis.nameplate ? verdict::nameplateText(*judged.basis.nameplate) : "",
            verdict::overallText(judged.summary.overall), errorStatistics(judged)};
}

// What the database holds, read without writing: how many tables, and the archive's version
// (0: none yet).
struct Holding {
    std::int64_t tables = 0;
    int version = 0;
};
std::optional<Holding> holding(platform::Database& db, std::string* why) {
    std::vector<SqlRow> rows;
    if (!db.exec(tablesQuery(db.dialect()), {}, &rows, why) || rows.empty()) return std::nullopt;
    Holding h{platform::asInt(rows[0][0]), 0};
    if (platform::asInt(rows[0][1]) == 0) return h;
    rows.clear();
    if (!db.exec("SELECT version FROM schema_version", {}, &rows, why)) return std::nullopt;
    h.version = rows.empty() ? 0 : static_cast<int>(platform::asInt(rows[0][0]));
    return h;
}

// A text as a LIKE pattern that matches it anywhere, its own % and _ taken literally.
std::string containing(const std::string& text) {
    std::string pattern = "%";
    for (char c : text) {
        if (c == '%' || c == '_' || c == '\\') pattern += '\\';
        pattern += c;
    }
    return pattern + "%";
}

// The rollback of a transaction that did not commit, whatever way the function is left.
class Transaction {
  public:
    explicit Transaction(platform::Database& db) : m_db(db) {}
    ~Transaction() {
        if (m_open) m_db.rollback();
    }
    bool begin(std::string* why) { return m_open = m_db.begin(why); }
    bool beginExclusive(std::string* why) { return m_open = m_db.beginExclusive(why); }
    bool commit(std::string* why) {
        if (!m_db.commit(why)) return false;
        m_open = false;
        return true;
    }

  private:
    platform::Database& m_db;
    bool m_open = false;
};

} // namespace

void fileTest(const TestRecord& record, RecordStore& store) {
    fileGroupFrames(store, record.frames);
}

analysis::GroupAnalysis analyseTest(const TestRecord& record, RecordStore* store) {
    std::unique_ptr<RecordStore> own;
    if (store == nullptr) store = (own = std::make_unique<RecordStore>()).get();
    fileTest(record, *store);
    const int groups = static_cast<int>(std::min<std::size_t>(record.frames.size(), kStoreSlots));
    return analysis::analyseGroups(
        *store, groups, verdict::parseNameplate(record.rated),
        verdict::parseClass(record.accuracy).value_or(verdict::AccuracyClass::None));
}

std::string testCsv(const TestRecord& record) {
    auto store = std::make_unique<RecordStore>();
    const analysis::GroupAnalysis judged = analyseTest(record, store.get());
    return analysis::judgedGroupsCsv(*store, static_cast<int>(record.frames.size()), judged.basis);
}

std::string sessionCsv(const std::vector<SessionReading>& readings) {
    std::string csv = cli::csvHeader() + "\r\n";
    for (const SessionReading& r : readings)
        csv += r.csvRow + "\r\n";
    return csv;
}

bool isCalendarDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return false;
    const int year = std::stoi(text.substr(0, 4)), month = std::stoi(text.substr(5, 2)),
              day = std::stoi(text.substr(8, 2));
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month >= 1 && month <= 12 && day >= 1 && day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string errorPercentText(const std::optional<double>& percent) {
    if (!percent) return {};
    return verdict::signedPercentText(static_cast<long double>(*percent));
}

bool Archive::open(std::string* why, Purpose purpose) {
    const std::string archive = "测试记录 " + m_db.name();
    std::string problem;
    const auto held = holding(m_db, &problem);
    if (!held) {
        *why = archive + " 无法读取: " + problem + ", 未作改动";
        return false;
    }
    m_version = held->version;
    if (m_version > kSchemaVersion) {
        *why = archive + " 来自较新版本的程序 (数据结构第 " + std::to_string(m_version) + " 版, 本程序只认识到第 " +
               std::to_string(kSchemaVersion) + " 版), 未作改动";
        return false;
    }
    if (m_version == 0 && held->tables > 0) {
        *why = archive + " 不是本程序的测试记录 (其中有别的程序的数据表), 未作改动";
        return false;
    }
    if (m_version == 0 && purpose == Purpose::Reading) {
        *why = archive + " 中还没有任何记录";
        return false;
    }
    // Best effort, and nothing once done: while another program holds the file the switch to
    // WAL waits for a later open, and a rollback journal keeps every commit as safely meanwhile.
    if (purpose == Purpose::Writing || m_version < kSchemaVersion) m_db.prepareForWriting(&problem);
    if (m_version == kSchemaVersion) return true;

    // Made or brought up by one program at a time: the others wait for the lock, then find it
    // done.
    const auto failed = [&](const std::string& what) {
        *why = archive + " 无法升级到第 " + std::to_string(kSchemaVersion) + " 版: " + what;
        return false;
    };
    Transaction transaction(m_db);
    if (!transaction.beginExclusive(&problem)) return failed(problem);
    const auto now = holding(m_db, &problem);
    if (!now) return failed(problem);
    for (int next = now->version + 1; next <= kSchemaVersion; ++next)
        for (const std::string& sql : migration(next, m_db.dialect()))
            if (!m_db.exec(sql, {}, nullptr, &problem)) return failed(problem);
    if (!m_db.exec("UPDATE schema_version SET version = ?", {std::int64_t{kSchemaVersion}}, nullptr, &problem) ||
        !transaction.commit(&problem))
        return failed(problem);
    m_version = kSchemaVersion;
    return true;
}

std::optional<std::int64_t> Archive::storeTest(const TestRecord& record, std::string* why) {
    // The decoded columns and the verdict, from the frames as the window decodes them.
    auto store = std::make_unique<RecordStore>();
    const analysis::GroupAnalysis judged = analyseTest(record, store.get());
    const int groups = static_cast<int>(std::min<std::size_t>(record.frames.size(), kStoreSlots));
    const JudgedColumns columns = judgedColumns(judged);
    const report::Particulars& p = record.particulars;

    Transaction transaction(m_db);
    if (!transaction.begin(why)) return std::nullopt;
    std::vector<SqlRow> rows;
    if (!record.key.empty()) {
        if (!m_db.exec("SELECT id FROM tests WHERE record_key = ?", {record.key}, &rows, why)) return std::nullopt;
        if (!rows.empty()) return platform::asInt(rows[0][0]); // stored by a commit whose answer was lost
    }
    if (!m_db.exec(
            "INSERT INTO tests (downloaded_at, station, device, phase, tester, remark, rated, accuracy, "
            "group_count, verdict, program_version, error_mean, error_min, error_max, record_key) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id",
            {record.downloadedAt, p.station, p.device, p.phase, p.tester, p.remark, columns.rated,
             record.accuracy, std::int64_t{groups}, columns.verdict, record.programVersion,
             optionalReal(columns.errors.mean), optionalReal(columns.errors.min),
             optionalReal(columns.errors.max),
             record.key.empty() ? SqlValue(std::monostate{}) : SqlValue(record.key)},
            &rows, why) ||
        rows.empty())
        return std::nullopt;
    const std::int64_t id = platform::asInt(rows[0][0]);
    std::vector<std::vector<SqlValue>> groupRows;
    groupRows.reserve(static_cast<std::size_t>(groups));
    for (int slot = 0; slot < groups; ++slot) {
        const GroupTexts t = groupTexts(*store, slot);
        const verdict::Reading r = groupReading(*store, slot);
        const auto& frame = record.frames[static_cast<std::size_t>(slot)];
        groupRows.push_back({id, std::int64_t{slot}, platform::Bytes(frame.begin(), frame.end()),
                             std::int64_t{slot + 1}, t.primary, t.secondary, t.ratio,
                             std::int64_t{store->rec_pri_freq[static_cast<std::size_t>(slot)]},
                             std::int64_t{r.noSignal}, std::int64_t{r.overRange},
                             std::int64_t{r.lowBattery}});
    }
    if (!m_db.execMany(
            "INSERT INTO test_groups (test_id, slot, frame, group_no, primary_a, secondary_a, ratio, "
            "pri_freq, no_signal, over_range, low_battery) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            groupRows, why) ||
        !transaction.commit(why))
        return std::nullopt;
    return id;
}

bool Archive::amendTest(const TestRef& test, const Amendment& amendment, std::string* why) {
    Transaction transaction(m_db);
    if (!transaction.begin(why)) return false;
    std::vector<SqlRow> rows;
    if (!m_db.exec(test.key.empty() ? "SELECT id FROM tests WHERE id = ?" : "SELECT id FROM tests WHERE record_key = ?",
                   {test.key.empty() ? SqlValue(test.id) : SqlValue(test.key)}, &rows, why))
        return false;
    if (rows.empty()) { // deleted meanwhile: nothing left to amend
        return transaction.commit(why);
    }
    auto record = loadTest(platform::asInt(rows[0][0]), why);
    if (!record) return false;
    record->particulars = amendment.particulars;
    record->rated = amendment.rated;
    record->accuracy = amendment.accuracy;
    const JudgedColumns columns = judgedColumns(analyseTest(*record));
    const report::Particulars& p = amendment.particulars;
    return m_db.exec("UPDATE tests SET station = ?, device = ?, phase = ?, tester = ?, remark = ?, rated = ?, "
                     "accuracy = ?, verdict = ?, error_mean = ?, error_min = ?, error_max = ?, amended_at = ? "
                     "WHERE id = ?",
                     {p.station, p.device, p.phase, p.tester, p.remark, columns.rated, amendment.accuracy,
                      columns.verdict, optionalReal(columns.errors.mean), optionalReal(columns.errors.min),
                      optionalReal(columns.errors.max), amendment.at, record->id},
                     nullptr, why) &&
           transaction.commit(why);
}

std::optional<std::string> Archive::check(std::string* why) {
    if (m_db.dialect() != platform::Database::Dialect::Sqlite) return std::string("ok"); // the server's own
    std::vector<SqlRow> rows;
    if (!m_db.exec("PRAGMA integrity_check", {}, &rows, why)) return std::nullopt;
    std::string said;
    for (const SqlRow& r : rows)
        said += (said.empty() ? "" : "; ") + platform::asText(r[0]);
    return said;
}

std::optional<std::vector<TestSummary>> Archive::listTests(const TestFilter& filter, std::string* why) {
    std::string sql =
        "SELECT id, downloaded_at, station, device, phase, rated, accuracy, group_count, verdict, "
        "error_mean, error_min, error_max FROM tests WHERE 1 = 1";
    std::vector<SqlValue> params;
    if (!filter.text.empty()) {
        sql +=
            " AND (station LIKE ? ESCAPE '\\' OR device LIKE ? ESCAPE '\\' OR tester LIKE ? ESCAPE '\\' OR "
            "remark LIKE ? ESCAPE '\\')";
        for (int i = 0; i < 4; ++i)
            params.emplace_back(containing(filter.text));
    }
    if (!filter.device.empty()) {
        sql += " AND device = ?";
        params.emplace_back(filter.device);
    }
    if (!filter.from.empty()) {
        sql += " AND substr(downloaded_at, 1, 10) >= ?";
        params.emplace_back(filter.from);
    }
    if (!filter.to.empty()) {
        sql += " AND substr(downloaded_at, 1, 10) <= ?";
        params.emplace_back(filter.to);
    }
    sql += " ORDER BY downloaded_at DESC, id DESC";
    std::vector<SqlRow> rows;
    if (!m_db.exec(sql, params, &rows, why)) return std::nullopt;
    std::vector<TestSummary> tests;
    tests.reserve(rows.size());
    for (const SqlRow& r : rows)
        tests.push_back({platform::asInt(r[0]), platform::asText(r[1]), platform::asText(r[2]),
                         platform::asText(r[3]), platform::asText(r[4]), platform::asText(r[5]),
                         platform::asText(r[6]), static_cast<int>(platform::asInt(r[7])),
                         platform::asText(r[8]), platform::asReal(r[9]), platform::asReal(r[10]),
                         platform::asReal(r[11])});
    return tests;
}

std::optional<TestRecord> Archive::loadTest(std::int64_t id, std::string* why) {
    std::vector<SqlRow> rows;
    if (!m_db.exec(
            "SELECT downloaded_at, station, device, phase, tester, remark, rated, accuracy, program_version, "
            "record_key FROM tests WHERE id = ?",
            {id}, &rows, why))
        return std::nullopt;
    if (rows.empty()) {
        *why = "没有编号为 " + std::to_string(id) + " 的测试记录";
        return std::nullopt;
    }
    const SqlRow& r = rows[0];
    TestRecord record;
    record.id = id;
    record.downloadedAt = platform::asText(r[0]);
    record.particulars = {platform::asText(r[1]), platform::asText(r[2]), platform::asText(r[3]),
                          platform::asText(r[4]), platform::asText(r[5])};
    // A guessed nameplate is guessed again, from the same groups, to the same result.
    record.rated = verdict::parseNameplate(platform::asText(r[6])) ? platform::asText(r[6]) : "";
    record.accuracy = platform::asText(r[7]);
    record.programVersion = platform::asText(r[8]);
    record.key = platform::asText(r[9]);
    std::vector<SqlRow> frames;
    if (!m_db.exec("SELECT frame FROM test_groups WHERE test_id = ? ORDER BY slot", {id}, &frames, why))
        return std::nullopt;
    record.frames.reserve(frames.size());
    for (const SqlRow& f : frames) {
        const auto* bytes = std::get_if<platform::Bytes>(&f[0]);
        protocol::FrameBytes frame{};
        if (bytes != nullptr)
            std::copy_n(bytes->begin(), std::min(bytes->size(), frame.size()), frame.begin());
        record.frames.push_back(frame);
    }
    return record;
}

bool Archive::deleteTest(std::int64_t id, std::string* why) {
    Transaction transaction(m_db);
    return transaction.begin(why) &&
           m_db.exec("DELETE FROM test_groups WHERE test_id = ?", {id}, nullptr, why) &&
           m_db.exec("DELETE FROM tests WHERE id = ?", {id}, nullptr, why) && transaction.commit(why);
}

std::optional<std::int64_t> Archive::startSession(const std::string& at, std::string* why) {
    Transaction transaction(m_db);
    std::vector<SqlRow> rows;
    if (!transaction.begin(why) ||
        !m_db.exec("INSERT INTO sessions (started_at) VALUES (?) RETURNING id", {at}, &rows, why) || rows.empty() ||
        !transaction.commit(why))
        return std::nullopt;
    return platform::asInt(rows[0][0]);
}

bool Archive::appendReadings(std::int64_t session, const std::vector<SessionReading>& readings, std::string* why) {
    if (readings.empty()) return true;
    std::vector<std::vector<SqlValue>> rows;
    rows.reserve(readings.size());
    for (const SessionReading& reading : readings) {
        const verdict::Reading& r = reading.reading;
        rows.push_back({session, reading.seq, reading.at, r.primary, r.secondary, std::int64_t{r.noSignal},
                        std::int64_t{r.overRange}, std::int64_t{r.lowBattery}, reading.csvRow});
    }
    Transaction transaction(m_db);
    return transaction.begin(why) &&
           m_db.execMany("INSERT INTO session_readings (session_id, seq, at, primary_base, secondary_base, "
                         "no_signal, over_range, low_battery, csv_row) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) "
                         "ON CONFLICT DO NOTHING",
                         rows, why) &&
           transaction.commit(why);
}

bool Archive::endSession(std::int64_t session, const std::string& at, std::string* why) {
    Transaction transaction(m_db);
    return transaction.begin(why) &&
           m_db.exec("UPDATE sessions SET ended_at = ? WHERE id = ?", {at, session}, nullptr, why) &&
           transaction.commit(why);
}

std::optional<std::vector<SessionSummary>> Archive::listSessions(std::string* why) {
    std::vector<SqlRow> rows;
    if (!m_db.exec("SELECT s.id, s.started_at, s.ended_at, (SELECT COUNT(*) FROM session_readings r WHERE "
                   "r.session_id = s.id) FROM sessions s ORDER BY s.started_at DESC, s.id DESC",
                   {}, &rows, why))
        return std::nullopt;
    std::vector<SessionSummary> sessions;
    for (const SqlRow& r : rows)
        sessions.push_back({platform::asInt(r[0]), platform::asText(r[1]), platform::asText(r[2]),
                            static_cast<int>(platform::asInt(r[3]))});
    return sessions;
}

std::optional<std::vector<SessionReading>> Archive::sessionReadings(std::int64_t session, std::string* why) {
    std::vector<SqlRow> rows;
    if (!m_db.exec(
            "SELECT seq, at, primary_base, secondary_base, no_signal, over_range, low_battery, csv_row FROM "
            "session_readings WHERE session_id = ? ORDER BY seq",
            {session}, &rows, why))
        return std::nullopt;
    std::vector<SessionReading> readings;
    readings.reserve(rows.size());
    for (const SqlRow& r : rows)
        readings.push_back({platform::asInt(r[0]), platform::asText(r[1]),
                            {platform::asInt(r[2]), platform::asInt(r[3]), platform::asInt(r[4]) != 0,
                             platform::asInt(r[5]) != 0, platform::asInt(r[6]) != 0},
                            platform::asText(r[7])});
    return readings;
}

} // namespace hvr::archive
