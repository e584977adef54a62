#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "sim/instrument.h"

namespace hvr::sim {

// When each byte the instrument writes goes on the line. Replies go out in the order they were
// made, each no sooner than its command has arrived (and crossed the line, when paced) plus
// the time it is late, and no sooner than the line is free of what went before it.
class LineSchedule {
  public:
    static constexpr double kByteSeconds = 10.0 / 4800.0; // start, 8 data and stop bit at 4800 baud
    static constexpr double kApartGapSeconds = 0.003;     // between two writes of one answer, unpaced
    // Bytes written at once go in pieces of so many, so long apart, as a terminal hands over
    // what it holds: the rest of them comes after the program has read the first.
    static constexpr std::size_t kAtOncePieceBytes = 1024;
    static constexpr double kAtOncePieceGapSeconds = 0.02;

    struct Pacing {
        bool paced = false;         // bytes at 4800 baud, both ways
        int pieceBytes = 0;         // every reply written in pieces of so many bytes ...
        double pieceGapSeconds = 0; // ... so long apart
    };

    explicit LineSchedule(Pacing pacing) : m_pacing(pacing) {}

    // Bytes of commands reached the instrument's end at `arrived`: when they have crossed the line.
    double received(std::size_t bytes, double arrived);
    // Schedules replies made for commands complete at `ready`.
    void add(const std::vector<Reply>& replies, double ready);

    // The bytes due by `now`, taken off the schedule in order.
    std::vector<std::uint8_t> takeDue(double now);
    // Bytes taken that the line did not accept: first again, due at `now`.
    void putBack(std::span<const std::uint8_t> bytes, double now);
    // When the next byte is due; none while nothing is scheduled.
    std::optional<double> nextDue() const;

    // The other side closed the line: nothing scheduled goes out.
    void clear();

  private:
    struct Scheduled {
        double due;
        std::uint8_t byte;
    };
    Pacing m_pacing;
    std::deque<Scheduled> m_out;
    double m_rxLineFree = 0;
    double m_txLineFree = 0;
};

} // namespace hvr::sim
