#pragma once

#include <QSqlError>
#include <QString>

#include <memory>
#include <optional>
#include <string>

#include "platform/archive_address.h"
#include "platform/database.h"

namespace hvr::platform {

// The archive's database through Qt SQL: SQLite (QSQLITE) in a file, in WAL mode with every
// commit on the disk before it returns, or PostgreSQL (QPSQL) on a server.
class QtDatabase final : public Database {
  public:
    ~QtDatabase() override;
    // Whether an SQLite file that is not there yet is made: a command that only reads never
    // makes a file or a folder.
    enum class Missing { Create, Refuse };
    // The archive at the address (an empty SQLite path: the laptop's own). A PostgreSQL
    // connection waits at most 10 s for the server, each statement and lock at most 5 s, and
    // TCP keepalives find a server gone away without closing. None with the reason when it
    // cannot be opened; nothing is written by opening.
    static std::unique_ptr<QtDatabase> open(const ArchiveAddress& address, Missing missing, std::string* why);
    // The address parsed, then opened to be written.
    static std::unique_ptr<QtDatabase> open(const std::string& where, std::string* why);
    // Where the laptop's own archive is.
    static std::string defaultPath();
    // The default path and libpq's password file as a user finds them on this system.
    static std::string defaultPathAsWritten();
    static std::string passwordFileAsWritten();
    // Why this build cannot keep an archive on a PostgreSQL server; none when it can.
    static std::optional<std::string> whyNoServer();

    Dialect dialect() const override { return m_dialect; }
    std::string name() const override { return m_name; }
    bool exec(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
              std::string* why) override;
    bool execMany(const std::string& sql, const std::vector<std::vector<SqlValue>>& rows,
                  std::string* why) override;
    bool begin(std::string* why) override;
    bool beginExclusive(std::string* why) override;
    bool prepareForWriting(std::string* why) override;
    bool commit(std::string* why) override;
    void rollback() override;

  private:
    QtDatabase(QString connection, Dialect dialect, std::string name);
    // This connection's settings: durability and foreign keys, or the bounds on every wait.
    bool configure(std::string* why);
    // A server that went away and came back: the connection made again.
    bool reconnect(std::string* why);
    std::string reason(const QSqlError& error) const;
    QString m_connection;
    Dialect m_dialect;
    std::string m_name;
};

} // namespace hvr::platform
