// The test archive on the real databases: SQLite in a file, and a private PostgreSQL server the
// test starts itself. Records whole or not at all, migrations, refusals, two writers at once.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <chrono>
#include <thread>

#include "archive/archive.h"
#include "archive/archive_form.h"
#include "archive/archive_keeper.h"
#include "archive/schema.h"
#include "platform/qt_database.h"
#include "sim/scenario.h"
#include "tests/support/fake_services.h"
#ifndef _WIN32
#include "tests/support/postgres_server.h"
#endif
#include "texts/texts.h"

namespace hvr {
namespace {

using archive::Archive;
#ifndef _WIN32
using testing::PostgresServer;
#endif
using archive::TestRecord;

TestRecord aTest(int groups, const std::string& device, std::uint32_t seed = 1) {
    const auto store = sim::Scenario::synthetic(groups, seed);
    TestRecord record{
        0,       "", "2026-12-09 10:00:00", {"城南变电站", device, "A", "王工", "备注"}, "600/5", "0.5",
        "1.0.1", {}};
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

TEST(Archive, WhatIsRefusedIsSaidForWhatItIsAndLeftAsItWas) {
    QTemporaryDir dir;
    // A newer archive, in the journal mode it was left in: refused before anything is written.
    const QString newer = dir.filePath("newer.sqlite");
    {
        auto db = openDb(newer.toStdString());
        std::string why;
        for (int step = 1; step <= archive::kSchemaVersion; ++step)
            for (const std::string& sql : archive::migration(step, db->dialect()))
                ASSERT_TRUE(db->exec(sql, {}, nullptr, &why)) << why;
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
    EXPECT_FALSE(QFile::exists(newer + "-wal"));

    // Another program's database: neither written nor read as an archive.
    const QString foreign = dir.filePath("foreign.sqlite");
    {
        auto db = openDb(foreign.toStdString());
        std::string why;
        ASSERT_TRUE(db->exec("CREATE TABLE invoices (n INTEGER)", {}, nullptr, &why));
    }
    const QByteArray foreignBytes = bytesOf(foreign);
    for (const auto purpose : {Archive::Purpose::Writing, Archive::Purpose::Reading}) {
        auto db = openDb(foreign.toStdString());
        Archive archive(*db);
        std::string why;
        EXPECT_FALSE(archive.open(&why, purpose));
        EXPECT_NE(why.find("不是本程序的测试记录"), std::string::npos) << why;
    }
    EXPECT_EQ(bytesOf(foreign), foreignBytes);

    // Damaged, said as damaged where SQLite finds it.
    const QString damaged = dir.filePath("damaged.sqlite");
    QFile f(damaged);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, 'x'));
    f.close();
    {
        std::string why;
        auto db = platform::QtDatabase::open(damaged.toStdString(), &why);
        EXPECT_TRUE(!db || !Archive(*db).open(&why));
        EXPECT_NE(why.find("已损坏"), std::string::npos) << why;
        EXPECT_NE(why.find("未作改动"), std::string::npos) << why;
    }
    EXPECT_EQ(bytesOf(damaged), QByteArray(8192, 'x'));
    EXPECT_FALSE(QFile::exists(damaged + "-wal"));

    // Locked by another program: said so, not damaged, after the wait.
    const QString locked = dir.filePath("locked.sqlite");
    auto holder = openDb(locked.toStdString());
    Archive held(*holder);
    std::string why;
    ASSERT_TRUE(held.open(&why)) << why;
    ASSERT_TRUE(holder->exec("BEGIN EXCLUSIVE", {}, nullptr, &why)) << why;
    {
        auto db = openDb(locked.toStdString());
        Archive archive(*db);
        EXPECT_TRUE(!archive.open(&why) || !archive.storeTest(aTest(3, "CT-1"), &why));
        EXPECT_NE(why.find("锁定"), std::string::npos) << why;
        EXPECT_EQ(why.find("损坏"), std::string::npos) << why;
    }
    holder->rollback();

    // What only reads makes nothing: no folder, no file, nothing beside a device.
    const std::string missing = dir.filePath("no/such/archive.sqlite").toStdString();
    EXPECT_FALSE(platform::QtDatabase::open(*platform::parseArchiveAddress(missing, &why),
                                            platform::QtDatabase::Missing::Refuse, &why));
    EXPECT_NE(why.find("不存在"), std::string::npos) << why;
    EXPECT_FALSE(QDir(dir.filePath("no")).exists());
#ifndef _WIN32
    EXPECT_FALSE(platform::QtDatabase::open("/dev/null", &why));
    EXPECT_NE(why.find("不是普通文件"), std::string::npos) << why;
    EXPECT_FALSE(QFile::exists("/dev/null-wal"));
    EXPECT_FALSE(platform::QtDatabase::open("/proc/hvr/archive.sqlite", &why));
    EXPECT_NE(why.find("/proc/hvr"), std::string::npos) << why;
#endif
}

#ifndef _WIN32 // other processes, killed; a PostgreSQL server
// Starts `count` writers of one small test each into one archive at once; how many failed,
// with what they said.
std::pair<int, std::string> writeAtOnce(const QString& where, int count) {
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int i = 0; i < count; ++i) {
        writers.push_back(std::make_unique<QProcess>());
        writers.back()->start(HVR_ARCHIVE_WRITER, {where, "once", "CT-" + QString::number(i)});
    }
    int failed = 0;
    std::string said;
    for (auto& w : writers) {
        if (!w->waitForFinished(60000) || w->exitCode() != 0) ++failed;
        said += w->readAllStandardError().toStdString();
    }
    return {failed, said};
}

std::int64_t countOf(platform::Database& db, const std::string& sql) {
    std::vector<platform::SqlRow> rows;
    std::string why;
    EXPECT_TRUE(db.exec(sql, {}, &rows, &why)) << why;
    return rows.empty() ? -1 : platform::asInt(rows[0][0]);
}

TEST(Archive, ProgramsOpeningOneNewOrOlderArchiveAtOnceEachKeepTheirRecord) {
    for (int round = 0; round < 3; ++round) {
        QTemporaryDir dir;
        const QString fresh = dir.filePath("new/archive.sqlite");
        const auto [failed, said] = writeAtOnce(fresh, 4);
        EXPECT_EQ(failed, 0) << said;
        auto db = openDb(fresh.toStdString());
        EXPECT_EQ(countOf(*db, "SELECT COUNT(*) FROM tests"), 4) << "round " << round;

        // An archive of the first version, brought up by all four at once.
        const QString old = dir.filePath("old.sqlite");
        {
            auto first = openDb(old.toStdString());
            std::string why;
            for (const std::string& sql : archive::migration(1, first->dialect()))
                ASSERT_TRUE(first->exec(sql, {}, nullptr, &why)) << why;
            ASSERT_TRUE(first->exec("UPDATE schema_version SET version = 1", {}, nullptr, &why));
        }
        const auto [oldFailed, oldSaid] = writeAtOnce(old, 4);
        EXPECT_EQ(oldFailed, 0) << oldSaid;
        auto upgraded = openDb(old.toStdString());
        EXPECT_EQ(countOf(*upgraded, "SELECT COUNT(*) FROM tests"), 4) << "round " << round;
        EXPECT_EQ(countOf(*upgraded, "SELECT version FROM schema_version"), archive::kSchemaVersion);
    }
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

TEST(Archive, TwoLaptopsWritingToOneServerLoseNothing) {
    PostgresServer server;
    if (!server.ok()) GTEST_SKIP() << server.why();
    // Four laptops using the new team database for the first time, at once.
    const auto [failed, said] = writeAtOnce(QString::fromStdString(server.url()), 4);
    EXPECT_EQ(failed, 0) << said;
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
    EXPECT_EQ(tests->size(), 24u);
    EXPECT_EQ(countOf(*db, "SELECT COUNT(*) FROM test_groups"), 20 * 200 + 4 * 20);
    const auto back = archive.loadTest(tests->front().id, &why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(back->frames.size(), 200u);
    EXPECT_EQ(back->particulars.station, "城南变电站");

    // A table locked by another session: the wait ends after seconds, said.
    auto other = openDb(server.url());
    ASSERT_TRUE(other->begin(&why) &&
                other->exec("LOCK TABLE tests IN ACCESS EXCLUSIVE MODE", {}, nullptr, &why))
        << why;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(archive.storeTest(aTest(10, "CT-L"), &why));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30)) << "bounded";
    EXPECT_TRUE(why.find("57014") != std::string::npos || why.find("55P03") != std::string::npos)
        << "a statement or lock time-out, in the server's own language: " << why;
    other->rollback();

    // The server goes away and comes back: the next record is written on a new connection.
    ASSERT_TRUE(server.restart());
    EXPECT_TRUE(archive.storeTest(aTest(10, "CT-C"), &why)) << why;
}

#endif

} // namespace
} // namespace hvr

namespace hvr {
namespace {

// The real SQLite archive, whose writes fail while asked to (a full disk, a server gone away),
// or only those of live sessions, or whose next commit is made but answered as failed.
class FlakyDatabase final : public platform::Database {
  public:
    explicit FlakyDatabase(platform::Database& real) : m_real(real) {}
    Dialect dialect() const override { return m_real.dialect(); }
    std::string name() const override { return m_real.name(); }
    bool exec(const std::string& sql, const std::vector<platform::SqlValue>& params,
              std::vector<platform::SqlRow>* rows, std::string* why) override {
        if (fails(sql) && sql.rfind("SELECT", 0) != 0) return refuse(why);
        return m_real.exec(sql, params, rows, why);
    }
    bool execMany(const std::string& sql, const std::vector<std::vector<platform::SqlValue>>& rows,
                  std::string* why) override {
        return fails(sql) ? refuse(why) : m_real.execMany(sql, rows, why);
    }
    bool begin(std::string* why) override { return m_real.begin(why); }
    bool beginExclusive(std::string* why) override { return m_real.beginExclusive(why); }
    bool prepareForWriting(std::string* why) override { return m_real.prepareForWriting(why); }
    bool commit(std::string* why) override {
        if (!m_real.commit(why)) return false;
        if (!answerLost) return true;
        answerLost = false;
        *why = "server closed the connection unexpectedly";
        return false;
    }
    void rollback() override { m_real.rollback(); }
    bool failing = false;
    bool sessionsFailing = false;
    bool answerLost = false;

  private:
    bool fails(const std::string& sql) const {
        return failing || (sessionsFailing && sql.find("session") != std::string::npos);
    }
    static bool refuse(std::string* why) {
        *why = "database or disk is full";
        return false;
    }
    platform::Database& m_real;
};

struct KeeperOnFlakyArchive {
    QTemporaryDir dir;
    std::unique_ptr<platform::QtDatabase> real = openDb(dir.filePath("k.sqlite").toStdString());
    FlakyDatabase db{*real};
    testing::FakeDialogs dialogs;
    archive::ArchiveKeeper keeper{[this](const std::string& text) { dialogs.message(text, "变比记录仪"); }};
    KeeperOnFlakyArchive() {
        auto archive = std::make_unique<Archive>(db);
        std::string why;
        EXPECT_TRUE(archive->open(&why)) << why;
        keeper.attach(std::move(archive), "");
    }
    archive::SessionReading reading(int i) {
        return {0, "2026-12-09 10:00:0" + std::to_string(i), {6000000, 49800}, "row" + std::to_string(i)};
    }
};

TEST(ArchiveKeeper, ARecordThatCannotBeWrittenWaitsIsSaidOnceAndIsWrittenWhenTheArchiveAnswers) {
    KeeperOnFlakyArchive k;
    auto& keeper = k.keeper;
    std::string why;
    k.db.failing = true;
    keeper.downloadCompleted(aTest(30, "CT-1"));
    keeper.write();
    keeper.downloadCompleted(aTest(30, "CT-2"));
    keeper.write();
    ASSERT_EQ(k.dialogs.boxes.size(), 1u) << "said once";
    EXPECT_NE(k.dialogs.boxes[0].text.find("database or disk is full"), std::string::npos);
    EXPECT_EQ(keeper.waitingRecords(), 2u);

    k.db.failing = false;
    EXPECT_TRUE(keeper.write());
    EXPECT_EQ(keeper.waitingRecords(), 0u);
    const auto tests = keeper.archive()->listTests({}, &why);
    ASSERT_TRUE(tests);
    EXPECT_EQ(tests->size(), 2u) << "both written, whole";

    // A live run: its readings committed by the write, the session ended by a pause.
    for (int i = 0; i < 3; ++i)
        keeper.liveReading(k.reading(i));
    keeper.write();
    keeper.liveStopped("2026-12-09 10:00:09");
    keeper.write();
    const auto sessions = keeper.archive()->listSessions(&why);
    ASSERT_TRUE(sessions && sessions->size() == 1u);
    EXPECT_EQ(sessions->front().readings, 3);
    EXPECT_EQ(sessions->front().endedAt, "2026-12-09 10:00:09");
    EXPECT_EQ(keeper.archive()->sessionReadings(sessions->front().id, &why)->back().csvRow, "row2");

    // Still failing at the end: the record is named as lost.
    k.db.failing = true;
    keeper.downloadCompleted(aTest(5, "CT-3"));
    keeper.write();
    EXPECT_NE(keeper.unwritten().find("5 组"), std::string::npos) << keeper.unwritten();
}

TEST(ArchiveKeeper, SessionsThatFailNeitherHoldUpTestsNorVanishAndAResentCommitIsNotStoredTwice) {
    KeeperOnFlakyArchive k;
    auto& keeper = k.keeper;
    std::string why;
    // A run begun while its session cannot be written; a download meanwhile is stored.
    k.db.sessionsFailing = true;
    keeper.liveReading(k.reading(0));
    keeper.liveReading(k.reading(1));
    keeper.downloadCompleted(aTest(12, "CT-1"));
    EXPECT_FALSE(keeper.write());
    EXPECT_EQ(keeper.waitingRecords(), 0u) << "the test is written whatever the session does";
    keeper.liveStopped("2026-12-09 10:00:05");
    keeper.write();
    EXPECT_NE(keeper.unwritten().find("2 个读数"), std::string::npos)
        << "held, and named: " << keeper.unwritten();

    // The archive answers again: the run is written whole, begun after the fault.
    k.db.sessionsFailing = false;
    EXPECT_TRUE(keeper.write());
    EXPECT_EQ(keeper.unwritten(), "");
    auto sessions = keeper.archive()->listSessions(&why);
    ASSERT_TRUE(sessions && sessions->size() == 1u);
    EXPECT_EQ(sessions->front().readings, 2);

    // Commits made but answered as failed: sent again, stored once, and nothing after is stuck.
    k.db.answerLost = true;
    keeper.downloadCompleted(aTest(7, "CT-2"));
    EXPECT_FALSE(keeper.write());
    EXPECT_TRUE(keeper.write());
    k.db.answerLost = true;
    keeper.liveReading(k.reading(2));
    keeper.liveReading(k.reading(3));
    EXPECT_FALSE(keeper.write());
    keeper.liveReading(k.reading(4));
    keeper.liveStopped("2026-12-09 10:01:00");
    EXPECT_TRUE(keeper.write());
    EXPECT_EQ(keeper.archive()->listTests({"", "CT-2", "", ""}, &why)->size(), 1u) << "stored once";
    sessions = keeper.archive()->listSessions(&why);
    ASSERT_TRUE(sessions);
    EXPECT_EQ(sessions->front().readings, 3) << "each reading once";
    EXPECT_EQ(keeper.unwritten(), "");
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

    form.checkArchive_Click();
    EXPECT_NE(dialogs.boxes.back().text.find("完好"), std::string::npos) << dialogs.boxes.back().text;

    // A test without a device has no trend to draw; closed and shown again, the window works.
    TestRecord nameless = aTest(5, "");
    archive.storeTest(nameless, &why);
    form.closeWindow_Click();
    form.Form_Activate(&archive, "");
    form.shown(); // as its window does each time it is shown
    form.selectRow(0);
    form.showTrend_Click();
    EXPECT_EQ(dialogs.boxes.back().text, texts::kNoDevice);

    // Sessions under a date filter: the row exported is the session shown in it.
    const auto early = archive.startSession("2026-12-01 08:00:00", &why);
    const auto late = archive.startSession("2026-12-09 08:00:00", &why);
    ASSERT_TRUE(early && late) << why;
    archive.appendReadings(*early, {{0, "2026-12-01 08:00:01", {1, 1}, "early"}}, &why);
    archive.appendReadings(*late, {{0, "2026-12-09 08:00:01", {1, 1}, "late"}}, &why);
    form.SelectOption("showSessions");
    form.fromDate.setText("2026-12-01");
    form.toDate.setText("2026-12-01");
    form.search_Click();
    ASSERT_EQ(form.cells().size(), 1u);
    form.selectRow(0);
    dialogs.saveAnswers = {"/s.csv"};
    form.exportCsv_Click();
    EXPECT_NE(files.files["/s.csv"].find("early"), std::string::npos);

    ArchiveForm without({dialogs, files, documents}, nullptr, "无法打开测试记录 /x: 磁盘已满", {});
    without.Form_Load();
    EXPECT_EQ(without.status.text(), "测试记录不可用: 无法打开测试记录 /x: 磁盘已满");
    EXPECT_FALSE(without.search.enabled());
}

} // namespace
} // namespace hvr
