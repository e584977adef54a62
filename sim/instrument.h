#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/scenario.h"

namespace hvr::sim {

// The kinds of request the instrument answers.
enum class RequestKind { Check, Count, Pair, Live };

// A fault of some requests of one kind: the n-th of them (1-based), or every one for n = 0.
struct RequestFault {
    RequestKind kind = RequestKind::Check;
    int nth = 0;
    double seconds = 0; // a late answer: so long after the command arrived
    int bytes = 0;      // junk: so many bytes written right behind the answer

    bool hits(RequestKind asked, int count) const { return asked == kind && (nth == 0 || nth == count); }
};

// "KIND:N:VALUE" as the command line writes a fault (check, count, pair or live; N = 0 for
// every one); VALUE is seconds for a late answer, bytes for junk. Empty when the text does not
// read as one, with the reason in `error`.
std::optional<RequestFault> parseRequestFault(const std::string& text, bool seconds, std::string& error);

// Misbehaviour on request, each counted from the start of the run.
struct Faults {
    int shortChunkAtRequest = 0;    // that group request (1st, 2nd, ...) is answered with 7 bytes, once
    int garbledCounts = 0;          // so many count replies first report 4601 or more
    int silenceAtRequest = 0;       // at that group request the instrument falls silent ...
    double silenceSeconds = 0;      // ... for so long, dropping every command meanwhile
    int failedChecks = 0;           // so many link checks first answered with a wrong word
    bool pairApart = false;         // the two frames of a pair go out as two writes, not one
    std::vector<RequestFault> late; // answers that start late; later answers queue behind them
    std::vector<RequestFault> junk; // answers followed by bytes that answer nothing, written at once
};

// One write of the instrument: its bytes, and how long after the command arrived it may start
// (it starts no sooner than the line is free of what was written before it).
struct Reply {
    std::vector<std::uint8_t> bytes;
    double lateBy = 0;
    bool atOnce = false; // all its bytes in one write, however the line is paced (junk)
};

// The instrument's side of the protocol: command words in, replies out. Commands arrive as
// 00 HH 00 LL; a byte that cannot start a command is skipped, so the parser finds its step
// again after noise.
class Instrument {
  public:
    Instrument(Scenario scenario, Faults faults);

    // Takes bytes from the line at time `now` (seconds) and returns the replies due, each
    // one write, in the order they go out.
    std::vector<Reply> receive(std::span<const std::uint8_t> bytes, double now);

    // Forgets a half-received command, as when the other side closes the line.
    void resetLine() { m_pending.clear(); }

    std::uint64_t liveFramesSent() const { return m_liveIndex; }
    int groupRequests() const { return m_groupRequests; }

  private:
    std::vector<std::vector<std::uint8_t>> answer(std::int32_t word, double now);
    // The faults of the request just answered: how late it goes, and the junk behind it.
    void applyFaults(RequestKind kind, int count, std::vector<std::vector<std::uint8_t>> answers,
                     std::vector<Reply>& out);

    Scenario m_scenario;
    Faults m_faults;
    std::vector<std::uint8_t> m_pending;
    std::uint64_t m_liveIndex = 0;
    int m_countReplies = 0;
    int m_linkChecks = 0;
    int m_groupRequests = 0;
    double m_silentUntil = -1;
    std::uint32_t m_junkSeed = 0x2545F491;
};

} // namespace hvr::sim
