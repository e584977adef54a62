#include "link/request_line.h"

#include "link/protocol.h"

namespace hvr {

namespace {

// Ticks a request may wait: at the second tick after it was sent it has had at least one
// whole tick (500 ms), some ten times what the longest reply takes on the line.
constexpr int kTicksToAbandon = 2;

int chunksOf(ChunkRoute reply) {
    return reply == ChunkRoute::StoredGroup ? 2 : 1; // a pair comes as two frames
}

int framingOf(ChunkRoute reply) {
    return reply == ChunkRoute::StoredGroup || reply == ChunkRoute::LiveFrame ? protocol::kFrameLength
                                                                              : protocol::kWordReplyLength;
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
    for (const auto& block : protocol::commandBlocks(word))
        m_comm.Output(block);
    const ChunkRoute reply = replyTo(word);
    if (reply != ChunkRoute::Ignored) m_outstanding = Request{word, reply, chunksOf(reply), 0};
    applyFraming();
}

void RequestLine::sendHeld() {
    if (!busy() && m_held) send(*m_held);
}

void RequestLine::setFraming(int bytes) {
    m_framing = bytes;
    applyFraming();
}

bool RequestLine::take(ChunkRoute route, std::size_t bytes) {
    m_chunkSinceTick = true;
    if (!m_outstanding) return false;
    const bool answers = route == m_outstanding->reply;
    --m_outstanding->chunksDue;
    // A frame cut short leaves the rest of the reply out of step: nothing more of it is read.
    if (framingOf(m_outstanding->reply) == protocol::kFrameLength && bytes < protocol::kFrameLength)
        m_outstanding->chunksDue = 0;
    if (m_outstanding->chunksDue <= 0) {
        m_outstanding.reset();
        applyFraming();
    }
    return answers;
}

std::optional<std::int32_t> RequestLine::tick() {
    if (!m_comm.PortOpen()) {
        reset();
        return std::nullopt;
    }
    // Quiet: no chunk since the last tick, and no byte added to what waits below the framing.
    const int waiting = m_comm.InBufferCount();
    const bool quiet = !m_chunkSinceTick && waiting == m_waitingAtTick;
    m_chunkSinceTick = false;

    std::optional<std::int32_t> abandoned;
    if (m_outstanding && ++m_outstanding->ticks >= kTicksToAbandon) {
        abandoned = m_outstanding->word;
        m_outstanding.reset();
        m_draining = true;
    }
    if (m_draining) {
        m_comm.discardInBuffer();
        m_draining = !quiet;
    }
    m_waitingAtTick = m_comm.InBufferCount();
    applyFraming();
    return abandoned;
}

void RequestLine::reset() {
    m_outstanding.reset();
    m_held.reset();
    m_draining = false;
    m_chunkSinceTick = false;
    m_waitingAtTick = 0;
    applyFraming();
}

void RequestLine::applyFraming() {
    // While draining every byte is read, and thrown away.
    const int bytes = m_outstanding ? framingOf(m_outstanding->reply) : m_draining ? 1 : m_framing;
    m_comm.setRThreshold(bytes);
    m_comm.setInputLen(bytes);
}

} // namespace hvr
