// The server address as a person types it: "host", "host:port", "[v6-address]:port".
#pragma once

#include <QString>
#include <optional>

namespace vx::ftp {

struct ServerAddress {
    QString host;
    quint16 port = 21;
};

// Blanks around the text are ignored; without a port the FTP port 21 is used. Nothing for an
// empty host or a port that is not a number from 1 to 65535.
std::optional<ServerAddress> parseServerAddress(const QString& text);

}  // namespace vx::ftp
