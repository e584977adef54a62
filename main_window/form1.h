#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_state.h"
#include "link/live_decode.h"
#include "link/protocol.h"
#include "link/mscomm.h"
#include "link/request_line.h"
#include "main_window/alarm_limits.h"
#include "forms/control.h"
#include "main_window/curve_state.h"
#include "main_window/form1_controls.h"
#include "platform/canvas.h"
#include "platform/services.h"
#include "print/print_handoff.h"
#include "records/record_store.h"

namespace hvr {

// The two alarm channels and their panels.
enum class AlarmChannel { Primary, Secondary };

// The main window without pixels: every control by its name, every member of the window,
// one handler per event. A view renders the controls and forwards events; hosts without a
// view (the command line, tests) drive the same handlers.
class Form1 : public LinkVariables,
              public LiveStatistics,
              public AlarmVariables,
              public RecordStore,
              public PagingState,
              public CurveState,
              public PrintHandOff {
  public:
    explicit Form1(platform::Services services);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

#define HVR_DECLARE_CONTROL(kind, name, container, caption, left, top, width, height, visible, design)       \
    Control name{ControlKind::kind,          #name,   container, caption,                                    \
                 {left, top, width, height}, visible, true,      form1_design::design};
    HVR_FORM1_CONTROLS(HVR_DECLARE_CONTROL)
#undef HVR_DECLARE_CONTROL

    // The window itself: caption and outer size (twips). Not in the control table.
    Control Me{ControlKind::Form, "Form1", "", "", {0, 0, 15360, 11110}};

    MSComm MSComm1;
    // Every command goes out through it: one request on the line at a time.
    RequestLine requestLine{MSComm1};

    // The control of that name, or null.
    Control* control(std::string_view name);
    const std::vector<Control*>& controls() const {
        return m_controls;
    }

    // Runs after every event that reached the form from the serial port, so a view can render.
    void setSerialEventObserver(std::function<void()> observer) {
        m_serialEventObserver = std::move(observer);
    }

    // Runs the click handler of the control or menu entry of that name; false when it has none.
    bool Click(std::string_view name);
    // The user selects an option button: it is marked, the others of its container cleared.
    void SelectOption(std::string_view name);

    // Events.
    void Form_Load();
    ChunkRoute MSComm1_OnComm();
    void Timer1_Timer(); // 500 ms: status texts, silence, link check while idle
    void Timer2_Timer(); // live request while live polling runs
    void Timer3_Timer(); // 300 ms: alarm lamps, port check and scan

    // Link control.
    void Command5_Click(); // read, pause or continue, by its caption
    void ducu_Click();     // the menus' "读  取"
    void u_Click();
    void zt_1_Click();     // "暂  停"
    void jx_11_Click();    // "继  续"
    void Command9_Click(); // history review
    void lscq_Click();
    void Command11_Click(); // real-time monitoring
    void sjk_Click();
    void l_Click();      // exit
    void Label4_Click(); // the footer: the maker's web site

    // Alarm limits: lock or release each channel.
    void Command10_Click(); // primary
    void Command6_Click();  // secondary
    void LockAlarm(AlarmChannel channel);
    // The panel as the alarm variables hold it: a locked channel shows "解除" and its limit.
    void ShowAlarmPanel(AlarmChannel channel);

    // The curve: "生成曲线", the statistics of the shown range, the gestures on Picture1 (in
    // pixels inside it), the read-out under the pointer.
    void Command15_Click();
    void RangeStatistics(std::string_view maxPrefix, std::string_view minPrefix, std::string_view avgPrefix);
    void ClearRangeStatistics();
    void ShowHistoryStatistics(bool shown);
    void Picture1_MouseDown(int x, int y);
    void Picture1_Click(int x, int y);
    void Picture1_MouseMove(int x, int y);
    void Picture1_MouseLeave();
    // What Picture1 shows, in twips inside it.
    const platform::Picture& picture1() const {
        return m_picture1;
    }

    // Printing: the options dialog, the window closed and created anew, the printer dialog,
    // the sheets, then history review at page 1.
    void Command16_Click();
    void d_uy_x_Click(); // the menu's "打印" (F3), only while Command16 is enabled
    // Prints sheets first … last - 1 on the printer; false when the printer failed.
    bool PrintSheets(platform::Printer& printer, int first, int last);
    void PrintPage(platform::Printer& printer, std::int16_t sheet);
    // The window closed and created again: every control as designed, the serial control
    // closed, then the load. The members and the store keep their values.
    void Recreate();

    void js_f3_Click(); // "计算" (F2): the one calculator window, modeless
    // How the host shows the calculator window (creating it on first use, raising it after).
    void errorAnalysis_Click(); // "变比误差" (F4): the one analysis window, modeless
    void testRecords_Click();   // "测试记录" (Ctrl+O): the archive window, modeless
    void setArchiveOpener(std::function<void()> open) {
        m_openArchive = std::move(open);
    }
    // Told once a read has ended, its outcome and what it filed already set: the one place
    // where a read is known complete.
    void setReadEndedObserver(std::function<void()> observer) {
        m_readEnded = std::move(observer);
    }
    // An archived test's frames put into the store as a read puts them, in history review at
    // page 1; false while a read or a sort runs.
    bool OpenStoredFrames(const std::vector<protocol::FrameBytes>& frames);
    void setAnalysisOpener(std::function<void()> open) {
        m_openAnalysis = std::move(open);
    }
    void setCalculatorOpener(std::function<void()> open) {
        m_openCalculator = std::move(open);
    }

    // What the form knows, for front ends and coordinators to ask rather than read it off a
    // caption or a link variable. The store holds groups: a read's, or an archived test's.
    bool storeHolds() const {
        return rec_sec_code[0] != 0;
    }
    // A read is under way: the count asked for, or groups arriving.
    bool readUnderWay() const {
        return dl_active || (link_state == kExchanging && live_polling == 0);
    }
    // A print is under way: the window was created anew for it and monitors live readings
    // that nobody asked for until it ends in history review.
    bool printing() const {
        return m_printing;
    }

    // The user named the port: a failed link does not close it to try the next number, since
    // every number names it, and closing would throw away an answer on its way.
    void fixPort() {
        m_portFixed = true;
    }

    // Protocol operations.
    void SendCommandWord(std::int32_t word);
    void SetReceiveFraming(int bytes);

    // Record store: paging, sorting and restore, saving, clearing.
    void Command3_Click();  // previous page
    void Command4_Click();  // next page
    void Command8_Click();  // jump to the page in Text27
    void Command13_Click(); // ascending sort
    void Command12_Click(); // descending sort
    void Command7_Click();  // restore the received order
    void shengcuq_Click();  // the menu's "升  序": the ascending sort
    void jianxun_Click();   // the menu's "降  序": the descending sort
    void huaiyuan_Click();
    void Command1_Click(); // save
    void k_Click();
    void baoc___1_Click();
    void Command2_Click(); // clear
    void qikon_Click();

    // Procedures of the window.
    void DecodeLiveFrame();
    void LinkCheckReply();
    void DownloadCountReply();
    void DownloadGroupFrame();
    void DrawCurve();
    void CursorReadout();
    void EndDownload(ReadOutcome outcome = ReadOutcome::Complete);
    // "连接失败": the readings on the panel, the curve's last point and the lamps turn grey
    // until the next live reading, so that an old figure never looks live.
    void LinkLost();
    void ShowLiveAgain();
    // Ends a read that cannot be completed: the link goes idle and the user is told why.
    void EndIncompleteRead(const std::string& why);
    // Asks for the pair of groups that starts with request - 256, first group awaited.
    void RequestPair(std::int32_t request);
    void ShowLiveLayout();
    void ShowHistoryLayout();
    void CountStoredGroups();
    void ShowPage(std::int16_t page);
    void FormatPageRow(std::int16_t pageIndex, std::int16_t row);
    void pai_ji(std::int32_t& ad_ji1, std::uint8_t& com_cz);
    void SaveCurveBitmap(const std::string& path);

    // The footer line of Label4: the maker, the web address and the e-mail between hyphens.
    static std::string FooterText();
    // "3/12页   290组": the page status of Text41.
    std::string PageStatusText(int page) const;
    // The store as the paged text listing, in UTF-8 with CR LF line ends.
    std::string ListingText();
    // Where saved files go: HVR in the user's home directory.
    std::string WorkingDirectory();

    // Key computed by pai_ji, in base units.
    std::int64_t sort_key = 0;

    // The live reading last shown on the panel, and how many have been shown.
    LiveShown last_shown;
    std::uint64_t shownLiveFrames() const {
        return m_shownLiveFrames;
    }

    // Where a chunk goes in a given link state and mode.
    static ChunkRoute routeOf(std::int16_t linkState, std::int16_t linkMode);

  private:
    // The group index under a horizontal position in Picture1, in pixels.
    double groupUnder(int x) const;
    void clearStoreForRead();
    // At each supervision tick: what a request given up means for the read, and garbled
    // counts asked again once a tick until the read ends for them.
    void superviseRead(std::optional<std::int32_t> givenUp);
    // The line gave up the request of that word and asks it again from its start.
    void requestGivenUp(std::optional<std::int32_t> word);
    void Read();
    void Pause(bool full);
    void Continue(bool full);
    void greyLiveReadings(bool grey);
    void blinkLamp(Control& lamp, std::uint8_t alarm, std::uint8_t& blink, bool greenWhileAlarm);
    Control& pageRow(int row);
    void showPageWithStatus(std::int16_t page);
    void SortGroups(bool ascending);
    std::int64_t slotSortKey(int slot);
    // While a sort lets events run, the commands that touch the store wait for it.
    bool storeBusy() const {
        return m_sorting;
    }

    platform::Services m_services;
    bool m_sorting = false;
    bool m_portFixed = false;
    bool m_printing = false;
    std::uint64_t m_shownLiveFrames = 0;
    std::vector<Control*> m_controls;
    std::function<void()> m_serialEventObserver;
    std::function<void()> m_openCalculator;
    std::function<void()> m_openAnalysis;
    std::function<void()> m_openArchive;
    std::function<void()> m_readEnded;
    platform::Picture m_picture1;
    std::vector<Control> m_design;                // every control as the window was designed
    std::optional<std::pair<int, int>> m_pointer; // over Picture1, in pixels inside it
};

} // namespace hvr
