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

} // namespace hvr::archive
