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
#include <functional>

namespace hvr::platform {

namespace {

std::string reason(const QSqlError& error) {
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
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

// Adds a connection of the driver, set up by `setUp`, and opens it; the reason when the driver
// is missing or the database does not open, the connection removed again.
bool openConnection(const QString& connection, const char* driver, const char* noDriver,
                    const std::string& failure, std::string* why,
                    const std::function<void(QSqlDatabase&)>& setUp) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(driver), connection);
        if (!db.isValid()) {
            *why = noDriver;
        } else {
            setUp(db);
            if (db.open()) return true;
            *why = failure + reason(db.lastError());
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return false;
}

QString nextConnection() {
    static std::atomic<int> n{0};
    return QStringLiteral("hvr-archive-%1").arg(++n);
}

} // namespace

std::string QtDatabase::defaultPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("hvr/archive.sqlite"))
        .toStdString();
}

std::unique_ptr<QtDatabase> QtDatabase::open(const std::string& where, std::string* why) {
    const QString text = QString::fromStdString(where);
    const QString connection = nextConnection();
    if (text.startsWith("postgresql://") || text.startsWith("postgres://")) {
        // postgresql://user@host:port/dbname; a host that is a folder (the server's Unix
        // socket) is written percent-encoded, as libpq has it.
        static const QRegularExpression form(
            R"(^postgres(?:ql)?://(?:([^@/]*)@)?([^:/]*)(?::([0-9]+))?/([^/?]+)$)");
        const QRegularExpressionMatch m = form.match(text);
        if (!m.hasMatch()) {
            *why = "无法识别的数据库地址 " + where + " (应为 postgresql://用户@主机:端口/数据库)";
            return nullptr;
        }
        const QString user = QUrl::fromPercentEncoding(m.captured(1).toUtf8());
        const QString host = QUrl::fromPercentEncoding(m.captured(2).toUtf8());
        const QString database = QUrl::fromPercentEncoding(m.captured(4).toUtf8());
        const std::string name = user.toStdString() + "@" + host.toStdString() + "/" + database.toStdString();
        if (!openConnection(connection, "QPSQL", "没有 PostgreSQL 驱动 (Debian 软件包 libqt6sql6-psql)",
                            "无法连接数据库服务器 " + name + ": ", why, [&](QSqlDatabase& db) {
                                db.setHostName(host);
                                if (!m.captured(3).isEmpty()) db.setPort(m.captured(3).toInt());
                                db.setUserName(user);
                                db.setDatabaseName(database);
                                db.setConnectOptions(QStringLiteral("connect_timeout=10"));
                            }))
            return nullptr;
        return std::unique_ptr<QtDatabase>(new QtDatabase(connection, Dialect::Postgres, name));
    }

    QString path = text.startsWith("sqlite://") ? text.mid(9) : text;
    if (path.isEmpty()) path = QString::fromStdString(defaultPath());
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!openConnection(connection, "QSQLITE", "没有 SQLite 驱动 (Debian 软件包 libqt6sql6-sqlite)",
                        "无法打开测试记录 " + path.toStdString() + ": ", why, [&](QSqlDatabase& db) {
                            db.setDatabaseName(path);
                            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
                        }))
        return nullptr;
    std::string problem;
    auto archive =
        std::unique_ptr<QtDatabase>(new QtDatabase(connection, Dialect::Sqlite, path.toStdString()));
    // A damaged file says so at its first read, before anything is written to it.
    std::vector<SqlRow> rows;
    if (!archive->exec("PRAGMA quick_check", {}, &rows, &problem) || rows.empty() ||
        asText(rows[0][0]) != "ok") {
        *why = "测试记录 " + path.toStdString() + " 已损坏, 未作改动: " +
               (problem.empty() ? (rows.empty() ? std::string("无法读取") : asText(rows[0][0])) : problem);
        return nullptr;
    }
    // Committed is on the disk: a crash or a pulled plug loses no committed record.
    for (const char* pragma :
         {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=ON"})
        archive->exec(pragma, {}, nullptr, &problem);
    return archive;
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
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    // A server that went away and came back: the connection is made again before the record.
    if (m_dialect == Dialect::Postgres && !QSqlQuery(db).exec(QStringLiteral("SELECT 1"))) {
        db.close();
        if (!db.open()) {
            if (why != nullptr) *why = reason(db.lastError());
            return false;
        }
    }
    if (db.transaction()) return true;
    if (why != nullptr) *why = reason(db.lastError());
    return false;
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
