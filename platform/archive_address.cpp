#include "platform/archive_address.h"

#include <cstring>

#include <algorithm>
#include <array>
#include <string_view>

namespace hvr::platform {

namespace {

// libpq's connection keywords that a URI may carry in its query, beyond host, port, dbname,
// user and password.
constexpr std::array<std::string_view, 36> kKeywords{"hostaddr",
                                                     "passfile",
                                                     "channel_binding",
                                                     "connect_timeout",
                                                     "client_encoding",
                                                     "options",
                                                     "application_name",
                                                     "fallback_application_name",
                                                     "keepalives",
                                                     "keepalives_idle",
                                                     "keepalives_interval",
                                                     "keepalives_count",
                                                     "tcp_user_timeout",
                                                     "replication",
                                                     "gssencmode",
                                                     "sslmode",
                                                     "requiressl",
                                                     "sslcompression",
                                                     "sslcert",
                                                     "sslkey",
                                                     "sslpassword",
                                                     "sslrootcert",
                                                     "sslcrl",
                                                     "sslcrldir",
                                                     "sslsni",
                                                     "requirepeer",
                                                     "ssl_min_protocol_version",
                                                     "ssl_max_protocol_version",
                                                     "krbsrvname",
                                                     "gsslib",
                                                     "gssdelegation",
                                                     "service",
                                                     "target_session_attrs",
                                                     "load_balance_hosts",
                                                     "sslcertmode",
                                                     "require_auth"};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = hexDigit(text[i + 1]);
        const int low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

// The text with any password in it as ****: after "user:" in the part before '@', and the
// value of a password parameter.
std::string masked(const std::string& text) {
    std::string out = text;
    if (const auto scheme = out.find("://"); scheme != std::string::npos) {
        const auto start = scheme + 3;
        const auto end = std::min(out.find_first_of("/?", start), out.size());
        const auto at = out.rfind('@', end);
        if (at != std::string::npos && at >= start)
            if (const auto colon = out.find(':', start); colon != std::string::npos && colon < at)
                out.replace(colon + 1, at - colon - 1, "****");
    }
    for (std::size_t at = out.find("password="); at != std::string::npos;
         at = out.find("password=", at + 1)) {
        const auto value = at + 9;
        const auto end = std::min(out.find('&', value), out.size());
        out.replace(value, end - value, "****");
    }
    return out;
}

bool refuse(std::string* why, const std::string& text) {
    *why = text;
    return false;
}

// One host of the host list: "name", "name:port", "[v6]" or "[v6]:port".
bool splitHost(std::string_view entry, std::string& host, std::string& port) {
    std::string_view portText;
    if (!entry.empty() && entry.front() == '[') {
        const auto close = entry.find(']');
        if (close == std::string_view::npos) return false;
        host = std::string(entry.substr(1, close - 1));
        const auto rest = entry.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') return false;
        if (!rest.empty()) portText = rest.substr(1);
    } else {
        const auto colon = entry.find(':');
        const auto decoded = percentDecoded(entry.substr(0, colon));
        if (!decoded) return false;
        host = *decoded;
        if (colon != std::string_view::npos) portText = entry.substr(colon + 1);
    }
    if (!std::all_of(portText.begin(), portText.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    port = std::string(portText);
    return true;
}

} // namespace

void hidePasswordsInArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        char* arg = argv[i];
        char* scheme = std::strstr(arg, "://");
        if (scheme == nullptr) continue;
        char* host = scheme + 3;
        char* end = host + std::strcspn(host, "/?");
        char* at = nullptr; // the last '@' of the authority, where the user information ends
        for (char* c = host; c < end; ++c)
            if (*c == '@') at = c;
        if (at == nullptr) continue;
        char* colon = static_cast<char*>(std::memchr(host, ':', static_cast<std::size_t>(at - host)));
        if (colon == nullptr) continue;
        for (char* c = colon + 1; c < at; ++c)
            *c = '*';
    }
}

std::optional<ArchiveAddress> parseArchiveAddress(const std::string& text, std::string* why) {
    ArchiveAddress address;
    const auto scheme = text.find("://");
    // SQLite's own "file:" addresses carry options of their own (mode=ro, vfs=...) that a path
    // would take for a folder and a name: refused like any other scheme.
    if (scheme == std::string::npos && text.rfind("file:", 0) == 0) {
        refuse(why, "无法识别的数据库地址 " + text + " (SQLite 的 file: 地址不受支持, 请直接写文件的路径)");
        return std::nullopt;
    }
    if (scheme == std::string::npos) {
        address.path = text;
        address.shown = text;
        return address;
    }
    const std::string name = text.substr(0, scheme);
    const std::string shown = masked(text);
    if (name != "postgresql" && name != "postgres") {
        refuse(why, "无法识别的数据库地址 " + shown +
                        " (测试记录只能是 SQLite 文件的路径, 或 postgresql://用户@主机:端口/数据库)");
        return std::nullopt;
    }
    const std::string bad = "无法识别的数据库地址 " + shown;
    address.kind = ArchiveAddress::Kind::Postgres;
    std::string_view rest = std::string_view(text).substr(scheme + 3);
    const auto netEnd = std::min(rest.find_first_of("/?"), rest.size());
    std::string_view net = rest.substr(0, netEnd);
    rest = rest.substr(netEnd);

    if (const auto at = net.rfind('@'); at != std::string_view::npos) {
        const std::string_view userInfo = net.substr(0, at);
        const auto colon = userInfo.find(':');
        const auto user = percentDecoded(userInfo.substr(0, colon));
        const auto password = colon == std::string_view::npos ? std::optional<std::string>("")
                                                              : percentDecoded(userInfo.substr(colon + 1));
        if (!user || !password) {
            refuse(why, bad + " (用户名或密码中的 % 编码有误)");
            return std::nullopt;
        }
        address.user = *user;
        address.password = *password;
        net = net.substr(at + 1);
    }
    // A list of hosts, each with its port or none, as libpq takes them.
    std::string hosts, ports;
    bool anyPort = false;
    for (std::size_t start = 0; start <= net.size();) {
        const auto comma = std::min(net.find(',', start), net.size());
        std::string host, port;
        if (!splitHost(net.substr(start, comma - start), host, port)) {
            refuse(why, bad + " (主机或端口有误)");
            return std::nullopt;
        }
        hosts += (start == 0 ? "" : ",") + host;
        ports += (start == 0 ? "" : ",") + port;
        anyPort = anyPort || !port.empty();
        start = comma + 1;
    }
    address.host = hosts;
    if (anyPort) address.port = ports;

    if (!rest.empty() && rest.front() == '/') {
        const auto query = std::min(rest.find('?'), rest.size());
        const auto database = percentDecoded(rest.substr(1, query - 1));
        if (!database) {
            refuse(why, bad + " (数据库名中的 % 编码有误)");
            return std::nullopt;
        }
        address.database = *database;
        rest = rest.substr(query);
    }
    if (!rest.empty()) { // "?key=value&…"
        rest = rest.substr(1);
        for (std::size_t start = 0; start < rest.size();) {
            const auto amp = std::min(rest.find('&', start), rest.size());
            const std::string_view pair = rest.substr(start, amp - start);
            start = amp + 1;
            if (pair.empty()) continue;
            const auto eq = pair.find('=');
            const auto key = percentDecoded(pair.substr(0, eq));
            const auto value = eq == std::string_view::npos ? std::optional<std::string>()
                                                            : percentDecoded(pair.substr(eq + 1));
            if (!key || !value) {
                refuse(why, bad + " (参数 \"" + masked(std::string(pair)) + "\" 有误)");
                return std::nullopt;
            }
            if (*key == "host")
                address.host = *value;
            else if (*key == "port")
                address.port = *value;
            else if (*key == "dbname")
                address.database = *value;
            else if (*key == "user")
                address.user = *value;
            else if (*key == "password")
                address.password = *value;
            else if (*key == "ssl" && *value == "true")
                address.parameters.emplace_back("sslmode", "require");
            else if (std::find(kKeywords.begin(), kKeywords.end(), *key) != kKeywords.end())
                address.parameters.emplace_back(*key, *value);
            else {
                refuse(why, bad + " (PostgreSQL 没有连接参数 \"" + *key + "\")");
                return std::nullopt;
            }
        }
    }
    address.shown = "postgresql://" + address.user + (address.password.empty() ? "" : ":****") +
                    (address.user.empty() && address.password.empty() ? "" : "@") + address.host +
                    (address.port.empty() ? "" : ":" + address.port) + "/" + address.database;
    return address;
}

std::string connectOptions(const std::vector<std::pair<std::string, std::string>>& parameters) {
    std::string out;
    for (const auto& [key, value] : parameters) {
        std::string quoted = "'";
        for (char c : value) {
            if (c == '\'' || c == '\\') quoted += '\\';
            quoted += c;
        }
        out += (out.empty() ? "" : ";") + key + "=" + quoted + "'";
    }
    return out;
}

} // namespace hvr::platform
