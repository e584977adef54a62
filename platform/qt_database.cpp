#include "platform/qt_database.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QSqlRecord>
#include <QUrl>
#include <QRegularExpression>
#include <QVariant>

#include <atomic>
#include <algorithm>
#include <span>

namespace hvr::platform {

namespace {

// SQLite's reasons, said for what they mean to the user: a healthy archive is never called
// damaged. The result code's primary part decides; SQLite's own text follows.
std::string sqliteReason(int code, const std::string& text) {
    switch (code & 0xff) {
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return "已损坏 (" + text + ")";
    case 8: // SQLITE_READONLY
        return "只读, 无法写入 (" + text + ")";
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return "被其他程序锁定, 等待 5 秒后仍未释放 (" + text + ")";
    case 13: // SQLITE_FULL
        return "磁盘已满 (" + text + ")";
    case 3:  // SQLITE_PERM
    case 23: // SQLITE_AUTH
        return "没有访问权限 (" + text + ")";
    case 14: // SQLITE_CANTOPEN
        return "无法打开文件 (" + text + ")";
    case 10: // SQLITE_IOERR
        return "读写出错 (" + text + ")";
    default:
        return text;
    }
}

std::string reasonOf(Database::Dialect dialect, const QSqlError& error) {
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    if (dialect == Database::Dialect::Sqlite && numeric) return sqliteReason(code, text.trimmed().toStdString());
    return text.trimmed().toStdString();
}

QVariant qtValue(const SqlValue& v) {
    if (const auto* i = std::get_if<std::int64_t>(&v)) return QVariant(static_cast<qlonglong>(*i));
    if (const auto* d = std::get_if<double>(&v)) return QVariant(*d);
    if (const auto* s = std::get_if<std::string>(&v)) return QVariant(QString::fromStdString(*s));
    if (const auto* b = std::get_if<Bytes>(&v))
        return QVariant(
            QByteArray(reinterpret_cast<const char*>(b->data()), static_cast<qsizetype>(b->size())));
    return QVariant();
}

SqlValue value(const QVariant& v) {
    if (v.isNull()) return std::monostate{};
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return static_cast<std::int64_t>(v.toLongLong());
    case QMetaType::Double:
        return v.toDouble();
    case QMetaType::QByteArray: {
        const QByteArray bytes = v.toByteArray();
        return Bytes(bytes.begin(), bytes.end());
    }
    default:
        return v.toString().toStdString();
    }
}

QString nextConnection() {
    static std::atomic<int> n{0};
    return QStringLiteral("hvr-archive-%1").arg(++n);
}

// Bounds on every wait for a PostgreSQL server: the connection, each lock and statement, and a
// server that went away without closing (keepalives); the address's own values come first.
std::vector<std::pair<std::string, std::string>> withBounds(std::vector<std::pair<std::string, std::string>> given) {
    for (const auto& [key, value] : {std::pair{"connect_timeout", "10"}, std::pair{"keepalives", "1"},
                                     std::pair{"keepalives_idle", "10"}, std::pair{"keepalives_interval", "5"},
                                     std::pair{"keepalives_count", "3"}, std::pair{"tcp_user_timeout", "30000"}})
        if (std::none_of(given.begin(), given.end(), [&](const auto& p) { return p.first == key; }))
            given.emplace_back(key, value);
    return given;
}

} // namespace

// What differs between the systems, as a user reads it.
#ifdef _WIN32
constexpr const char* kNoServer = "这个版本只把测试记录存在本机的 SQLite 文件中, 不能连接 PostgreSQL 服务器";
constexpr const char* kDefaultPathAsWritten = "%LOCALAPPDATA%\\hvr\\archive.sqlite";
constexpr const char* kPasswordFileAsWritten = "%APPDATA%\\postgresql\\pgpass.conf";
#else
constexpr const char* kNoServer = "没有 PostgreSQL 驱动 (Debian 软件包 libqt6sql6-psql)";
constexpr const char* kDefaultPathAsWritten = "~/.local/share/hvr/archive.sqlite";
constexpr const char* kPasswordFileAsWritten = "~/.pgpass";
#endif

std::optional<std::string> QtDatabase::whyNoServer() {
    if (QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) return std::nullopt;
    return kNoServer;
}

std::string QtDatabase::defaultPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("hvr/archive.sqlite"))
        .toStdString();
}

std::string QtDatabase::defaultPathAsWritten() {
    return kDefaultPathAsWritten;
}

std::string QtDatabase::passwordFileAsWritten() {
    return kPasswordFileAsWritten;
}

std::unique_ptr<QtDatabase> QtDatabase::open(const std::string& where, std::string* why) {
    const auto address = parseArchiveAddress(where, why);
    return address ? open(*address, Missing::Create, why) : nullptr;
}

std::unique_ptr<QtDatabase> QtDatabase::open(const ArchiveAddress& address, Missing missing, std::string* why) {
    const QString connection = nextConnection();
    const bool pg = address.kind == ArchiveAddress::Kind::Postgres;
    const QString path =
        pg ? QString() : QString::fromStdString(address.path.empty() ? defaultPath() : address.path);
    const std::string name = pg ? address.shown : path.toStdString();
    if (!pg) {
        const QFileInfo file(path);
        // A device or a folder is no archive: nothing is made beside it.
        if (file.exists() && !file.isFile()) {
            *why = "测试记录 " + name + " 不是普通文件, 未作改动";
            return nullptr;
        }
        if (!file.exists() && missing == Missing::Refuse) {
            *why = "测试记录 " + name + " 不存在";
            return nullptr;
        }
        if (!file.exists() && !QDir().mkpath(file.absolutePath())) {
            *why = "无法建立测试记录的文件夹 " + file.absolutePath().toStdString() + ": 没有访问权限";
            return nullptr;
        }
    }
    bool opened = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(pg ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), connection);
        if (!db.isValid()) {
            *why = pg ? whyNoServer().value_or("没有 PostgreSQL 驱动")
                      : "没有 SQLite 驱动 (Debian 软件包 libqt6sql6-sqlite)";
        } else {
            if (pg) {
                db.setHostName(QString::fromStdString(address.host));
                if (!address.port.empty()) db.setPort(QString::fromStdString(address.port).toInt());
                db.setUserName(QString::fromStdString(address.user));
                db.setPassword(QString::fromStdString(address.password));
                db.setDatabaseName(QString::fromStdString(address.database));
                db.setConnectOptions(QString::fromStdString(connectOptions(withBounds(address.parameters))));
            } else {
                // An existing file is opened without the right to make one, so that a file
                // removed meanwhile is not made again empty.
                db.setDatabaseName(missing == Missing::Refuse
                                       ? "file:" + QString::fromLatin1(QUrl::toPercentEncoding(path, "/")) + "?mode=rw"
                                       : path);
                db.setConnectOptions(missing == Missing::Refuse
                                         ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_URI")
                                         : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
            }
            opened = db.open();
            if (!opened)
                *why = (pg ? "无法连接数据库服务器 " : "无法打开测试记录 ") + name + ": " +
                       reasonOf(pg ? Dialect::Postgres : Dialect::Sqlite, db.lastError()) + (pg ? "" : ", 未作改动");
        }
    }
    if (opened) {
        auto archive =
            std::unique_ptr<QtDatabase>(new QtDatabase(connection, pg ? Dialect::Postgres : Dialect::Sqlite, name));
        std::string problem;
        if (archive->configure(&problem)) return archive;
        *why = (pg ? "无法连接数据库服务器 " : "无法打开测试记录 ") + name + ": " + problem + (pg ? "" : ", 未作改动");
        return nullptr; // the connection goes with it
    }
    QSqlDatabase::removeDatabase(connection);
    return nullptr;
}

QtDatabase::QtDatabase(QString connection, Dialect dialect, std::string name)
    : m_connection(std::move(connection)), m_dialect(dialect), m_name(std::move(name)) {}

QtDatabase::~QtDatabase() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

std::string QtDatabase::reason(const QSqlError& error) const {
    return reasonOf(m_dialect, error);
}

bool QtDatabase::configure(std::string* why) {
    // Settings of this connection alone; none of them writes to the archive.
    const char* const sqlite[] = {"PRAGMA synchronous=FULL", "PRAGMA foreign_keys=ON"};
    const char* const postgres[] = {"SET lock_timeout = 5000", "SET statement_timeout = 5000"};
    for (const char* sql : m_dialect == Dialect::Sqlite ? std::span<const char* const>(sqlite)
                                                        : std::span<const char* const>(postgres))
        if (!exec(sql, {}, nullptr, why)) return false;
    return true;
}

bool QtDatabase::reconnect(std::string* why) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (m_dialect != Dialect::Postgres || QSqlQuery(db).exec(QStringLiteral("SELECT 1"))) return true;
    db.close();
    if (!db.open()) {
        if (why != nullptr) *why = reason(db.lastError());
        return false;
    }
    return configure(why);
}

bool QtDatabase::exec(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
                      std::string* why) {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    // A statement without parameters runs as it is: PostgreSQL prepares no table definitions.
    const bool ran = params.empty() ? query.exec(QString::fromStdString(sql)) : [&] {
        if (!query.prepare(QString::fromStdString(sql))) return false;
        for (std::size_t i = 0; i < params.size(); ++i)
            query.bindValue(static_cast<int>(i), qtValue(params[i]));
        return query.exec();
    }();
    if (!ran) {
        if (why != nullptr) *why = reason(query.lastError());
        return false;
    }
    if (rows != nullptr) {
        const int columns = query.record().count();
        while (query.next()) {
            SqlRow row;
            row.reserve(static_cast<std::size_t>(columns));
            for (int c = 0; c < columns; ++c)
                row.push_back(value(query.value(c)));
            rows->push_back(std::move(row));
        }
        // A page that cannot be read mid-result (a damaged file) fails the statement.
        if (query.lastError().isValid()) {
            if (why != nullptr) *why = reason(query.lastError());
            return false;
        }
    }
    return true;
}

bool QtDatabase::execMany(const std::string& sql, const std::vector<std::vector<SqlValue>>& rows,
                          std::string* why) {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.prepare(QString::fromStdString(sql))) {
        if (why != nullptr) *why = reason(query.lastError());
        return false;
    }
    for (const auto& params : rows) {
        for (std::size_t i = 0; i < params.size(); ++i)
            query.bindValue(static_cast<int>(i), qtValue(params[i]));
        if (!query.exec()) {
            if (why != nullptr) *why = reason(query.lastError());
            return false;
        }
    }
    return true;
}

bool QtDatabase::begin(std::string* why) {
    // A server that went away and came back: the connection is made again before the record.
    if (!reconnect(why)) return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (db.transaction()) return true;
    if (why != nullptr) *why = reason(db.lastError());
    return false;
}

bool QtDatabase::beginExclusive(std::string* why) {
    if (m_dialect == Dialect::Sqlite) return exec("BEGIN IMMEDIATE", {}, nullptr, why);
    // Any number that no other lock of the same database uses: "hvr" and the table it guards.
    constexpr std::int64_t kSchemaLock = 0x6876725f73636865;
    if (!begin(why)) return false;
    if (exec("SELECT pg_advisory_xact_lock(?)", {kSchemaLock}, nullptr, why)) return true;
    rollback();
    return false;
}

bool QtDatabase::prepareForWriting(std::string* why) {
    if (m_dialect != Dialect::Sqlite) return true;
    std::vector<SqlRow> rows;
    if (!exec("PRAGMA journal_mode=WAL", {}, &rows, why)) return false;
    if (rows.empty() || asText(rows[0][0]) != "wal") {
        if (why != nullptr) *why = "无法切换到 WAL 日志模式";
        return false;
    }
    return true;
}

bool QtDatabase::commit(std::string* why) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (db.commit()) return true;
    if (why != nullptr) *why = reason(db.lastError());
    return false;
}

void QtDatabase::rollback() {
    QSqlDatabase::database(m_connection, false).rollback();
}

} // namespace hvr::platform
