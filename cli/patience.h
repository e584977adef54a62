#pragma once

#include <cstdint>

namespace hvr::cli {

// How long a read or a live watch waits before it gives up: the whole time without progress,
// counted from the last progress or from the moment the link was declared lost, whichever
// came later. Bytes alone are not progress (an instrument that answers garbage makes none),
// and a link that falls and recovers starts the count again each time it falls.
class Patience {
  public:
    explicit Patience(double seconds) : m_seconds(seconds) {}

    // Looks at the state at time `now` (seconds, from any fixed origin); true once patience
    // has run out.
    bool exhausted(std::uint64_t progress, bool linkLost, double now) {
        if (!m_started || progress != m_progress || (linkLost && !m_linkLost)) {
            m_started = true;
            m_progress = progress;
            m_since = now;
        }
        m_linkLost = linkLost;
        return now - m_since > m_seconds;
    }

  private:
    double m_seconds;
    bool m_started = false;
    std::uint64_t m_progress = 0;
    bool m_linkLost = false;
    double m_since = 0;
};

} // namespace hvr::cli
