#include "link/request_line.h"

#include <algorithm>

#include "link/protocol.h"

namespace hvr {

namespace {

// Ticks a request may wait: at the second tick after it was sent it has had at least one
// whole tick (500 ms), some ten times what the longest reply takes on the line.
constexpr int kTicksToAbandon = 2;

int chunksOf(ChunkRoute reply) {
    return reply == ChunkRoute::StoredGroup ? 2 : 1; // a pair comes as two frames
}

bool isFrame(ChunkRoute reply) {
    return reply == ChunkRoute::StoredGroup || reply == ChunkRoute::LiveFrame;
}

int framingOf(ChunkRoute reply) {
    return isFrame(reply) ? protocol::kFrameLength : protocol::kWordReplyLength;
}

} // namespace

ChunkRoute RequestLine::replyTo(std::int32_t word) {
    switch (word) {
    case protocol::kReadCount:
        return ChunkRoute::CountReply;
    case protocol::kLinkCheck:
        return ChunkRoute::LinkCheck;
    case protocol::kLiveReading:
        return ChunkRoute::LiveFrame;
    default:
        return word > protocol::kGroupRequestBase && word < protocol::kReadCount ? ChunkRoute::StoredGroup
                                                                                 : ChunkRoute::Ignored;
    }
}

void RequestLine::send(std::int32_t word) {
    if (busy()) {
        m_held = word;
        return;
    }
    m_held.reset();
    transmit(Request{word, replyTo(word), 0, 0, 0, 1, m_tick, m_tick});
}

void RequestLine::sendHeld() {
    if (!busy() && m_held) send(*m_held);
}

void RequestLine::transmit(Request request) {
    for (const auto& block : protocol::commandBlocks(request.word))
        m_comm.Output(block);
    if (request.reply != ChunkRoute::Ignored) {
        request.chunksDue = chunksOf(request.reply);
        request.bytesIn = 0;
        request.ticks = 0;
        m_outstanding = request;
    }
    applyFraming();
}

void RequestLine::setFraming(int bytes) {
    m_framing = bytes;
    applyFraming();
}

RequestLine::Taken RequestLine::take(ChunkRoute route, std::size_t bytes) {
    m_byteSinceTick = true;
    if (!m_outstanding) {
        // Nothing asked is due: whatever this is, the line is not clean until it is quiet.
        drain(1);
        return Taken::Stale;
    }
    Request& r = *m_outstanding;
    r.bytesIn += bytes;
    const auto whole = static_cast<std::size_t>(framingOf(r.reply) * chunksOf(r.reply));
    const auto waiting = static_cast<std::size_t>(std::max(0, m_comm.InBufferCount()));
    const std::size_t due = whole > r.bytesIn ? whole - r.bytesIn : 0;
    if (waiting > due || m_comm.arrivedAhead()) {
        giveUp();
        return Taken::GivenUp;
    }
    const Taken taken = route == r.reply ? Taken::Answer : Taken::Stale;
    const bool cutShort = isFrame(r.reply) && bytes < static_cast<std::size_t>(protocol::kFrameLength);
    if (!cutShort && --r.chunksDue > 0) return taken;
    // The reply is over. Answers to earlier askings of it may still be on their way, and so
    // may the rest of one cut short.
    const int settle = r.askings > 1 ? r.lastAsked - r.firstAsked + 1 : cutShort ? 1 : 0;
    m_outstanding.reset();
    if (settle > 0)
        drain(settle);
    else
        applyFraming();
    return taken;
}

void RequestLine::giveUp() {
    m_again = m_outstanding;
    m_outstanding.reset();
    m_comm.discardInBuffer();
    drain(1);
}

void RequestLine::drain(int quietTicks) {
    m_quietNeeded = std::max(m_quietNeeded, quietTicks);
    m_quietTicks = 0;
    applyFraming();
}

std::optional<std::int32_t> RequestLine::tick() {
    if (!m_comm.PortOpen()) {
        reset();
        return std::nullopt;
    }
    ++m_tick;
    // Quiet: no chunk since the last tick, and no byte added to what waits below the framing.
    const int waiting = m_comm.InBufferCount();
    const bool quiet = !m_byteSinceTick && waiting == m_waitingAtTick;
    m_byteSinceTick = false;

    std::optional<std::int32_t> givenUp;
    if (m_outstanding && ++m_outstanding->ticks >= kTicksToAbandon && quiet) {
        givenUp = m_outstanding->word;
        giveUp(); // the drain counts quiet ticks from this one on
    } else if (m_quietNeeded > 0) {
        m_comm.discardInBuffer();
        m_quietTicks = quiet ? m_quietTicks + 1 : 0;
        if (m_quietTicks >= m_quietNeeded) {
            m_quietNeeded = 0;
            m_quietTicks = 0;
            if (m_again) {
                Request again = *m_again;
                m_again.reset();
                ++again.askings;
                again.lastAsked = m_tick;
                transmit(again);
            }
        }
    }
    m_waitingAtTick = m_comm.InBufferCount();
    applyFraming();
    return givenUp;
}

void RequestLine::discardInput() {
    if (m_outstanding && (m_outstanding->bytesIn > 0 || m_comm.InBufferCount() > 0))
        giveUp();
    else
        m_comm.discardInBuffer();
}

void RequestLine::reset() {
    m_outstanding.reset();
    m_again.reset();
    m_held.reset();
    m_quietNeeded = 0;
    m_quietTicks = 0;
    m_byteSinceTick = false;
    m_waitingAtTick = 0;
    applyFraming();
}

void RequestLine::applyFraming() {
    // While draining every byte is read, and thrown away.
    const int bytes = m_outstanding ? framingOf(m_outstanding->reply) : m_quietNeeded > 0 ? 1 : m_framing;
    m_comm.setRThreshold(bytes);
    m_comm.setInputLen(bytes);
}

} // namespace hvr
