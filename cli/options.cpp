#include "cli/options.h"

#include "archive/archive.h"
#include "units/number_text.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <set>

namespace hvr::cli {

namespace {

const char* const kUsage = R"(用法:
  hvr-cli download [--port 端口] [--out 文件] [--format listing|csv] [--sort asc|desc] [--pdf 文件]
                   [--rated 变比] [--class 准确级] [--report 文件] [--station 变电站]
                   [--device 设备] [--phase 相别] [--tester 试验人员] [--remark 备注]
                   [--no-archive] [--archive 数据库] [--timeout 秒] [--demo]
  hvr-cli monitor  [--port 端口] [--out 文件] [--frames N] [--format jsonl|csv]
                   [--rated 变比] [--class 准确级] [--timeout 秒] [--demo]
  hvr-cli ports
  hvr-cli archive list [--device 设备] [--since 日期] [--archive 数据库]
  hvr-cli archive show 编号 [--format listing|csv] [--archive 数据库]
  hvr-cli archive report 编号 文件.pdf [--archive 数据库]
  hvr-cli archive export-session 编号 [--archive 数据库]
  hvr-cli archive check [--archive 数据库]

download  等待仪器应答, 读取仪器中存储的全部数据组, 按需排序, 写成文本记录
          (GBK 编码, CR LF 换行, 与窗口"保  存"的格式相同) 或 CSV. 进度写到标准错误.
monitor   与窗口一样实时监控, 每显示一帧实时数据输出一行:
          csv    (默认) 表头一行, 每帧一行: ISO 8601 时间, 一次与二次电流 (A), 变比,
                 二次电流5A折算 (A), 10KV-YY折算变比, 两个频率 (Hz), 无信号, 超量程,
                 电池电压低 (0/1); UTF-8 带 BOM;
          jsonl  每帧一个 JSON 对象: 实时面板与统计的控件名及其显示文字, 另加同样的
                 数值字段与时间.
          收到 N 帧后结束, 或按 Ctrl-C 结束 (已输出的内容都会写出).
archive   测试记录: 每次完整读取后, download 自动把全部数据组 (仪器发来的原始数据帧及其
          数值), 读取时间, 额定变比, 准确级与试验信息存为一条测试记录.
          list            列出测试记录 (编号, 时间, 变电站, 设备, 相别, 额定变比, 组数,
                          结论), 新的在前; --device 只列该设备, --since 只列该日期以后的.
          show 编号       该记录的数据组, 格式同 download (listing 或 csv).
          report 编号 文件
                          该记录的试验报告 (PDF).
          export-session 编号
                          一次实时监控记录的读数, 格式同 monitor 的 csv.
          check           读遍整个测试记录, 检查是否损坏 (记录很多时需要一些时间).
          只读的命令 (list, show, report, export-session, check) 不会新建文件或文件夹.
ports     列出端口表: 端口号, 设备, 能否打开 (不能时说明原因), USB 适配器的名称.

选项:
  -p, --port 端口  设备路径 (%DEVICE%) 或端口表中的端口号 1…16;
                   不给出时像窗口一样依次扫描 COM1…COM16, 直到仪器应答.
                   端口表: 默认为本机串口 (USB 适配器在前), 环境变量 HVR_PORTS
                   (逗号分隔的设备路径, 位置即端口号) 可以取代它.
  -o, --out 文件   download: 结果文件, 默认为当前目录下的 HVR.txt (csv 时为 HVR.csv);
                   monitor: 逐行写入并立即落盘, 默认为标准输出. "-" 为标准输出.
  --sort asc|desc  读取后按二次电流升序或降序排列.
  --pdf 文件       另外把全部数据组按打印格式 (每页 156 组) 写成 PDF, 与窗口"打  印"
                   选"全部"打印出的内容相同; 不需要图形显示.
  -n, --frames N   实时监控输出 N 帧后结束.
  -f, --format 格式 download: listing (默认, 打印格式的文本记录, GBK) 或 csv (每组一行,
                   电流以 A 为单位的数值, 标志为 0/1 列, UTF-8 带 BOM, 表格软件可直接打开);
                   monitor: csv (默认, 同样的数值列与 ISO 8601 时间) 或 jsonl
                   (控件名与显示文字, 另加同样的数值字段与时间).
  --rated 变比     互感器铭牌的额定变比, 如 600/5 (额定一次电流/额定二次电流, A; 一次
                   1 到 100000, 二次 1, 2 或 5). csv 与
                   jsonl 每行另有额定变比, 变比误差, 负荷, 允许误差与结论; 不给出时按
                   数据的实测变比推测标准变比, 并在标准错误上说明.
  --class 准确级   0.1, 0.2, 0.2S, 0.5, 0.5S, 1, 3, 5 或 不判定 (默认, 只给出误差).
  --report 文件    另外写出电流互感器变比试验报告 (PDF, A4): 试验信息, 额定变比与准确级,
                   结论与统计, 误差曲线, 每组的误差与结论; 不需要图形显示.
  --station, --device, --phase, --tester, --remark
                   报告与测试记录中的变电站, 设备名称/编号, 相别 (A, B, C 或 N), 试验人员
                   与备注, 各最多 40 个字符.
  --no-archive     download: 不存入测试记录.
  --archive 数据库 测试记录所在: SQLite 文件路径, 或 PostgreSQL 的连接地址
                   postgresql://用户@主机:端口/数据库?参数 (如 sslmode=require; 写在地址
                   中的密码不会显示或保存, 也从进程列表中抹去; 密码最好放在 %PASSWORDS%,
                   或取自 PGPASSWORD);
                   默认取环境变量 HVR_ARCHIVE, 再默认为 %ARCHIVE%.
                   其他含 "://" 的地址一律拒绝.
  --timeout 秒     等待仪器应答的最长时间; 读取或监控中, 连接中断或没有进展
                   (没有新的数据组, 没有新的实时数据) 多久后放弃, 从连接中断
                   或最后一次进展时算起 (默认 60, 足够连接自行恢复两轮).
  --demo           启动模拟仪器 hvr-sim 并使用它.
  -h, --help       本说明.
  -v, --version    版本.

连接中断后先重新询问数据组数: 组数相同则从中断处继续, 不同则是另一台仪器或数据已变,
从第1组重新读取. 数据在报告的组数之前结束, 或组数持续 5 秒超过 4600, 读取未完成,
不写出结果.

退出状态: 0 成功; 1 仪器无应答, 连接中断或读取未完成; 2 参数错误; 3 无法写出结果
(download 的测试记录无法写入时也是 3); 4 测试记录不存在, 无法读取或没有该编号的记录.
Ctrl-C 或 SIGTERM 结束时为 128 加信号编号.
)";

// A decimal number as people write it ("60", "0.5", "1e3"); not hexadecimal, "inf" or "nan".
// Read in one pass, in time and stack proportional to nothing but its length.
bool isDecimal(const std::string& text) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - from;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == text.size();
}

bool parseNumber(const std::string& text, double low, double high, double& out) {
    if (!isDecimal(text)) return false;
    const auto n = leadingNumber(text);
    if (!n || n->outOfRange || n->length != text.size()) return false;
    const double value = n->value;
    if (!(value >= low && value <= high)) return false;
    out = value;
    return true;
}

// archive list | show ID | report ID FILE | export-session ID, with their options.
Parsed parseArchive(const QCommandLineParser& parser, const QStringList& positional, Options o,
                    const QCommandLineOption& archive, const QCommandLineOption& since,
                    const QCommandLineOption& device, const QCommandLineOption& format) {
    const auto value = [&](const QCommandLineOption& option) { return parser.value(option).toStdString(); };
    if (positional.size() < 2)
        return {std::nullopt, "archive 需要 list, show, report, export-session 或 check (见 --help)"};
    const std::string action = positional.at(1).toStdString();
    const std::map<std::string, std::pair<ArchiveAction, int>> actions{
        {"list", {ArchiveAction::List, 0}},
        {"show", {ArchiveAction::Show, 1}},
        {"report", {ArchiveAction::Report, 2}},
        {"export-session", {ArchiveAction::ExportSession, 1}},
        {"check", {ArchiveAction::Check, 0}}};
    const auto found = actions.find(action);
    if (found == actions.end()) return {std::nullopt, "未知的 archive 命令 '" + action + "' (见 --help)"};
    o.archiveAction = found->second.first;
    const int arguments = found->second.second;
    if (positional.size() != 2 + arguments)
        return {std::nullopt, "archive " + action +
                                  (arguments == 0   ? " 不需要参数"
                                   : arguments == 1 ? " 需要一个编号"
                                                    : " 需要编号与文件名")};
    if (arguments >= 1) {
        const std::string id = positional.at(2).toStdString();
        if (id.empty() || id.size() > 15 || id.find_first_not_of("0123456789") != std::string::npos ||
            id.find_first_not_of('0') == std::string::npos)
            return {std::nullopt, "编号应为正整数, 不是 '" + id + "'"};
        o.archiveId = std::stoll(id);
    }
    if (arguments == 2) o.archiveFile = positional.at(3).toStdString();
    o.archive = value(archive);
    if (parser.isSet(since)) {
        if (!archive::isCalendarDate(value(since)))
            return {std::nullopt, "--since 需要日期 2026-01-31, 不是 '" + value(since) + "'"};
        o.since = value(since);
    }
    o.particulars.device = value(device);
    o.format = Format::Listing;
    if (parser.isSet(format)) {
        const std::string v = value(format);
        if (v != "listing" && v != "csv") return {std::nullopt, "--format 需要 listing 或 csv"};
        o.format = v == "csv" ? Format::Csv : Format::Listing;
    }
    return {o, ""};
}

} // namespace

std::string usage(const UsagePlaces& places) {
    std::string text = kUsage;
    for (const auto& [mark, value] : {std::pair{std::string_view("%DEVICE%"), &places.device},
                                      std::pair{std::string_view("%ARCHIVE%"), &places.archive},
                                      std::pair{std::string_view("%PASSWORDS%"), &places.passwords}})
        if (const auto at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), *value);
    return text;
}

// A text on one line: tabs, line breaks and backslashes written as \t, \n,
// \r and \\, so that every record is one line of its columns, and every other control
// character as \xHH, so that an archive a team shares can never drive a reader's terminal.
std::string escapedText(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                static constexpr char kHex[] = "0123456789ABCDEF";
                out += "\\x";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += c;
            }
        }
    }
    return out;
}

namespace {

Parsed parseArguments(const std::vector<std::string>& args);

} // namespace

Parsed parseOptions(const std::vector<std::string>& args) {
    // What is wrong is said on one line, whatever the arguments it quotes hold.
    Parsed parsed = parseArguments(args);
    std::string said;
    for (const char c : parsed.error) {
        const auto byte = static_cast<unsigned char>(c);
        said += byte < 0x20 || byte == 0x7F ? escapedText(std::string_view(&c, 1)) : std::string(1, c);
    }
    parsed.error = std::move(said);
    return parsed;
}

namespace {

Parsed parseArguments(const std::vector<std::string>& args) {
    // One parser for every option of both commands: --opt value, --opt=value and the short
    // forms; which command an option belongs to is checked afterwards, so that it can be named.
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption help({"h", "help"}, "");
    const QCommandLineOption version({"v", "version"}, ""); // -v as in hvr and hvr-sim
    const QCommandLineOption port({"p", "port"}, "", "PORT");
    const QCommandLineOption out({"o", "out"}, "", "FILE");
    const QCommandLineOption format({"f", "format"}, "", "FORMAT");
    const QCommandLineOption frames({"n", "frames"}, "", "N");
    const QCommandLineOption sort("sort", "", "ORDER");
    const QCommandLineOption pdf("pdf", "", "FILE");
    const QCommandLineOption timeout("timeout", "", "S");
    const QCommandLineOption demo("demo", "");
    const QCommandLineOption timeScale("time-scale", "", "F"); // for tests, not in --help
    const QCommandLineOption rated("rated", "", "RATIO");
    const QCommandLineOption accuracy("class", "", "CLASS");
    const QCommandLineOption reportFile("report", "", "FILE");
    const QCommandLineOption station("station", "", "TEXT");
    const QCommandLineOption device("device", "", "TEXT");
    const QCommandLineOption phase("phase", "", "PHASE");
    const QCommandLineOption tester("tester", "", "TEXT");
    const QCommandLineOption remark("remark", "", "TEXT");
    const QCommandLineOption noArchive("no-archive", "");
    const QCommandLineOption archive("archive", "", "URL");
    const QCommandLineOption since("since", "", "DATE");
    parser.addOptions({help,    version, port,      out,       format,   frames,     sort,    pdf,
                       timeout, demo,    timeScale, rated,     accuracy, reportFile, station, device,
                       phase,   tester,  remark,    noArchive, archive,  since});

    QStringList list{"hvr-cli"};
    // A negative number where archive takes a record's number is that number, not an option;
    // after an option that takes a value it is that option's value.
    const auto negative = [](const std::string& a) {
        return a.size() > 1 && a[0] == '-' && a.find_first_not_of("0123456789", 1) == std::string::npos;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!args.empty() && args[0] == "archive" && negative(a)) {
            static const std::set<std::string> kTakeValues{"--since", "--device", "--archive", "--format",
                                                           "-f"};
            if (i == 0 || !kTakeValues.contains(args[i - 1]))
                return {std::nullopt, "编号应为正整数, 不是 '" + a + "'"};
            list.back() += "=" + QString::fromStdString(a);
            continue;
        }
        list << QString::fromStdString(a);
    }
    if (!parser.parse(list)) {
        if (!parser.unknownOptionNames().isEmpty())
            return {std::nullopt,
                    "未知选项 '" + parser.unknownOptionNames().constFirst().toStdString() + "' (见 --help)"};
        // Qt's one other complaint, an option without its value, said in Chinese like the rest.
        static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.$"));
        if (const auto m = missing.match(parser.errorText()); m.hasMatch())
            return {std::nullopt, "选项 '" + m.captured(1).toStdString() + "' 缺少值 (见 --help)"};
        return {std::nullopt, "参数错误: " + parser.errorText().toStdString() + " (见 --help)"};
    }
    Options o;
    if (parser.isSet(help)) {
        o.command = Command::Help;
        return {o, ""};
    }
    if (parser.isSet(version)) {
        o.command = Command::Version;
        return {o, ""};
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) return {std::nullopt, "缺少命令: download, monitor 或 ports (见 --help)"};
    const std::string command = positional.constFirst().toStdString();
    if (command == "help") {
        o.command = Command::Help;
        return {o, ""};
    }
    if (command == "download")
        o.command = Command::Download;
    else if (command == "monitor")
        o.command = Command::Monitor;
    else if (command == "ports")
        o.command = Command::Ports;
    else if (command == "archive")
        o.command = Command::Archive;
    else
        return {std::nullopt, "未知命令 '" + command + "' (见 --help)"};
    if (o.command == Command::Archive)
        return parseArchive(parser, positional, o, archive, since, device, format);
    for (const QCommandLineOption* only : {&since})
        if (parser.isSet(*only)) return {std::nullopt, "--since 只用于 archive list"};
    if (positional.size() > 1)
        return {std::nullopt, "多余的参数 '" + positional.at(1).toStdString() + "' (见 --help)"};
    if (o.command == Command::Ports) {
        for (const QCommandLineOption& option :
             {port, out, format, frames, sort, pdf, timeout, demo, timeScale, rated, accuracy, reportFile,
              station, device, phase, tester, remark})
            if (parser.isSet(option))
                return {std::nullopt, "--" + option.names().constLast().toStdString() + " 不用于 ports"};
        return {o, ""};
    }

    // An option of the other command is named as such.
    const auto belongsTo = [&](const QCommandLineOption& option, Command owner,
                               const char* name) -> std::string {
        if (!parser.isSet(option) || o.command == owner) return {};
        return std::string(name) + " 是 " + (owner == Command::Download ? "download" : "monitor") +
               " 的选项, 不用于 " + command;
    };
    for (const std::string& wrong :
         {belongsTo(sort, Command::Download, "--sort"), belongsTo(pdf, Command::Download, "--pdf"),
          belongsTo(reportFile, Command::Download, "--report"),
          belongsTo(station, Command::Download, "--station"),
          belongsTo(device, Command::Download, "--device"), belongsTo(phase, Command::Download, "--phase"),
          belongsTo(tester, Command::Download, "--tester"), belongsTo(remark, Command::Download, "--remark"),
          belongsTo(frames, Command::Monitor, "--frames")})
        if (!wrong.empty()) return {std::nullopt, wrong};

    const auto value = [&](const QCommandLineOption& option) { return parser.value(option).toStdString(); };
    o.demo = parser.isSet(demo);
    if (parser.isSet(port)) {
        const auto choice = platform::parsePort(value(port));
        if (!choice) return {std::nullopt, "--port 需要设备路径或端口号 1…16"};
        o.port = *choice;
    }
    if (parser.isSet(out)) {
        if (value(out).empty()) return {std::nullopt, "--out 需要文件名"};
        o.out = value(out);
    }
    if (parser.isSet(pdf)) {
        if (value(pdf).empty()) return {std::nullopt, "--pdf 需要文件名"};
        o.pdf = value(pdf);
    }
    if (parser.isSet(sort)) {
        const std::string v = value(sort);
        if (v != "asc" && v != "desc") return {std::nullopt, "--sort 需要 asc 或 desc"};
        o.sort = v == "asc" ? SortOrder::Ascending : SortOrder::Descending;
    }
    if (parser.isSet(frames)) {
        double n = 0;
        if (!parseNumber(value(frames), 1, 1e12, n) || n != static_cast<long>(n))
            return {std::nullopt, "--frames 需要正整数"};
        o.frames = static_cast<long>(n);
    }
    if (o.command == Command::Download) {
        o.format = Format::Listing;
        if (parser.isSet(format)) {
            const std::string v = value(format);
            if (v != "listing" && v != "csv") return {std::nullopt, "--format 需要 listing 或 csv"};
            o.format = v == "csv" ? Format::Csv : Format::Listing;
        }
        if (o.out.empty()) o.out = o.format == Format::Csv ? "HVR.csv" : "HVR.txt";
    } else if (parser.isSet(format)) {
        const std::string v = value(format);
        if (v != "jsonl" && v != "csv") return {std::nullopt, "--format 需要 jsonl 或 csv"};
        o.format = v == "jsonl" ? Format::Jsonl : Format::Csv;
    }
    if (parser.isSet(timeout)) {
        if (!parseNumber(value(timeout), 0.1, 86400, o.timeout))
            return {std::nullopt, "--timeout 需要 0.1 到 86400 之间的秒数"};
        o.timeoutText = value(timeout);
    }
    if (parser.isSet(timeScale) && !parseNumber(value(timeScale), 0.01, 100, o.timeScale))
        return {std::nullopt, "--time-scale 需要 0.01 到 100 之间的数"};
    if (parser.isSet(rated)) {
        o.rated = verdict::parseNameplate(value(rated));
        if (!o.rated)
            return {std::nullopt,
                    "--rated 需要额定一次电流/额定二次电流 (A), 如 600/5: 一次 1 到 100000, 二次 1, 2 "
                    "或 5; 不是 '" +
                        value(rated) + "'"};
    }
    if (parser.isSet(accuracy)) {
        const auto found = verdict::parseClass(value(accuracy));
        if (!found)
            return {std::nullopt, "--class 需要准确级 0.1, 0.2, 0.2S, 0.5, 0.5S, 1, 3, 5 或 不判定, 不是 '" +
                                      value(accuracy) + "'"};
        o.accuracy = *found;
    }
    if (parser.isSet(reportFile)) {
        if (value(reportFile).empty()) return {std::nullopt, "--report 需要文件名"};
        o.report = value(reportFile);
    }
    o.particulars = {value(station), value(device), value(phase), value(tester), value(remark)};
    const std::string& p = o.particulars.phase;
    if (!p.empty() && p != "A" && p != "B" && p != "C" && p != "N")
        return {std::nullopt, "--phase 需要相别 A, B, C 或 N, 不是 '" + p + "'"};
    for (const QCommandLineOption* text : {&station, &device, &tester, &remark})
        if (static_cast<std::size_t>(parser.value(*text).toUcs4().size()) > report::kParticularCharacters)
            return {std::nullopt, "--" + text->names().constLast().toStdString() + " 最多 " +
                                      std::to_string(report::kParticularCharacters) +
                                      " 个字符 (报告中能容纳的长度), 现有 " +
                                      std::to_string(parser.value(*text).toUcs4().size()) + " 个"};
    for (const QCommandLineOption* text : {&station, &device, &phase, &tester, &remark, &noArchive, &archive})
        if (parser.isSet(*text) && o.command != Command::Download)
            return {std::nullopt, "--" + text->names().constLast().toStdString() + " 是 download 的选项"};
    o.noArchive = parser.isSet(noArchive);
    o.archive = value(archive);
    if (o.noArchive && o.report.empty())
        for (const QCommandLineOption* text : {&station, &device, &phase, &tester, &remark})
            if (parser.isSet(*text))
                return {std::nullopt, "--" + text->names().constLast().toStdString() +
                                          " 只用于报告与测试记录, 与 --no-archive 同用时需要 --report"};
    if (o.demo && o.port.given()) return {std::nullopt, "--demo 与 --port 不能同时使用"};
    return {o, ""};
}

} // namespace

} // namespace hvr::cli
