#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The instrument's wire protocol: 16-bit command words out, 2- or 8-byte replies back,
// no header, no length, no checksum.
namespace hvr::protocol {

inline constexpr std::int32_t kReadCount = 5000;   // reply: number of stored groups
inline constexpr std::int32_t kLinkCheck = 6000;   // reply: kLinkAlive
inline constexpr std::int32_t kLiveReading = 7000; // reply: one reading frame
inline constexpr std::int32_t kLinkAlive = 6500;
inline constexpr std::int32_t kGroupRequestBase = 256; // 256 + g asks for groups g and g + 1
inline constexpr std::int32_t kFirstGroupRequest = kGroupRequestBase + 1;
inline constexpr std::int32_t kMaxPlausibleCount = 4600;

inline constexpr int kWordReplyLength = 2;
inline constexpr int kFrameLength = 8;
inline constexpr std::uint8_t kNoSignalStatus = 5;

using Block = std::array<std::uint8_t, 2>;

// A command goes out as two two-byte writes: 00 HH, then 00 LL.
std::array<Block, 2> commandBlocks(std::int32_t word);

// The four bytes of a command as they stand on the line.
std::array<std::uint8_t, 4> commandBytes(std::int32_t word);

// A big-endian reply word from the first two bytes of a chunk; none when a byte is missing.
std::optional<std::int32_t> replyWord(std::span<const std::uint8_t> chunk);

// The 8-byte reading frame shared by live readings and stored groups.
struct ReadingFrame {
    bool lowBatteryFirst = false;  // bit 7 of byte 0
    bool lowBatterySecond = false; // bit 7 of byte 3; this copy decides for a live reading
    std::uint16_t secRaw = 0;      // 15 bits
    std::uint8_t secCode = 0;
    std::uint16_t priRaw = 0; // 15 bits
    std::uint8_t priCode = 0;
    std::uint8_t priFreq = 0; // Hz, 0..127
    bool sec60Hz = false;
    std::uint8_t status = 0; // kNoSignalStatus: the primary sensor has no signal

    bool operator==(const ReadingFrame&) const = default;
};

using FrameBytes = std::array<std::uint8_t, kFrameLength>;

ReadingFrame decodeFrame(const FrameBytes& bytes);
FrameBytes encodeFrame(const ReadingFrame& frame);

// The first eight bytes of a chunk, when all are there.
std::optional<FrameBytes> fullFrame(std::span<const std::uint8_t> chunk);

// A stored-group frame with 0xFF in any of bytes 3..7 closes the instrument's store.
bool isEndOfData(const FrameBytes& bytes);

// The marker frame that the instrument sends past its last group.
inline constexpr FrameBytes kEndOfDataFrame{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

} // namespace hvr::protocol
