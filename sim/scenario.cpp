#include "sim/scenario.h"

#include <cmath>
#include <numbers>
#include <sstream>

namespace hvr::sim {
namespace {

// A reproducible number in [-1, 1) from an index and a seed.
double noise(std::uint64_t index, std::uint32_t seed, std::uint32_t channel) {
    std::uint64_t x = index * 0x9E3779B97F4A7C15ull ^ (static_cast<std::uint64_t>(seed) << 32) ^ channel;
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDull;
    x ^= x >> 33;
    x *= 0xC4CEB9FE1A85EC53ull;
    x ^= x >> 33;
    return static_cast<double>(x >> 11) / static_cast<double>(1ull << 52) - 1.0;
}

constexpr double kTurnsRatio = 120.0;      // 600 A : 5 A
constexpr double kRatioError = 0.0015;     // the CT reads a little low
constexpr double kLoadPeriodSeconds = 240; // one swing of the load
constexpr int kNoSignalEvery = 37;
constexpr double kBatteryLowAfterSeconds = 600;

} // namespace

protocol::FrameBytes syntheticReading(double seconds, std::uint64_t index, std::uint32_t seed,
                                      bool batteryLow) {
    const double load = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * seconds / kLoadPeriodSeconds);
    const double primaryA = (20 + 680 * load) * (1 + 0.004 * noise(index, seed, 1));
    const double secondaryA =
        primaryA / kTurnsRatio * (1 - kRatioError) * (1 + 0.002 * noise(index, seed, 2));

    protocol::ReadingFrame f;
    f.lowBatteryFirst = f.lowBatterySecond = batteryLow;
    // Ranges switch so that a raw reading stays below 3700: the instrument's overload window
    // starts there.
    if (secondaryA >= 3.7) {
        f.secCode = '2';
        f.secRaw = static_cast<std::uint16_t>(std::lround(secondaryA * 100));
    } else if (secondaryA >= 0.37) {
        f.secCode = '@';
        f.secRaw = static_cast<std::uint16_t>(std::lround(secondaryA * 1000));
    } else {
        f.secCode = 'A';
        f.secRaw = static_cast<std::uint16_t>(std::lround(secondaryA * 10000));
    }
    if (primaryA >= 30) {
        f.priCode = '1';
        f.priRaw = static_cast<std::uint16_t>(std::lround(primaryA * 10));
    } else {
        f.priCode = '2';
        f.priRaw = static_cast<std::uint16_t>(std::lround(primaryA * 100));
    }
    // 0xFF in the bytes after the secondary's ends a download: the instrument never sends a
    // primary reading whose low byte is 0xFF.
    if ((f.priRaw & 0xFF) == 0xFF) --f.priRaw;
    f.priFreq = 50;
    f.sec60Hz = false;
    f.status = index % kNoSignalEvery == kNoSignalEvery - 1 ? protocol::kNoSignalStatus : 0;
    return protocol::encodeFrame(f);
}

Scenario Scenario::synthetic(int storedGroups, std::uint32_t seed) {
    Scenario s;
    s.m_seed = seed;
    // The store: one group a minute over the last hours, the battery low in the last tenth.
    for (int g = 0; g < storedGroups; ++g) {
        const bool low = storedGroups >= 10 && g >= storedGroups - storedGroups / 10;
        s.m_groups.push_back(
            syntheticReading(g * 60.0 + 17, static_cast<std::uint64_t>(g) + 1000003, seed, low));
    }
    return s;
}

protocol::FrameBytes Scenario::liveFrame(std::uint64_t index) const {
    if (!m_live.empty()) return m_live[index % m_live.size()];
    const double seconds = static_cast<double>(index) * 0.5; // one reading every live-poll tick
    return syntheticReading(seconds, index, m_seed, seconds >= kBatteryLowAfterSeconds);
}

protocol::FrameBytes Scenario::storedGroup(int g) const {
    if (g < 1 || g > storeSize()) return protocol::kEndOfDataFrame;
    return m_groups[static_cast<std::size_t>(g - 1)];
}

Scenario Scenario::parse(const std::string& text, std::string* error) {
    Scenario s;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = "line " + std::to_string(number) + ": " + why;
        return Scenario{};
    };
    while (std::getline(lines, line)) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string keyword;
        if (!(words >> keyword)) continue;
        if (keyword == "count") {
            // One whole number and nothing else: "12abc" or "3.5" is a typing error, not 12 or 3.
            std::string word, extra;
            const bool digits = (words >> word) && !word.empty() && word.size() <= 5 &&
                                word.find_first_not_of("0123456789") == std::string::npos;
            const long count = digits ? std::stol(word) : -1;
            if (!digits || count > 65535 || (words >> extra))
                return fail("count takes a whole number from 0 to 65535");
            s.m_reportedCount = static_cast<int>(count);
        } else if (keyword == "live" || keyword == "group") {
            protocol::FrameBytes frame{};
            for (auto& byte : frame) {
                std::string hex;
                if (!(words >> hex) || hex.size() > 2 ||
                    hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                    return fail(keyword + " takes eight hexadecimal bytes");
                byte = static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16));
            }
            std::string extra;
            if (words >> extra) return fail(keyword + " takes eight hexadecimal bytes");
            (keyword == "live" ? s.m_live : s.m_groups).push_back(frame);
        } else {
            return fail("unknown keyword '" + keyword + "'");
        }
    }
    if (error) error->clear();
    return s;
}

} // namespace hvr::sim
