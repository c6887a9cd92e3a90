// Option parsing for vexaro-ftp, kept free of I/O so it can be tested directly.
#include "ftp/cli/cli_options.h"

#include <QHash>

#include "ftp/local_name.h"

namespace vx::cli {

std::optional<QString> getTarget(const QString& remote, const QString& local) {
    if (local.trimmed() != QLatin1String(".")) return local;
    return ftp::localFileName(remote.trimmed().section(QLatin1Char('/'), -1));
}

int commandArity(const QString& name) {
    static const QHash<QString, int> arity = {
        {"pwd", 0},   {"cd", 1},    {"ls", 0}, {"put", 2}, {"get", 2},
        {"size", 1}, {"mkdir", 1}, {"rmdir", 1}, {"rm", 1}, {"rename", 2}};
    return arity.value(name, -1);
}

QString usageText() {
    return QStringLiteral(
        "Usage: vexaro-ftp [options] COMMAND [ARGS] [COMMAND [ARGS]] ...\n"
        "\n"
        "Connects to an FTP server, runs the commands in order and stops at the first one\n"
        "that fails. Exit status: 0 all commands worked, 1 a command or the connection\n"
        "failed (the error is printed), 2 the command line is wrong.\n"
        "\n"
        "Options:\n"
        "  -s, --server HOST[:PORT]   server address; port 21 when none is given (990 with\n"
        "                             --tls implicit)\n"
        "  -u, --user NAME            user name (default: anonymous)\n"
        "  -p, --password TEXT        password (visible to other users of this machine;\n"
        "                             prefer one of the two below)\n"
        "      --password-file FILE   read the password from the first line of FILE\n"
        "      --active               active mode: the server connects back for data\n"
        "      --passive              passive mode (default)\n"
        "      --ascii                ASCII transfers (line ends converted)\n"
        "      --binary               binary transfers (default)\n"
        "      --tls MODE             auto (default: AUTH TLS, plain with a warning when the\n"
        "                             server refuses), require, implicit or off\n"
        "      --ca-file FILE         trust the CA certificates of this PEM file too\n"
        "      --pin SHA256           accept the certificate with this SHA-256 fingerprint\n"
        "                             although it does not verify (may be repeated)\n"
        "  -t, --timeout SECONDS      give up when the server is silent this long (default 30)\n"
        "  -q, --quiet                no progress bar and no transfer summary\n"
        "  -v, --verbose              print the FTP dialogue on standard error\n"
        "  -h, --help                 show this text\n"
        "\n"
        "Environment: VEXARO_FTP_SERVER, VEXARO_FTP_USER and VEXARO_FTP_PASSWORD stand in\n"
        "for the options not given.\n"
        "\n"
        "Commands:\n"
        "  pwd                  print the current remote folder\n"
        "  cd FOLDER            change the remote folder\n"
        "  ls                   list the remote folder: Name, Size, Last Accessed, Attributes\n"
        "  put LOCAL REMOTE     upload LOCAL as REMOTE ('.' keeps the local file name)\n"
        "  get REMOTE LOCAL     download REMOTE into LOCAL ('.' keeps the remote file name)\n"
        "  size REMOTE          print the size of a remote file\n"
        "  mkdir FOLDER         create a remote folder\n"
        "  rmdir FOLDER         remove an empty remote folder\n"
        "  rm REMOTE            delete a remote file\n"
        "  rename OLD NEW       rename a remote file\n"
        "\n"
        "Example:\n"
        "  VEXARO_FTP_PASSWORD=secret vexaro-ftp -s files.example.org:2121 -u me \\\n"
        "      cd public_html/abc123 put build/out.zip . ls\n");
}

ParseResult parseArguments(const QStringList& args,
                           const std::function<std::optional<QString>(const QString&)>& env,
                           const std::function<std::optional<QByteArray>(const QString&)>& readFile) {
    FtpOptions o;
    std::optional<QString> password, server, user, passwordFile;
    const auto fail = [](const QString& why) { return ParseResult{std::nullopt, why}; };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const auto value = [&](QString* out) {
            if (i + 1 >= args.size()) return false;
            *out = args.at(++i);
            return true;
        };
        QString v;
        if (a == "-h" || a == "--help") {
            o.help = true;
        } else if (a == "-s" || a == "--server") {
            if (!value(&v)) return fail(QStringLiteral("%1 needs a value").arg(a));
            server = v;
        } else if (a == "-u" || a == "--user") {
            if (!value(&v)) return fail(QStringLiteral("%1 needs a value").arg(a));
            user = v;
        } else if (a == "-p" || a == "--password") {
            if (!value(&v)) return fail(QStringLiteral("%1 needs a value").arg(a));
            password = v;
        } else if (a == "--password-file") {
            if (!value(&v)) return fail(QStringLiteral("%1 needs a value").arg(a));
            passwordFile = v;
        } else if (a == "--active") {
            o.passive = false;
        } else if (a == "--passive") {
            o.passive = true;
        } else if (a == "--ascii") {
            o.ascii = true;
        } else if (a == "--binary") {
            o.ascii = false;
        } else if (a == "--tls") {
            if (!value(&v)) return fail(QStringLiteral("%1 needs a value").arg(a));
            const auto mode = ftp::parseTlsMode(v);
            if (!mode) return fail(QStringLiteral("--tls takes auto, require, implicit or off"));
            o.tls = *mode;
        } else if (a == "--ca-file") {
            if (!value(&v)) return fail(QStringLiteral("%1 needs a value").arg(a));
            o.caFile = v;
        } else if (a == "--pin") {
            if (!value(&v)) return fail(QStringLiteral("%1 needs a value").arg(a));
            const auto pin = net::normalizeFingerprint(v);
            if (!pin) return fail(QStringLiteral("--pin takes a SHA-256 fingerprint (64 hex digits)"));
            o.pins << *pin;
        } else if (a == "-t" || a == "--timeout") {
            bool ok = false;
            if (!value(&v)) return fail(QStringLiteral("%1 needs a value").arg(a));
            o.timeoutSeconds = v.toInt(&ok);
            if (!ok || o.timeoutSeconds < 1 || o.timeoutSeconds > 3600)
                return fail(QStringLiteral("time-out must be a number of seconds from 1 to 3600"));
        } else if (a == "-q" || a == "--quiet") {
            o.quiet = true;
        } else if (a == "-v" || a == "--verbose") {
            o.verbose = true;
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return fail(QStringLiteral("unknown option %1").arg(a));
        } else {
            const int n = commandArity(a);
            if (n < 0) return fail(QStringLiteral("unknown command %1").arg(a));
            if (i + n >= args.size())
                return fail(QStringLiteral("%1 needs %2 argument(s)").arg(a).arg(n));
            o.commands.push_back({a, args.mid(i + 1, n)});
            i += n;
        }
    }
    if (o.help) return {o, QString()};
    if (!server) server = env(QStringLiteral("VEXARO_FTP_SERVER"));
    if (!user) user = env(QStringLiteral("VEXARO_FTP_USER"));
    if (!password && passwordFile) {
        const auto bytes = readFile(*passwordFile);
        if (!bytes) return fail(QStringLiteral("cannot read the password file %1").arg(*passwordFile));
        QString text = QString::fromUtf8(*bytes);
        password = text.section(QLatin1Char('\n'), 0, 0);
        if (password->endsWith(QLatin1Char('\r'))) password->chop(1);
    }
    if (!password) password = env(QStringLiteral("VEXARO_FTP_PASSWORD"));
    if (!server || server->trimmed().isEmpty())
        return fail(QStringLiteral("no server given (--server or VEXARO_FTP_SERVER)"));
    if (o.commands.empty()) return fail(QStringLiteral("no command given"));
    o.server = *server;
    if (user) o.user = *user;
    o.password = password.value_or(QString());
    return {o, QString()};
}

}  // namespace vx::cli
