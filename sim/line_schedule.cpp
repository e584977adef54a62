#include "sim/line_schedule.h"

#include <algorithm>

namespace hvr::sim {

double LineSchedule::received(std::size_t bytes, double arrived) {
    if (!m_pacing.paced) return arrived;
    m_rxLineFree = std::max(m_rxLineFree, arrived) + kByteSeconds * static_cast<double>(bytes);
    return m_rxLineFree;
}

void LineSchedule::add(const std::vector<Reply>& replies, double ready) {
    double t = std::max(ready, m_txLineFree);
    for (std::size_t r = 0; r < replies.size(); ++r) {
        if (r > 0 && !m_pacing.paced) t += kApartGapSeconds;
        t = std::max(t, ready + replies[r].lateBy);
        const auto& bytes = replies[r].bytes;
        const bool atOnce = replies[r].atOnce;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (atOnce && i > 0 && i % kAtOncePieceBytes == 0) t += kAtOncePieceGapSeconds;
            if (!atOnce && i > 0 && m_pacing.pieceBytes > 0 &&
                i % static_cast<std::size_t>(m_pacing.pieceBytes) == 0)
                t += m_pacing.pieceGapSeconds;
            if (m_pacing.paced && !atOnce) t += kByteSeconds;
            m_out.push_back({t, bytes[i]});
        }
    }
    m_txLineFree = t;
}

std::vector<std::uint8_t> LineSchedule::takeDue(double now) {
    std::vector<std::uint8_t> due;
    while (!m_out.empty() && m_out.front().due <= now) {
        due.push_back(m_out.front().byte);
        m_out.pop_front();
    }
    return due;
}

void LineSchedule::putBack(std::span<const std::uint8_t> bytes, double now) {
    for (std::size_t i = bytes.size(); i > 0; --i)
        m_out.push_front({now, bytes[i - 1]});
}

std::optional<double> LineSchedule::nextDue() const {
    if (m_out.empty()) return std::nullopt;
    return m_out.front().due;
}

void LineSchedule::clear() {
    m_out.clear();
    m_rxLineFree = m_txLineFree = 0;
}

} // namespace hvr::sim
