#include <gtest/gtest.h>

#include "cli/options.h"

namespace hvr::cli {
namespace {

Parsed parse(std::vector<std::string> args) {
    return parseOptions(args);
}

// So many Chinese characters.
std::string chinese(int characters) {
    std::string s;
    for (int i = 0; i < characters; ++i)
        s += "变";
    return s;
}

TEST(CliOptions, DownloadDefaults) {
    const auto p = parse({"download"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->command, Command::Download);
    EXPECT_EQ(p.options->out, "HVR.txt");
    EXPECT_EQ(p.options->sort, SortOrder::None);
    EXPECT_EQ(p.options->timeout, 60);
    EXPECT_FALSE(p.options->port.given());
}

TEST(CliOptions, EveryOptionOfBothCommands) {
    auto p =
        parse({"download", "--port", "/dev/ttyUSB0", "--out", "-", "--sort", "desc", "--timeout", "3.5"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->port.device, "/dev/ttyUSB0");
    EXPECT_EQ(p.options->timeoutText, "3.5");
    EXPECT_EQ(p.options->out, "-");
    EXPECT_EQ(p.options->sort, SortOrder::Descending);
    EXPECT_EQ(p.options->timeout, 3.5);

    p = parse({"monitor", "--port", "16", "--frames", "20", "--format", "jsonl", "--time-scale", "0.1"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->port.number, 16);
    EXPECT_TRUE(p.options->port.device.empty());
    EXPECT_EQ(p.options->frames, 20);
    EXPECT_EQ(p.options->format, Format::Jsonl);
    EXPECT_DOUBLE_EQ(p.options->timeScale, 0.1);

    p = parse({"monitor", "--demo"});
    ASSERT_TRUE(p.options);
    EXPECT_TRUE(p.options->demo);
    EXPECT_EQ(p.options->format, Format::Csv);
}

TEST(CliOptions, SaysWhatIsWrongInOneLine) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"upload"},
        {"download", "--port"},
        {"download", "--port", "0"},
        {"download", "--port", "17"},
        {"download", "--port", "ttyUSB0"},
        {"download", "--port", "1e1"},
        {"download", "--port", "0x10"},
        {"download", "--port", "+3"},
        {"download", "--port", " 3"},
        {"download", "--sort", "up"},
        {"download", "--frames", "3"}, // a monitor option
        {"monitor", "--sort", "asc"},  // a download option
        {"monitor", "--pdf", "x.pdf"}, // a download option
        {"download", "--format", "jsonl"},
        {"monitor", "--frames", "-1"},
        {"monitor", "--frames", "2.5"},
        {"monitor", "--frames", "0x10"}, // numbers are decimal
        {"download", "--rated", "600/0"},
        {"download", "--rated", "600/3"},
        {"monitor", "--rated", "600/0.0000000000000000000000005"},
        {"download", "--no-archive", "--station", "城南"}, // nothing would use it
        {"download", "--report"},                          // said in Chinese
        {"download", "--rated", "-600/5"},
        {"monitor", "--rated", "600"},
        {"monitor", "--class", "0.3"},
        {"monitor", "--report", "r.pdf"},                  // a download option
        {"download", "--report", "r.pdf", "--phase", "D"}, // no such phase
        {"monitor", "--station", "城南"},                  // particulars of a download
        {"archive", "show"},                               // which test
        {"archive", "show", "1; DROP TABLE tests"},        // an id is a number
        {"archive", "show", "-1"},                         // a positive one
        {"archive", "show", "0"},
        {"archive", "list", "--since", "-1"},         // a date, said as such
        {"archive", "list", "--since", "2026-13-45"}, // a date of the calendar
        {"archive", "list", "--since", "2026-02-30"},
        {"archive", "list", "--since", "2025-02-29"},
        {"download", "--since", "2026-01-01"}, // a filter of archive list
        {"monitor", "--timeout", "inf"},
        {"monitor", "--timeout", "0x1p3"},
        {"download", "--timeout", std::string(26088, '1')}, // read in one pass, however long
        {"monitor", "--frames", std::string(26088, '1')},
        {"monitor", "--timeout", "1e"},
        {"monitor", "--timeout", "."},
        {"monitor", "--timeout", "1.2.3"},
        {"monitor", "--timeout", "+"},
        {"\n"}, // said on one line whatever it quotes
        {"archive", "show", "1\n2"},
        {"download", "--device", chinese(41)}, // longer than the report holds
        {"monitor", "--format", "xml"},
        {"monitor", "--timeout", "0"},
        {"monitor", "--demo", "--port", "1"},
        {"monitor", "--bogus"},
    };
    for (const auto& args : bad) {
        const auto p = parseOptions(args);
        EXPECT_FALSE(p.options) << (args.empty() ? "" : args.back());
        EXPECT_FALSE(p.error.empty());
        EXPECT_EQ(p.error.find('\n'), std::string::npos);
        EXPECT_EQ(p.error.find("Missing"), std::string::npos) << p.error;
    }
    EXPECT_TRUE(parseOptions({"download", "--device", chinese(40)}).options)
        << "as long as the window's box takes";
    EXPECT_NE(
        parseOptions({"download", "--station", chinese(40) + "x"}).error.find("--station 最多 40 个字符"),
        std::string::npos);
    EXPECT_NE(parseOptions({"archive", "list", "--since", "-1"}).error.find("--since 需要日期"),
              std::string::npos)
        << "the value of --since, not a record's number";
}

TEST(CliOptions, APortIsADevicePathOrAWholeNumberOrComN) {
    EXPECT_EQ(platform::parsePort("3")->number, 3);
    EXPECT_EQ(platform::parsePort("16")->number, 16);
    EXPECT_EQ(platform::parsePort("COM3")->number, 3);
    EXPECT_EQ(platform::parsePort("com16")->number, 16);
    EXPECT_EQ(platform::parsePort("./instrument")->device, "./instrument");
    EXPECT_EQ(platform::parsePort("\\\\.\\COM21")->device, "\\\\.\\COM21");
    for (const char* refused : {"010", "3.0", "", "COM", "COM17", "COM0", "COMX"})
        EXPECT_FALSE(platform::parsePort(refused)) << refused;
}

TEST(CliOptions, EachCommandHasItsFormatsAndOutput) {
    auto p = parse({"download", "--format", "csv"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->format, Format::Csv);
    EXPECT_EQ(p.options->out, "HVR.csv");
    p = parse({"download"});
    EXPECT_EQ(p.options->format, Format::Listing);
    EXPECT_EQ(p.options->out, "HVR.txt");
    p = parse({"monitor", "--out", "live.csv"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->out, "live.csv");
    EXPECT_EQ(p.options->format, Format::Csv);
    EXPECT_EQ(parse({"monitor"}).options->out, "") << "standard output";
    EXPECT_EQ(parse({"--version"}).options->command, Command::Version);
    EXPECT_EQ(parse({"-v"}).options->command, Command::Version) << "as in hvr and hvr-sim";
    EXPECT_EQ(parse({"ports"}).options->command, Command::Ports);
    const auto judged = parse({"download", "--rated", "12.5/1", "--class", "0.2S"});
    ASSERT_TRUE(judged.options) << judged.error;
    EXPECT_EQ(verdict::nameplateText(*judged.options->rated), "12.5/1");
    EXPECT_EQ(judged.options->accuracy, verdict::AccuracyClass::C0_2S);
    EXPECT_EQ(parse({"download", "--rated", "600/3"}).error,
              "--rated 需要额定一次电流/额定二次电流 (A), 如 600/5: 一次 1 到 100000, 二次 1, 2 或 5; 不是 "
              "'600/3'");
    EXPECT_EQ(parse({"ports", "--out", "x"}).error, "--out 不用于 ports");
}

TEST(CliOptions, FollowTheUsualConventions) {
    auto p = parse({"download", "--port=/dev/ttyUSB0", "-o", "a.csv", "-f", "csv", "--timeout=2"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->port.device, "/dev/ttyUSB0");
    EXPECT_EQ(p.options->out, "a.csv");
    EXPECT_EQ(p.options->format, Format::Csv);
    EXPECT_EQ(p.options->timeout, 2);
    p = parse({"-p", "3", "monitor", "-n", "5", "--format=jsonl"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->port.number, 3);
    EXPECT_EQ(p.options->frames, 5);
    EXPECT_EQ(p.options->format, Format::Jsonl);
    EXPECT_EQ(parse({"monitor", "-h"}).options->command, Command::Help);
}

TEST(CliOptions, AnOptionOfTheOtherCommandIsNamedAsSuch) {
    EXPECT_EQ(parse({"download", "--frames", "3"}).error, "--frames 是 monitor 的选项, 不用于 download");
    EXPECT_EQ(parse({"monitor", "--sort", "asc"}).error, "--sort 是 download 的选项, 不用于 monitor");
    EXPECT_EQ(parse({"monitor", "--bogus"}).error, "未知选项 'bogus' (见 --help)");
}

TEST(CliOptions, HelpAnywhere) {
    EXPECT_EQ(parse({"--help"}).options->command, Command::Help);
    EXPECT_EQ(parse({"monitor", "--help"}).options->command, Command::Help);
}

TEST(CliOptions, HelpNamesThisSystemsPlaces) {
    const std::string text = usage({"COM3", "%LOCALAPPDATA%\\hvr\\archive.sqlite", "pgpass.conf"});
    EXPECT_NE(text.find("设备路径 (COM3) 或"), std::string::npos);
    EXPECT_NE(text.find("再默认为 %LOCALAPPDATA%\\hvr\\archive.sqlite."), std::string::npos);
    EXPECT_NE(text.find("密码最好放在 pgpass.conf,"), std::string::npos);
    EXPECT_EQ(text.find("%DEVICE%"), std::string::npos);
}

} // namespace
} // namespace hvr::cli
