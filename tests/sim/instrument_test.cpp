#include <gtest/gtest.h>

#include "link/protocol.h"
#include "sim/instrument.h"
#include "sim/line_schedule.h"

namespace hvr::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Replies = std::vector<Bytes>;

Bytes command(std::int32_t word) {
    const auto b = protocol::commandBytes(word);
    return {b.begin(), b.end()};
}

Bytes bytesOf(const protocol::FrameBytes& f) {
    return {f.begin(), f.end()};
}

// What the instrument writes for the bytes, write by write.
Replies answered(Instrument& inst, const Bytes& line, double now) {
    Replies out;
    for (const Reply& reply : inst.receive(line, now))
        out.push_back(reply.bytes);
    return out;
}

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Scenario smallStore() {
    std::string error;
    Scenario s = Scenario::parse("live 00 05 42 00 64 40 32 00\n"
                                 "live 01 F4 32 00 28 31 32 05 # second live frame\n"
                                 "group 00 01 42 00 0A 40 32 00\n"
                                 "group 00 02 42 00 0B 40 32 00\n"
                                 "group 00 03 42 00 0C 40 32 00\n",
                                 &error);
    EXPECT_EQ(error, "");
    return s;
}

TEST(Instrument, AnswersEveryCommand) {
    Instrument inst(smallStore(), {});
    EXPECT_EQ(answered(inst, command(protocol::kLinkCheck), 0), (Replies{{0x19, 0x64}}));
    EXPECT_EQ(answered(inst, command(protocol::kReadCount), 0), (Replies{{0x00, 0x03}}));
    EXPECT_EQ(answered(inst, command(protocol::kLiveReading), 0),
              (Replies{{0x00, 0x05, 0x42, 0x00, 0x64, 0x40, 0x32, 0x00}}));
    EXPECT_EQ(answered(inst, command(protocol::kLiveReading), 0),
              (Replies{{0x01, 0xF4, 0x32, 0x00, 0x28, 0x31, 0x32, 0x05}}));
    EXPECT_EQ(answered(inst, command(protocol::kLiveReading), 0),
              (Replies{{0x00, 0x05, 0x42, 0x00, 0x64, 0x40, 0x32, 0x00}}))
        << "live frames repeat";
}

TEST(Instrument, SendsAPairAsOneBlockAndTheMarkerPastTheStore) {
    const Scenario s = smallStore();
    Instrument inst(s, {});
    EXPECT_EQ(answered(inst, command(257), 0),
              (Replies{concat(bytesOf(s.storedGroup(1)), bytesOf(s.storedGroup(2)))}));
    EXPECT_EQ(answered(inst, command(259), 0),
              (Replies{concat(bytesOf(s.storedGroup(3)), bytesOf(protocol::kEndOfDataFrame))}));
    EXPECT_EQ(answered(inst, command(261), 0),
              (Replies{concat(bytesOf(protocol::kEndOfDataFrame), bytesOf(protocol::kEndOfDataFrame))}));
}

TEST(Instrument, SendsAPairApartWhenAsked) {
    const Scenario s = smallStore();
    Faults f;
    f.pairApart = true;
    Instrument inst(s, f);
    EXPECT_EQ(answered(inst, command(257), 0),
              (Replies{bytesOf(s.storedGroup(1)), bytesOf(s.storedGroup(2))}));
}

TEST(Instrument, FindsItsStepAgainAfterNoise) {
    Instrument inst(smallStore(), {});
    Bytes line{0x42, 0x17};
    line = concat(line, command(protocol::kLinkCheck));
    EXPECT_EQ(answered(inst, line, 0), (Replies{{0x19, 0x64}}));
}

TEST(Instrument, TakesACommandInPieces) {
    Instrument inst(smallStore(), {});
    EXPECT_TRUE(answered(inst, Bytes{0x00, 0x17}, 0).empty());
    EXPECT_EQ(answered(inst, Bytes{0x00, 0x70}, 0), (Replies{{0x19, 0x64}}));
}

TEST(Instrument, FaultsOnRequest) {
    const Scenario s = smallStore();
    Faults f;
    f.failedChecks = 2;
    f.garbledCounts = 1;
    f.shortChunkAtRequest = 2;
    Instrument inst(s, f);
    EXPECT_EQ(answered(inst, command(protocol::kLinkCheck), 0), (Replies{{0x19, 0x65}}));
    EXPECT_EQ(answered(inst, command(protocol::kLinkCheck), 0), (Replies{{0x19, 0x65}}));
    EXPECT_EQ(answered(inst, command(protocol::kLinkCheck), 0), (Replies{{0x19, 0x64}}));

    const auto garbled = answered(inst, command(protocol::kReadCount), 0);
    ASSERT_EQ(garbled.size(), 1u);
    EXPECT_GT(garbled[0][0] * 256 + garbled[0][1], protocol::kMaxPlausibleCount);
    EXPECT_EQ(answered(inst, command(protocol::kReadCount), 0), (Replies{{0x00, 0x03}}));

    EXPECT_EQ(answered(inst, command(257), 0).at(0).size(), 16u);
    const auto shortReply = answered(inst, command(259), 0);
    ASSERT_EQ(shortReply.size(), 1u);
    Bytes third = bytesOf(s.storedGroup(3));
    third.pop_back();
    EXPECT_EQ(shortReply[0], third);
    EXPECT_EQ(answered(inst, command(259), 0).at(0).size(), 16u) << "the short chunk comes once";
}

TEST(Instrument, FallsSilentForAWhile) {
    Faults f;
    f.silenceAtRequest = 2;
    f.silenceSeconds = 5;
    Instrument inst(smallStore(), f);
    EXPECT_FALSE(answered(inst, command(257), 10).empty());
    EXPECT_TRUE(answered(inst, command(259), 11).empty());
    EXPECT_TRUE(answered(inst, command(protocol::kLinkCheck), 15.9).empty());
    EXPECT_EQ(answered(inst, command(protocol::kLinkCheck), 16.1), (Replies{{0x19, 0x64}}));
    EXPECT_FALSE(answered(inst, command(259), 16.2).empty());
}

TEST(Instrument, AnswersLateAndFollowsAnswersWithJunkOnRequest) {
    std::string error;
    Faults f;
    f.late = {*parseRequestFault("pair:2:1.5", true, error), *parseRequestFault("check:0:0.25", true, error)};
    f.junk = {*parseRequestFault("count:1:300", false, error)};
    Instrument inst(smallStore(), f);
    EXPECT_EQ(inst.receive(command(257), 0).at(0).lateBy, 0);
    EXPECT_EQ(inst.receive(command(259), 0).at(0).lateBy, 1.5) << "the second pair request";
    EXPECT_EQ(inst.receive(command(257), 0).at(0).lateBy, 0) << "once";
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(inst.receive(command(protocol::kLinkCheck), 0).at(0).lateBy, 0.25) << "every one";
    const auto counted = inst.receive(command(protocol::kReadCount), 0);
    ASSERT_EQ(counted.size(), 2u);
    EXPECT_EQ(counted[0].bytes, (Bytes{0x00, 0x03}));
    EXPECT_EQ(counted[1].bytes.size(), 300u);
    EXPECT_TRUE(counted[1].atOnce);
    EXPECT_EQ(inst.receive(command(protocol::kReadCount), 0).size(), 1u);

    for (const char* wrong : {"pair:1", "pairs:1:2", "pair:-1:2", "pair:1:x", "pair:1:-2", ":1:2"})
        EXPECT_FALSE(parseRequestFault(wrong, true, error)) << wrong;
    EXPECT_FALSE(parseRequestFault("live:1:2.5", false, error)) << "junk is whole bytes";
    EXPECT_NE(error.find("KIND:N:BYTES"), std::string::npos) << error;
}

TEST(LineSchedule, PacesRepliesBehindTheirCommandsAndEachOther) {
    constexpr double bt = LineSchedule::kByteSeconds;
    LineSchedule paced({true, 0, 0});
    const double ready = paced.received(4, 1.0);
    EXPECT_DOUBLE_EQ(ready, 1.0 + 4 * bt) << "a command crosses the line first";
    paced.add({{Bytes(2, 0x19), 0.5}, {Bytes(8, 0x01), 0}}, ready);
    EXPECT_TRUE(paced.takeDue(ready + 0.4).empty()) << "late by half a second";
    EXPECT_EQ(paced.takeDue(ready + 0.5 + 2.5 * bt).size(), 2u);
    EXPECT_EQ(paced.takeDue(ready + 0.5 + 10.5 * bt).size(), 8u)
        << "the next reply queues behind, at line speed";
    paced.add({{Bytes(2, 0x00), 0}}, ready); // ready long ago: it waits for the line
    EXPECT_NEAR(*paced.nextDue(), ready + 0.5 + 11 * bt, 1e-9);

    EXPECT_EQ(paced.takeDue(99).size(), 2u);
    paced.add({{Bytes(3000, 0x07), 0, true}}, 100);
    EXPECT_EQ(paced.takeDue(100).size(), 1024u) << "junk at once, in a terminal's pieces";
    EXPECT_EQ(paced.takeDue(100 + 2 * LineSchedule::kAtOncePieceGapSeconds).size(), 3000u - 1024u);

    LineSchedule pieces({false, 3, 0.1});
    pieces.add({{Bytes(8, 0x02), 0}}, 0);
    EXPECT_EQ(pieces.takeDue(0).size(), 3u);
    EXPECT_EQ(pieces.takeDue(0.15).size(), 3u);
    EXPECT_EQ(pieces.takeDue(0.2).size(), 2u) << "pieces of three, a tenth of a second apart";

    LineSchedule apart({false, 0, 0});
    apart.add({{Bytes(8, 0x03), 0}, {Bytes(8, 0x04), 0}}, 0);
    EXPECT_EQ(apart.takeDue(0).size(), 8u);
    EXPECT_EQ(apart.takeDue(LineSchedule::kApartGapSeconds).size(), 8u) << "two writes, a little apart";
    apart.add({{Bytes(4, 0x05), 0}}, 1);
    const auto due = apart.takeDue(1);
    apart.putBack(std::span(due).subspan(1), 1);
    EXPECT_EQ(apart.takeDue(1), Bytes(3, 0x05)) << "what the line did not take comes first again";
    apart.clear();
    EXPECT_FALSE(apart.nextDue());
}

TEST(Instrument, ReportsTheCountOfItsScenario) {
    Scenario s = smallStore();
    s.setReportedCount(300);
    Instrument inst(s, {});
    EXPECT_EQ(answered(inst, command(protocol::kReadCount), 0), (Replies{{0x01, 0x2C}}));
}

TEST(Instrument, IgnoresWordsItDoesNotKnow) {
    Instrument inst(smallStore(), {});
    EXPECT_TRUE(answered(inst, command(42), 0).empty());
    EXPECT_TRUE(answered(inst, command(256), 0).empty());
}

TEST(Scenario, ParsingNamesTheWrongLine) {
    std::string error;
    Scenario::parse("live 00 05 42 00 64 40 32 00\nlive 00 05\n", &error);
    EXPECT_EQ(error, "line 2: live takes eight hexadecimal bytes");
    Scenario::parse("count x\n", &error);
    EXPECT_EQ(error, "line 1: count takes a whole number from 0 to 65535");
    Scenario::parse("count 12abc\n", &error);
    EXPECT_EQ(error, "line 1: count takes a whole number from 0 to 65535");
    Scenario::parse("\n\nbogus 1\n", &error);
    EXPECT_EQ(error, "line 3: unknown keyword 'bogus'");
    Scenario::parse("group 00 05 42 00 64 40 32 00 01\n", &error);
    EXPECT_EQ(error, "line 1: group takes eight hexadecimal bytes");
}

TEST(Scenario, SyntheticCtLooksLikeSixHundredToFive) {
    const Scenario s = Scenario::synthetic(300, 7);
    EXPECT_EQ(s.storeSize(), 300);
    EXPECT_EQ(s.reportedCount(), 300);
    int noSignal = 0, lowBattery = 0;
    for (std::uint64_t i = 0; i < 2000; ++i) {
        const auto f = protocol::decodeFrame(s.liveFrame(i));
        if (f.status == protocol::kNoSignalStatus) {
            ++noSignal;
            continue;
        }
        const double secondary = f.secCode == '2'   ? f.secRaw / 100.0
                                 : f.secCode == '@' ? f.secRaw / 1000.0
                                                    : f.secRaw / 10000.0;
        const double primary = f.priCode == '1' ? f.priRaw / 10.0 : f.priRaw / 100.0;
        ASSERT_TRUE(f.secCode == '2' || f.secCode == '@' || f.secCode == 'A');
        ASSERT_LT(f.secRaw, 3700) << "outside the overload window of a stored row";
        EXPECT_NEAR(primary / secondary, 120, 1.5) << i;
        EXPECT_EQ(f.priFreq, 50);
        lowBattery += f.lowBatterySecond;
    }
    EXPECT_GT(noSignal, 20);
    EXPECT_GT(lowBattery, 0) << "the battery runs low after ten minutes";
    EXPECT_FALSE(protocol::decodeFrame(s.liveFrame(0)).lowBatterySecond);
    EXPECT_EQ(s.storedGroup(301), protocol::kEndOfDataFrame);
    const Scenario big = Scenario::synthetic(4600, 3);
    for (int g = 1; g <= 4600; ++g)
        ASSERT_FALSE(protocol::isEndOfData(big.storedGroup(g))) << "group " << g << " would end a download";
    EXPECT_FALSE(protocol::isEndOfData(s.storedGroup(300)));
}

} // namespace
} // namespace hvr::sim
