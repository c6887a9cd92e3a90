// The vexaro-crypt command, run as a separate process the way a recipient or a script runs it:
// one good run and one failing run of each command.
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

// Runs the command with the key in VEXARO_KEY (when given) and without a controlling terminal,
// so it cannot ask; or, onTerminal, on a pseudo-terminal of its own (made by script(1)), where
// the input is typed once the command asks for it.
Outcome run(const QStringList& args, const QByteArray& input, const QString& key,
            bool onTerminal = false) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("VEXARO_PRIVATE_KEY");
    env.remove("VEXARO_KEY");
    if (!key.isEmpty()) env.insert("VEXARO_KEY", key);
    p.setProcessEnvironment(env);
    p.setChildProcessModifier([] { ::setsid(); });
    if (onTerminal)
        p.start("script", {"-qec", VEXARO_CRYPT_BIN " " + args.join(' '), "/dev/null"});
    else
        p.start(VEXARO_CRYPT_BIN, args);
    EXPECT_TRUE(p.waitForStarted());
    QByteArray shown;
    while (onTerminal && !shown.endsWith(": ") && p.waitForReadyRead(60000))
        shown += p.readAllStandardOutput();
    p.write(input);
    if (!onTerminal) p.closeWriteChannel();
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
                           "--private-key-file=" + dir.filePath("pk"), "file", sealed},
                          {}, {});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, dir.path().toUtf8() + "/sample\\x1b[2J.txt\n");
    EXPECT_TRUE(r.err.isEmpty());  // no bar when standard error is not a terminal
    EXPECT_EQ(readFile(dir.filePath("sample\x1b[2J.txt")), readFile(sampleFile("english_3k.txt")));
    EXPECT_FALSE(QFile::exists(sealed));

    const Outcome missing = run({"file", dir.filePath("nothing.txt")}, {}, "Report Key 7");
    EXPECT_EQ(missing.exitCode, 4);
    EXPECT_EQ(missing.err, "vexaro-crypt: Source file not found (Error 4)\n");
}

TEST(VexaroCrypt, TextRestoresASampleFromStandardInput) {
    const QByteArray armour = readFile(sampleFile("one_char__nopk.asc"));
    const Outcome r = run({"text"}, armour, "Tr0ub4dor&3x");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, readFile(sampleFile("one_char.txt")) + "\n");

    const Outcome wrong = run({"text"}, armour, "Tr0ub4dor&3y");
    EXPECT_EQ(wrong.exitCode, 33);
    EXPECT_EQ(wrong.err, "vexaro-crypt: Failed decoding the text (Error 33)\n");
    EXPECT_TRUE(wrong.out.isEmpty());
}

TEST(VexaroCrypt, QualityAsksForTheKeyOnTheTerminalWithoutEcho) {
    const Outcome q = run({"quality"}, "abCDe1\n", {}, true);
    EXPECT_EQ(q.exitCode, 0);
    EXPECT_TRUE(q.out.contains("Key: "));
    EXPECT_FALSE(q.out.contains("abCDe1"));
    EXPECT_TRUE(q.out.trimmed().endsWith("31")) << q.out.toStdString();

    const Outcome noTerminal = run({"quality"}, {}, {});
    EXPECT_EQ(noTerminal.exitCode, 66);
    EXPECT_TRUE(noTerminal.err.contains("terminal"));
}

}  // namespace
