// One request on the line at a time, through the form as the program drives it: the
// instrument is played by the test, the time by supervision ticks.
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

const Bytes kAlive{0x19, 0x64};

// Idle in history review with the link up, as the window sits before a read.
class OneRequest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.form->Form_Load();
        h.form->Text40.setText(texts::kLinkUp);
        h.form->Command9_Click();
        h.port.takeLine();
    }
    static Bytes pairOf(int g, int groups) {
        Bytes pair = g <= groups ? group(g) : Bytes(8, 0xFF);
        const Bytes second = g + 1 <= groups ? group(g + 1) : Bytes(8, 0xFF);
        pair.insert(pair.end(), second.begin(), second.end());
        return pair;
    }
    // Answers every group request from a store of `groups`, both frames in one write; while
    // the line asks nothing, supervision ticks pass, until the read is over.
    void serve(int groups) {
        for (int guard = 0; guard < 1000 && h.form->dl_outcome == Form1::ReadOutcome::None; ++guard) {
            const Bytes sent = h.port.takeLine();
            if (sent.size() != 4) {
                h.form->Timer1_Timer();
                continue;
            }
            h.port.deliver(pairOf(sent[1] * 256 + sent[3] - 256, groups));
        }
    }
    void expectStore(int groups) {
        h.form->CountStoredGroups();
        ASSERT_EQ(h.form->ji_ge - 1, groups);
        for (int i = 0; i < groups; ++i)
            ASSERT_EQ(h.form->rec_sec_raw[i], 400 + i + 1) << "group " << i + 1;
        EXPECT_EQ(h.form->dl_outcome, Form1::ReadOutcome::Complete);
    }
    FormHarness h;
};

TEST_F(OneRequest, AReadPressedWhileALinkCheckIsAnsweredWaitsForItsReply) {
    h.form->Timer1_Timer();
    ASSERT_EQ(h.port.takeLine(), line(protocol::kLinkCheck));
    h.form->Command5_Click(); // "读  取" before the reply is in
    EXPECT_TRUE(h.port.writes.empty()) << "the count waits for the link check's reply";
    h.port.deliver(kAlive); // the link check's reply, not the count
    EXPECT_EQ(h.form->stored_count, 0);
    ASSERT_EQ(h.port.takeLine(), line(protocol::kReadCount));
    h.port.deliver({0x00, 0x1E});
    serve(30);
    expectStore(30);
}

TEST_F(OneRequest, ASlowReplyIsNotAskedForTwice) {
    // A download cut by silence; the instrument is back but slow to answer the link check.
    h.form->Command5_Click();
    h.port.takeLine();
    h.port.deliver({0x00, 0x0A});
    h.port.takeLine();
    h.port.deliver(group(1)); // group 2 never comes
    for (int i = 0; i < 42 && h.form->Text40.text() != texts::kLinkDown; ++i)
        h.form->Timer1_Timer();
    ASSERT_EQ(h.form->Text40.text(), texts::kLinkDown);
    h.port.takeLine();
    h.form->Timer1_Timer(); // the reply is still on its way at the next tick
    EXPECT_TRUE(h.port.writes.empty()) << "one link check at a time";
    h.port.deliver(kAlive);
    ASSERT_EQ(h.port.takeLine(), line(protocol::kReadCount));
    h.port.deliver({0x00, 0x0A});
    ASSERT_EQ(h.port.takeLine(), line(257));
    h.port.writes.push_back(line(257));
    serve(10);
    expectStore(10);
}

TEST_F(OneRequest, ARequestIsNotGivenUpWhileItsReplyIsArriving) {
    h.form->Timer1_Timer();
    ASSERT_EQ(h.port.takeLine(), line(protocol::kLinkCheck));
    h.form->Timer1_Timer();
    h.port.deliver({0x19}); // the first byte of a slow reply
    h.form->Timer1_Timer(); // the second tick, but bytes came through the last one
    EXPECT_TRUE(h.port.writes.empty());
    h.port.deliver({0x64});
    EXPECT_EQ(h.form->Text40.text(), texts::kLinkUp);
    h.form->Timer1_Timer();
    EXPECT_EQ(h.port.takeLine(), line(protocol::kLinkCheck)) << "answered: the line is free";
}

// The instrument answers every asking, in order, however late. Each case gives up the pair
// 3-4 and has the instrument answer both askings, the first one at a different moment; the
// store is exact every time, and nothing else is asked until the second answer is past.
class LateAnswer : public OneRequest, public ::testing::WithParamInterface<int> {};

TEST_P(LateAnswer, CostsTimeNotTheRead) {
    const int lateTicks = GetParam(); // ticks after the asking again that the first answer comes
    h.form->Command5_Click();
    h.port.takeLine();
    h.port.deliver({0x00, 0x0A});
    ASSERT_EQ(h.port.takeLine(), line(257));
    h.port.deliver(pairOf(1, 10));
    ASSERT_EQ(h.port.takeLine(), line(259));
    int ticks = 0;
    while (h.port.writes.empty() && ++ticks < 10)
        h.form->Timer1_Timer(); // the instrument is busy
    ASSERT_EQ(h.port.takeLine(), line(259)) << "given up, asked again";
    EXPECT_EQ(ticks, 3) << "given up at the second tick, asked again after a quiet one";
    for (int i = 0; i < lateTicks; ++i)
        h.form->Timer1_Timer();
    h.port.deliver(pairOf(3, 10)); // the first asking's answer, late
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(h.port.writes.empty()) << "tick " << i << ": the second answer is still due";
        h.form->Timer1_Timer();
    }
    h.port.deliver(pairOf(3, 10)); // the second asking's answer
    serve(10);
    expectStore(10);
}

INSTANTIATE_TEST_SUITE_P(Moments, LateAnswer, ::testing::Values(0, 1));

TEST_F(OneRequest, BytesOfAReplyGivenUpNeverJoinTheNext) {
    h.form->Command5_Click();
    h.port.takeLine();
    h.port.deliver({0x00, 0x04});
    ASSERT_EQ(h.port.takeLine(), line(257));
    h.port.deliver(group(1));
    h.port.deliver({0x01, 0x92, '2', 0x17, 0x70}); // group 2 cut off mid-frame
    h.form->Timer1_Timer();
    h.form->Timer1_Timer();            // given up
    h.port.deliver({'1', 0x32, 0x00}); // the rest of it, late: thrown away
    EXPECT_EQ(h.form->rec_sec_code[1], 0) << "no frame of two pieces";
    h.form->Timer1_Timer();
    EXPECT_TRUE(h.port.writes.empty()) << "bytes came in the last tick";
    h.form->Timer1_Timer();
    EXPECT_EQ(h.port.takeLine(), line(257)) << "the pair from its first group";
    h.port.writes.push_back(line(257));
    serve(4);
    expectStore(4);
}

// Junk right behind a reply, at the line's own speed: it arrives after the next request was
// written but sooner than an answer to it could, and is no reply, even where it sits below
// the framing and the real answer completes a frame with it.
TEST_F(OneRequest, JunkAtLineSpeedIsNoReply) {
    constexpr double bt = 10.0 / 4800.0;
    double now = 0;
    h.port.timeLine([&] { return now; });
    const auto arrive = [&](const Bytes& bytes) { // at the line's pace, byte by byte
        for (const std::uint8_t b : bytes) {
            now += bt;
            h.port.deliver({b});
        }
    };
    h.form->Command5_Click();
    h.port.takeLine();
    now += 4 * bt;
    arrive({0x00, 0x06});
    ASSERT_EQ(h.port.takeLine(), line(257));
    now += 4 * bt;
    arrive(pairOf(1, 6));
    ASSERT_EQ(h.port.takeLine(), line(259));
    arrive(Bytes(7, 0x31)); // the tail of the last reply: below a frame
    now += 4 * bt;
    arrive(pairOf(3, 6)); // the answer to 259 would make a frame of them
    EXPECT_EQ(h.form->rec_sec_code[2], 0) << "no frame of the junk and the answer";
    for (int i = 0; i < 3 && h.port.writes.empty(); ++i) {
        now += 0.5;
        h.form->Timer1_Timer();
    }
    ASSERT_EQ(h.port.takeLine(), line(259)) << "asked again once the line is quiet";
    now += 4 * bt;
    arrive(pairOf(3, 6));
    for (int guard = 0; guard < 100 && h.form->dl_outcome == Form1::ReadOutcome::None; ++guard) {
        const Bytes sent = h.port.takeLine();
        now += sent.empty() ? 0.5 : 4 * bt;
        if (sent.empty())
            h.form->Timer1_Timer();
        else
            arrive(pairOf(sent[1] * 256 + sent[3] - 256, 6));
    }
    expectStore(6);
}

} // namespace
} // namespace hvr
