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

} // namespace hvr::archive
