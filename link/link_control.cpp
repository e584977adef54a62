// Link control: read, pause and continue on the read button and its menu twins, history
// review, and the outcome of a link check.
#include "link/protocol.h"
#include "main_window/form1.h"
#include "texts/texts.h"

namespace hvr {

void Form1::Read() {
    if (link_state == kExchanging || storeBusy())
        return; // a read or live polling is exchanging data, or a sort holds the store
    // The link comes first: with the link down nothing is sent, and the groups already
    // downloaded stay where they are.
    if (Text40.text() == texts::kLinkDown || !MSComm1.PortOpen()) {
        m_services.dialogs.message(texts::kLinkBroken, texts::kMessageTitle);
        return;
    }
    clearStoreForRead();
    dl_active = false;
    dl_recounting = false;
    dl_implausible_counts = 0;
    dl_implausible_ticks = 0;
    dl_outcome = ReadOutcome::None;
    SetReceiveFraming(protocol::kWordReplyLength);
    SendCommandWord(protocol::kReadCount);
    link_state = kExchanging;
    link_mode = kWordReply;
    CountStoredGroups();
    ShowPage(1);
    Text41.setText(PageStatusText(1));
}

void Form1::Pause(bool full) {
    if (full) {
        sec_alarm = 0;
        live_frames = 0;
    }
    Command5.setText(texts::kContinueCaption);
    Timer2.setEnabled(false);
    if (full) {
        MSComm1.discardOutBuffer();
        requestLine.discardInput();
    }
    live_polling = 0;
    link_state = kIdle;
    link_busy = 0;
    SetReceiveFraming(protocol::kWordReplyLength);
}

void Form1::Continue(bool full) {
    if (full) {
        sec_alarm = 0;
        live_frames = 0;
        MSComm1.discardOutBuffer();
        requestLine.discardInput();
    }
    Command5.setText(texts::kPauseCaption);
    MSComm1.discardOutBuffer();
    requestLine.discardInput();
    link_state = kExchanging;
    link_mode = kLiveFrames;
    live_polling = 1;
    Timer2.setEnabled(true);
    SetReceiveFraming(protocol::kFrameLength);
}

void Form1::Command5_Click() {
    const std::string caption = Command5.text();
    if (caption == texts::kReadCaption)
        Read();
    else if (caption == texts::kPauseCaption)
        Pause(true);
    else if (caption == texts::kContinueCaption)
        Continue(true);
}

void Form1::ducu_Click() {
    if (Command5.text() == texts::kReadCaption) Read();
}

void Form1::u_Click() {
    ducu_Click();
}

void Form1::zt_1_Click() {
    if (Command5.text() == texts::kPauseCaption) Pause(false);
}

void Form1::jx_11_Click() {
    if (Command5.text() == texts::kContinueCaption) Continue(false);
}

void Form1::Command9_Click() {
    curve_mode = kLiveCurve;
    live_polling = 0;
    Timer2.setEnabled(false);
    link_state = kIdle;
    link_busy = 0;
    link_mode = kWordReply;
    SetReceiveFraming(protocol::kWordReplyLength);
    Text42.setText("");
    Picture4.setVisible(false);
    Picture6.setVisible(false);
    ShowHistoryStatistics(false);
    ShowHistoryLayout();
    Command1.setVisible(true);
    Command2.setVisible(true);
    Label6.setText("");
    Option2.setValue(true);
    Option2.setEnabled(true);
    Option1.setValue(false);
    Option1.setEnabled(false);
    Command5.setText(texts::kReadCaption);
    Command5.setEnabled(true);
}

void Form1::lscq_Click() {
    Command9_Click();
}

void Form1::LinkCheckReply() {
    Command13.setEnabled(true);
    Command12.setEnabled(true);
    Command7.setEnabled(true);

    const auto word = protocol::replyWord(rx_bytes);
    if (word == protocol::kLinkAlive) {
        if (link_busy == 1) {
            // A download was interrupted by silence. While a group of the pending pair is
            // still due the count is asked first: the same count goes on at that pair, another
            // one is another store (Counting). Otherwise every counted group is in, and the
            // download ends as it would have.
            if (dl_active && dl_request >= protocol::kFirstGroupRequest) {
                if (dl_request - protocol::kGroupRequestBase <= stored_count) {
                    link_state = kExchanging;
                    link_mode = kWordReply;
                    dl_recounting = true;
                    SetReceiveFraming(protocol::kWordReplyLength);
                    SendCommandWord(protocol::kReadCount);
                } else {
                    EndDownload();
                }
            }
        } else {
            stored_count = 0;
            dl_request = 0;
            dl_active = false;
        }
        Text40.setText(texts::kLinkUp);
    } else {
        LinkLost();
        live_frames = 0;
    }
}

} // namespace hvr
