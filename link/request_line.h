#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "link/mscomm.h"

namespace hvr {

// What a chunk from the instrument is taken for.
enum class ChunkRoute { Ignored, StoredGroup, CountReply, LinkCheck, LiveFrame };

// One request on the line at a time, and an answer taken only when nothing asked earlier can
// still be answered. The protocol has no header: a reply is known only by arriving while its
// request is the one outstanding, and the instrument answers every request it received, in
// order, however late. So:
// - A request made while the line is not free is held, and sent once it is; a held request
//   gives way to a later one, since the link's latest state decides what it asks.
// - A request unanswered at the second supervision tick after it was sent, with nothing at all
//   arriving through the last whole tick, is given up; so is one whose reply comes with more
//   bytes behind it than it has, or while bytes arrive sooner than the line's speed lets an
//   answer to it come (junk, a flood, the tail of the last reply; the port times them). What
//   arrives then is read and thrown away until the line has been quiet for a whole tick, and
//   the same request is asked again: whichever asking the instrument answers, the bytes are the
//   answer to it.
// - Once a request asked more than once is answered, the answers to its other askings may
//   still come: the line is drained until it has been quiet for as many ticks as lay between
//   the first asking and the last, and one more, before anything else is sent. An instrument
//   late by the same time for every asking answers the last of them that much after the first;
//   one that queues them answers them back to back.
// - A frame cut short ends its reply, and the line drains before the next request, so that
//   the rest of it never joins the next reply.
// While a request is outstanding the receive framing is its reply's; while the line drains,
// every byte is read, and thrown away.
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

    enum class Taken {
        Answer,  // the chunk is (part of) the answer to the outstanding request, of that route
        Stale,   // it answers nothing asked, or another kind of request: never filed
        GivenUp, // the outstanding request's reply is spoiled: it is asked again, from its start
    };
    // A chunk of `bytes` was read that the link's state would file under `route`.
    Taken take(ChunkRoute route, std::size_t bytes);
    // More chunks of the outstanding reply are due (the second frame of a pair): what waits
    // on the line is theirs, not stale.
    bool replyContinues() const { return m_outstanding && m_outstanding->chunksDue > 0; }

    // The supervision tick: ages the outstanding request and the drain. Returns the word of a
    // request given up at this tick.
    std::optional<std::int32_t> tick();

    // Throws away what waits; a reply of which anything has come is given up with it.
    void discardInput();
    // The port was closed or opened, or the line was silent past the silence limit: nothing is
    // outstanding, held, to be asked again or draining.
    void reset();

    // The word of a request given up and waiting to be asked again.
    std::optional<std::int32_t> askedAgain() const {
        return m_again ? std::optional(m_again->word) : std::nullopt;
    }

    bool busy() const { return m_outstanding || m_again || m_quietNeeded > 0; }

  private:
    struct Request {
        std::int32_t word;
        ChunkRoute reply;
        int chunksDue = 0;
        std::size_t bytesIn = 0; // of this asking's reply
        int ticks = 0;           // since this asking
        int askings = 1;
        int firstAsked = 0; // supervision ticks, counted by the line
        int lastAsked = 0;
    };
    void transmit(Request request);
    void giveUp();
    void drain(int quietTicks);
    void applyFraming();

    MSComm& m_comm;
    std::optional<Request> m_outstanding;
    std::optional<Request> m_again; // given up: asked again once the drain is over
    std::optional<std::int32_t> m_held;
    int m_quietNeeded = 0; // whole quiet ticks the drain still asks for; 0: no drain
    int m_quietTicks = 0;
    bool m_byteSinceTick = false;
    int m_waitingAtTick = 0;
    int m_tick = 0;
    int m_framing = 0;
};

} // namespace hvr
