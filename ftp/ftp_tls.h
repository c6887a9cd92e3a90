// How an FTP connection uses TLS (explicit with "AUTH TLS", or implicit from the first byte)
// and which certificates it accepts.
#pragma once

#include <QString>
#include <optional>

#include "net/tls_trust.h"

namespace vx::ftp {

enum class TlsMode {
    Auto,      // "AUTH TLS" first; a refusal (4xx/5xx) goes on in plain
    Require,   // "AUTH TLS" first; a refusal ends the connection before the log-in
    Implicit,  // TLS from the first byte, usual port 990
    Off,       // the plain dialogue, no AUTH command
};

inline constexpr quint16 kImplicitTlsPort = 990;

// "auto", "require", "implicit" or "off" (any case, blanks around ignored); nothing otherwise.
std::optional<TlsMode> parseTlsMode(const QString& text);
const char* tlsModeName(TlsMode mode);

struct TlsOptions {
    TlsMode mode = TlsMode::Off;
    net::TlsTrust trust;
};

}  // namespace vx::ftp
