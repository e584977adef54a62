#pragma once

#include <QString>

#include <memory>
#include <string>

#include "platform/database.h"

namespace hvr::platform {

// The archive's database through Qt SQL: SQLite (QSQLITE) in a file, in WAL mode with every
// commit on the disk before it returns, or PostgreSQL (QPSQL) on a server.
class QtDatabase final : public Database {
  public:
    ~QtDatabase() override;
    // "postgresql://user@host:port/dbname" (a host beginning with / or %2F is the folder of
    // the server's Unix socket; the password comes from ~/.pgpass or PGPASSWORD, as for every
    // PostgreSQL client), else the path of an SQLite file; empty: the laptop's own archive
    // (~/.local/share/hvr/archive.sqlite). None with the reason when it cannot be opened.
    static std::unique_ptr<QtDatabase> open(const std::string& where, std::string* why);
    // Where the laptop's own archive is.
    static std::string defaultPath();

    Dialect dialect() const override { return m_dialect; }
    std::string name() const override { return m_name; }
    bool exec(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
              std::string* why) override;
    bool execMany(const std::string& sql, const std::vector<std::vector<SqlValue>>& rows,
                  std::string* why) override;
    bool begin(std::string* why) override;
    bool commit(std::string* why) override;
    void rollback() override;

  private:
    QtDatabase(QString connection, Dialect dialect, std::string name);
    QString m_connection;
    Dialect m_dialect;
    std::string m_name;
};

} // namespace hvr::platform
