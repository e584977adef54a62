#include "archive/schema.h"

#include <array>

namespace hvr::archive {

namespace {

// The few words SQLite and PostgreSQL spell differently.
std::string dialected(std::string sql, platform::Database::Dialect dialect) {
    const bool pg = dialect == platform::Database::Dialect::Postgres;
    struct Word {
        std::string_view word, sqlite, postgres;
    };
    for (const Word& w : std::array<Word, 2>{
             {{"{ID}", "INTEGER PRIMARY KEY", "BIGSERIAL PRIMARY KEY"}, {"{BYTES}", "BLOB", "BYTEA"}}})
        for (std::size_t at = sql.find(w.word); at != std::string::npos; at = sql.find(w.word))
            sql.replace(at, w.word.size(), pg ? w.postgres : w.sqlite);
    return sql;
}

} // namespace

std::vector<std::string> migration(int version, platform::Database::Dialect dialect) {
    std::vector<std::string> steps;
    switch (version) {
    case 1: // the downloaded tests: the frames as received, their decoded columns, the particulars
        steps = {
            "CREATE TABLE schema_version (version INTEGER NOT NULL)",
            "INSERT INTO schema_version (version) VALUES (0)",
            "CREATE TABLE tests (id {ID}, downloaded_at TEXT NOT NULL, station TEXT NOT NULL, device TEXT "
            "NOT NULL, "
            "phase TEXT NOT NULL, tester TEXT NOT NULL, remark TEXT NOT NULL, rated TEXT NOT NULL, "
            "accuracy TEXT NOT NULL, group_count INTEGER NOT NULL, verdict TEXT NOT NULL, "
            "program_version TEXT NOT NULL)",
            "CREATE TABLE test_groups (test_id BIGINT NOT NULL REFERENCES tests(id) ON DELETE CASCADE, "
            "slot INTEGER NOT NULL, frame {BYTES} NOT NULL, group_no INTEGER NOT NULL, primary_a TEXT NOT "
            "NULL, "
            "secondary_a TEXT NOT NULL, ratio TEXT NOT NULL, pri_freq INTEGER NOT NULL, no_signal INTEGER "
            "NOT NULL, "
            "over_range INTEGER NOT NULL, low_battery INTEGER NOT NULL, PRIMARY KEY (test_id, slot))",
            "CREATE INDEX tests_device ON tests (device)",
            "CREATE INDEX tests_time ON tests (downloaded_at)",
        };
        break;
    case 2: // live monitoring runs and their readings
        steps = {
            "CREATE TABLE sessions (id {ID}, started_at TEXT NOT NULL, ended_at TEXT)",
            "CREATE TABLE session_readings (session_id BIGINT NOT NULL REFERENCES sessions(id) ON DELETE "
            "CASCADE, "
            "seq INTEGER NOT NULL, at TEXT NOT NULL, primary_base BIGINT NOT NULL, secondary_base BIGINT NOT "
            "NULL, "
            "no_signal INTEGER NOT NULL, over_range INTEGER NOT NULL, low_battery INTEGER NOT NULL, "
            "csv_row TEXT NOT NULL, PRIMARY KEY (session_id, seq))",
        };
        break;
    case 3: // each test's ratio error at a glance, for the trend of a CT over the years
        steps = {
            "ALTER TABLE tests ADD COLUMN error_mean DOUBLE PRECISION",
            "ALTER TABLE tests ADD COLUMN error_min DOUBLE PRECISION",
            "ALTER TABLE tests ADD COLUMN error_max DOUBLE PRECISION",
        };
        break;
    case 4: // a record's own key, so that a record sent again is not stored twice; amendments
        steps = {
            "ALTER TABLE tests ADD COLUMN record_key TEXT",
            "ALTER TABLE tests ADD COLUMN amended_at TEXT",
            "CREATE UNIQUE INDEX tests_key ON tests (record_key)",
        };
        break;
    default:
        break;
    }
    for (std::string& step : steps)
        step = dialected(step, dialect);
    return steps;
}

std::string tablesQuery(platform::Database::Dialect dialect) {
    if (dialect == platform::Database::Dialect::Sqlite)
        return "SELECT COUNT(*), SUM(name = 'schema_version') FROM sqlite_master WHERE type = 'table'";
    return "SELECT COUNT(*), SUM(CASE WHEN table_name = 'schema_version' THEN 1 ELSE 0 END) FROM "
           "information_schema.tables WHERE table_schema = current_schema()";
}

std::vector<std::string> schemaProbes() {
    return {"SELECT version FROM schema_version WHERE 1 = 0",
            "SELECT id, downloaded_at, station, device, phase, tester, remark, rated, accuracy, group_count, "
            "verdict, program_version, error_mean, error_min, error_max, record_key, amended_at FROM tests "
            "WHERE 1 = 0",
            "SELECT test_id, slot, frame, group_no, primary_a, secondary_a, ratio, pri_freq, no_signal, "
            "over_range, low_battery FROM test_groups WHERE 1 = 0",
            "SELECT id, started_at, ended_at FROM sessions WHERE 1 = 0",
            "SELECT session_id, seq, at, primary_base, secondary_base, no_signal, over_range, low_battery, "
            "csv_row FROM session_readings WHERE 1 = 0"};
}

std::string foreignObjectsQuery(platform::Database::Dialect dialect) {
    const std::string tables = "'schema_version', 'tests', 'test_groups', 'sessions', 'session_readings'";
    const std::string indexes = "'tests_device', 'tests_time', 'tests_key'";
    if (dialect == platform::Database::Dialect::Sqlite)
        return "SELECT type, name FROM sqlite_master WHERE type IN ('view', 'trigger') OR (type = 'table' "
               "AND name "
               "NOT IN (" +
               tables + ")) OR (type = 'index' AND name NOT IN (" + indexes +
               ") AND name NOT LIKE 'sqlite_autoindex_%') ORDER BY type, name";
    return "SELECT 'table', table_name FROM information_schema.tables WHERE table_schema = current_schema() "
           "AND "
           "table_type = 'BASE TABLE' AND table_name NOT IN (" +
           tables +
           ") UNION ALL SELECT 'view', table_name FROM information_schema.views WHERE table_schema = "
           "current_schema() UNION ALL SELECT DISTINCT 'trigger', trigger_name FROM "
           "information_schema.triggers "
           "WHERE event_object_schema = current_schema() ORDER BY 1, 2";
}

std::vector<std::string> damagedTestsQueries(platform::Database::Dialect dialect) {
    const bool sqlite = dialect == platform::Database::Dialect::Sqlite;
    const std::string length = sqlite ? "length(frame)" : "octet_length(frame)";
    std::vector<std::string> queries{
        "SELECT t.id, '组数 ' || CAST(t.group_count AS TEXT) || ', 存有 ' || CAST(COUNT(g.slot) AS TEXT) || "
        "' 组' FROM tests t LEFT JOIN test_groups g ON g.test_id = t.id GROUP BY t.id, t.group_count "
        "HAVING COUNT(g.slot) <> t.group_count OR (COUNT(g.slot) > 0 AND (MIN(g.slot) <> 0 OR MAX(g.slot) <> "
        "COUNT(g.slot) - 1)) ORDER BY t.id",
        "SELECT test_id, '第 ' || CAST(slot + 1 AS TEXT) || ' 组的数据帧为 ' || COALESCE(CAST(" + length +
            " AS TEXT), '0') || ' 字节' FROM test_groups WHERE frame IS NULL OR " + length +
            " <> 8 ORDER BY test_id, slot",
        "SELECT g.test_id, '第 ' || CAST(g.slot + 1 AS TEXT) || ' 组不属于任何测试记录' FROM test_groups g "
        "WHERE NOT EXISTS "
        "(SELECT 1 FROM tests t WHERE t.id = g.test_id) ORDER BY g.test_id, g.slot"};
    if (sqlite) // a column's type is the value's own in SQLite: text may stand where a number belongs
        queries.push_back(
            "SELECT id, '组数或误差不是数字' FROM tests WHERE "
            "typeof(group_count) <> 'integer' OR typeof(error_mean) NOT IN ('real', 'integer', 'null') OR "
            "typeof(error_min) NOT IN ('real', 'integer', 'null') OR typeof(error_max) NOT IN ('real', "
            "'integer', 'null') UNION ALL SELECT session_id, '实时记录的读数不是数字' FROM session_readings "
            "WHERE typeof(seq) <> 'integer' OR "
            "typeof(primary_base) <> 'integer' OR typeof(secondary_base) <> 'integer' OR typeof(no_signal) "
            "<> "
            "'integer' OR typeof(over_range) <> 'integer' OR typeof(low_battery) <> 'integer'");
    return queries;
}

} // namespace hvr::archive
