// What the window archives: the coordinator between the main window, the ratio error window's
// particulars and the keeper, on a real SQLite archive.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "archive/test_coordinator.h"
#include "print/form3.h"
#include "platform/qt_database.h"
#include "tests/support/form_harness.h"
#include "texts/texts.h"

namespace hvr {
namespace {

using testing::Bytes;
using testing::group;

struct Coordinated : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<platform::QtDatabase> db;
    testing::FormHarness h;
    testing::MemoryPreferences preferences;
    std::vector<std::string> said;
    archive::ArchiveKeeper keeper{[this](const std::string& text) { said.push_back(text); }};
    int clock = 0;
    archive::TestCoordinator coordinator{
        {keeper, preferences, [this] { return "2026-12-09 10:00:" + std::to_string(10 + clock++); },
         [] { return std::string("2026-12-09T10:00:00.000Z"); }, "9.9"}};
    archive::Archive* archive = nullptr;

    void SetUp() override {
        std::string why;
        db = platform::QtDatabase::open(dir.filePath("c.sqlite").toStdString(), &why);
        auto opened = std::make_unique<archive::Archive>(*db);
        ASSERT_TRUE(opened->open(&why)) << why;
        archive = opened.get();
        keeper.attach(std::move(opened), "");
        h.form->setReadEndedObserver([this] { coordinator.readEnded(*h.form); });
        h.form->Form_Load();
        h.form->Text40.setText(texts::kLinkUp);
        h.form->Command9_Click();
    }
    // A read of four groups, the second with no range codes at all.
    void read() {
        h.form->Command5_Click();
        h.port.takeLine();
        h.port.deliver({0, 4});
        const Bytes end(8, 0xFF);
        const auto nth = [&](int n) { return n == 2 ? testing::frame(0, 0, 0, 0) : n <= 4 ? group(n) : end; };
        for (int guard = 0; guard < 10; ++guard) {
            const Bytes sent = h.port.takeLine();
            if (sent.size() != 4) break;
            const int g = sent[1] * 256 + sent[3] - 256;
            Bytes pair = nth(g);
            const Bytes second = nth(g + 1);
            pair.insert(pair.end(), second.begin(), second.end());
            h.port.deliver(pair);
            coordinator.followMainWindow(*h.form);
        }
        coordinator.followMainWindow(*h.form);
        keeper.write();
    }
    archive::TestRecord only() {
        std::string why;
        const auto tests = archive->listTests({}, &why);
        EXPECT_TRUE(tests && tests->size() == 1u) << why;
        return *archive->loadTest(tests->front().id, &why);
    }
};

TEST_F(Coordinated, AReadIsArchivedWholeAndWhatIsTypedAfterItAmendsItsRecord) {
    preferences.values = {{"device", "CT-1"}, {"rated", ""}, {"class", "不判定"}};
    read();
    archive::TestRecord record = only();
    EXPECT_EQ(record.frames.size(), 4u) << "every filed frame, the empty one too";
    EXPECT_EQ(record.particulars.device, "CT-1");
    EXPECT_EQ(record.programVersion, "9.9");

    // In the field: read, then F4 to type the nameplate, class and station.
    preferences.values["station"] = "城南变电站";
    preferences.values["rated"] = "600/5";
    preferences.values["class"] = "0.5";
    coordinator.particularsChanged();
    coordinator.particularsChanged(); // nothing new: nothing more
    keeper.write();
    record = only();
    EXPECT_EQ(record.particulars.station, "城南变电站");
    EXPECT_EQ(record.rated, "600/5");
    EXPECT_EQ(record.accuracy, "0.5");
    std::string why;
    EXPECT_EQ(archive->listTests({}, &why)->front().verdict, "不合格")
        << "judged again against what was typed";
    EXPECT_TRUE(said.empty());

    // Opened again later, with a guessed nameplate: the window's entry is the guess again, and
    // a change amends this record, not another.
    preferences.values["rated"] = "600/5";
    record.rated = "";
    coordinator.testOpened(record);
    EXPECT_EQ(preferences.values["rated"], "");
    coordinator.followMainWindow(*h.form);
    preferences.values["tester"] = "王工";
    coordinator.particularsChanged();
    keeper.write();
    EXPECT_EQ(only().particulars.tester, "王工");

    // A new read begun: what is typed meanwhile belongs to no archived test.
    h.form->Command5_Click();
    coordinator.followMainWindow(*h.form);
    EXPECT_FALSE(coordinator.onScreen());
}

TEST_F(Coordinated, LiveReadingsMakeTheRunsSessionWhichAPauseEnds) {
    h.form->Command11_Click(); // back to real-time monitoring
    h.startLive();
    for (int i = 0; i < 3; ++i) {
        h.showLive(testing::frame(500, '1', 6000, '2'));
        coordinator.followMainWindow(*h.form);
    }
    h.form->live_polling = 0; // paused
    coordinator.followMainWindow(*h.form);
    keeper.write();
    std::string why;
    const auto sessions = archive->listSessions(&why);
    ASSERT_TRUE(sessions && sessions->size() == 1u) << why;
    EXPECT_EQ(sessions->front().readings, 3);
    EXPECT_FALSE(sessions->front().endedAt.empty());
}

// Printing from history review creates the window anew, which monitors live readings while the
// printer dialog is open: nobody started them, and they are no session.
TEST_F(Coordinated, APrintMakesNoLiveSession) {
    read();
    h.printing.inOptions = [](Form3& options) { options.Command2_Click(); }; // "打  印"
    h.printing.whileChoosing = [&] {
        h.port.open(2);
        h.startLive();
        for (int i = 0; i < 3; ++i) {
            h.showLive(testing::frame(500, '1', 6000, '2'));
            coordinator.followMainWindow(*h.form);
        }
    };
    h.form->Command16_Click();
    ASSERT_EQ(h.printing.printerDialogs, 1);
    coordinator.followMainWindow(*h.form);
    keeper.write();
    std::string why;
    const auto sessions = archive->listSessions(&why);
    ASSERT_TRUE(sessions) << why;
    EXPECT_TRUE(sessions->empty()) << sessions->front().readings << " readings";
}

} // namespace
} // namespace hvr
