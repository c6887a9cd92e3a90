// The vexaro-crypt command, run as a separate process the way a recipient or a script runs it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "crypto_files.h"

namespace {

using vx::test::listing;
using vx::test::readAll;
using vx::test::writeAll;

struct Outcome {
    int exitCode = -1;
    QByteArray out, err;
};

class VexaroCrypt : public ::testing::Test {
protected:
    // Runs the command without a controlling terminal, so it can never prompt.
    Outcome run(const QStringList& args, const QByteArray& input = {},
            const QStringList& env = {}) {
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove(QStringLiteral("VEXARO_KEY"));
        e.remove(QStringLiteral("VEXARO_PRIVATE_KEY"));
        for (const QString& kv : env) e.insert(kv.section(QLatin1Char('='), 0, 0),
                                               kv.section(QLatin1Char('='), 1));
        p.setProcessEnvironment(e);
        p.setChildProcessModifier([] { ::setsid(); });
        p.start(QStringLiteral(VEXARO_CRYPT_BIN), args);
        EXPECT_TRUE(p.waitForStarted());
        p.write(input);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2,
                p.readAllStandardOutput(), p.readAllStandardError()};
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString keyFile(const QByteArray& contents, const QString& name = QStringLiteral("key.txt")) {
        writeAll(keyDir.filePath(name), contents);
        return keyDir.filePath(name);
    }

    QTemporaryDir dir, keyDir;
};

TEST_F(VexaroCrypt, HelpAndUsageErrors) {
    Outcome r = run({QStringLiteral("--help")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("Usage: vexaro-crypt"));
    EXPECT_EQ(run({}).exitCode, 64);
    EXPECT_EQ(run({QStringLiteral("frobnicate")}).exitCode, 64);
    EXPECT_EQ(run({QStringLiteral("file")}).exitCode, 64);
    EXPECT_EQ(run({QStringLiteral("--key-file")}).exitCode, 64);
    EXPECT_EQ(run({QStringLiteral("--key"), QStringLiteral("abcdef"), QStringLiteral("quality")})
                  .exitCode, 64);  // no way to pass a key on the command line
}

TEST_F(VexaroCrypt, FileRoundTripWithKeyFilesReplacesTheSource) {
    const QString key = keyFile("Report Key 7\r\nsecond line ignored\n");
    const QString priv = keyFile("shhh\n", QStringLiteral("priv.txt"));
    const QByteArray content = QByteArray(100000, 'r') + "end";
    writeAll(path(QStringLiteral("report.DOC")), content);
    const QStringList keys = {QStringLiteral("--key-file"), key,
                              QStringLiteral("--private-key-file=") + priv};

    Outcome enc = run(keys + QStringList{QStringLiteral("file"), path(QStringLiteral("report.DOC"))});
    ASSERT_EQ(enc.exitCode, 0) << enc.err.toStdString();
    EXPECT_EQ(enc.out.trimmed(), path(QStringLiteral("report.uzp")).toUtf8());
    EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("report.uzp")});
    EXPECT_TRUE(enc.err.isEmpty());  // no bar when standard error is not a terminal

    Outcome dec = run(keys + QStringList{QStringLiteral("file"), path(QStringLiteral("report.uzp"))});
    ASSERT_EQ(dec.exitCode, 0) << dec.err.toStdString();
    EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("report.doc")});
    EXPECT_EQ(readAll(path(QStringLiteral("report.doc"))), content);
}

TEST_F(VexaroCrypt, KeysFromEnvironmentAndOtherTarget) {
    writeAll(path(QStringLiteral("a.txt")), "from the environment");
    const QStringList env = {QStringLiteral("VEXARO_KEY=Env Key 99"),
                             QStringLiteral("VEXARO_PRIVATE_KEY=p")};
    Outcome enc = run({QStringLiteral("file"), path(QStringLiteral("a.txt")), path(QStringLiteral("b"))},
                  {}, env);
    ASSERT_EQ(enc.exitCode, 0) << enc.err.toStdString();
    EXPECT_EQ(listing(dir.path()), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.uzp")}));

    // the private key matters: without it nothing is written and the module's message shows
    Outcome wrong = run({QStringLiteral("file"), path(QStringLiteral("b.uzp"))}, {},
                    {QStringLiteral("VEXARO_KEY=Env Key 99")});
    EXPECT_NE(wrong.exitCode, 0);
    EXPECT_TRUE(wrong.err.contains("(Error 2")) << wrong.err.toStdString();
    EXPECT_EQ(listing(dir.path()), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.uzp")}));

    Outcome dec = run({QStringLiteral("file"), path(QStringLiteral("b.uzp")), path(QStringLiteral("c"))},
                  {}, env);
    ASSERT_EQ(dec.exitCode, 0);
    EXPECT_EQ(readAll(path(QStringLiteral("c.txt"))), QByteArray("from the environment"));
}

TEST_F(VexaroCrypt, FailuresGiveTheModuleMessageAndCode) {
    const QString key = keyFile("Report Key 7\n");
    Outcome missing = run({QStringLiteral("--key-file"), key, QStringLiteral("file"),
                       path(QStringLiteral("nothing.txt"))});
    EXPECT_EQ(missing.exitCode, 4);
    EXPECT_TRUE(missing.err.contains("Source file not found (Error 4)"));

    const QString shortKey = keyFile("abc\n", QStringLiteral("short.txt"));
    writeAll(path(QStringLiteral("x.txt")), "x");
    Outcome bad = run({QStringLiteral("--key-file"), shortKey, QStringLiteral("file"),
                   path(QStringLiteral("x.txt"))});
    EXPECT_EQ(bad.exitCode, 3);
    EXPECT_TRUE(bad.err.contains("Key too small/is repeating (Error 3)"));

    Outcome noKeyFile = run({QStringLiteral("--key-file"), path(QStringLiteral("absent")),
                         QStringLiteral("quality")});
    EXPECT_EQ(noKeyFile.exitCode, 66);
    Outcome noTerminal = run({QStringLiteral("quality")});
    EXPECT_EQ(noTerminal.exitCode, 66);
    EXPECT_TRUE(noTerminal.err.contains("terminal"));
    EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("x.txt")});
}

TEST_F(VexaroCrypt, TextArmoursAndRestoresThroughStandardStreams) {
    const QStringList env = {QStringLiteral("VEXARO_KEY=Text Key 1")};
    const QByteArray plain = "Gr\xc3\xbc\xc3\x9f" "e aus der Stadt\nzweite Zeile\n";
    Outcome enc = run({QStringLiteral("text")}, plain, env);
    ASSERT_EQ(enc.exitCode, 0) << enc.err.toStdString();
    EXPECT_TRUE(enc.out.startsWith("--- BEGIN KORVA MESSAGE ---\r\nVersion: KORVA v1.0.3\r\n"));
    Outcome dec = run({QStringLiteral("text")}, enc.out, env);
    ASSERT_EQ(dec.exitCode, 0) << dec.err.toStdString();
    EXPECT_EQ(dec.out, plain);

    Outcome wrong = run({QStringLiteral("text")}, enc.out, {QStringLiteral("VEXARO_KEY=Text Key 2")});
    EXPECT_EQ(wrong.exitCode, 33);
    EXPECT_TRUE(wrong.err.contains("Failed decoding the text (Error 33)"));
    EXPECT_TRUE(wrong.out.isEmpty());
    EXPECT_EQ(run({QStringLiteral("text")}, " \n\t\n", env).exitCode, 1);
}

// Runs the command on a new pseudo-terminal: answers each prompt in turn and returns
// everything the terminal showed, and the exit code.
Outcome runOnTerminal(const QStringList& args, const QList<QByteArray>& answers) {
    // everything the child needs is made before the fork
    std::vector<QByteArray> argv8;
    for (const QString& a : args) argv8.push_back(a.toLocal8Bit());
    std::vector<char*> argv{const_cast<char*>(VEXARO_CRYPT_BIN)};
    for (QByteArray& a : argv8) argv.push_back(a.data());
    argv.push_back(nullptr);
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        ::unsetenv("VEXARO_KEY");
        ::unsetenv("VEXARO_PRIVATE_KEY");
        ::execv(VEXARO_CRYPT_BIN, argv.data());
        ::_exit(127);
    }
    Outcome o;
    qsizetype answered = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        pollfd p{master, POLLIN, 0};
        if (std::chrono::steady_clock::now() > deadline) break;
        if (::poll(&p, 1, 100) <= 0) continue;
        char buf[4096];
        const ssize_t got = ::read(master, buf, sizeof buf);
        if (got <= 0) break;  // the command ended and closed the terminal
        o.out.append(buf, got);
        if (answered < answers.size() && o.out.count(": ") > answered &&
            o.out.endsWith(": ")) {
            const QByteArray line = answers[answered++] + "\n";
            (void)!::write(master, line.constData(), size_t(line.size()));
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(master);
    o.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    return o;
}

TEST_F(VexaroCrypt, PromptsOnTheTerminalWithoutEcho) {
    Outcome q = runOnTerminal({QStringLiteral("quality")}, {"abCDe1"});
    EXPECT_EQ(q.exitCode, 0);
    EXPECT_TRUE(q.out.contains("Key: "));
    EXPECT_FALSE(q.out.contains("abCDe1"));  // typed without echo
    EXPECT_TRUE(q.out.contains("31"));

    // key and private key both asked for; the bar is drawn on the terminal and cleared
    writeAll(path(QStringLiteral("t.bin")), QByteArray(200000, 'b') + "tail");
    Outcome f = runOnTerminal({QStringLiteral("file"), path(QStringLiteral("t.bin"))},
                              {"Typed Key 5", "typed private"});
    ASSERT_EQ(f.exitCode, 0) << f.out.toStdString();
    EXPECT_TRUE(f.out.contains("Private key"));
    EXPECT_FALSE(f.out.contains("Typed Key 5"));
    EXPECT_TRUE(f.out.contains("] 100%"));
    EXPECT_TRUE(f.out.contains("\x1b[K"));
    Outcome back = run({QStringLiteral("file"), path(QStringLiteral("t.uzp"))}, {},
                       {QStringLiteral("VEXARO_KEY=Typed Key 5"),
                        QStringLiteral("VEXARO_PRIVATE_KEY=typed private")});
    ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
    EXPECT_EQ(readAll(path(QStringLiteral("t.bin"))), QByteArray(200000, 'b') + "tail");
}

TEST_F(VexaroCrypt, QualityPrintsThePercentage) {
    EXPECT_EQ(run({QStringLiteral("--key-file"), keyFile("abCDe1\n"), QStringLiteral("quality")})
                  .out, QByteArray("31\n"));
    EXPECT_EQ(run({QStringLiteral("quality")}, {}, {QStringLiteral("VEXARO_KEY=ababab")}).out,
              QByteArray("0\n"));
}

}  // namespace
