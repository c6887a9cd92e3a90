// The FTP server address: "host" or "host:port", port 21 when none is given.
#pragma once

#include "net/server_address.h"

namespace vx::ftp {

using ServerAddress = net::ServerAddress;

inline constexpr quint16 kFtpPort = 21;

// See net::parseServerAddress; the default port is 21.
inline std::optional<ServerAddress> parseServerAddress(const QString& text) {
    return net::parseServerAddress(text, kFtpPort);
}

}  // namespace vx::ftp
