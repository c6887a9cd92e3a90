// The vexaro-crypt command, run as a separate process the way a recipient or a script runs it:
// one good run (keys from files) and one failing run (keys typed at its prompts).
#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <QTemporaryDir>

#include "crypto_files.h"

namespace {

using vx::test::readFile;
using vx::test::sampleFile;
using vx::test::writeFile;

struct Outcome {
    int exitCode = -1;
    QByteArray out, err;
};

// Runs the command without the key variables and without a controlling terminal, so it cannot
// ask; or, given answers, on a pseudo-terminal of its own (made by script(1)), typing each
// answer once the command asks for it.
Outcome run(const QStringList& args, const QStringList& answers = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("VEXARO_PRIVATE_KEY");
    env.remove("VEXARO_KEY");
    p.setProcessEnvironment(env);
    p.setChildProcessModifier([] { ::setsid(); });
    if (answers.isEmpty())
        p.start(VEXARO_CRYPT_BIN, args);
    else
        p.start("script", {"-qec", VEXARO_CRYPT_BIN " " + args.join(' '), "/dev/null"});
    EXPECT_TRUE(p.waitForStarted());
    QByteArray shown;
    for (const QString& answer : answers) {
        const qsizetype asked = shown.size();
        while (!shown.mid(asked).endsWith(": ") && p.waitForReadyRead(60000))
            shown += p.readAllStandardOutput();
        p.write(answer.toUtf8() + '\n');
    }
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2,
            shown + p.readAllStandardOutput(), p.readAllStandardError()};
}

TEST(VexaroCrypt, FileRestoresASampleAndPrintsItsNameEscaped) {
    QTemporaryDir dir;
    const QString sealed = dir.filePath("sample\x1b[2J.uzp");
    writeFile(sealed, readFile(sampleFile("english_3k__pepper.uzp")));
    writeFile(dir.filePath("key"), "Tr0ub4dor&3x\r\nsecond line ignored\n");
    writeFile(dir.filePath("pk"), "pepper\n");
    const Outcome r = run({"--key-file", dir.filePath("key"),
                           "--private-key-file=" + dir.filePath("pk"), "file", sealed});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, dir.path().toUtf8() + "/sample\\x1b[2J.txt\n");
    EXPECT_TRUE(r.err.isEmpty());  // no bar when standard error is not a terminal
    EXPECT_EQ(readFile(dir.filePath("sample\x1b[2J.txt")), readFile(sampleFile("english_3k.txt")));
    EXPECT_FALSE(QFile::exists(sealed));
}

// An existing target stays unless --force (a link in its place is handled by the module itself:
// file_crypto_test); a key outside the code page is refused; outputs keep the source's mode.
TEST(VexaroCrypt, TargetsKeysAndModes) {
    QTemporaryDir dir;
    const QString src = writeFile(dir.filePath("a.txt"), "secret text");
    QFile::setPermissions(src, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString uzp = dir.filePath("a.uzp");
    writeFile(dir.filePath("key"), "Report Key 7\n");
    writeFile(dir.filePath("bad"), "Пароль2024\n");
    // Key file, --force, whether a file lies at a.uzp before; exit code, the start of the message.
    // clang-format off
    const struct { const char* key; bool force, before; int exit; const char* err; } cases[] = {
        {"bad", false, false, 7, "vexaro-crypt: Key or private key holds characters outside "
                                 "Windows-1252 (Error 7)\n"},
        {"key", false, true, 12, "vexaro-crypt: File error: "}, {"key", true, true, 0, ""}};
    // clang-format on
    for (const auto& c : cases) {
        QFile::remove(uzp);
        if (c.before) writeFile(uzp, "kept");
        QStringList args{"--key-file", dir.filePath(c.key), "file", src, dir.filePath("a")};
        if (c.force) args.prepend("--force");
        const Outcome r = run(args);
        EXPECT_EQ(r.exitCode, c.exit) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(c.err)) << r.err.toStdString();
        if (c.exit == 12) EXPECT_TRUE(r.err.contains("exists and was not replaced")) << r.err.toStdString();
        if (c.before && c.exit != 0) EXPECT_EQ(readFile(uzp), "kept");
        EXPECT_EQ(readFile(src), "secret text");
    }
    EXPECT_EQ(QFileInfo(uzp).permissions(), QFileInfo(src).permissions());
    const Outcome back = run({"--key-file", dir.filePath("key"), "file", uzp, dir.filePath("b")});
    ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
    EXPECT_EQ(readFile(dir.filePath("b.txt")), "secret text");
    EXPECT_EQ(QFileInfo(dir.filePath("b.txt")).permissions(), QFileInfo(src).permissions());
}

// On a terminal the messages come through it too.
TEST(VexaroCrypt, AFailureIsReportedAfterTheKeysWereTypedWithoutEcho) {
    QTemporaryDir dir;
    const Outcome r = run({"file", dir.filePath("nothing.txt")}, {"Report Key 7", "pk 9"});
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_EQ(r.out,
              "Key: \r\nPrivate key (Enter for none): \r\n"
              "vexaro-crypt: Source file not found (Error 4)\r\n");
}

}  // namespace
