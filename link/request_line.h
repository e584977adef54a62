#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "link/mscomm.h"

namespace hvr {

// What a chunk from the instrument is taken for.
enum class ChunkRoute { Ignored, StoredGroup, CountReply, LinkCheck, LiveFrame };

// One request on the line at a time. The protocol has no header: a reply is known only by
// arriving while its request is the one outstanding, so a second request sent before the
// first is answered makes the late reply pass for the answer to the second.
//
// A request made while another is outstanding is held, and sent once that one is answered or
// abandoned; a held request gives way to a later one, since the link's latest state decides
// what it asks. A request still unanswered at the second supervision tick after it was sent
// is abandoned, and what arrives afterwards is read and discarded until the line has been
// quiet for a whole tick. While a request is outstanding the receive framing is its reply's.
class RequestLine {
  public:
    explicit RequestLine(MSComm& comm) : m_comm(comm) {}

    // The kind of reply a command word asks for; Ignored for a word that asks for none.
    static ChunkRoute replyTo(std::int32_t word);

    // Sends the command now if the line is free (a held one is dropped), else holds it.
    void send(std::int32_t word);
    // Sends the held command if the line has come free.
    void sendHeld();
    // The framing the link's state asks for, in force whenever nothing is outstanding.
    void setFraming(int bytes);

    // A chunk of `bytes` was read that the link's state would file under `route`: true when
    // it answers the outstanding request. A chunk that answers nothing asked, or another
    // request, is never filed. Either way it counts against the reply due, and the line comes
    // free once that reply is complete (a frame cut short ends it).
    bool take(ChunkRoute route, std::size_t bytes);
    // More chunks of the outstanding reply are due (the second frame of a pair): what waits
    // on the line is theirs, not stale.
    bool replyContinues() const { return m_outstanding && m_outstanding->chunksDue > 0; }

    // The supervision tick: ages the outstanding request and ends a drain. Returns the word
    // of a request abandoned at this tick.
    std::optional<std::int32_t> tick();

    // The port was closed or opened: nothing is outstanding, held or draining.
    void reset();

    bool busy() const { return m_outstanding.has_value() || m_draining; }

  private:
    struct Request {
        std::int32_t word;
        ChunkRoute reply;
        int chunksDue;
        int ticks;
    };
    void applyFraming();

    MSComm& m_comm;
    std::optional<Request> m_outstanding;
    std::optional<std::int32_t> m_held;
    bool m_draining = false;
    bool m_chunkSinceTick = false;
    int m_waitingAtTick = 0;
    int m_framing = 0;
};

} // namespace hvr
