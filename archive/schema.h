#pragma once

#include <string>
#include <vector>

#include "platform/database.h"

// The archive's tables, one migration a version: a database is brought from whatever version
// it has to the newest, step by step, each step in its own transaction.
namespace hvr::archive {

// The statements that bring a database from version n − 1 to n, for n = 1 … kSchemaVersion,
// in the dialect of the database.
std::vector<std::string> migration(int version, platform::Database::Dialect dialect);
inline constexpr int kSchemaVersion = 4;

// One row: how many tables the database holds, and how many of them are the archive's version
// table (0 or 1). Reads only, and fails on nothing that a new, empty database lacks.
std::string tablesQuery(platform::Database::Dialect dialect);

// What the archive of the newest version relies on, each statement failing where a table or a
// column is missing: one a table.
std::vector<std::string> schemaProbes();

// Rows (kind, name) of every table, view, trigger or index in the archive's database that this
// program did not make: such an archive is not written to.
std::string foreignObjectsQuery(platform::Database::Dialect dialect);

// Rows (test, what is wrong) of every test whose groups do not hold: a group count other than
// its stored frames, slots with gaps, frames that are not 8 bytes, numbers that are no numbers.
std::vector<std::string> damagedTestsQueries(platform::Database::Dialect dialect);

} // namespace hvr::archive
