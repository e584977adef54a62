#include <gtest/gtest.h>

#include <map>

#include "link/protocol.h"
#include "texts/texts.h"
#include "tests/support/form_harness.h"
#include "tests/support/case_name.h"

namespace hvr {
namespace {

using testing::Bytes;
using testing::FormHarness;

const Bytes kLiveFrame{0x00, 0x05, 0x42, 0x00, 0x64, 0x40, 0x32, 0x00};

struct RouteCase {
    std::int16_t state;
    std::int16_t mode;
    ChunkRoute route;
};

class Routing : public ::testing::TestWithParam<RouteCase> {};

TEST_P(Routing, SendsEachStateAndModeToOneHandler) {
    const auto& c = GetParam();
    EXPECT_EQ(Form1::routeOf(c.state, c.mode), c.route);

    FormHarness h;
    h.form->link_state = c.state;
    h.form->link_mode = c.mode;
    h.form->SetReceiveFraming(2);
    // The request whose reply the state expects; a state that expects none asks nothing.
    const std::map<ChunkRoute, std::int32_t> asked{{ChunkRoute::StoredGroup, protocol::kFirstGroupRequest},
                                                   {ChunkRoute::CountReply, protocol::kReadCount},
                                                   {ChunkRoute::LinkCheck, protocol::kLinkCheck},
                                                   {ChunkRoute::LiveFrame, protocol::kLiveReading}};
    if (asked.contains(c.route)) h.form->SendCommandWord(asked.at(c.route));
    ChunkRoute seen = ChunkRoute::Ignored;
    h.form->MSComm1.setOnComm([&] { seen = h.form->MSComm1_OnComm(); });
    const bool word = c.route == ChunkRoute::CountReply || c.route == ChunkRoute::LinkCheck;
    h.port.deliver(word ? Bytes{0x19, 0x64} : Bytes{0x19, 0x64, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(seen, c.route);
}

INSTANTIATE_TEST_SUITE_P(
    States, Routing,
    ::testing::Values(RouteCase{1, 1, ChunkRoute::StoredGroup}, RouteCase{1, 2, ChunkRoute::CountReply},
                      RouteCase{2, 2, ChunkRoute::LinkCheck}, RouteCase{1, 3, ChunkRoute::LiveFrame},
                      RouteCase{2, 3, ChunkRoute::LiveFrame}, RouteCase{2, 1, ChunkRoute::Ignored},
                      RouteCase{2, 0, ChunkRoute::Ignored}, RouteCase{1, 0, ChunkRoute::Ignored},
                      RouteCase{0, 3, ChunkRoute::LiveFrame}, RouteCase{7, 2, ChunkRoute::Ignored}),
    [](const auto& info) {
        return testing::caseName(info.index, "state" + std::to_string(info.param.state) + "_mode" +
                                                 std::to_string(info.param.mode));
    });

TEST(Dispatcher, ReadsAtMostTheFramingAndDiscardsTheRest) {
    FormHarness h;
    h.startLive();
    Bytes twoFrames = kLiveFrame;
    twoFrames.insert(twoFrames.end(), kLiveFrame.begin(), kLiveFrame.end());
    twoFrames.push_back(0x42);
    h.live(twoFrames);
    EXPECT_EQ(h.form->rx_bytes, kLiveFrame);
    EXPECT_EQ(h.port.bytesWaiting(), 0);
    EXPECT_EQ(h.port.outputDiscards, 1);
    EXPECT_EQ(h.form->live_frames, 0) << "a reply with more behind it than a reply has is none";
    h.live(kLiveFrame); // asked again once the line is quiet
    EXPECT_EQ(h.form->live_frames, 0);
    h.form->Timer1_Timer();
    h.form->Timer1_Timer();
    ASSERT_EQ(h.port.takeLine(), testing::line(protocol::kLiveReading));
    h.port.deliver(kLiveFrame);
    EXPECT_EQ(h.form->live_frames, 1);
}

TEST(Dispatcher, WaitsForTheThreshold) {
    FormHarness h;
    h.startLive();
    h.port.deliver({0x00, 0x05, 0x42});
    EXPECT_TRUE(h.form->rx_bytes.empty());
    EXPECT_EQ(h.form->rx_seen, 0);
    h.port.deliver({0x00, 0x64, 0x40, 0x32, 0x00});
    EXPECT_EQ(h.form->rx_bytes, kLiveFrame);
    EXPECT_EQ(h.form->rx_seen, 16);
}

TEST(Dispatcher, MarksLifeAndBusyOnlyWhileExchanging) {
    FormHarness h;
    h.form->link_state = Form1::kIdle;
    h.form->link_mode = Form1::kGroupFrames; // a download that has ended
    h.form->SetReceiveFraming(8);
    h.port.deliver(kLiveFrame);
    EXPECT_EQ(h.form->rx_seen, 16);
    EXPECT_EQ(h.form->link_busy, 0);

    h.form->link_state = Form1::kExchanging;
    h.form->link_mode = Form1::kLiveFrames;
    h.port.deliver(kLiveFrame);
    EXPECT_EQ(h.form->link_busy, 1);
}

TEST(Dispatcher, TakesFrequenciesOnlyFromByteSixOfAnAnswer) {
    FormHarness h;
    h.startLive();
    h.live({0, 0, 0, 0, 0, 0, 0xB3, 0});
    EXPECT_EQ(h.form->pri_freq, 0x33);
    EXPECT_EQ(h.form->sec_freq, 60);

    h.form->SendCommandWord(protocol::kLiveReading);
    h.cutShort(6);
    h.port.deliver({0, 0, 0, 0, 0, 0});
    EXPECT_EQ(h.form->pri_freq, 0x33) << "a chunk without byte 6 keeps the frequencies";
    h.port.deliver({0, 0, 0, 0, 0, 0, 0x32, 0});
    EXPECT_EQ(h.form->pri_freq, 0x33) << "nothing was asked: the chunk is no answer";
    EXPECT_EQ(h.form->sec_freq, 60);
}

TEST(Dispatcher, IgnoresOtherCommEvents) {
    FormHarness h;
    h.startLive();
    // Outside the port's data-received event CommEvent is not 2.
    EXPECT_EQ(h.form->MSComm1_OnComm(), ChunkRoute::Ignored);
    EXPECT_EQ(h.form->rx_seen, 0);
}

// The link check, as the dispatcher hands it on in (2, 2).
class LinkCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        h.form->link_state = Form1::kIdle;
        h.form->link_mode = Form1::kWordReply;
        h.form->SetReceiveFraming(2);
        h.form->Command13.setEnabled(false);
    }
    FormHarness h;
};

TEST_F(LinkCheck, AnsweredWith6500Succeeds) {
    h.answer(protocol::kLinkCheck, {0x19, 0x64});
    EXPECT_EQ(h.text("Text40"), texts::kLinkUp);
    EXPECT_TRUE(h.form->Command13.enabled());
    EXPECT_TRUE(h.port.writes.empty()) << "no download was under way";
}

TEST_F(LinkCheck, AnyOtherWordFails) {
    h.form->live_frames = 9;
    h.answer(protocol::kLinkCheck, {0x19, 0x65});
    EXPECT_EQ(h.text("Text40"), texts::kLinkDown);
    EXPECT_EQ(h.form->live_frames, 0);
}

TEST_F(LinkCheck, AMissingByteFails) {
    h.form->SendCommandWord(protocol::kLinkCheck);
    h.cutShort(1); // a read that returns fewer bytes than the reply has
    h.port.deliver({0x19});
    EXPECT_EQ(h.text("Text40"), texts::kLinkDown);
}

TEST_F(LinkCheck, ResumesAnInterruptedDownloadAtItsPendingPair) {
    h.form->link_busy = 1;
    h.form->dl_active = true;
    h.form->stored_count = 10;
    h.form->dl_request = 261;
    h.form->dl_half = 1;
    h.answer(protocol::kLinkCheck, {0x19, 0x64});
    EXPECT_EQ(h.port.takeLine(), testing::line(protocol::kReadCount)) << "the count is asked first";
    EXPECT_EQ(h.form->link_state, Form1::kExchanging);
    EXPECT_EQ(h.form->link_mode, Form1::kWordReply);
    h.port.deliver({0x00, 0x0A}); // the same count: the same store
    EXPECT_EQ(h.port.takeLine(), (Bytes{0x00, 0x01, 0x00, 0x05}));
    EXPECT_EQ(h.form->dl_half, 0);
    EXPECT_EQ(h.form->link_state, Form1::kExchanging);
    EXPECT_EQ(h.form->link_mode, Form1::kGroupFrames);
    EXPECT_EQ(h.port.threshold(), 8);
    EXPECT_EQ(h.form->MSComm1.InputLen(), 8);
}

TEST_F(LinkCheck, WithoutADownloadForgetsTheOldPosition) {
    h.form->link_busy = 3; // live polling was running
    h.form->stored_count = 10;
    h.form->dl_request = 261;
    h.answer(protocol::kLinkCheck, {0x19, 0x64});
    EXPECT_EQ(h.form->stored_count, 0);
    EXPECT_EQ(h.form->dl_request, 0);
    EXPECT_TRUE(h.port.writes.empty());
}

TEST_F(LinkCheck, NeverResumesBelowTheFirstRequest) {
    h.form->link_busy = 1;
    h.form->stored_count = 10;
    h.form->dl_request = 0;
    h.answer(protocol::kLinkCheck, {0x19, 0x64});
    EXPECT_TRUE(h.port.writes.empty());
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
}

TEST(LiveInPause, ACompleteFrameIsStillShown) {
    FormHarness h;
    h.startLive();
    h.form->link_state = Form1::kIdle; // paused: (2, 3) until the next supervision tick
    h.showLive(kLiveFrame);
    EXPECT_EQ(h.text("Label10"), "0.05mA");
}

} // namespace
} // namespace hvr
