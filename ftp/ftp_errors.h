// The FTP layer's own error codes and their texts. Every failing call of the layer leaves one
// of these as its last error; the client class turns it into the message a person reads.
#pragma once

#include <QString>

namespace vx::ftp {

enum Error : int {
    NoError = 0,
    NotConnected = 1,          // no connection is open (never opened, closed, or dropped)
    InvalidAddress = 2,        // the server address or port is malformed
    HostNotFound = 3,          // the server name cannot be resolved
    CannotConnect = 4,         // the server refused or did not accept the connection
    LoginRefused = 5,          // the server refused the user name or the password
    TimedOut = 6,              // the server did not answer, or a transfer stalled, within the time-out
    ConnectionLost = 7,        // the control connection closed unexpectedly
    ServerErrorReply = 8,      // the server answered with an error reply (see lastResponse)
    NotAnFtpReply = 9,         // the server sent something that is not an FTP reply
    ReplyTooLong = 10,         // a reply line or a listing beyond the layer's bounds
    DataConnectionFailed = 11, // the data connection could not be set up
    DataConnectionClosed = 12, // the data connection closed before all data had arrived
    NoMoreFiles = 13,          // a search found nothing (more)
    Busy = 14,                 // a file transfer or search is already open on the connection
    InvalidName = 15,          // a name or path holds a line break and cannot be sent
    LocalFileError = 16,       // the local file cannot be opened, read or written
    FileTooLarge = 17,         // the file is 2 GiB or larger
    OutOfStep = 18,            // the server sent a reply no command asked for
    TlsRefused = 19,           // the server refused TLS, which this connection requires
    TlsFailed = 20,            // the TLS handshake or the TLS session failed
    UntrustedCertificate = 21, // the server's certificate does not verify and is not pinned
};

// The text of a code; "Unknown error" for codes outside the table.
QString errorMessage(int code);

}  // namespace vx::ftp
