// The timers of the link: port scan, status texts, silence, link check and live requests.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/protocol.h"
#include "main_window/curve_chart.h"
#include "texts/texts.h"
#include "tests/support/form_harness.h"

namespace hvr {
namespace {

using testing::Bytes;
using testing::FormHarness;
using testing::line;

class Supervision : public ::testing::Test {
  protected:
    void SetUp() override {
        h.port.close();
        h.port.presentPorts = {};
        h.port.openCalls.clear();
    }
    FormHarness h;
};

TEST_F(Supervision, FirstScanTriesPortTwoThenCyclesToOne) {
    h.form->Timer3_Timer();
    EXPECT_EQ(h.form->Combo1.text(), "2");
    EXPECT_EQ(h.form->MSComm1.CommPort(), 2);
    EXPECT_FALSE(h.form->MSComm1.PortOpen());
    h.form->Combo1.setText("16");
    h.form->Timer3_Timer();
    EXPECT_EQ(h.form->Combo1.text(), "1");
    EXPECT_EQ(h.form->MSComm1.CommPort(), 1);
    EXPECT_EQ(h.form->MSComm1.Settings(), "4800,n,8,1");
}

TEST_F(Supervision, ScanStopsAtThePortThatOpens) {
    h.port.presentPorts = {5};
    for (int i = 0; i < 6; ++i)
        h.form->Timer3_Timer();
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_EQ(h.port.openedPort(), 5);
    EXPECT_EQ(h.form->Combo1.text(), "5");
    h.form->Timer3_Timer();
    EXPECT_EQ(h.port.openCalls, (std::vector<int>{5})) << "an open port that answers stays open";
}

TEST_F(Supervision, TypingAnotherNumberMovesToThatNumberPlusOne) {
    h.port.presentPorts = {3, 8};
    h.form->Combo1.setText("2");
    h.form->Timer3_Timer();
    ASSERT_EQ(h.port.openedPort(), 3);
    h.form->Combo1.setText("7");
    h.form->Timer3_Timer();
    EXPECT_EQ(h.port.openedPort(), 8);
    EXPECT_EQ(h.form->Combo1.text(), "8");
}

TEST_F(Supervision, StatusTextsFollowThePort) {
    h.form->Timer1_Timer();
    EXPECT_EQ(h.form->Timer1.interval(), 500);
    EXPECT_EQ(h.form->Text39.text(), texts::kPortClosed);
    EXPECT_EQ(h.form->Text40.text(), texts::kLinkDown);
    EXPECT_EQ(h.form->Text38.text(), "COM1");
    h.port.presentPorts = {2};
    h.form->Timer3_Timer();
    h.form->Timer1_Timer();
    EXPECT_EQ(h.form->Text39.text(), texts::kPortOpen);
    EXPECT_EQ(h.form->Text38.text(), "COM2");
    h.form->Combo1.setText("x");
    h.form->Timer1_Timer();
    EXPECT_EQ(h.form->Text38.text(), "COM2") << "other content leaves the name alone";
}

TEST_F(Supervision, LinkCheckWhileIdleAndTheScanMovesOnWhenItFails) {
    h.port.presentPorts = {2, 3};
    h.form->Timer3_Timer();
    ASSERT_EQ(h.port.openedPort(), 2);
    h.form->Timer1_Timer();
    EXPECT_EQ(h.port.takeLine(), line(protocol::kLinkCheck));
    EXPECT_EQ(h.form->link_mode, Form1::kWordReply);
    EXPECT_EQ(h.port.threshold(), 2);
    h.port.deliver({0x19, 0x65});
    EXPECT_EQ(h.form->Text40.text(), texts::kLinkDown);
    h.form->Timer3_Timer();
    EXPECT_EQ(h.port.openedPort(), 3) << "a failed check closes the port and tries the next";
    h.form->Timer1_Timer();
    h.port.takeLine();
    h.port.deliver({0x19, 0x64});
    EXPECT_EQ(h.form->Text40.text(), texts::kLinkUp);
    h.form->Timer3_Timer();
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_EQ(h.port.openedPort(), 3);
}

TEST_F(Supervision, SilenceForTwentyOneTicksDropsTheLink) {
    h.port.presentPorts = {2};
    h.form->Timer3_Timer();
    h.form->Text40.setText(texts::kLinkUp);
    h.form->link_state = Form1::kExchanging;
    h.form->link_mode = Form1::kLiveFrames;
    h.form->live_frames = 9;
    h.form->Text42.setText("正在读取中.......");
    for (int i = 0; i < 20; ++i)
        h.form->Timer1_Timer();
    EXPECT_EQ(h.form->Text40.text(), texts::kLinkUp);
    EXPECT_TRUE(h.port.writes.empty());
    const int discards = h.port.inputDiscards;
    h.form->Timer1_Timer(); // the 21st
    EXPECT_EQ(h.form->Text40.text(), texts::kLinkDown);
    EXPECT_EQ(h.form->Text42.text(), "");
    EXPECT_EQ(h.form->live_frames, 0);
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
    EXPECT_EQ(h.port.inputDiscards, discards + 1);
    EXPECT_EQ(h.port.takeLine(), line(protocol::kLinkCheck)) << "checked in the same tick";
    h.form->Timer3_Timer();
    EXPECT_FALSE(h.port.isOpen()) << "the next scan tick closes the port";
}

TEST_F(Supervision, AChunkWithinTheWindowKeepsTheLink) {
    h.port.presentPorts = {2};
    h.form->Timer3_Timer();
    h.form->Text40.setText(texts::kLinkUp);
    h.form->link_state = Form1::kExchanging;
    h.form->link_mode = Form1::kLiveFrames;
    h.form->SetReceiveFraming(8);
    for (int i = 0; i < 20; ++i)
        h.form->Timer1_Timer();
    h.port.deliver(Bytes(8, 0));
    h.form->Timer1_Timer();
    EXPECT_EQ(h.form->Text40.text(), texts::kLinkUp);
    EXPECT_EQ(h.form->rx_seen, 0) << "read and cleared";
    for (int i = 0; i < 20; ++i)
        h.form->Timer1_Timer();
    EXPECT_EQ(h.form->Text40.text(), texts::kLinkUp);
    h.form->Timer1_Timer();
    EXPECT_EQ(h.form->Text40.text(), texts::kLinkDown);
}

TEST_F(Supervision, LivePollingSendsTheLiveRequestUntilTheLinkFails) {
    h.port.presentPorts = {2};
    h.form->Timer3_Timer();
    h.form->live_polling = 1;
    h.form->Text33.setVisible(true);
    h.form->Text40.setText(texts::kLinkUp);
    h.form->Timer2_Timer();
    EXPECT_EQ(h.port.takeLine(), line(protocol::kLiveReading));
    EXPECT_EQ(h.form->link_state, Form1::kExchanging);
    EXPECT_EQ(h.form->link_mode, Form1::kLiveFrames);
    EXPECT_EQ(h.port.threshold(), 8);
    EXPECT_FALSE(h.form->Text33.visible());

    h.form->Text40.setText(texts::kLinkDown);
    h.form->link_busy = 1;
    h.form->Timer2_Timer();
    EXPECT_TRUE(h.port.writes.empty());
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
    EXPECT_EQ(h.form->link_busy, 0);
}

TEST_F(Supervision, LivePollTickWithPollingOffStopsItself) {
    h.form->Timer2.setEnabled(true);
    h.form->live_polling = 0;
    h.form->link_busy = 1;
    h.form->Timer2_Timer();
    EXPECT_FALSE(h.form->Timer2.enabled());
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
    EXPECT_EQ(h.form->link_busy, 0);
    EXPECT_EQ(h.port.threshold(), 2);
}

TEST_F(Supervision, LampsBlinkWhileThePortIsOpen) {
    h.form->Timer3_Timer(); // closed: steady green
    EXPECT_EQ(h.form->Shape1.fillColor(), colors::kGreen);
    EXPECT_EQ(h.form->Shape1.borderColor(), colors::kPurple);

    h.port.presentPorts = {3};
    h.form->Timer3_Timer(); // opens port 3 after the lamps were drawn closed
    ASSERT_TRUE(h.port.isOpen());
    h.form->sec_alarm = 100;
    h.form->pri_alarm = 100;
    h.form->last_status = "5";

    h.form->Timer3_Timer();
    EXPECT_EQ(h.form->Shape1.fillColor(), colors::kButtonFace);
    EXPECT_EQ(h.form->Shape1.borderColor(), colors::kButtonFace);
    EXPECT_EQ(h.form->Shape4.fillColor(), colors::kButtonFace);
    h.form->Timer3_Timer();
    EXPECT_EQ(h.form->Shape1.fillColor(), colors::kRed);
    EXPECT_EQ(h.form->Shape1.borderColor(), colors::kGreen);
    EXPECT_EQ(h.form->Shape4.fillColor(), colors::kGreen) << "without primary signal the lamp stays green";
    EXPECT_EQ(h.form->Shape4.borderColor(), colors::kPurple);

    h.form->sec_alarm = 0;
    h.form->last_status = "0";
    h.form->Timer3_Timer();
    EXPECT_EQ(h.form->Shape1.fillColor(), colors::kButtonFace);
    h.form->Timer3_Timer();
    EXPECT_EQ(h.form->Shape1.fillColor(), colors::kGreen);
    EXPECT_EQ(h.form->Shape1.borderColor(), colors::kPurple);
    EXPECT_EQ(h.form->Shape4.fillColor(), colors::kRed);
}

// An old reading never looks live: from the lost link until the next reading the panel's
// figures, the curve's newest point and the lamps are grey, their texts unchanged.
TEST(StaleReadings, AreGreyFromTheLostLinkUntilTheNextReading) {
    FormHarness h;
    h.form->Form_Load();
    h.form->Text40.setText(texts::kLinkUp);
    h.startLive();
    h.showLive({0x01, 0xF5, 0x32, 0x17, 0x75, 0x40, 0x32, 0x00}); // 6005 mA, 5.01 A: on the curve's scale
    h.live({0x01, 0xF5, 0x32, 0x17, 0x75, 0x40, 0x32, 0x00});
    const std::uint32_t red = h.form->Label9.foreColor(), green = h.form->Label10.foreColor();
    const auto greySegments = [&] {
        h.form->DrawCurve();
        const auto& picture = h.form->picture1();
        return std::count_if(picture.begin(), picture.end(),
                             [](const platform::Primitive& p) { return p.color == colors::kStale; });
    };
    ASSERT_EQ(greySegments(), 0);
    for (int i = 0; i < 42 && h.form->Text40.text() != texts::kLinkDown; ++i)
        h.form->Timer1_Timer(); // nothing comes any more
    ASSERT_EQ(h.form->Text40.text(), texts::kLinkDown);
    EXPECT_EQ(h.form->Label9.text(), "6005mA");
    EXPECT_EQ(h.form->Label10.text(), "5.01A");
    for (const char* name : {"Label9", "Label10", "Label11", "Label16", "Label17"})
        EXPECT_EQ(h.form->control(name)->foreColor(), colors::kStale) << name;
    EXPECT_EQ(greySegments(), 2) << "the newest point of both curves";
    for (int i = 0; i < 2; ++i) {
        h.form->Timer3_Timer();
        EXPECT_EQ(h.form->Shape1.fillColor(), colors::kStale) << "no blinking of an old alarm state";
        EXPECT_EQ(h.form->Shape4.borderColor(), colors::kStale);
    }

    h.form->Text40.setText(texts::kLinkUp); // the instrument is back
    h.startLive();
    h.showLive({0x01, 0xF6, 0x32, 0x17, 0x75, 0x40, 0x32, 0x00});
    EXPECT_EQ(h.form->Label9.foreColor(), red);
    EXPECT_EQ(h.form->Label10.foreColor(), green);
    EXPECT_EQ(h.form->Label10.text(), "5.02A");
    EXPECT_EQ(greySegments(), 0);
    h.form->Timer3_Timer();
    h.form->Timer3_Timer();
    EXPECT_NE(h.form->Shape1.fillColor(), colors::kStale);
}

} // namespace
} // namespace hvr
