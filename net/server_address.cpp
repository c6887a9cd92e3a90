// Splits "host:port"; a bare IPv6 address (more than one colon) carries no port.
#include "net/server_address.h"

#include <algorithm>

namespace vx::net {
namespace {

std::optional<quint16> parsePort(const QString& s) {
    bool ok = false;
    const uint p = s.toUInt(&ok);
    if (!ok || p == 0 || p > 65535 || s.startsWith(QLatin1Char('+'))) return std::nullopt;
    return static_cast<quint16>(p);
}

// A host name or address holds no blank of any kind and no bracket.
bool usableHost(const QString& host) {
    return !host.isEmpty() && std::none_of(host.begin(), host.end(), [](QChar c) {
        return c.isSpace() || c == QLatin1Char('[') || c == QLatin1Char(']');
    });
}

}  // namespace

std::optional<ServerAddress> parseServerAddress(const QString& text, quint16 defaultPort) {
    const QString t = text.trimmed();
    ServerAddress a;
    a.port = defaultPort;
    if (t.startsWith(QLatin1Char('['))) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        if (close < 2) return std::nullopt;
        a.host = t.mid(1, close - 1);
        if (!usableHost(a.host)) return std::nullopt;
        const QString rest = t.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':'))) return std::nullopt;
            const auto p = parsePort(rest.mid(1));
            if (!p) return std::nullopt;
            a.port = *p;
        }
        return a;
    }
    if (t.count(QLatin1Char(':')) == 1) {
        const qsizetype colon = t.indexOf(QLatin1Char(':'));
        a.host = t.left(colon);
        const auto p = parsePort(t.mid(colon + 1));
        if (!p) return std::nullopt;
        a.port = *p;
    } else {
        a.host = t;
    }
    if (!usableHost(a.host)) return std::nullopt;
    return a;
}

}  // namespace vx::net
