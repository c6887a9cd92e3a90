// Texts of the FTP layer's error codes.
#include "ftp/ftp_errors.h"

namespace vx::ftp {

QString errorMessage(int code) {
    switch (code) {
        case NoError: return QStringLiteral("The operation completed successfully.");
        case NotConnected: return QStringLiteral("No connection to the server is open.");
        case InvalidAddress: return QStringLiteral("The server address is not valid.");
        case HostNotFound: return QStringLiteral("The server name could not be resolved.");
        case CannotConnect: return QStringLiteral("The connection to the server could not be made.");
        case LoginRefused: return QStringLiteral("The server refused the user name or password.");
        case TimedOut: return QStringLiteral("The operation timed out.");
        case ConnectionLost: return QStringLiteral("The connection to the server was lost.");
        case ServerErrorReply: return QStringLiteral("The server returned an error reply.");
        case NotAnFtpReply: return QStringLiteral("The server sent a reply that is not an FTP reply.");
        case ReplyTooLong: return QStringLiteral("The server sent a reply that is too long.");
        case DataConnectionFailed: return QStringLiteral("The data connection could not be opened.");
        case DataConnectionClosed:
            return QStringLiteral("The data connection closed before the transfer was complete.");
        case NoMoreFiles: return QStringLiteral("No more files.");
        case Busy:
            return QStringLiteral("Another transfer or search is already open on this connection.");
        case InvalidName: return QStringLiteral("The name contains a line break.");
        case LocalFileError: return QStringLiteral("The local file could not be opened, read or written.");
        case FileTooLarge: return QStringLiteral("The file is 2 GiB or larger.");
        case OutOfStep: return QStringLiteral("The server's replies are out of step with the commands.");
        case TlsRefused:
            return QStringLiteral("The server refused TLS; nothing was sent in the clear. The server "
                                  "answered:");
        case TlsFailed: return QStringLiteral("The TLS connection failed:");
        case UntrustedCertificate: return QStringLiteral("The server's certificate is not trusted.");
    }
    return QStringLiteral("Unknown error.");
}

}  // namespace vx::ftp
