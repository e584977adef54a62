// The receive dispatcher: every chunk from the instrument enters here and goes to the one
// handler that the link state and mode expect.
#include "link/protocol.h"
#include "main_window/form1.h"

namespace hvr {

ChunkRoute Form1::routeOf(std::int16_t linkState, std::int16_t linkMode) {
    if (linkState == kExchanging && linkMode == kGroupFrames) return ChunkRoute::StoredGroup;
    if (linkState == kExchanging && linkMode == kWordReply) return ChunkRoute::CountReply;
    if (linkState == kIdle && linkMode == kWordReply) return ChunkRoute::LinkCheck;
    if (linkMode == kLiveFrames) return ChunkRoute::LiveFrame;
    return ChunkRoute::Ignored;
}

bool Form1::awaitsSecondOfPair() const {
    if (link_state != kExchanging || link_mode != kGroupFrames || dl_half != 0) return false;
    const auto frame = protocol::fullFrame(rx_bytes);
    return frame && !protocol::isEndOfData(*frame);
}

void Form1::SendCommandWord(std::int32_t word) {
    for (const auto& block : protocol::commandBlocks(word))
        MSComm1.Output(block);
}

void Form1::SetReceiveFraming(int bytes) {
    MSComm1.setRThreshold(bytes);
    MSComm1.setInputLen(bytes);
}

ChunkRoute Form1::MSComm1_OnComm() {
    if (MSComm1.CommEvent() != MSComm::comEvReceive) return ChunkRoute::Ignored;

    rx_bytes = MSComm1.Input();
    // Whatever else waits is stale, so that a late or duplicated reply is never read as part
    // of the next one; except the second frame of a download pair, which follows the first
    // on the line and often arrives with it.
    if (!awaitsSecondOfPair()) MSComm1.discardInBuffer();
    MSComm1.discardOutBuffer();
    rx_seen = 16;

    if (rx_bytes.size() > 6) {
        pri_freq = rx_bytes[6] & 0x7F;
        sec_freq = (rx_bytes[6] & 0x80) != 0 ? 60 : 50;
    }

    if (link_state == kExchanging) link_busy = 1;

    // Each handler moves link_mode only to a value that no later test matches, so one chunk
    // is interpreted once: the route is decided by the state on arrival.
    const ChunkRoute route = routeOf(link_state, link_mode);
    switch (route) {
    case ChunkRoute::StoredGroup:
        DownloadGroupFrame();
        break;
    case ChunkRoute::CountReply:
        DownloadCountReply();
        break;
    case ChunkRoute::LinkCheck:
        LinkCheckReply();
        break;
    case ChunkRoute::LiveFrame:
        DecodeLiveFrame();
        break;
    case ChunkRoute::Ignored:
        break;
    }
    return route;
}

} // namespace hvr
