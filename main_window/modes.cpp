// The two modes of the main window, and what loading it sets.
#include <initializer_list>
#include <string>

#include "main_window/form1.h"
#include "texts/texts.h"

namespace hvr {

namespace {

constexpr const char* kHistoryHeader = "  组数    一次电流      二次电流            变比                  "
                                       "组数     一次电流       二次电流           变比 ";
constexpr const char* kHistoryTitle = " 历史数据记录";

void show(std::initializer_list<Control*> controls, bool visible) {
    for (Control* c : controls)
        c->setVisible(visible);
}

void enable(std::initializer_list<Control*> controls, bool enabled) {
    for (Control* c : controls)
        c->setEnabled(enabled);
}

} // namespace

void Form1::Form_Load() {
    curve_scale = 3000;
    sec_sum1 = 0;
    sec_n1 = 0;
    curve_mode = kLiveCurve;
    for (int i = 0; i <= 410; ++i) {
        sec_curve[i] = 4200000;
        pri_history[i] = 420000000;
    }
    sec_max = 0;
    sec_min = kStatisticsOverload;
    Me.setText(texts::kWindowCaption);
    Me.setTop(0);
    Me.setWidth(15360);
    Me.setHeight(11110);
    Label4.setWidth(15230);
    Label4.setText(FooterText());
    pri_max = 0;
    pri_min = 999999999;
    pri_avg = 0;
    Label13.setText("最大电流值: 0mA");
    Label14.setText("最小电流值: 0mA");
    Label15.setText("平均电流值: 0mA");
    pri_sum = 0;
    pri_n = 0;
    Label1.setText("电大电流值:0.00mA");
    Label2.setText("电小电流值:0.00mA");
    Label5.setText("平均电流值:0.00mA");
    for (int r = 0; r < kRowsPerPage; ++r)
        pageRow(r).setText("");
    CountStoredGroups();
    Text41.setText(PageStatusText(current_page));
    link_state = kIdle;
    Text31.setText(kHistoryHeader);
    Text32.setText(kHistoryTitle);
    DrawCurve();
    Command11_Click();
    for (int r = 0; r < kRowsPerPage; ++r)
        pageRow(r).setBackColor(colors::kWhite);
    // A window re-created while a limit is locked shows it locked.
    ShowAlarmPanel(AlarmChannel::Primary);
    ShowAlarmPanel(AlarmChannel::Secondary);
}

std::string Form1::FooterText() {
    return std::string(37, '-') + texts::kMakerName + std::string(10, '-') +
           "网址:" + texts::kMakerWebAddress + std::string(12, '-') + "E-mail:" + texts::kMakerEmail +
           std::string(46, '-');
}

void Form1::ShowLiveLayout() {
    show({&Text1,    &Text2,  &Text3,  &Text4,  &Text5,     &Text6,     &Text7,   &Text8,    &Text9,
          &Text10,   &Text11, &Text12, &Text13, &Text14,    &Text15,    &Text16,  &Text17,   &Text18,
          &Text19,   &Text20, &Text21, &Text22, &Text23,    &Text24,    &Text25,  &Text26,   &Text28,
          &Text31,   &Text32, &Text41, &Text42, &Label7,    &Label8,    &Frame5,  &Command3, &Command4,
          &Command8, &Text27, &Text33, &Text34, &Command13, &Command12, &Command7},
         false);
    show({&Option3, &Option4, &Text36, &Text35, &Command6, &Picture1, &Shape1, &Text37, &Picture2, &Shape2,
          &Frame6, &Frame7},
         true);
    Command5.setEnabled(true);
    enable({&Command1, &Command2, &Command15, &Command16}, false);
}

void Form1::ShowHistoryLayout() {
    show({&Picture5, &Picture1, &Picture2, &Text37, &Frame7, &Frame6, &Shape1, &Shape2, &Option3, &Option4,
          &Text36, &Text35, &Command6, &Text33, &Text34},
         false);
    Command7.setEnabled(true);
    show({&Command7, &Command13, &Command12, &Frame5, &Text27, &Command3, &Command4, &Command8, &Label7,
          &Label8,   &Text41,    &Text42,    &Text1,  &Text2,  &Text3,    &Text4,    &Text5,    &Text6,
          &Text7,    &Text8,     &Text9,     &Text10, &Text11, &Text12,   &Text13,   &Text14,   &Text15,
          &Text16,   &Text17,    &Text18,    &Text19, &Text20, &Text21,   &Text22,   &Text23,   &Text24,
          &Text25,   &Text26,    &Text28,    &Text31, &Text32},
         true);
    enable({&Command15, &Command16, &Command1, &Command2}, true);
}

void Form1::Command11_Click() {
    ShowHistoryStatistics(false);
    Text33.setVisible(false);
    Picture5.setVisible(true);
    Picture6.setVisible(true);
    curve_mode = kLiveCurve;
    live_frames = 0;
    const bool noAverage = sec_avg_shown.kind == ShownStatistic::Kind::Unset ||
                           (sec_avg_shown.kind == ShownStatistic::Kind::Value && sec_avg_shown.base == 0);
    if (noAverage) {
        sec_max = 0;
        sec_min = kStatisticsOverload;
    }
    link_state = kIdle;
    link_busy = 3;
    live_polling = 1;
    ShowLiveLayout();
    Command1.setEnabled(true);
    Picture4.setVisible(false);
    Label11.setText(texts::kRatioEmpty);
    Label12.setText(texts::kPrimaryFrequency);
    Label18.setText(texts::kSecondaryFrequency);
    Label16.setText(texts::kFiveAmpReferred);
    Label17.setText(texts::kYyRatio);
    Label6.setText("");
    Timer2.setInterval(500);
    Timer2.setEnabled(true);
    Option1.setValue(true);
    Option1.setEnabled(true);
    Option2.setValue(false);
    Option2.setEnabled(false);
    Command5.setText(texts::kPauseCaption);
    Text41.setVisible(true);
    Text41.setText("");
    DrawCurve();

    // The secondary statistics as last shown.
    Label5.setText(secondaryStatisticCaption(texts::kAverage, texts::kAverageOverload, sec_avg_shown));
    Label1.setText(secondaryStatisticCaption(texts::kMaximum, texts::kMaximumOverload, sec_max_shown));
    Label2.setText(secondaryStatisticCaption(texts::kMinimum, texts::kMinimumOverload, sec_min_shown));
}

void Form1::sjk_Click() {
    Command11_Click();
}

} // namespace hvr
