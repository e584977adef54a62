#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Where the test archive is, as the user wrote it: the path of an SQLite file, or a PostgreSQL
// connection URI read as PostgreSQL's own tools read it. Anything else with "://" is refused,
// so that a record meant for a team's server never lands in a file named after a typo.
namespace hvr::platform {

struct ArchiveAddress {
    enum class Kind { Sqlite, Postgres };
    Kind kind = Kind::Sqlite;
    std::string path; // SQLite; empty: the laptop's own archive
    // PostgreSQL, percent-decoded. Hosts and ports may be lists ("a,b"), as libpq takes them.
    std::string user, password, host, port, database;
    // Every other connection parameter, by libpq's own keyword, for the driver's options.
    std::vector<std::pair<std::string, std::string>> parameters;
    // The address as messages show it: the password as ****.
    std::string shown;
};

// The address, or none with the reason it cannot be one.
std::optional<ArchiveAddress> parseArchiveAddress(const std::string& text, std::string* why);

// A password written in an address among the program's own arguments is overwritten in place
// as soon as the arguments are read, as database clients do, so that the process list never
// shows it; the address itself stays readable.
void hidePasswordsInArguments(int argc, char** argv);

// The parameters as libpq's keyword=value pairs, each value quoted, separated by ';' as Qt's
// PostgreSQL driver takes its connect options.
std::string connectOptions(const std::vector<std::pair<std::string, std::string>>& parameters);

} // namespace hvr::platform
