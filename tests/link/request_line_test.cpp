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
    // Answers every group request from a store of `groups`, both frames in one write.
    void serve(int groups) {
        for (int guard = 0; guard < 1000; ++guard) {
            const Bytes sent = h.port.takeLine();
            if (sent.size() != 4) return;
            const int g = sent[1] * 256 + sent[3] - 256;
            Bytes pair = g <= groups ? group(g) : Bytes(8, 0xFF);
            const Bytes second = g + 1 <= groups ? group(g + 1) : Bytes(8, 0xFF);
            pair.insert(pair.end(), second.begin(), second.end());
            h.port.deliver(pair);
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

TEST_F(OneRequest, AnUnansweredRequestIsAbandonedAndItsLateBytesDrained) {
    h.form->Timer1_Timer();
    ASSERT_EQ(h.port.takeLine(), line(protocol::kLinkCheck));
    h.form->Timer1_Timer(); // unanswered for a whole tick: the next check waits
    EXPECT_TRUE(h.port.writes.empty());
    h.port.deliver({0x19}); // the first byte of a late reply
    h.form->Timer1_Timer(); // abandoned; bytes came in the last tick, so the line drains
    EXPECT_TRUE(h.port.writes.empty());
    EXPECT_EQ(h.port.bytesWaiting(), 0);
    h.port.deliver({0x64}); // the rest, late: read and thrown away
    EXPECT_EQ(h.form->Text40.text(), texts::kLinkUp) << "no half reply is taken for a failed check";
    h.form->Timer1_Timer(); // still bytes in the last tick
    EXPECT_TRUE(h.port.writes.empty());
    h.form->Timer1_Timer(); // a quiet tick: the line is free
    EXPECT_EQ(h.port.takeLine(), line(protocol::kLinkCheck));
    h.port.deliver(kAlive);
    EXPECT_EQ(h.form->Text40.text(), texts::kLinkUp);
}

TEST_F(OneRequest, AnUnansweredPairIsAskedAgain) {
    h.form->Command5_Click();
    h.port.takeLine();
    h.port.deliver({0x00, 0x04});
    ASSERT_EQ(h.port.takeLine(), line(257));
    h.port.deliver(group(1));
    h.port.deliver({0x01, 0x92, '2', 0x17, 0x70}); // group 2 cut off mid-frame
    h.form->Timer1_Timer();
    h.form->Timer1_Timer();
    EXPECT_EQ(h.port.takeLine(), line(257)) << "the pair from its first group";
    h.port.writes.push_back(line(257));
    serve(4);
    expectStore(4);
}

} // namespace
} // namespace hvr
