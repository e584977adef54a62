#include <gtest/gtest.h>

#include "link/protocol.h"
#include "tests/support/form_harness.h"
#include "tests/support/case_name.h"

namespace hvr {
namespace {

using testing::Bytes;
using testing::FormHarness;

struct WordCase {
    std::int32_t word;
    std::array<std::uint8_t, 4> line;
};

class CommandWord : public ::testing::TestWithParam<WordCase> {};

TEST_P(CommandWord, GoesOutAsTwoBlocksOfTwoBytes) {
    FormHarness h;
    h.form->SendCommandWord(GetParam().word);
    const auto& line = GetParam().line;
    ASSERT_EQ(h.port.writes.size(), 2u);
    EXPECT_EQ(h.port.writes[0], (Bytes{line[0], line[1]}));
    EXPECT_EQ(h.port.writes[1], (Bytes{line[2], line[3]}));
    EXPECT_EQ(protocol::commandBytes(GetParam().word), line);
}

INSTANTIATE_TEST_SUITE_P(Words, CommandWord,
                         ::testing::Values(WordCase{protocol::kReadCount, {0x00, 0x13, 0x00, 0x88}},
                                           WordCase{protocol::kLinkCheck, {0x00, 0x17, 0x00, 0x70}},
                                           WordCase{protocol::kLiveReading, {0x00, 0x1B, 0x00, 0x58}},
                                           WordCase{257, {0x00, 0x01, 0x00, 0x01}}, // groups 1 and 2
                                           WordCase{259, {0x00, 0x01, 0x00, 0x03}}, // groups 3 and 4
                                           WordCase{511, {0x00, 0x01, 0x00, 0xFF}}, // groups 255 and 256
                                           WordCase{513, {0x00, 0x02, 0x00, 0x01}}  // groups 257 and 258
                                           ),
                         [](const auto& info) {
                             return testing::caseName(info.index, "word" + std::to_string(info.param.word));
                         });

TEST(CommandWord, NothingGoesOutOnAClosedPort) {
    FormHarness h;
    h.port.close();
    h.form->SendCommandWord(protocol::kLinkCheck);
    EXPECT_TRUE(h.port.writes.empty());
}

TEST(ReadingFrame, DecodesTheLayout) {
    const auto f = protocol::decodeFrame({0x80, 0x05, 0x42, 0x00, 0x64, 0x40, 0x32, 0x00});
    EXPECT_TRUE(f.lowBatteryFirst);
    EXPECT_FALSE(f.lowBatterySecond);
    EXPECT_EQ(f.secRaw, 5);
    EXPECT_EQ(f.secCode, 'B');
    EXPECT_EQ(f.priRaw, 100);
    EXPECT_EQ(f.priCode, '@');
    EXPECT_EQ(f.priFreq, 50);
    EXPECT_FALSE(f.sec60Hz);
    EXPECT_EQ(f.status, 0);
}

TEST(ReadingFrame, CarriesFifteenBitReadingsAndTheSixtyHertzBit) {
    const auto f = protocol::decodeFrame({0xFF, 0xFF, 0x32, 0xFF, 0xFE, 0x31, 0xB3, 0x05});
    EXPECT_EQ(f.secRaw, 32767);
    EXPECT_EQ(f.priRaw, 32766);
    EXPECT_TRUE(f.lowBatterySecond);
    EXPECT_TRUE(f.sec60Hz);
    EXPECT_EQ(f.priFreq, 0x33);
    EXPECT_EQ(f.status, protocol::kNoSignalStatus);
    EXPECT_EQ(protocol::encodeFrame(f),
              (protocol::FrameBytes{0xFF, 0xFF, 0x32, 0xFF, 0xFE, 0x31, 0xB3, 0x05}));
}

TEST(ReadingFrame, EndOfDataIsAnyFfInBytesThreeToSeven) {
    for (int i = 0; i < 8; ++i) {
        protocol::FrameBytes f{0x00, 0x05, 0x42, 0x00, 0x64, 0x40, 0x32, 0x00};
        f[i] = 0xFF;
        EXPECT_EQ(protocol::isEndOfData(f), i >= 3) << "byte " << i;
    }
}

TEST(ReplyWord, NeedsBothBytes) {
    const Bytes ok{0x19, 0x64}, one{0x19}, none{};
    EXPECT_EQ(protocol::replyWord(ok), 6500);
    EXPECT_EQ(protocol::replyWord(one), std::nullopt);
    EXPECT_EQ(protocol::replyWord(none), std::nullopt);
    EXPECT_EQ(protocol::replyWord(Bytes{0x11, 0xF9}), 4601);
}

TEST(FullFrame, NeedsAllEightBytes) {
    EXPECT_FALSE(protocol::fullFrame(Bytes(7, 0)).has_value());
    EXPECT_TRUE(protocol::fullFrame(Bytes(8, 0)).has_value());
}

} // namespace
} // namespace hvr
