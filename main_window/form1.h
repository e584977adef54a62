#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "link/link_state.h"
#include "link/live_decode.h"
#include "link/mscomm.h"
#include "main_window/alarm_limits.h"
#include "main_window/control.h"
#include "main_window/curve_state.h"
#include "main_window/form1_controls.h"
#include "platform/services.h"
#include "print/print_handoff.h"
#include "records/record_store.h"

namespace hvr {

// Where the receive dispatcher sent a chunk.
enum class ChunkRoute { Ignored, StoredGroup, CountReply, LinkCheck, LiveFrame };

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

#define HVR_DECLARE_CONTROL(kind, name, container, caption, left, top, width, height, visible)               \
    Control name{ControlKind::kind, #name, container, caption, {left, top, width, height}, visible};
    HVR_FORM1_CONTROLS(HVR_DECLARE_CONTROL)
#undef HVR_DECLARE_CONTROL

    MSComm MSComm1;

    // The control of that name, or null.
    Control* control(std::string_view name);
    const std::vector<Control*>& controls() const {
        return m_controls;
    }

    // Runs after every event that reached the form from the serial port, so a view can render.
    void setSerialEventObserver(std::function<void()> observer) {
        m_serialEventObserver = std::move(observer);
    }

    // Events.
    ChunkRoute MSComm1_OnComm();

    // Protocol operations.
    void SendCommandWord(std::int32_t word);
    void SetReceiveFraming(int bytes);

    // Procedures of the window.
    void DecodeLiveFrame();
    void LinkCheckReply();
    void DownloadCountReply();
    void DownloadGroupFrame();
    void DrawCurve();

    // Where a chunk goes in a given link state and mode.
    static ChunkRoute routeOf(std::int16_t linkState, std::int16_t linkMode);

  private:
    platform::Services m_services;
    std::vector<Control*> m_controls;
    std::function<void()> m_serialEventObserver;
};

} // namespace hvr
