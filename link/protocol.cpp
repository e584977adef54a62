#include "link/protocol.h"

namespace hvr::protocol {

std::array<Block, 2> commandBlocks(std::int32_t word) {
    return {Block{0x00, static_cast<std::uint8_t>(word / 256)},
            Block{0x00, static_cast<std::uint8_t>(word % 256)}};
}

std::array<std::uint8_t, 4> commandBytes(std::int32_t word) {
    const auto blocks = commandBlocks(word);
    return {blocks[0][0], blocks[0][1], blocks[1][0], blocks[1][1]};
}

std::optional<std::int32_t> replyWord(std::span<const std::uint8_t> chunk) {
    if (chunk.size() < 2) return std::nullopt;
    return chunk[0] * 256 + chunk[1];
}

ReadingFrame decodeFrame(const FrameBytes& b) {
    ReadingFrame f;
    f.lowBatteryFirst = (b[0] & 0x80) != 0;
    f.secRaw = static_cast<std::uint16_t>((b[0] & 0x7F) * 256 + b[1]);
    f.secCode = b[2];
    f.lowBatterySecond = (b[3] & 0x80) != 0;
    f.priRaw = static_cast<std::uint16_t>((b[3] & 0x7F) * 256 + b[4]);
    f.priCode = b[5];
    f.priFreq = b[6] & 0x7F;
    f.sec60Hz = (b[6] & 0x80) != 0;
    f.status = b[7];
    return f;
}

FrameBytes encodeFrame(const ReadingFrame& f) {
    return {static_cast<std::uint8_t>((f.lowBatteryFirst ? 0x80 : 0) | ((f.secRaw >> 8) & 0x7F)),
            static_cast<std::uint8_t>(f.secRaw & 0xFF),
            f.secCode,
            static_cast<std::uint8_t>((f.lowBatterySecond ? 0x80 : 0) | ((f.priRaw >> 8) & 0x7F)),
            static_cast<std::uint8_t>(f.priRaw & 0xFF),
            f.priCode,
            static_cast<std::uint8_t>((f.sec60Hz ? 0x80 : 0) | (f.priFreq & 0x7F)),
            f.status};
}

std::optional<FrameBytes> fullFrame(std::span<const std::uint8_t> chunk) {
    if (chunk.size() < kFrameLength) return std::nullopt;
    FrameBytes bytes{};
    for (int i = 0; i < kFrameLength; ++i)
        bytes[i] = chunk[i];
    return bytes;
}

bool isEndOfData(const FrameBytes& b) {
    for (int i = 3; i < kFrameLength; ++i)
        if (b[i] == 0xFF) return true;
    return false;
}

} // namespace hvr::protocol
