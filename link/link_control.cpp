// Link control: the outcome of a link check.
#include "link/protocol.h"
#include "main_window/form1.h"
#include "main_window/texts.h"

namespace hvr {

void Form1::LinkCheckReply() {
    Command13.setEnabled(true);
    Command12.setEnabled(true);
    Command7.setEnabled(true);

    const auto word = protocol::replyWord(rx_bytes);
    if (word == protocol::kLinkAlive) {
        if (link_busy == 1) {
            // A download was interrupted: fetch its pending pair again.
            if (dl_request >= protocol::kFirstGroupRequest &&
                dl_request - protocol::kGroupRequestBase < stored_count) {
                SendCommandWord(dl_request);
                dl_half = 0;
                link_state = kExchanging;
                link_mode = kGroupFrames;
                SetReceiveFraming(protocol::kFrameLength);
            }
        } else {
            stored_count = 0;
            dl_request = 0;
        }
        Text40.setText(texts::kLinkUp);
    } else {
        Text40.setText(texts::kLinkDown);
        live_frames = 0;
    }
}

} // namespace hvr
