#include "archive/archive.h"
#include "units/number_text.h"

#include <algorithm>
#include <cstdio>
#include <map>

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
        if (!j.error || row.reading.noSignal || row.reading.overRange || row.reading.lowBattery) continue;
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

// The numbers of rows read back. A column that holds anything but its number is damage, said
// with the table, the column and the row, and never shown as a number.
class Numbers {
  public:
    std::int64_t whole(const SqlValue& v, const char* column, std::int64_t row) {
        if (const auto n = platform::wholeNumber(v)) return *n;
        damage(column, row);
        return 0;
    }
    // NULL is none; anything else must be a number.
    std::optional<double> real(const SqlValue& v, const char* column, std::int64_t row) {
        if (std::holds_alternative<std::monostate>(v)) return std::nullopt;
        if (const auto x = platform::realNumber(v)) return x;
        damage(column, row);
        return std::nullopt;
    }
    // True when all was whole; else false, with what is wrong in `why`.
    bool sound(std::string* why) const {
        if (m_damage.empty()) return true;
        *why = m_damage;
        return false;
    }

  private:
    void damage(const char* column, std::int64_t row) {
        if (m_damage.empty())
            m_damage = "已损坏: " + std::string(column) + " 不是数字 (第 " + std::to_string(row) + " 行)";
    }
    std::string m_damage;
};

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
    Numbers numbers;
    const std::int64_t version = rows.empty() ? 0 : numbers.whole(rows[0][0], "schema_version.version", 1);
    if (!numbers.sound(why)) return std::nullopt;
    if (version < 0 || version > 1000000) {
        *why = "已损坏: schema_version.version 为 " + std::to_string(version);
        return std::nullopt;
    }
    h.version = static_cast<int>(version);
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
        *why = archive + " 来自较新版本的程序 (数据结构第 " + std::to_string(m_version) +
               " 版, 本程序只认识到第 " + std::to_string(kSchemaVersion) + " 版), 未作改动";
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
    // An archive holding what this program did not make (a trigger, a view, another table) may
    // act on what is written to it: it is read, never written.
    if (purpose == Purpose::Writing && m_version > 0) {
        const auto foreign = foreignObjects(&problem);
        if (!foreign) {
            *why = archive + " 无法读取: " + problem + ", 未作改动";
            return false;
        }
        if (!foreign->empty()) {
            std::string named;
            for (const std::string& object : *foreign)
                named += (named.empty() ? "" : ", ") + object;
            *why = archive + " 中有本程序没有建立的" + named + ", 不写入, 未作改动";
            return false;
        }
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
    if (!m_db.exec("UPDATE schema_version SET version = ?", {std::int64_t{kSchemaVersion}}, nullptr,
                   &problem) ||
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
        if (!m_db.exec("SELECT id FROM tests WHERE record_key = ?", {record.key}, &rows, why))
            return std::nullopt;
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
    if (!m_db.exec(test.key.empty() ? "SELECT id FROM tests WHERE id = ?"
                                    : "SELECT id FROM tests WHERE record_key = ?",
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
    return m_db.exec(
               "UPDATE tests SET station = ?, device = ?, phase = ?, tester = ?, remark = ?, rated = ?, "
               "accuracy = ?, verdict = ?, error_mean = ?, error_min = ?, error_max = ?, amended_at = ? "
               "WHERE id = ?",
               {p.station, p.device, p.phase, p.tester, p.remark, columns.rated, amendment.accuracy,
                columns.verdict, optionalReal(columns.errors.mean), optionalReal(columns.errors.min),
                optionalReal(columns.errors.max), amendment.at, record->id},
               nullptr, why) &&
           transaction.commit(why);
}

std::optional<std::vector<std::string>> Archive::foreignObjects(std::string* why) {
    std::vector<SqlRow> rows;
    if (!m_db.exec(foreignObjectsQuery(m_db.dialect()), {}, &rows, why)) return std::nullopt;
    static const std::map<std::string, std::string> kKinds{
        {"table", "数据表"}, {"view", "视图"}, {"trigger", "触发器"}, {"index", "索引"}};
    std::vector<std::string> found;
    for (const SqlRow& r : rows) {
        const auto kind = kKinds.find(platform::asText(r[0]));
        found.push_back((kind == kKinds.end() ? platform::asText(r[0]) : kind->second) + " " +
                        platform::asText(r[1]));
    }
    return found;
}

std::optional<std::vector<std::string>> Archive::faults(std::string* why) {
    std::vector<std::string> found;
    std::string problem;
    bool whole = true;
    for (const std::string& probe : schemaProbes())
        if (!m_db.exec(probe, {}, nullptr, &problem)) {
            found.push_back("缺少数据表或列 (" + problem + ")");
            whole = false;
        }
    const auto foreign = foreignObjects(why);
    if (!foreign) return std::nullopt;
    for (const std::string& object : *foreign)
        found.push_back("有本程序没有建立的" + object);
    if (!whole) return found; // the tests cannot be read through missing tables
    for (const std::string& query : damagedTestsQueries(m_db.dialect())) {
        std::vector<SqlRow> rows;
        if (!m_db.exec(query, {}, &rows, why)) return std::nullopt;
        for (const SqlRow& r : rows)
            found.push_back("测试记录 " + platform::asText(r[0]) + ": " + platform::asText(r[1]));
    }
    return found;
}

std::optional<std::string> Archive::check(std::string* why) {
    std::vector<std::string> found;
    if (m_db.dialect() == platform::Database::Dialect::Sqlite) {
        std::vector<SqlRow> rows;
        if (!m_db.exec("PRAGMA integrity_check", {}, &rows, why)) return std::nullopt;
        for (const SqlRow& r : rows)
            if (platform::asText(r[0]) != "ok") found.push_back(platform::asText(r[0]));
    }
    const auto more = faults(why);
    if (!more) return std::nullopt;
    found.insert(found.end(), more->begin(), more->end());
    if (found.empty()) return std::string("ok");
    std::string said;
    for (const std::string& fault : found)
        said += (said.empty() ? "" : "; ") + fault;
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
    Numbers n;
    for (const SqlRow& r : rows) {
        const std::int64_t id = platform::asInt(r[0]);
        tests.push_back({id, platform::asText(r[1]), platform::asText(r[2]), platform::asText(r[3]),
                         platform::asText(r[4]), platform::asText(r[5]), platform::asText(r[6]),
                         static_cast<int>(n.whole(r[7], "tests.group_count", id)), platform::asText(r[8]),
                         n.real(r[9], "tests.error_mean", id), n.real(r[10], "tests.error_min", id),
                         n.real(r[11], "tests.error_max", id)});
    }
    if (!n.sound(why)) return std::nullopt;
    return tests;
}

std::optional<TestRecord> Archive::loadTest(std::int64_t id, std::string* why) {
    std::vector<SqlRow> rows;
    if (!m_db.exec(
            "SELECT downloaded_at, station, device, phase, tester, remark, rated, accuracy, program_version, "
            "record_key, group_count FROM tests WHERE id = ?",
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
    if (!m_db.exec("SELECT slot, frame FROM test_groups WHERE test_id = ? ORDER BY slot", {id}, &frames, why))
        return std::nullopt;
    // A test is shown whole or not at all: never a group renumbered, a frame cut or a count
    // that its frames do not bear out.
    const std::string damaged = "测试记录 " + std::to_string(id) + " 已损坏: ";
    const auto count = platform::wholeNumber(r[10]);
    if (!count || *count != static_cast<std::int64_t>(frames.size())) {
        *why =
            damaged + "组数 " + platform::asText(r[10]) + ", 存有 " + std::to_string(frames.size()) + " 组";
        return std::nullopt;
    }
    record.frames.reserve(frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const auto slot = platform::wholeNumber(frames[i][0]);
        const auto* bytes = std::get_if<platform::Bytes>(&frames[i][1]);
        protocol::FrameBytes frame{};
        if (!slot || *slot != static_cast<std::int64_t>(i)) {
            *why = damaged + "缺少第 " + std::to_string(i + 1) + " 组";
            return std::nullopt;
        }
        if (bytes == nullptr || bytes->size() != frame.size()) {
            *why = damaged + "第 " + std::to_string(i + 1) + " 组的数据帧为 " +
                   std::to_string(bytes == nullptr ? 0 : bytes->size()) + " 字节";
            return std::nullopt;
        }
        std::copy_n(bytes->begin(), frame.size(), frame.begin());
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
        !m_db.exec("INSERT INTO sessions (started_at) VALUES (?) RETURNING id", {at}, &rows, why) ||
        rows.empty() || !transaction.commit(why))
        return std::nullopt;
    return platform::asInt(rows[0][0]);
}

bool Archive::appendReadings(std::int64_t session, const std::vector<SessionReading>& readings,
                             std::string* why) {
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
    Numbers n;
    for (const SqlRow& r : rows) {
        const std::int64_t seq = n.whole(r[0], "session_readings.seq", session);
        readings.push_back({seq,
                            platform::asText(r[1]),
                            {n.whole(r[2], "session_readings.primary_base", seq),
                             n.whole(r[3], "session_readings.secondary_base", seq),
                             n.whole(r[4], "session_readings.no_signal", seq) != 0,
                             n.whole(r[5], "session_readings.over_range", seq) != 0,
                             n.whole(r[6], "session_readings.low_battery", seq) != 0},
                            platform::asText(r[7])});
    }
    if (!n.sound(why)) return std::nullopt;
    return readings;
}

} // namespace hvr::archive
