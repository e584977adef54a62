#include <gtest/gtest.h>

#include "platform/port_table.h"

namespace hvr::platform {
namespace {

TEST(PortTable, PutsAdaptersFirstInNaturalOrder) {
    const auto ordered = PortTable::stableOrder({"/dev/ttyS1", "/dev/ttyUSB10", "/dev/ttyS0", "/dev/ttyACM0",
                                                 "/dev/ttyUSB2", "/dev/ttyS10", "/dev/ttyS2"});
    EXPECT_EQ(ordered, (std::vector<std::string>{"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0",
                                                 "/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10"}));
}

TEST(PortTable, IsTheSameWhateverOrderTheSystemListsIn) {
    const std::vector<std::string> a{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"};
    const std::vector<std::string> b{"/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyS0"};
    EXPECT_EQ(PortTable::stableOrder(a), PortTable::stableOrder(b));
}

TEST(PortTable, MapsPortNumbersFromOne) {
    const PortTable table = PortTable::choose(nullptr, {"/dev/ttyS0", "/dev/ttyUSB0"});
    EXPECT_EQ(table.device(1), "/dev/ttyUSB0");
    EXPECT_EQ(table.device(2), "/dev/ttyS0");
    EXPECT_EQ(table.device(3), std::nullopt);
    EXPECT_EQ(table.device(0), std::nullopt);
    EXPECT_EQ(table.device(17), std::nullopt);
}

TEST(PortTable, EnvironmentListReplacesTheSystemsDevices) {
    const PortTable table = PortTable::choose(" /tmp/a , ,/dev/pts/7", {"/dev/ttyUSB0"});
    EXPECT_EQ(table.device(1), "/tmp/a");
    EXPECT_EQ(table.device(2), std::nullopt) << "an empty entry leaves the number without a device";
    EXPECT_EQ(table.device(3), "/dev/pts/7");
    EXPECT_EQ(table.device(4), std::nullopt);
}

TEST(PortTable, EmptyEnvironmentListHasNoDevices) {
    const PortTable table = PortTable::choose("", {"/dev/ttyUSB0"});
    for (int n = kFirstPort; n <= kLastPort; ++n)
        EXPECT_EQ(table.device(n), std::nullopt);
}

TEST(PortTable, SixteenNumbersAtMost) {
    std::vector<std::string> many;
    for (int i = 0; i < 20; ++i)
        many.push_back("/dev/ttyS" + std::to_string(i));
    const PortTable table = PortTable::choose(nullptr, many);
    EXPECT_EQ(table.device(16), "/dev/ttyS15");
    EXPECT_EQ(table.device(17), std::nullopt);
}

} // namespace
} // namespace hvr::platform
