#include "sim/instrument.h"

#include <algorithm>

namespace hvr::sim {

Instrument::Instrument(Scenario scenario, Faults faults)
    : m_scenario(std::move(scenario)), m_faults(faults) {}

std::vector<std::vector<std::uint8_t>> Instrument::receive(std::span<const std::uint8_t> bytes, double now) {
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
    std::vector<std::vector<std::uint8_t>> out;
    std::size_t at = 0;
    while (m_pending.size() - at >= 4) {
        if (m_pending[at] != 0x00 || m_pending[at + 2] != 0x00) {
            ++at;
            continue;
        }
        const std::int32_t word = m_pending[at + 1] * 256 + m_pending[at + 3];
        at += 4;
        for (auto& reply : answer(word, now))
            out.push_back(std::move(reply));
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(at));
    return out;
}

std::vector<std::vector<std::uint8_t>> Instrument::answer(std::int32_t word, double now) {
    auto wordReply = [](int value) {
        return std::vector<std::uint8_t>{static_cast<std::uint8_t>(value / 256),
                                         static_cast<std::uint8_t>(value % 256)};
    };
    auto frame = [](const protocol::FrameBytes& f) { return std::vector<std::uint8_t>(f.begin(), f.end()); };

    const bool groupRequest = word > protocol::kGroupRequestBase && word < protocol::kReadCount;
    if (groupRequest) ++m_groupRequests;
    if (groupRequest && m_groupRequests == m_faults.silenceAtRequest && m_faults.silenceSeconds > 0)
        m_silentUntil = now + m_faults.silenceSeconds;
    if (now < m_silentUntil) return {};

    switch (word) {
    case protocol::kLinkCheck:
        ++m_linkChecks;
        return {wordReply(m_linkChecks <= m_faults.failedChecks ? protocol::kLinkAlive + 1
                                                                : protocol::kLinkAlive)};
    case protocol::kLiveReading:
        return {frame(m_scenario.liveFrame(m_liveIndex++))};
    case protocol::kReadCount:
        ++m_countReplies;
        if (m_countReplies <= m_faults.garbledCounts) {
            // Both bytes at 0x12 or above: a count above 4600 however the line splits two
            // replies, as a garbled line would keep it.
            const int high = 0x12 + static_cast<int>((static_cast<long long>(m_countReplies) * 37) % 0xEE);
            const int low = 0x12 + static_cast<int>((static_cast<long long>(m_countReplies) * 91) % 0xEE);
            return {wordReply(high * 256 + low)};
        }
        return {wordReply(m_scenario.reportedCount())};
    default:
        break;
    }
    if (!groupRequest) return {}; // not a command of this instrument

    const int g = word - protocol::kGroupRequestBase;
    std::vector<std::uint8_t> first = frame(m_scenario.storedGroup(g));
    if (m_groupRequests == m_faults.shortChunkAtRequest) {
        first.pop_back();
        return {first};
    }
    std::vector<std::uint8_t> second = frame(m_scenario.storedGroup(g + 1));
    if (m_faults.pairApart) return {first, second};
    first.insert(first.end(), second.begin(), second.end());
    return {first};
}

} // namespace hvr::sim
