// Link supervision: the three timers that find the port, watch the link and poll live
// readings, and blink the alarm lamps.
#include <algorithm>
#include <cctype>
#include <string>

#include "units/number_text.h"
#include "link/protocol.h"
#include "main_window/form1.h"
#include "texts/texts.h"
#include "platform/port_table.h"

namespace hvr {

namespace {

constexpr std::uint8_t kSilentTicks = 20; // the 21st tick without a chunk declares silence

// The leading whole number of a text, as the port box is read; 0 when there is none.
int leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    long value = 0;
    bool any = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && value < 100000) {
        value = value * 10 + (text[i] - '0');
        ++i;
        any = true;
    }
    return any ? static_cast<int>(value) : 0;
}

// The port number when the text is exactly one of 1..16.
int exactPortNumber(const std::string& text) {
    for (int n = platform::kFirstPort; n <= platform::kLastPort; ++n)
        if (text == std::to_string(n)) return n;
    return 0;
}

} // namespace

void Form1::blinkLamp(Control& lamp, std::uint8_t alarm, std::uint8_t& blink, bool greenWhileAlarm) {
    if (live_stale) { // the alarm state is as old as the readings
        lamp.setFillColor(colors::kStale);
        lamp.setBorderColor(colors::kStale);
        return;
    }
    if (!MSComm1.PortOpen()) {
        lamp.setFillColor(colors::kGreen);
        lamp.setBorderColor(colors::kPurple);
        return;
    }
    if (blink == 1) {
        blink = 0;
        if (alarm == kOn && !greenWhileAlarm) {
            lamp.setFillColor(colors::kRed);
            lamp.setBorderColor(colors::kGreen);
        } else {
            lamp.setFillColor(colors::kGreen);
            lamp.setBorderColor(colors::kPurple);
        }
    } else {
        blink = 1;
        lamp.setFillColor(colors::kButtonFace);
        lamp.setBorderColor(colors::kButtonFace);
    }
}

void Form1::Timer3_Timer() {
    blinkLamp(Shape1, sec_alarm, sec_blink, false);
    // Without signal from the primary sensor its lamp stays green even in alarm.
    blinkLamp(Shape4, pri_alarm, pri_blink, last_status == "5");

    if (leadingNumber(Combo1.text()) != MSComm1.CommPort() && MSComm1.PortOpen()) MSComm1.setPortOpen(false);
    if (Text40.text() == texts::kLinkDown && MSComm1.PortOpen() && !m_portFixed) MSComm1.setPortOpen(false);

    if (!MSComm1.PortOpen()) {
        requestLine.reset(); // nothing asked on a closed line is still to come
        Label6.setText("");
        int next = leadingNumber(Combo1.text()) + 1;
        if (next > platform::kLastPort) next = platform::kFirstPort;
        Combo1.setText(decimalText(next));
        MSComm1.setCommPort(next);
        MSComm1.setSettings("4800,n,8,1");
        MSComm1.setPortOpen(true); // a missing or busy port stays closed; the next tick tries on
    }
}

void Form1::Timer1_Timer() {
    Timer1.setInterval(500);
    superviseRead(requestLine.tick());
    Text39.setText(MSComm1.PortOpen() ? texts::kPortOpen : texts::kPortClosed);
    if (const int n = exactPortNumber(Combo1.text()); n != 0)
        Text38.setText(texts::kPortPrefix + decimalText(n));

    ++sup_ticks;
    if (sup_ticks > kSilentTicks) {
        if (rx_seen == 0) {
            Text42.setText("");
            LinkLost();
            live_frames = 0;
            if (link_state == kExchanging) link_state = kIdle;
            MSComm1.discardOutBuffer();
            MSComm1.discardInBuffer();
            requestLine.reset(); // nothing has come for 10 s: no reply is still on its way
        }
        sup_ticks = 0;
        rx_seen = 0;
    }

    if (!MSComm1.PortOpen()) {
        live_frames = 0;
        LinkLost();
    } else if (link_state == kIdle) {
        SetReceiveFraming(protocol::kWordReplyLength);
        link_mode = kWordReply;
        SendCommandWord(protocol::kLinkCheck);
    }
    requestLine.sendHeld();

    CursorReadout();
}

void Form1::Timer2_Timer() {
    if (live_polling == 0) {
        Timer2.setEnabled(false);
        link_state = kIdle;
        link_busy = 0;
        SetReceiveFraming(protocol::kWordReplyLength);
    }
    if (live_polling == 1) {
        Text33.setVisible(false);
        Text34.setVisible(false);
    }
    if (MSComm1.PortOpen() && live_polling == 1) {
        if (Text40.text() != texts::kLinkDown) {
            SetReceiveFraming(protocol::kFrameLength);
            SendCommandWord(protocol::kLiveReading);
            link_state = kExchanging;
            link_mode = kLiveFrames;
        } else {
            link_state = kIdle;
            link_busy = 0;
        }
    }
}

void Form1::LinkLost() {
    Text40.setText(texts::kLinkDown);
    if (m_shownLiveFrames == 0 || live_stale) return;
    live_stale = true;
    greyLiveReadings(true);
}

void Form1::ShowLiveAgain() {
    if (!live_stale) return;
    live_stale = false;
    greyLiveReadings(false);
}

void Form1::greyLiveReadings(bool grey) {
    for (Control* label : {&Label9, &Label10, &Label11, &Label12, &Label16, &Label17, &Label18}) {
        const auto at = std::find(m_controls.begin(), m_controls.end(), label) - m_controls.begin();
        label->setForeColor(grey ? colors::kStale : m_design[static_cast<std::size_t>(at)].foreColor());
    }
    const std::uint32_t lamp = grey ? colors::kStale : colors::kGreen;
    const std::uint32_t border = grey ? colors::kStale : colors::kPurple;
    for (Control* shape : {&Shape1, &Shape4}) {
        shape->setFillColor(lamp);
        shape->setBorderColor(border);
    }
    if (curve_mode == kLiveCurve) DrawCurve();
}

} // namespace hvr
