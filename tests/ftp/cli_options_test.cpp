// Command line of vexaro-ftp: commands with their arguments in order, the password sources in
// their order of precedence, and mistakes named.
#include "ftp/cli/cli_options.h"

#include <QHash>
#include <gtest/gtest.h>

#include "qt_printers.h"

using namespace vx::cli;

TEST(CliOptions, ArgumentsGiveTheOptionsAndCommandsOrNameTheMistake) {
    const QHash<QString, QString> env = {{"VEXARO_FTP_PASSWORD", "env-pw"}, {"VEXARO_FTP_USER", "env-user"}};
    const QHash<QString, QByteArray> files = {{"/pw", "file-pw\r\nsecond line\n"}};
    const struct {
        QStringList args;
        QString result;  // "server user password mode type[ TLS options]: commands", or the error
    } cases[] = {
        {{"-s", "h", "--tls", " IMPLICIT", "--ca-file", "/ca.pem", "--pin", QString("0a").repeated(32), "pwd"},
         "h env-user env-pw passive binary tls=implicit ca=/ca.pem pin=" + QString("0A:").repeated(32).chopped(1) +
             ": pwd"},
        {{"--help"}, "help"},  // needs nothing else
        {{"-s", "h", "-u", "me", "-p", "pw", "--active", "--ascii", "cd", "public_html", "put", "a b.zip", ".", "ls",
          "rename", "x", "y", "pwd"},
         "h me pw active ascii: cd public_html|put a b.zip .|ls|rename x y|pwd"},
        {{"-s", "h", "pwd"}, "h env-user env-pw passive binary: pwd"},
        {{"-s", "h", "--resume", "--retry-wait", "0.5", "put", "a", "."}, "h env-user env-pw passive binary resume 0.5: put a ."},
        {{"-s", "h", "--password-file", "/pw", "pwd"}, "h env-user file-pw passive binary: pwd"},
        {{"-s", "h", "-p", "opt", "--password-file", "/pw", "pwd"}, "h env-user opt passive binary: pwd"},
        {{"-s", "h", "--password-file", "/nope", "pwd"}, "cannot read the password file /nope"},
        {{"-s", "h"}, "no command given"},
        {{"pwd"}, "no server given (--server or VEXARO_FTP_SERVER)"},
        {{"-s", "h", "put", "only-one"}, "put needs 2 argument(s)"},
        {{"-s", "h", "fly"}, "unknown command fly"},
        {{"-s", "h", "--frobnicate", "pwd"}, "unknown option --frobnicate"},
        {{"-s", "h", "-t", "0", "pwd"}, "time-out must be a number of seconds from 1 to 3600"},
        {{"-s"}, "-s needs a value"},
        {{"-s", "h", "--retry-wait", "-1", "pwd"}, "retry wait must be a number of seconds from 0 to 600"},
        {{"-s", "h", "--tls", "sometimes", "pwd"}, "--tls takes auto, require, implicit or off"},
        {{"-s", "h", "--pin", "ab:cd", "pwd"}, "--pin takes a SHA-256 fingerprint (64 hex digits)"},
        {{"-s", "h", "pwd", "--ca-file"}, "--ca-file needs a value"},
    };
    for (const auto& c : cases) {
        const auto r = parseArguments(
            c.args, [&](const QString& n) { return env.contains(n) ? std::optional(env[n]) : std::nullopt; },
            [&](const QString& p) { return files.contains(p) ? std::optional(files[p]) : std::nullopt; });
        QString got = r.error;
        if (r.options && r.options->help) {
            got = "help";
        } else if (r.options) {
            const auto& o = *r.options;
            got = QStringList{o.server, o.user, o.password, o.passive ? "passive" : "active",
                              o.ascii ? "ascii:" : "binary:"}.join(' ');
            if (o.resume) got.replace(":", QStringLiteral(" resume %1:").arg(o.retryWaitSeconds));
            if (o.tls != vx::ftp::TlsMode::Auto) got.replace(":", QString(" tls=") + vx::ftp::tlsModeName(o.tls) + ":");
            if (!o.caFile.isEmpty()) got.replace(":", " ca=" + o.caFile + ":");
            if (!o.pins.isEmpty()) got.replace(":", " pin=" + o.pins.join(',') + ":");
            QStringList commands;
            for (const auto& command : o.commands) commands << (QStringList{command.name} + command.args).join(' ');
            got += " " + commands.join('|');
        }
        EXPECT_EQ(got, c.result);
    }
}
