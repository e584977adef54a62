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

void Form1::SendCommandWord(std::int32_t word) {
    requestLine.send(word);
}

void Form1::SetReceiveFraming(int bytes) {
    requestLine.setFraming(bytes);
}

ChunkRoute Form1::MSComm1_OnComm() {
    if (MSComm1.CommEvent() != MSComm::comEvReceive) return ChunkRoute::Ignored;

    rx_bytes = MSComm1.Input();
    // The link's state says what the chunk would be; it is filed only when it answers the
    // request outstanding. Each handler moves link_mode only to a value that no later test
    // matches, so one chunk is interpreted once.
    ChunkRoute route = routeOf(link_state, link_mode);
    const RequestLine::Taken taken = requestLine.take(route, rx_bytes.size());
    if (taken != RequestLine::Taken::Answer) route = ChunkRoute::Ignored;
    if (taken == RequestLine::Taken::GivenUp) requestGivenUp(requestLine.askedAgain());
    // Whatever else waits is stale, so that a late or duplicated reply is never read as part
    // of the next one; except the rest of the reply itself (the second frame of a pair, which
    // often arrives with the first).
    if (!requestLine.replyContinues()) MSComm1.discardInBuffer();
    MSComm1.discardOutBuffer();
    rx_seen = 16;

    if (route != ChunkRoute::Ignored && rx_bytes.size() > 6) {
        pri_freq = rx_bytes[6] & 0x7F;
        sec_freq = (rx_bytes[6] & 0x80) != 0 ? 60 : 50;
    }

    if (link_state == kExchanging) link_busy = 1;

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
    // A request held while this reply was due goes out now, unless a handler asked anew.
    requestLine.sendHeld();
    return route;
}

} // namespace hvr
