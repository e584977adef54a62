#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sim/scenario.h"

namespace hvr::sim {

// Misbehaviour on request, each counted from the start of the run.
struct Faults {
    int shortChunkAtRequest = 0; // that group request (1st, 2nd, ...) is answered with 7 bytes, once
    int garbledCounts = 0;       // so many count replies first report 4601 or more
    int silenceAtRequest = 0;    // at that group request the instrument falls silent ...
    double silenceSeconds = 0;   // ... for so long, dropping every command meanwhile
    int failedChecks = 0;        // so many link checks first answered with a wrong word
    bool pairApart = false;      // the two frames of a pair go out as two writes, not one
};

// The instrument's side of the protocol: command words in, replies out. Commands arrive as
// 00 HH 00 LL; a byte that cannot start a command is skipped, so the parser finds its step
// again after noise.
class Instrument {
  public:
    Instrument(Scenario scenario, Faults faults);

    // Takes bytes from the line at time `now` (seconds) and returns the replies due, each
    // one write.
    std::vector<std::vector<std::uint8_t>> receive(std::span<const std::uint8_t> bytes, double now);

    // Forgets a half-received command, as when the other side closes the line.
    void resetLine() { m_pending.clear(); }

    std::uint64_t liveFramesSent() const { return m_liveIndex; }
    int groupRequests() const { return m_groupRequests; }

  private:
    std::vector<std::vector<std::uint8_t>> answer(std::int32_t word, double now);

    Scenario m_scenario;
    Faults m_faults;
    std::vector<std::uint8_t> m_pending;
    std::uint64_t m_liveIndex = 0;
    int m_countReplies = 0;
    int m_linkChecks = 0;
    int m_groupRequests = 0;
    double m_silentUntil = -1;
};

} // namespace hvr::sim
