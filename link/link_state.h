#pragma once

#include <cstdint>
#include <vector>

namespace hvr {

// What the link is doing, and where a download stands.
struct LinkVariables {
    static constexpr std::int16_t kExchanging = 1;  // link_state: a read or live polling runs
    static constexpr std::int16_t kIdle = 2;        // link_state: link checks only, or paused
    static constexpr std::int16_t kGroupFrames = 1; // link_mode: stored-group frames expected
    static constexpr std::int16_t kWordReply = 2;   // link_mode: count or link-check reply expected
    static constexpr std::int16_t kLiveFrames = 3;  // link_mode: live frames expected

    std::int16_t link_state = kIdle;
    std::int16_t link_mode = 0;
    std::uint8_t link_busy = 0;
    std::uint8_t live_polling = 0;
    std::uint8_t live_frames = 0;

    // Supervision: every chunk sets rx_seen; the supervision tick reads and clears it.
    std::uint8_t rx_seen = 0;
    std::uint8_t sup_ticks = 0;

    // The chunk read by the latest receive event, and the frequencies its byte 6 carried.
    std::vector<std::uint8_t> rx_bytes;
    std::uint8_t pri_freq = 0;
    std::uint8_t sec_freq = 50;

    // Download position.
    std::int16_t stored_count = 0;
    std::int32_t dl_request = 0;
    std::uint8_t dl_half = 0;
    // How many groups this read has filed, from slot 0: what a record of it holds.
    std::int32_t dl_filed = 0;
    // Counted and not yet ended: what a successful link check may resume.
    bool dl_active = false;
    // After a lost link the count is asked again before the download goes on: another count
    // is another store, which is read again from group 1.
    bool dl_recounting = false;
    // The latest count reply, how many replies in a row were too large to be a count, and the
    // supervision ticks they have gone on for. Past the first few they are asked for once a
    // tick, and a read whose counts stay garbled ends.
    std::int32_t dl_count_reply = -1;
    std::int32_t dl_implausible_counts = 0;
    std::int32_t dl_implausible_ticks = 0;

    // How the last read ended.
    enum class ReadOutcome : std::uint8_t { None, Complete, Incomplete };
    ReadOutcome dl_outcome = ReadOutcome::None;
};

} // namespace hvr
