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
inline constexpr int kSchemaVersion = 3;

} // namespace hvr::archive
