// The server address as a person types it: "host", "host:port", "[v6-address]:port". Shared by
// the FTP client and the SMTP senders, which differ only in their usual port.
#pragma once

#include <QString>
#include <optional>

namespace vx::net {

struct ServerAddress {
    QString host;
    quint16 port = 0;
};

// Blanks around the text are ignored; without a port, defaultPort is used. Nothing for an empty
// host, a host with a blank (space, tab, line break) or a stray bracket in it, or a port that is
// not a number from 1 to 65535.
std::optional<ServerAddress> parseServerAddress(const QString& text, quint16 defaultPort);

}  // namespace vx::net
