// The settings window's test of the file server: log in, enter the access-code folder as the
// upload window does, log out. Nothing is listed, sent or changed on the server.
#pragma once

#include <QString>

#include "core/status.h"

namespace vx {

struct FtpLogin {
    QString server;  // "host" or "host:port"
    QString user;
    QString password;
    bool passive = true;
    QString accessCode;
    QString tls = QStringLiteral("off");  // as "FtpTls": auto, require, implicit or off
    QString caFile;                       // as "TlsCaFile"
    QString pins;                         // as "FtpTlsPin"
};

// Ok with a line saying where it got to; otherwise an error holding the server's own reply
// (or the client's text when there was none), after "Invalid Access Code!" when the log-in
// worked but the folder could not be entered.
Result<QString> checkFtpLogin(const FtpLogin& login);

}  // namespace vx
