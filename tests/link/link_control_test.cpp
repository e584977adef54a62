// The link state machine: read, pause, continue, history review, real-time monitoring.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "texts/texts.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

using testing::Bytes;
using testing::FakeDialogs;
using testing::FormHarness;
using testing::line;

const Bytes kFrame{0x01, 0xF4, 0x32, 0x17, 0x70, 0x31, 0x32, 0x00};

// A loaded window whose link is up.
class LinkControl : public ::testing::Test {
  protected:
    void SetUp() override {
        h.form->Form_Load();
        h.form->Text40.setText(texts::kLinkUp);
    }
    void enterHistory() {
        h.form->Command9_Click();
        h.port.takeLine();
    }
    void goLive() {
        h.form->Timer2_Timer();
        h.port.takeLine();
    }
    FormHarness h;
};

TEST_F(LinkControl, LoadEntersRealTimeMonitoring) {
    Form1& f = *h.form;
    EXPECT_EQ(f.Command5.text(), "暂  停");
    EXPECT_EQ(f.live_polling, 1);
    EXPECT_EQ(f.link_busy, 3);
    EXPECT_EQ(f.link_state, Form1::kIdle);
    EXPECT_TRUE(f.Timer2.enabled());
    EXPECT_EQ(f.Timer2.interval(), 500);
    EXPECT_TRUE(f.Option1.value());
    EXPECT_FALSE(f.Option2.enabled());
    EXPECT_EQ(f.Label1.text(), "最大电流值: 0mA");
    EXPECT_EQ(f.Label2.text(), "最小电流值: 0mA");
    EXPECT_EQ(f.Label5.text(), "平均电流值: 0mA");
    EXPECT_EQ(f.Label13.text(), "最大电流值: 0mA");
    EXPECT_EQ(f.Label11.text(), "变 比: ");
    EXPECT_TRUE(f.Command1.enabled()) << "save is enabled again after the live layout";
    EXPECT_FALSE(f.Command2.enabled());
    EXPECT_FALSE(f.Text1.visible());
    EXPECT_EQ(f.Text1.backColor(), colors::kWhite);
    EXPECT_EQ(f.Text31.text().size(), 138u) << "90 characters, 24 of them Chinese at three bytes each";
    EXPECT_EQ(f.sec_curve[0], 4200000);
    EXPECT_EQ(f.pri_history[410], 420000000);
}

TEST_F(LinkControl, FirstLiveTickSendsTheLiveRequest) {
    h.form->Timer2_Timer();
    EXPECT_EQ(h.port.takeLine(), line(protocol::kLiveReading));
    EXPECT_EQ(h.form->link_state, Form1::kExchanging);
    EXPECT_EQ(h.form->link_mode, Form1::kLiveFrames);
}

TEST_F(LinkControl, PauseAndContinueByTheButtonRestartTheCount) {
    goLive();
    h.showLive(kFrame);
    h.form->sec_alarm = 100;
    h.form->Command5_Click(); // pause
    EXPECT_EQ(h.form->Command5.text(), "继  续");
    EXPECT_FALSE(h.form->Timer2.enabled());
    EXPECT_EQ(h.form->live_polling, 0);
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
    EXPECT_EQ(h.form->link_busy, 0);
    EXPECT_EQ(h.form->sec_alarm, 0);
    EXPECT_EQ(h.form->live_frames, 0);
    EXPECT_EQ(h.port.threshold(), 2);

    h.form->Timer1_Timer(); // Paused (2, 3) becomes Idle with a link check
    EXPECT_EQ(h.form->link_mode, Form1::kWordReply);
    EXPECT_EQ(h.port.takeLine(), line(protocol::kLinkCheck));
    h.port.deliver({0x19, 0x64});

    h.form->Command5_Click(); // continue
    EXPECT_EQ(h.form->Command5.text(), "暂  停");
    EXPECT_EQ(h.form->link_state, Form1::kExchanging);
    EXPECT_EQ(h.form->link_mode, Form1::kLiveFrames);
    EXPECT_TRUE(h.form->Timer2.enabled());
    EXPECT_TRUE(h.port.writes.empty()) << "the next live tick sends the request";
    h.form->Command5.setEnabled(false);
    h.live(kFrame);
    h.live(kFrame);
    EXPECT_FALSE(h.form->Command5.enabled());
    h.live(kFrame);
    EXPECT_TRUE(h.form->Command5.enabled()) << "back with the third frame";
}

TEST_F(LinkControl, PauseAndContinueByTheMenuKeepAlarmAndCount) {
    goLive();
    h.showLive(kFrame);
    h.form->sec_alarm = 100;
    h.form->jx_11_Click(); // caption is "暂  停": nothing
    EXPECT_EQ(h.form->Command5.text(), "暂  停");
    h.form->zt_1_Click();
    EXPECT_EQ(h.form->Command5.text(), "继  续");
    EXPECT_EQ(h.form->sec_alarm, 100);
    EXPECT_EQ(h.form->live_frames, 9);
    h.form->zt_1_Click(); // caption is "继  续" now: nothing
    h.form->jx_11_Click();
    EXPECT_EQ(h.form->Command5.text(), "暂  停");
    EXPECT_EQ(h.form->sec_alarm, 100);
    EXPECT_EQ(h.form->live_frames, 9);
    EXPECT_EQ(h.form->link_state, Form1::kExchanging);
}

TEST_F(LinkControl, HistoryReviewStopsLivePollingAtOnce) {
    goLive();
    h.form->Command9_Click();
    EXPECT_EQ(h.form->Command5.text(), "读  取");
    EXPECT_TRUE(h.form->Command5.enabled());
    EXPECT_FALSE(h.form->Timer2.enabled());
    EXPECT_EQ(h.form->live_polling, 0);
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
    EXPECT_EQ(h.form->link_mode, Form1::kWordReply);
    EXPECT_TRUE(h.form->Option2.value());
    EXPECT_FALSE(h.form->Option1.enabled());
    EXPECT_TRUE(h.form->Text1.visible());
    EXPECT_FALSE(h.form->Picture5.visible());
    EXPECT_FALSE(h.form->Picture6.visible());
    EXPECT_TRUE(h.form->Command2.enabled());
    h.form->Timer2_Timer(); // a tick already queued
    EXPECT_TRUE(h.port.writes.empty());
}

TEST_F(LinkControl, ReadAsksForTheCount) {
    enterHistory();
    testing::putGroup(*h.form, 0, {1, '1', 6000, '2', 500});
    h.form->Command5_Click();
    EXPECT_EQ(h.port.writes, (std::vector<Bytes>{{0x00, 0x13}, {0x00, 0x88}}));
    EXPECT_EQ(h.form->link_state, Form1::kExchanging);
    EXPECT_EQ(h.form->link_mode, Form1::kWordReply);
    EXPECT_EQ(h.form->rec_sec_code[0], 0) << "the store is cleared for the new read";
    EXPECT_EQ(h.form->Text41.text(), "1/1页   0组");
    EXPECT_EQ(h.form->Command5.text(), "读  取");
}

TEST_F(LinkControl, ReadWithTheLinkDownKeepsTheStore) {
    enterHistory();
    testing::putGroup(*h.form, 0, {1, '1', 6000, '2', 500});
    h.form->Text40.setText(texts::kLinkDown);
    h.form->Command5_Click();
    EXPECT_EQ(h.dialogs.boxes, (std::vector<FakeDialogs::Box>{{"message", "连接断开", "系统提示"}}));
    EXPECT_TRUE(h.port.writes.empty());
    EXPECT_EQ(h.form->rec_sec_code[0], '2') << "nothing was read, so nothing is lost";
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
}

TEST_F(LinkControl, ReadWhileExchangingDoesNothing) {
    enterHistory();
    h.form->link_state = Form1::kExchanging;
    testing::putGroup(*h.form, 0, {1, '1', 6000, '2', 500});
    h.form->Command5_Click();
    h.form->ducu_Click();
    EXPECT_TRUE(h.port.writes.empty());
    EXPECT_TRUE(h.dialogs.boxes.empty());
    EXPECT_EQ(h.form->rec_sec_code[0], '2');
}

TEST_F(LinkControl, ReadMenusActOnlyOnTheReadCaption) {
    h.form->ducu_Click(); // caption "暂  停"
    h.form->u_Click();
    EXPECT_TRUE(h.port.writes.empty());
    enterHistory();
    h.form->u_Click();
    EXPECT_EQ(h.port.takeLine(), line(protocol::kReadCount));
}

TEST_F(LinkControl, LiveTickWithTheLinkFailedWaitsIdle) {
    goLive();
    h.port.deliver(kFrame); // the live request answered
    h.form->Text40.setText(texts::kLinkDown);
    h.form->Timer2_Timer();
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
    EXPECT_EQ(h.form->link_mode, Form1::kLiveFrames);
    EXPECT_TRUE(h.port.writes.empty());
    h.form->Timer1_Timer();
    EXPECT_EQ(h.port.takeLine(), line(protocol::kLinkCheck));
    h.port.deliver({0x19, 0x64});
    h.form->Timer2_Timer();
    EXPECT_EQ(h.port.takeLine(), line(protocol::kLiveReading)) << "polling goes on once the link is back";
    EXPECT_EQ(h.form->link_state, Form1::kExchanging);
}

TEST_F(LinkControl, RealTimeMonitoringFromHistoryRedrawsTheStatistics) {
    goLive();
    h.showLive({0x01, 0xF4, 0x32, 0x17, 0x70, 0x31, 0x32, 0x00}); // 5 A
    h.form->Command9_Click();
    h.form->sjk_Click();
    EXPECT_EQ(h.form->Label1.text(), "最大电流值: 5A");
    EXPECT_EQ(h.form->Label5.text(), "平均电流值: 5A");
    EXPECT_EQ(h.form->Command5.text(), "暂  停");
    EXPECT_EQ(h.form->sec_max, 500000) << "an average was shown: the extremes are kept";
}

TEST_F(LinkControl, RetainedStatisticsAreWrittenBack) {
    struct Case {
        ShownStatistic avg, max;
        const char *label5, *label1;
    } cases[] = {
        {ShownStatistic::value(99900), ShownStatistic::value(99999), "平均电流值: 999mA",
         "最大电流值: 999.99mA"},
        {ShownStatistic::value(100000), ShownStatistic::value(100000), "平均电流值: 1A", "最大电流值: 1A"},
        {ShownStatistic::value(123400), ShownStatistic::value(123456), "平均电流值: 1.23A",
         "最大电流值: 1.23A"},
        {ShownStatistic::overload(), ShownStatistic::overload(), "平均电流值:  OL", "最大电流值:  OL"},
    };
    for (const auto& c : cases) {
        h.form->sec_avg_shown = c.avg;
        h.form->sec_max_shown = c.max;
        h.form->Command11_Click();
        EXPECT_EQ(h.form->Label5.text(), c.label5);
        EXPECT_EQ(h.form->Label1.text(), c.label1);
    }
}

} // namespace
} // namespace hvr
