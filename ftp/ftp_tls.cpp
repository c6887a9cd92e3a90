// Names of the FTP TLS modes.
#include "ftp/ftp_tls.h"

namespace vx::ftp {

std::optional<TlsMode> parseTlsMode(const QString& text) {
    const QString t = text.trimmed().toLower();
    for (TlsMode m : {TlsMode::Auto, TlsMode::Require, TlsMode::Implicit, TlsMode::Off})
        if (t == QLatin1String(tlsModeName(m))) return m;
    return std::nullopt;
}

const char* tlsModeName(TlsMode mode) {
    switch (mode) {
        case TlsMode::Auto: return "auto";
        case TlsMode::Require: return "require";
        case TlsMode::Implicit: return "implicit";
        case TlsMode::Off: return "off";
    }
    return "?";
}

}  // namespace vx::ftp
