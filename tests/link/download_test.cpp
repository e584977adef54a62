// The download of stored groups, with the instrument played by the test.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "texts/texts.h"
#include "tests/support/form_harness.h"

namespace hvr {
namespace {

using testing::Bytes;
using testing::FormHarness;
using testing::line;

using testing::group;

const Bytes kEnd(8, 0xFF);

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// In history review with the link up, the read pressed.
class Download : public ::testing::Test {
  protected:
    void SetUp() override {
        h.form->Form_Load();
        h.form->Text40.setText(texts::kLinkUp);
        h.form->Command9_Click();
        h.form->Command5_Click();
        ASSERT_EQ(h.port.takeLine(), line(protocol::kReadCount));
    }
    void count(int n) {
        h.port.deliver({static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n & 0xFF)});
    }
    // Plays the instrument: answers every group request from a store of `groups` groups.
    void serve(int groups, bool asOneBlock = true) {
        for (int guard = 0; guard < 10000; ++guard) {
            const Bytes sent = h.port.takeLine();
            if (sent.size() != 4) return;
            const int g = sent[1] * 256 + sent[3] - 256;
            const Bytes first = g <= groups ? group(g) : kEnd, second = g + 1 <= groups ? group(g + 1) : kEnd;
            if (asOneBlock) {
                h.port.deliver(concat(first, second));
            } else {
                h.port.deliver(first);
                h.port.deliver(second);
            }
        }
    }
    int stored() {
        h.form->CountStoredGroups();
        return h.form->ji_ge - 1;
    }
    FormHarness h;
};

TEST_F(Download, CountThreeFetchesAFourthGroupToMakeSure) {
    count(3);
    EXPECT_EQ(h.port.takeLine(), line(257));
    EXPECT_EQ(h.form->link_mode, Form1::kGroupFrames);
    EXPECT_EQ(h.port.threshold(), 8);
    h.port.deliver(group(1));
    h.port.deliver(group(2));
    EXPECT_EQ(h.port.takeLine(), line(259));
    h.port.deliver(group(3));
    EXPECT_EQ(h.form->link_state, Form1::kExchanging) << "3 is less than 3 + 1: the pair goes on";
    h.port.deliver(kEnd);
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
    EXPECT_EQ(stored(), 3);
    EXPECT_EQ(h.form->rec_group_no[2], 3);
}

TEST_F(Download, CountThreeWithAFourthValidGroupFilesIt) {
    count(3);
    serve(4);
    EXPECT_EQ(stored(), 4);
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
    EXPECT_TRUE(h.port.writes.empty()) << "the download ends at group 4";
}

TEST_F(Download, CountTwoEndsAtTheMarker) {
    count(2);
    serve(2);
    EXPECT_EQ(stored(), 2);
    EXPECT_EQ(h.form->link_busy, 0);
    EXPECT_EQ(h.form->link_mode, Form1::kGroupFrames) << "until the next supervision tick";
    EXPECT_EQ(h.events.calls, 1) << "events run once at the end";
    EXPECT_TRUE(h.form->Command5.enabled());
    EXPECT_FALSE(h.form->Text33.visible());
    EXPECT_EQ(h.form->Text42.text(), "");
    h.form->Timer1_Timer(); // Ended (2, 1) becomes Idle with a link check
    EXPECT_EQ(h.form->link_mode, Form1::kWordReply);
    EXPECT_EQ(h.port.takeLine(), line(protocol::kLinkCheck));
}

TEST_F(Download, FilesEveryFieldOfAGroup) {
    count(1);
    h.port.takeLine();
    h.port.deliver({0x81, 0x02, 'A', 0x05, 0x06, '@', 0xB3, 0x05});
    EXPECT_EQ(h.form->rec_low_batt[0], 1);
    EXPECT_EQ(h.form->rec_sec_raw[0], 0x0102);
    EXPECT_EQ(h.form->rec_sec_code[0], 'A');
    EXPECT_EQ(h.form->rec_pri_raw[0], 0x0506);
    EXPECT_EQ(h.form->rec_pri_code[0], '@');
    EXPECT_EQ(h.form->rec_pri_freq[0], 0x33) << "without the 60 Hz bit";
    EXPECT_EQ(h.form->rec_status[0], 5);
    EXPECT_EQ(h.form->rec_group_no[0], 1);
}

TEST_F(Download, ProgressWhileGroupsArrive) {
    count(10);
    h.port.takeLine();
    h.port.deliver(group(1));
    EXPECT_FALSE(h.form->Command5.enabled());
    EXPECT_FALSE(h.form->Command13.enabled());
    EXPECT_EQ(h.form->Text34.text(), "10% ") << "request 257 of 10 groups";
    EXPECT_EQ(h.form->Text42.text(), "正在读取中.......");
    EXPECT_EQ(h.form->Text41.text(), "1/1页   1组");
    EXPECT_TRUE(h.form->Text1.text().starts_with("第0001组:")) << "the first page fills as it downloads";
    h.port.deliver(group(2));
    h.port.takeLine();
    h.port.deliver(group(3));
    EXPECT_EQ(h.form->Text34.text(), "30% ");
    EXPECT_EQ(h.form->Text33.rect().width, 3075);
    EXPECT_EQ(h.form->Text34.rect().left, 480 + 3075);
    EXPECT_TRUE(h.form->Text33.visible());
    EXPECT_TRUE(h.form->Text3.text().starts_with("第0003组:"));
    h.port.deliver(group(4));
    serve(10);
    EXPECT_TRUE(h.form->Command5.enabled());
    EXPECT_TRUE(h.form->Command13.enabled());
    EXPECT_EQ(stored(), 10);
}

TEST_F(Download, AfterTwentySixGroupsOnlyTheCountsMove) {
    count(60);
    serve(60);
    EXPECT_EQ(stored(), 60);
    EXPECT_TRUE(h.form->Text26.text().starts_with("第0026组:"));
    EXPECT_EQ(h.form->current_page, 1);
    EXPECT_EQ(h.form->Text41.text(), "1/3页   60组");
}

TEST_F(Download, APairArrivingAsOneBlockIsFiledWhole) {
    count(300);
    serve(300, true);
    EXPECT_EQ(stored(), 300);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(h.form->rec_sec_raw[i], 400 + i + 1) << i;
}

TEST_F(Download, FramesApartGiveTheSameStore) {
    count(300);
    serve(300, false);
    EXPECT_EQ(stored(), 300);
    EXPECT_EQ(h.form->rec_sec_raw[299], 700);
}

// Bytes behind a pair are something else, and may be the pair itself, shifted: it is asked
// for again once the line is quiet, and nothing else until the echo of that asking is past.
TEST_F(Download, BytesBehindAPairMakeItAskedAgainOnceTheLineIsQuiet) {
    count(4);
    h.port.takeLine();
    h.port.deliver(concat(concat(group(1), group(2)), Bytes{0x19, 0x64, 0x00}));
    EXPECT_EQ(h.port.bytesWaiting(), 0);
    h.form->Timer1_Timer(); // the tick the junk came in
    EXPECT_TRUE(h.port.writes.empty());
    h.port.deliver({0x55}); // more of it: the quiet starts again
    h.form->Timer1_Timer();
    EXPECT_TRUE(h.port.writes.empty());
    h.form->Timer1_Timer(); // a whole tick without a byte
    ASSERT_EQ(h.port.takeLine(), line(257));
    h.port.deliver(concat(group(1), group(2)));
    h.form->Timer1_Timer();
    EXPECT_TRUE(h.port.writes.empty()) << "the other asking's answer may still come";
    h.port.deliver(concat(group(1), group(2))); // and it does: thrown away
    for (int i = 0; i < 5 && h.port.writes.empty(); ++i)
        h.form->Timer1_Timer();
    EXPECT_EQ(h.port.takeLine(), line(259));
    h.port.deliver(concat(group(3), group(4)));
    EXPECT_EQ(stored(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(h.form->rec_sec_raw[i], 401 + i);
    EXPECT_EQ(h.form->dl_outcome, Form1::ReadOutcome::None) << "a fifth group is asked to make sure";
}

TEST_F(Download, AShortChunkStartsOverFromGroupOne) {
    count(6);
    h.port.takeLine();
    h.port.deliver(group(1));
    h.port.deliver(group(2));
    EXPECT_EQ(h.port.takeLine(), line(259));
    h.cutShort(7); // a read that returns fewer bytes than a frame
    h.port.deliver(Bytes(7, 0x01));
    EXPECT_TRUE(h.port.writes.empty()) << "the rest of the frame may still come";
    h.form->Timer1_Timer();
    h.form->Timer1_Timer();
    EXPECT_EQ(h.port.takeLine(), line(257));
    EXPECT_EQ(h.form->dl_half, 0);
    EXPECT_EQ(h.port.threshold(), 8);
    h.port.writes.push_back(line(257));
    serve(6);
    EXPECT_EQ(stored(), 6);
    EXPECT_EQ(h.form->rec_sec_raw[0], 401);
}

TEST_F(Download, GarbledCountsAreAskedForAgain) {
    count(4601);
    EXPECT_EQ(h.port.takeLine(), line(protocol::kReadCount));
    EXPECT_EQ(h.form->link_mode, Form1::kWordReply);
    EXPECT_EQ(h.form->link_state, Form1::kExchanging);
    count(0xFFFF); // above 32767 too: not a negative count
    EXPECT_EQ(h.port.takeLine(), line(protocol::kReadCount));
    EXPECT_EQ(h.form->dl_count_reply, 0xFFFF);
    EXPECT_EQ(h.form->dl_implausible_counts, 2);
    count(4600);
    EXPECT_EQ(h.form->dl_implausible_counts, 0);
    EXPECT_EQ(h.port.takeLine(), line(257));
    EXPECT_EQ(h.form->stored_count, 4600);
}

// A live frame answering a poll sent before the read, late: its first two bytes are no count.
TEST_F(Download, ACountReplyWithMoreBytesBehindItIsAskedForAgain) {
    h.port.deliver({0x0C, 0xE2, 0x81, 0x02, 'A', 0x05, 0x06, '@'});
    EXPECT_TRUE(h.port.writes.empty());
    h.form->Timer1_Timer();
    h.form->Timer1_Timer();
    EXPECT_EQ(h.port.takeLine(), line(protocol::kReadCount));
    EXPECT_FALSE(h.form->dl_active);
    count(60);
    EXPECT_EQ(h.form->stored_count, 60);
    for (int i = 0; i < 4; ++i) { // the other asking's answer may still come
        EXPECT_TRUE(h.port.writes.empty());
        h.form->Timer1_Timer();
    }
    EXPECT_EQ(h.port.takeLine(), line(257));
}

TEST_F(Download, AStoreEndingBeforeItsCountIsAnIncompleteRead) {
    count(10);
    serve(5); // the marker where group 6 should be
    EXPECT_EQ(stored(), 5);
    EXPECT_EQ(h.form->dl_outcome, Form1::ReadOutcome::Incomplete);
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0],
              (testing::FakeDialogs::Box{"message", "读取未完成: 已读取 5 组, 仪器报告 10 组", "系统提示"}));
    EXPECT_EQ(h.form->Text42.text(), "读取未完成");
    EXPECT_TRUE(h.form->Command5.enabled());
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
}

TEST_F(Download, AReadIsToldEndedOnceWithItsOutcomeAlreadySetAndWhatItFiled) {
    // Whatever runs while the read ends sees the outcome it ends with.
    std::vector<Form1::ReadOutcome> seenMeanwhile, toldEnded;
    h.events.onProcess = [&] { seenMeanwhile.push_back(h.form->dl_outcome); };
    h.form->setReadEndedObserver([&] { toldEnded.push_back(h.form->dl_outcome); });
    count(10);
    serve(5);
    EXPECT_EQ(seenMeanwhile, std::vector{Form1::ReadOutcome::Incomplete});
    EXPECT_EQ(toldEnded, std::vector{Form1::ReadOutcome::Incomplete});

    // A group with no secondary range code among the others is filed and counted as filed.
    h.form->Command5_Click();
    h.port.takeLine();
    count(4);
    for (int guard = 0; guard < 10; ++guard) {
        const Bytes sent = h.port.takeLine();
        if (sent.size() != 4) break;
        const int g = sent[1] * 256 + sent[3] - 256;
        auto nth = [](int n) { return n == 2 ? testing::frame(0, 0, 0, 0) : n <= 4 ? group(n) : kEnd; };
        h.port.deliver(concat(nth(g), nth(g + 1)));
    }
    EXPECT_EQ(toldEnded.back(), Form1::ReadOutcome::Complete);
    EXPECT_EQ(toldEnded.size(), 2u);
    EXPECT_EQ(h.form->dl_filed, 4) << "every frame filed, the empty one too";
    EXPECT_EQ(stored(), 3) << "though only three groups count";
}

TEST_F(Download, CountsThatStayGarbledEndTheReadOnceWithoutSpinning) {
    for (int i = 0; i < 3; ++i) {
        count(5000);
        ASSERT_EQ(h.port.takeLine(), line(protocol::kReadCount)) << "a passing fault is asked again at once";
    }
    count(5000);
    EXPECT_TRUE(h.port.writes.empty()) << "then once a supervision tick";
    for (int tick = 1; tick < 10; ++tick) {
        h.form->Timer1_Timer();
        ASSERT_EQ(h.port.takeLine(), line(protocol::kReadCount)) << tick;
        count(5000);
    }
    EXPECT_TRUE(h.dialogs.boxes.empty());
    h.form->Timer1_Timer(); // five seconds of garbled counts
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text, "仪器报告的数据组数为 5000, 超过 4600, 读取未完成");
    EXPECT_EQ(h.form->dl_outcome, Form1::ReadOutcome::Incomplete);
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
    EXPECT_TRUE(h.form->Command5.enabled());
    for (int tick = 0; tick < 30; ++tick)
        h.form->Timer1_Timer();
    EXPECT_EQ(h.dialogs.boxes.size(), 1u) << "said once";
}

TEST_F(Download, CountZeroSaysSoAndTheFirstFrameEndsIt) {
    count(0);
    EXPECT_EQ(h.dialogs.boxes.at(0).text, "读取数据组数为0");
    EXPECT_EQ(h.port.takeLine(), line(257));
    h.port.deliver(group(1));
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
    EXPECT_EQ(stored(), 1);
}

// Silence during a download: supervision makes the link idle, and the next good link check
// asks the count again and, for the same count, resumes at the pending pair.
class Interrupted : public Download {
  protected:
    // Supervision ticks until it declares the link silent; it checks every 21 ticks whether
    // anything came since the last check. Meanwhile the unanswered pair is asked again.
    void silence() {
        const Bytes pending = line(h.form->dl_request);
        for (int i = 0; i < 42 && h.form->Text40.text() != texts::kLinkDown; ++i)
            h.form->Timer1_Timer();
        ASSERT_EQ(h.form->Text40.text(), texts::kLinkDown);
        ASSERT_EQ(h.form->link_state, Form1::kIdle);
        ASSERT_EQ(h.form->link_busy, 1);
        const Bytes sent = h.port.takeLine();
        ASSERT_GE(sent.size(), 8u);
        for (std::size_t at = 0; at + 4 < sent.size(); at += 4)
            ASSERT_EQ(Bytes(sent.begin() + at, sent.begin() + at + 4), pending) << at;
        ASSERT_EQ(Bytes(sent.end() - 4, sent.end()), line(protocol::kLinkCheck))
            << "checked in the same tick";
    }
    // The link check answered: the count is asked before anything else.
    void linkBack() {
        h.port.deliver({0x19, 0x64});
        ASSERT_EQ(h.form->Text40.text(), texts::kLinkUp);
        ASSERT_EQ(h.port.takeLine(), line(protocol::kReadCount));
    }
};

TEST_F(Interrupted, ResumesAtThePendingPair) {
    count(10);
    h.port.takeLine();
    h.port.deliver(group(1));
    h.port.deliver(group(2));
    EXPECT_EQ(h.port.takeLine(), line(259));
    h.port.deliver(group(3)); // group 4 never comes
    silence();
    linkBack();
    count(10);
    EXPECT_EQ(h.port.takeLine(), line(259)) << "the pair in flight is fetched once more";
    h.port.writes.push_back(line(259));
    serve(10);
    EXPECT_EQ(stored(), 10);
    EXPECT_TRUE(h.form->Command5.enabled());
}

TEST_F(Interrupted, OddCountResumesItsLastPair) {
    count(3);
    h.port.takeLine();
    h.port.deliver(group(1));
    h.port.deliver(group(2));
    EXPECT_EQ(h.port.takeLine(), line(259));
    silence();
    linkBack();
    count(3);
    EXPECT_EQ(h.port.takeLine(), line(259)) << "group 3 is still due";
    h.port.deliver(group(3));
    h.port.deliver(kEnd);
    EXPECT_EQ(stored(), 3);
    EXPECT_TRUE(h.form->Command5.enabled());
    EXPECT_FALSE(h.form->Text33.visible());
}

TEST_F(Interrupted, AnotherCountIsAnotherStoreReadFromItsFirstGroup) {
    count(10);
    h.port.takeLine();
    for (int g = 1; g <= 3; ++g)
        h.port.deliver(group(g));
    silence();
    linkBack();
    count(4); // another instrument answers on the line
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text, "仪器的数据组数由 10 组变为 4 组, 已从第1组重新读取");
    EXPECT_EQ(h.port.takeLine(), line(257));
    EXPECT_EQ(stored(), 0) << "nothing of the first store is kept";
    h.port.writes.push_back(line(257));
    serve(4);
    EXPECT_EQ(stored(), 4);
    EXPECT_EQ(h.form->dl_outcome, Form1::ReadOutcome::Complete);
}

TEST_F(Interrupted, SilenceOnTheConfirmingPairEndsTheDownload) {
    count(4);
    h.port.takeLine();
    for (int g = 1; g <= 4; ++g)
        h.port.deliver(group(g));
    EXPECT_EQ(h.port.takeLine(), concat(line(259), line(261))) << "4 is below 4 + 1: a fifth is asked for";
    silence();
    h.port.deliver({0x19, 0x64});
    EXPECT_TRUE(h.port.writes.empty()) << "no group is due any more";
    EXPECT_TRUE(h.form->Command5.enabled()) << "the window is not left waiting";
    EXPECT_EQ(h.form->link_busy, 0);
    EXPECT_FALSE(h.form->Text33.visible());
    EXPECT_EQ(stored(), 4);
}

TEST_F(Interrupted, ALinkCheckAfterAFinishedDownloadResumesNothing) {
    count(3);
    serve(3);
    ASSERT_EQ(h.form->link_busy, 0);
    h.form->Timer1_Timer();
    h.port.takeLine();
    h.port.deliver({0x19, 0x64});
    EXPECT_TRUE(h.port.writes.empty());
    EXPECT_EQ(h.form->dl_request, 0);
}

} // namespace
} // namespace hvr
