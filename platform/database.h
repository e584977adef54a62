#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace hvr::platform {

// A value bound into a statement or read from a row: none (NULL), a whole number, a real, a
// text, or bytes.
using Bytes = std::vector<std::uint8_t>;
using SqlValue = std::variant<std::monostate, std::int64_t, double, std::string, Bytes>;
using SqlRow = std::vector<SqlValue>;

// A database of the archive: SQLite on the laptop or a team's PostgreSQL server. Every value
// from outside goes in as a bound parameter (written ? in the statement), never as text of the
// statement. Errors are values: false with the database's own reason.
class Database {
  public:
    enum class Dialect { Sqlite, Postgres };
    virtual ~Database() = default;
    virtual Dialect dialect() const = 0;
    // Where the archive is, as the user would recognise it (a path, or user@host/dbname).
    virtual std::string name() const = 0;

    // Runs one statement; the rows it returns, if asked for.
    virtual bool exec(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
                      std::string* why) = 0;
    // Runs one statement once per row of parameters, prepared once.
    virtual bool execMany(const std::string& sql, const std::vector<std::vector<SqlValue>>& rows,
                          std::string* why) = 0;
    virtual bool begin(std::string* why) = 0;
    // A transaction that holds the whole archive against every other writer until it ends, so
    // that two programs never make or bring up the same tables at once; the other one waits.
    virtual bool beginExclusive(std::string* why) = 0;
    // Before the first write: SQLite's WAL, so that readers never wait for a writer; a change
    // to the file, so never made to a file that is refused. False when it could not be made
    // now (another program holds the file).
    virtual bool prepareForWriting(std::string* why) = 0;
    virtual bool commit(std::string* why) = 0;
    virtual void rollback() = 0;
};

// A whole number as stored: a number, or a text that is one whole and nothing else; none for
// anything else (NULL, bytes, a text such as "abc"), which is no number and never read as 0.
inline std::optional<std::int64_t> wholeNumber(const SqlValue& v) {
    if (const auto* i = std::get_if<std::int64_t>(&v)) return *i;
    if (const auto* d = std::get_if<double>(&v); d != nullptr && *d == std::floor(*d) && std::abs(*d) < 9e18)
        return static_cast<std::int64_t>(*d);
    if (const auto* s = std::get_if<std::string>(&v)) {
        std::int64_t n = 0;
        const auto [end, error] = std::from_chars(s->data(), s->data() + s->size(), n);
        if (error == std::errc() && end == s->data() + s->size() && !s->empty()) return n;
    }
    return std::nullopt;
}
// A number as stored, whole or not; none for NULL and for anything that is no number.
inline std::optional<double> realNumber(const SqlValue& v) {
    if (const auto* d = std::get_if<double>(&v)) return std::isfinite(*d) ? std::optional(*d) : std::nullopt;
    if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
    if (const auto* s = std::get_if<std::string>(&v)) {
        double x = 0;
        const auto [end, error] = std::from_chars(s->data(), s->data() + s->size(), x);
        if (error == std::errc() && end == s->data() + s->size() && !s->empty() && std::isfinite(x)) return x;
    }
    return std::nullopt;
}
// For what the database computes itself (a count, an id it gave): 0 where it is none.
inline std::int64_t asInt(const SqlValue& v) {
    return wholeNumber(v).value_or(0);
}
inline std::string asText(const SqlValue& v) {
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    if (const auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
    return {};
}

} // namespace hvr::platform
