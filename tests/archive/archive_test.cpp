// The test archive on the real databases: SQLite in a file, and a private PostgreSQL server the
// test starts itself. Records whole or not at all, migrations, refusals, two writers at once.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <unistd.h>

#include <thread>

#include "archive/archive.h"
#include "archive/archive_form.h"
#include "archive/archive_keeper.h"
#include "archive/schema.h"
#include "platform/qt_database.h"
#include "sim/scenario.h"
#include "tests/support/fake_services.h"

namespace hvr {
namespace {

using archive::Archive;
using archive::TestRecord;

TestRecord aTest(int groups, const std::string& device, std::uint32_t seed = 1) {
    const auto store = sim::Scenario::synthetic(groups, seed);
    TestRecord record{
        0, "2026-12-09 10:00:00", {"城南变电站", device, "A", "王工", "备注"}, "600/5", "0.5", "1.0.1", {}};
    for (int g = 1; g <= groups; ++g)
        record.frames.push_back(store.storedGroup(g));
    return record;
}

std::unique_ptr<platform::QtDatabase> openDb(const std::string& where) {
    std::string why;
    auto db = platform::QtDatabase::open(where, &why);
    EXPECT_TRUE(db) << why;
    return db;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

TEST(Archive, ARecordComesBackExactlyAndIsFoundByWhatWasTyped) {
    QTemporaryDir dir;
    auto db = openDb(dir.filePath("a.sqlite").toStdString());
    Archive archive(*db);
    std::string why;
    ASSERT_TRUE(archive.open(&why)) << why;
    EXPECT_EQ(archive.version(), archive::kSchemaVersion);
    TestRecord sly = aTest(300, "CT-1'); DROP TABLE tests; --");
    sly.particulars.station = "100%_站";
    const auto first = archive.storeTest(sly, &why);
    const auto second = archive.storeTest(aTest(20, "CT-2", 2), &why);
    ASSERT_TRUE(first && second) << why;

    const auto back = archive.loadTest(*first, &why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(back->frames, sly.frames) << "every frame as received";
    EXPECT_EQ(back->particulars.device, sly.particulars.device) << "stored as typed, never run";
    EXPECT_EQ(back->rated, "600/5");
    const auto all = archive.listTests({}, &why);
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 2u);
    EXPECT_EQ(all->back().groups, 300);
    EXPECT_EQ(all->back().verdict, archive::analyseTest(sly).summary.failed ? "不合格" : "合格");
    EXPECT_EQ(archive.listTests({"100%_", "", "", ""}, &why)->size(), 1u) << "% and _ are letters";
    EXPECT_EQ(archive.listTests({"0%_", "", "", ""}, &why)->size(), 1u);
    EXPECT_EQ(archive.listTests({"1_0", "", "", ""}, &why)->size(), 0u);
    EXPECT_EQ(archive.listTests({"", "CT-2", "", ""}, &why)->size(), 1u);
    EXPECT_EQ(archive.listTests({"", "", "2026-12-10", ""}, &why)->size(), 0u);

    ASSERT_TRUE(archive.deleteTest(*second, &why)) << why;
    EXPECT_EQ(archive.listTests({}, &why)->size(), 1u);
    EXPECT_FALSE(archive.loadTest(*second, &why));
}

TEST(Archive, ADatabaseOfEveryEarlierVersionIsBroughtUpToDate) {
    for (int version = 1; version < archive::kSchemaVersion; ++version) {
        QTemporaryDir dir;
        const std::string path = dir.filePath("old.sqlite").toStdString();
        {
            auto db = openDb(path);
            std::string why;
            for (int step = 1; step <= version; ++step)
                for (const std::string& sql : archive::migration(step, db->dialect()))
                    ASSERT_TRUE(db->exec(sql, {}, nullptr, &why)) << why;
            ASSERT_TRUE(
                db->exec("UPDATE schema_version SET version = ?", {std::int64_t{version}}, nullptr, &why));
            ASSERT_TRUE(db->exec(
                "INSERT INTO tests (downloaded_at, station, device, phase, tester, remark, rated, "
                "accuracy, group_count, verdict, program_version) VALUES "
                "('2025-01-02 03:04:05', '', 'CT-9', 'A', '', '', '600/5', '0.5', 0, '未判定', '1.0.0')",
                {}, nullptr, &why))
                << why;
        }
        auto db = openDb(path);
        Archive archive(*db);
        std::string why;
        ASSERT_TRUE(archive.open(&why)) << "from version " << version << ": " << why;
        EXPECT_EQ(archive.version(), archive::kSchemaVersion);
        const auto tests = archive.listTests({}, &why);
        ASSERT_TRUE(tests) << why;
        ASSERT_EQ(tests->size(), 1u) << "the old record kept";
        EXPECT_EQ(tests->front().device, "CT-9");
        EXPECT_TRUE(archive.storeTest(aTest(5, "CT-9"), &why)) << why;
        EXPECT_TRUE(archive.startSession("2026-12-09 10:00:00", &why)) << why;
    }
}

TEST(Archive, ANewerOrDamagedArchiveIsRefusedAndLeftAsItIs) {
    QTemporaryDir dir;
    const QString newer = dir.filePath("newer.sqlite");
    {
        auto db = openDb(newer.toStdString());
        Archive archive(*db);
        std::string why;
        ASSERT_TRUE(archive.open(&why));
        ASSERT_TRUE(db->exec("UPDATE schema_version SET version = 99", {}, nullptr, &why));
    }
    const QByteArray before = bytesOf(newer);
    {
        auto db = openDb(newer.toStdString());
        Archive archive(*db);
        std::string why;
        EXPECT_FALSE(archive.open(&why));
        EXPECT_NE(why.find("较新版本"), std::string::npos) << why;
    }
    EXPECT_EQ(bytesOf(newer), before);

    const QString damaged = dir.filePath("damaged.sqlite");
    QFile f(damaged);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, 'x'));
    f.close();
    std::string why;
    EXPECT_FALSE(platform::QtDatabase::open(damaged.toStdString(), &why));
    EXPECT_NE(why.find("已损坏"), std::string::npos) << why;
    EXPECT_EQ(bytesOf(damaged), QByteArray(8192, 'x'));
    EXPECT_FALSE(QFile::exists(damaged + "-wal"));

    EXPECT_FALSE(platform::QtDatabase::open("/proc/hvr/archive.sqlite", &why));
    EXPECT_NE(why.find("/proc/hvr/archive.sqlite"), std::string::npos) << why;
}

TEST(Archive, AWriterKilledMidRecordLeavesEveryEarlierRecordWholeAndNoPartOfItsLast) {
    QTemporaryDir dir;
    const QString path = dir.filePath("crash.sqlite");
    QProcess writer;
    writer.start(HVR_ARCHIVE_WRITER, {path});
    ASSERT_TRUE(writer.waitForStarted());
    // Killed at once after a few records, in the middle of the next one.
    int committed = 0;
    while (committed < 3 && writer.waitForReadyRead(20000))
        while (writer.canReadLine())
            committed = writer.readLine().trimmed().toInt();
    ASSERT_GE(committed, 3) << writer.readAllStandardError().toStdString();
    QThread::msleep(30);
    ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
    writer.waitForFinished();

    auto db = openDb(path.toStdString());
    Archive archive(*db);
    std::string why;
    ASSERT_TRUE(archive.open(&why)) << why;
    std::vector<platform::SqlRow> rows;
    ASSERT_TRUE(
        db->exec("SELECT t.id, t.group_count, (SELECT COUNT(*) FROM test_groups g WHERE g.test_id = t.id) "
                 "FROM tests t",
                 {}, &rows, &why));
    EXPECT_GE(static_cast<int>(rows.size()), committed) << "every committed record is there";
    for (const auto& r : rows)
        EXPECT_EQ(platform::asInt(r[1]), platform::asInt(r[2]))
            << "record " << platform::asInt(r[0]) << " is whole";
    std::vector<platform::SqlRow> orphans;
    ASSERT_TRUE(db->exec("SELECT COUNT(*) FROM test_groups WHERE test_id NOT IN (SELECT id FROM tests)", {},
                         &orphans, &why));
    EXPECT_EQ(platform::asInt(orphans[0][0]), 0);
}

// A private PostgreSQL server in a temporary folder, on a Unix socket there; run as the
// postgres user when the tests run as root.
class PostgresServer {
  public:
    PostgresServer() {
        const QStringList found =
            QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& version : found)
            if (QFile::exists("/usr/lib/postgresql/" + version + "/bin/initdb"))
                m_bin = "/usr/lib/postgresql/" + version + "/bin/";
        if (m_bin.isEmpty()) return;
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther);
        m_ok = run("initdb", {"-D", data(), "-A", "trust", "-U", "hvr", "-E", "UTF8", "--no-sync"}) &&
               run("pg_ctl", {"-D", data(), "-w", "-l", m_dir.filePath("log"), "-o",
                              "-k " + m_dir.path() + " -c listen_addresses= -p 5499 -c fsync=off", "start"});
    }
    ~PostgresServer() {
        if (m_ok) run("pg_ctl", {"-D", data(), "-m", "immediate", "stop"});
    }
    bool ok() const { return m_ok; }
    bool restart() {
        return run("pg_ctl", {"-D", data(), "-m", "immediate", "stop"}) &&
               run("pg_ctl", {"-D", data(), "-w", "-l", m_dir.filePath("log"), "-o",
                              "-k " + m_dir.path() + " -c listen_addresses= -p 5499 -c fsync=off", "start"});
    }
    std::string why() const {
        return m_bin.isEmpty() ? "PostgreSQL (Debian 软件包 postgresql) 未安装" : m_error;
    }
    std::string url() const {
        return "postgresql://hvr@" + QUrl::toPercentEncoding(m_dir.path()).toStdString() + ":5499/postgres";
    }

  private:
    QString data() const { return m_dir.filePath("data"); }
    bool run(const QString& program, const QStringList& arguments) {
        QProcess p;
        if (::geteuid() == 0)
            p.start("runuser", QStringList{"-u", "postgres", "--", m_bin + program} + arguments);
        else
            p.start(m_bin + program, arguments);
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            m_error = (program + ": " + p.readAllStandardError()).toStdString();
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir;
    QString m_bin;
    bool m_ok = false;
    std::string m_error;
};

TEST(Archive, TwoLaptopsWritingToOneServerLoseNothing) {
    PostgresServer server;
    if (!server.ok()) GTEST_SKIP() << server.why();
    {
        auto db = openDb(server.url());
        ASSERT_TRUE(db);
        Archive archive(*db);
        std::string why;
        ASSERT_TRUE(archive.open(&why)) << why;
    }
    const auto laptop = [&](const std::string& device, bool* ok) {
        std::string why;
        auto db = platform::QtDatabase::open(server.url(), &why);
        Archive archive(*db);
        *ok = db && archive.open(&why);
        for (int i = 0; i < 10 && *ok; ++i)
            *ok = archive.storeTest(aTest(200, device, static_cast<std::uint32_t>(i + 1)), &why).has_value();
    };
    bool firstOk = false, secondOk = false;
    std::thread first(laptop, "CT-A", &firstOk), second(laptop, "CT-B", &secondOk);
    first.join();
    second.join();
    EXPECT_TRUE(firstOk && secondOk);

    auto db = openDb(server.url());
    Archive archive(*db);
    std::string why;
    ASSERT_TRUE(archive.open(&why)) << why;
    const auto tests = archive.listTests({}, &why);
    ASSERT_TRUE(tests) << why;
    EXPECT_EQ(tests->size(), 20u);
    std::vector<platform::SqlRow> rows;
    ASSERT_TRUE(db->exec("SELECT COUNT(*) FROM test_groups", {}, &rows, &why));
    EXPECT_EQ(platform::asInt(rows[0][0]), 20 * 200);
    const auto back = archive.loadTest(tests->front().id, &why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(back->frames.size(), 200u);
    EXPECT_EQ(back->particulars.station, "城南变电站");

    // The server goes away and comes back: the next record is written on a new connection.
    ASSERT_TRUE(server.restart());
    EXPECT_TRUE(archive.storeTest(aTest(10, "CT-C"), &why)) << why;
}

} // namespace
} // namespace hvr

namespace hvr {
namespace {

// The real SQLite archive, whose writes fail while asked to: a full disk, a server gone away.
class FlakyDatabase final : public platform::Database {
  public:
    explicit FlakyDatabase(platform::Database& real) : m_real(real) {}
    Dialect dialect() const override { return m_real.dialect(); }
    std::string name() const override { return m_real.name(); }
    bool exec(const std::string& sql, const std::vector<platform::SqlValue>& params,
              std::vector<platform::SqlRow>* rows, std::string* why) override {
        if (failing && sql.rfind("SELECT", 0) != 0) return refuse(why);
        return m_real.exec(sql, params, rows, why);
    }
    bool execMany(const std::string& sql, const std::vector<std::vector<platform::SqlValue>>& rows,
                  std::string* why) override {
        return failing ? refuse(why) : m_real.execMany(sql, rows, why);
    }
    bool begin(std::string* why) override { return m_real.begin(why); }
    bool commit(std::string* why) override { return m_real.commit(why); }
    void rollback() override { m_real.rollback(); }
    bool failing = false;

  private:
    static bool refuse(std::string* why) {
        *why = "database or disk is full";
        return false;
    }
    platform::Database& m_real;
};

TEST(ArchiveKeeper, ARecordThatCannotBeWrittenWaitsIsSaidOnceAndIsWrittenWhenTheArchiveAnswers) {
    QTemporaryDir dir;
    auto real = openDb(dir.filePath("k.sqlite").toStdString());
    FlakyDatabase db(*real);
    auto archive = std::make_unique<Archive>(db);
    std::string why;
    ASSERT_TRUE(archive->open(&why)) << why;
    testing::FakeDialogs dialogs;
    archive::ArchiveKeeper keeper(dialogs, std::move(archive), "");

    db.failing = true;
    keeper.downloadCompleted(aTest(30, "CT-1"));
    keeper.downloadCompleted(aTest(30, "CT-2"));
    keeper.tick();
    ASSERT_EQ(dialogs.boxes.size(), 1u) << "said once";
    EXPECT_NE(dialogs.boxes[0].text.find("database or disk is full"), std::string::npos);
    EXPECT_EQ(keeper.waitingRecords(), 2u);

    db.failing = false;
    keeper.tick();
    EXPECT_EQ(keeper.waitingRecords(), 0u);
    const auto tests = keeper.archive()->listTests({}, &why);
    ASSERT_TRUE(tests);
    EXPECT_EQ(tests->size(), 2u) << "both written, whole";

    // A live run: its readings committed by the tick, the session ended by a pause.
    for (int i = 0; i < 3; ++i)
        keeper.liveReading(
            {"2026-12-09 10:00:0" + std::to_string(i), {6000000, 49800}, "row" + std::to_string(i)});
    keeper.tick();
    keeper.liveStopped("2026-12-09 10:00:09");
    const auto sessions = keeper.archive()->listSessions(&why);
    ASSERT_TRUE(sessions && sessions->size() == 1u);
    EXPECT_EQ(sessions->front().readings, 3);
    EXPECT_EQ(sessions->front().endedAt, "2026-12-09 10:00:09");
    EXPECT_EQ(keeper.archive()->sessionReadings(sessions->front().id, &why)->back().csvRow, "row2");

    // Still failing at the end: the record is named as lost.
    db.failing = true;
    keeper.downloadCompleted(aTest(5, "CT-3"));
    keeper.finish("2026-12-09 10:01:00");
    EXPECT_NE(dialogs.boxes.back().text.find("未能存入测试记录"), std::string::npos);
    EXPECT_NE(dialogs.boxes.back().text.find("5 组"), std::string::npos);
}

TEST(ArchiveWindow, FindsOpensAndDeletesTests) {
    QTemporaryDir dir;
    auto db = openDb(dir.filePath("w.sqlite").toStdString());
    Archive archive(*db);
    std::string why;
    ASSERT_TRUE(archive.open(&why));
    archive.storeTest(aTest(40, "CT-1"), &why);
    archive.storeTest(aTest(40, "CT-2", 3), &why);
    testing::FakeDialogs dialogs;
    testing::FakeFileSystem files;
    testing::FakeDocuments documents;
    std::vector<archive::TestRecord> opened;
    ArchiveForm form({dialogs, files, documents}, &archive, "",
                     [&](const archive::TestRecord& r) { opened.push_back(r); });
    form.Form_Load();
    ASSERT_EQ(form.cells().size(), 2u);
    EXPECT_EQ(form.cells()[0][3], "CT-2") << "the newest first";
    EXPECT_FALSE(form.openRecord.enabled()) << "nothing selected";

    form.filterText.setText("CT-1");
    form.search_Click();
    ASSERT_EQ(form.cells().size(), 1u);
    form.selectRow(0);
    form.openRecord_Click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].frames, aTest(40, "CT-1").frames);

    form.fromDate.setText("2026-13");
    form.search_Click();
    EXPECT_NE(dialogs.boxes.back().text.find("不是日期"), std::string::npos);
    form.fromDate.setText("");
    form.filterText.setText("");
    form.search_Click();
    form.selectRow(1);
    form.deleteRecord_Click(); // No, the default
    EXPECT_EQ(archive.listTests({}, &why)->size(), 2u);
    dialogs.answers = {true};
    form.deleteRecord_Click();
    EXPECT_EQ(archive.listTests({}, &why)->size(), 1u);
    EXPECT_EQ(form.cells().size(), 1u);

    ArchiveForm without({dialogs, files, documents}, nullptr, "无法打开测试记录 /x: 磁盘已满", {});
    without.Form_Load();
    EXPECT_EQ(without.status.text(), "测试记录不可用: 无法打开测试记录 /x: 磁盘已满");
    EXPECT_FALSE(without.search.enabled());
}

} // namespace
} // namespace hvr
