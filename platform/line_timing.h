#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace hvr::platform {

// What a serial line's speed allows. The instrument answers a command only once the command
// has crossed the line, and then sends one byte a byte time: bytes that have arrived since a
// write sooner than that were on their way before it (junk, a flood, the tail of another
// reply). Told of every write and of every arrival, as they happen.
class LineTiming {
  public:
    // A byte's time on the line; 0 for a line that carries bytes as fast as they are written.
    explicit LineTiming(double byteSeconds = 0) : m_byteSeconds(byteSeconds) {}
    void setByteSeconds(double byteSeconds) { m_byteSeconds = byteSeconds; }

    void wrote(std::size_t bytes, double now) {
        // Writes close together are one command: its last byte is what the instrument waits for.
        m_burst = now - m_lastWrite <= 2 * m_byteSeconds ? m_burst + bytes : bytes;
        m_lastWrite = now;
        m_arrived = 0;
        m_ahead = false;
    }
    void arrived(std::size_t bytes, double now) {
        m_arrived += bytes;
        if (m_byteSeconds <= 0) return;
        const double carried = std::floor((now - m_lastWrite) / m_byteSeconds) - static_cast<double>(m_burst);
        if (static_cast<double>(m_arrived) > carried + kSlackBytes) m_ahead = true;
    }
    // Since the last write, bytes arrived sooner than an answer to it could have.
    bool ahead() const { return m_ahead; }

  private:
    // The instrument's clock may run a little fast, and a reply may start as the command ends.
    static constexpr double kSlackBytes = 1;
    double m_byteSeconds;
    double m_lastWrite = -1e9;
    std::size_t m_burst = 0;
    std::size_t m_arrived = 0;
    bool m_ahead = false;
};

} // namespace hvr::platform
