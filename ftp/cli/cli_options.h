// Command line of vexaro-ftp: connection options and a list of commands run in order.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "ftp/ftp_tls.h"

namespace vx::cli {

struct FtpCommand {
    QString name;      // pwd, cd, ls, put, get, size, mkdir, rmdir, rm, rename
    QStringList args;  // as many as the command takes
};

struct FtpOptions {
    QString server;  // "host" or "host:port"
    QString user = QStringLiteral("anonymous");
    QString password;
    bool passive = true;
    bool ascii = false;
    ftp::TlsMode tls = ftp::TlsMode::Auto;
    QString caFile;    // extra CA certificates (PEM)
    QStringList pins;  // fingerprints of certificates trusted although they do not verify
    int timeoutSeconds = 30;
    bool quiet = false;
    bool verbose = false;
    bool help = false;
    std::vector<FtpCommand> commands;
};

struct ParseResult {
    std::optional<FtpOptions> options;  // set on success
    QString error;                      // otherwise: what is wrong, for the user
};

// Reads the arguments (without the program name). Values not given on the command line come
// from the environment: VEXARO_FTP_SERVER, VEXARO_FTP_USER, VEXARO_FTP_PASSWORD. A password
// file (--password-file) gives its first line. `readFile` returns a file's bytes or nothing;
// `env` returns a variable or nothing.
ParseResult parseArguments(const QStringList& args,
                           const std::function<std::optional<QString>(const QString&)>& env,
                           const std::function<std::optional<QByteArray>(const QString&)>& readFile);

// The --help text.
QString usageText();

// How many arguments a command takes, or -1 for an unknown command.
int commandArity(const QString& name);

// The local path that `get REMOTE LOCAL` writes: LOCAL itself, or for "." the last part of
// REMOTE (after its last "/") when that can be a local file name (ftp::localFileName); nothing
// when it cannot.
std::optional<QString> getTarget(const QString& remote, const QString& local);

}  // namespace vx::cli
