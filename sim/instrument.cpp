#include "sim/instrument.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "link/request_line.h"

namespace hvr::sim {

namespace {

// A command word's kind, by the reply the link expects of it: one rule for both ends.
std::optional<RequestKind> kindOf(std::int32_t word) {
    switch (RequestLine::replyTo(word)) {
    case ChunkRoute::LinkCheck:
        return RequestKind::Check;
    case ChunkRoute::CountReply:
        return RequestKind::Count;
    case ChunkRoute::LiveFrame:
        return RequestKind::Live;
    case ChunkRoute::StoredGroup:
        return RequestKind::Pair;
    case ChunkRoute::Ignored:
        break;
    }
    return std::nullopt;
}

} // namespace

std::optional<RequestFault> parseRequestFault(const std::string& text, bool seconds, std::string& error) {
    static const std::pair<const char*, RequestKind> kKinds[] = {{"check", RequestKind::Check},
                                                                 {"count", RequestKind::Count},
                                                                 {"pair", RequestKind::Pair},
                                                                 {"live", RequestKind::Live}};
    const auto colon = text.find(':');
    const auto second = colon == std::string::npos ? colon : text.find(':', colon + 1);
    error = std::string("takes KIND:N:") + (seconds ? "SECONDS" : "BYTES") +
            " (KIND check, count, pair or live; N 0 for every one), not '" + text + "'";
    if (second == std::string::npos) return std::nullopt;
    RequestFault fault;
    const std::string kind = text.substr(0, colon);
    const auto known =
        std::find_if(std::begin(kKinds), std::end(kKinds), [&](const auto& k) { return kind == k.first; });
    if (known == std::end(kKinds)) return std::nullopt;
    fault.kind = known->second;
    const std::string nth = text.substr(colon + 1, second - colon - 1), value = text.substr(second + 1);
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(nth.c_str(), &end, 10);
    if (nth.empty() || *end != '\0' || errno != 0 || n < 0 || n > 1000000) return std::nullopt;
    fault.nth = static_cast<int>(n);
    errno = 0;
    const double v = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || errno != 0 || !(v >= 0) || v > (seconds ? 3600 : 1000000))
        return std::nullopt;
    if (seconds)
        fault.seconds = v;
    else if (v != static_cast<int>(v))
        return std::nullopt;
    else
        fault.bytes = static_cast<int>(v);
    error.clear();
    return fault;
}

Instrument::Instrument(Scenario scenario, Faults faults)
    : m_scenario(std::move(scenario)), m_faults(std::move(faults)) {}

std::vector<Reply> Instrument::receive(std::span<const std::uint8_t> bytes, double now) {
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
    std::vector<Reply> out;
    std::size_t at = 0;
    while (m_pending.size() - at >= 4) {
        if (m_pending[at] != 0x00 || m_pending[at + 2] != 0x00) {
            ++at;
            continue;
        }
        const std::int32_t word = m_pending[at + 1] * 256 + m_pending[at + 3];
        at += 4;
        auto answers = answer(word, now);
        const auto kind = kindOf(word);
        if (answers.empty() || !kind) continue;
        const int count = *kind == RequestKind::Check   ? m_linkChecks
                          : *kind == RequestKind::Count ? m_countReplies
                          : *kind == RequestKind::Pair  ? m_groupRequests
                                                        : static_cast<int>(m_liveIndex);
        applyFaults(*kind, count, std::move(answers), out);
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(at));
    return out;
}

void Instrument::applyFaults(RequestKind kind, int count, std::vector<std::vector<std::uint8_t>> answers,
                             std::vector<Reply>& out) {
    double lateBy = 0;
    for (const RequestFault& fault : m_faults.late)
        if (fault.hits(kind, count)) lateBy = std::max(lateBy, fault.seconds);
    for (auto& bytes : answers) {
        out.push_back({std::move(bytes), lateBy});
        lateBy = 0; // the rest of the answer follows its start
    }
    for (const RequestFault& fault : m_faults.junk) {
        if (!fault.hits(kind, count)) continue;
        std::vector<std::uint8_t> junk(static_cast<std::size_t>(fault.bytes));
        for (auto& b : junk) { // xorshift: bytes of every value, the same on every run
            m_junkSeed ^= m_junkSeed << 13;
            m_junkSeed ^= m_junkSeed >> 17;
            m_junkSeed ^= m_junkSeed << 5;
            b = static_cast<std::uint8_t>(m_junkSeed);
        }
        out.push_back({std::move(junk), 0, true});
    }
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
