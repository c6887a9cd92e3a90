// Command line of vexaro-ftp: commands with their arguments in order, and the password sources.
#include "ftp/cli/cli_options.h"

#include <QHash>
#include <gtest/gtest.h>

#include "qt_printers.h"

using namespace vx::cli;

namespace {

struct Env {
    QHash<QString, QString> vars;
    QHash<QString, QByteArray> files;
    ParseResult parse(const QStringList& args) const {
        return parseArguments(
            args,
            [this](const QString& n) -> std::optional<QString> {
                if (!vars.contains(n)) return std::nullopt;
                return vars.value(n);
            },
            [this](const QString& p) -> std::optional<QByteArray> {
                if (!files.contains(p)) return std::nullopt;
                return files.value(p);
            });
    }
};

}  // namespace

TEST(CliOptions, SeveralCommandsWithTheirArgumentsInOrder) {
    const auto r = Env{}.parse({"-s", "127.0.0.1:2121", "-u", "me", "-p", "pw", "--active", "--ascii", "cd",
                                "public_html", "put", "a b.zip", ".", "ls", "rename", "x", "y", "pwd"});
    ASSERT_TRUE(r.options) << r.error.toStdString();
    const auto& o = *r.options;
    EXPECT_EQ(o.server, "127.0.0.1:2121");
    EXPECT_EQ(o.user, "me");
    EXPECT_EQ(o.password, "pw");
    EXPECT_FALSE(o.passive);
    EXPECT_TRUE(o.ascii);
    ASSERT_EQ(o.commands.size(), 5u);
    EXPECT_EQ(o.commands[0].name, "cd");
    EXPECT_EQ(o.commands[0].args, QStringList{"public_html"});
    EXPECT_EQ(o.commands[1].args, QStringList({"a b.zip", "."}));
    EXPECT_EQ(o.commands[2].name, "ls");
    EXPECT_EQ(o.commands[3].args, QStringList({"x", "y"}));
    EXPECT_EQ(o.commands[4].name, "pwd");
}

TEST(CliOptions, DefaultsArePassiveBinaryThirtySeconds) {
    const auto r = Env{}.parse({"-s", "h", "pwd"});
    ASSERT_TRUE(r.options);
    EXPECT_TRUE(r.options->passive);
    EXPECT_FALSE(r.options->ascii);
    EXPECT_EQ(r.options->timeoutSeconds, 30);
    EXPECT_EQ(r.options->user, "anonymous");
}

TEST(CliOptions, PasswordFromOptionThenFileThenEnvironment) {
    Env env;
    env.vars = {{"VEXARO_FTP_PASSWORD", "from-env"}, {"VEXARO_FTP_SERVER", "env-host"}, {"VEXARO_FTP_USER", "env-user"}};
    env.files = {{"/pw", "from-file\r\nsecond line\n"}};
    EXPECT_EQ(env.parse({"pwd"}).options->password, "from-env");
    EXPECT_EQ(env.parse({"pwd"}).options->server, "env-host");
    EXPECT_EQ(env.parse({"pwd"}).options->user, "env-user");
    EXPECT_EQ(env.parse({"--password-file", "/pw", "pwd"}).options->password, "from-file");
    EXPECT_EQ(env.parse({"-p", "opt", "--password-file", "/pw", "pwd"}).options->password, "opt");
    const auto missing = env.parse({"--password-file", "/nope", "pwd"});
    EXPECT_FALSE(missing.options);
    EXPECT_TRUE(missing.error.contains("/nope"));
}

TEST(CliOptions, MistakesAreNamed) {
    struct {
        QStringList args;
        const char* mentions;
    } cases[] = {{{"-s", "h"}, "no command"},
                 {{"pwd"}, "no server"},
                 {{"-s", "h", "put", "only-one"}, "put needs 2"},
                 {{"-s", "h", "fly"}, "unknown command fly"},
                 {{"-s", "h", "--frobnicate", "pwd"}, "unknown option --frobnicate"},
                 {{"-s", "h", "-t", "0", "pwd"}, "time-out"},
                 {{"-s", "h", "-t", "abc", "pwd"}, "time-out"},
                 {{"-s"}, "-s needs a value"}};
    for (const auto& c : cases) {
        const auto r = Env{}.parse(c.args);
        EXPECT_FALSE(r.options) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.error.contains(QString::fromLatin1(c.mentions)))
            << r.error.toStdString() << " / " << c.mentions;
    }
}

TEST(CliOptions, HelpNeedsNothingElseAndNamesEveryCommand) {
    const auto r = Env{}.parse({"--help"});
    ASSERT_TRUE(r.options);
    EXPECT_TRUE(r.options->help);
    for (const char* c : {"pwd", "cd", "ls", "put", "get", "size", "mkdir", "rmdir", "rm", "rename"}) {
        EXPECT_GE(commandArity(QString::fromLatin1(c)), 0) << c;
        EXPECT_TRUE(usageText().contains(QStringLiteral("\n  %1 ").arg(QString::fromLatin1(c)))) << c;
    }
}
