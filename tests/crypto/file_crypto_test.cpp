// The encrypted file format: identification, output names, round trips, wrong keys, damaged
// files and cancelled runs, each checked on the disk afterwards.
#include "crypto/file_crypto.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>

#include "crypto/file_format.h"
#include "crypto/huffman_codec.h"
#include "crypto/korva_state.h"
#include "crypto_files.h"
#include "recording_sink.h"

namespace vx::korva {
namespace {

using test::CraftedFile;
using test::listing;
using test::readAll;
using test::writeAll;

const QString kKey = QStringLiteral("Correct Horse 9");
const QString kPrivate = QStringLiteral("inner");

QByteArray randomBytes(qsizetype n, quint32 seed) {
    QRandomGenerator rng(seed);
    QByteArray b(n, Qt::Uninitialized);
    for (auto& c : b) c = static_cast<char>(rng.bounded(256));
    return b;
}

// Text-like bytes that compress into an "HE3" block.
QByteArray compressibleBytes(qsizetype n, quint32 seed) {
    QRandomGenerator rng(seed);
    QByteArray b(n, Qt::Uninitialized);
    for (auto& c : b) c = "eeeeeetttaaoinshr  \n"[rng.bounded(20)];
    return b;
}

class FileCryptoTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QString make(const QString& name, const QByteArray& bytes) const {
        writeAll(path(name), bytes);
        return path(name);
    }
    void expectFailure(int code, const QString& source, const QString& result) const {
        EXPECT_EQ(state().ErrorCode, code);
        EXPECT_EQ(result, source);
        EXPECT_FALSE(state().ErrorMessage.isEmpty());
    }
    QTemporaryDir dir;
    test::ModuleGuard guard;
};

TEST_F(FileCryptoTest, KeySourceAndEmptyChecksComeFirst) {
    const QString missing = path(QStringLiteral("missing.txt"));
    expectFailure(3, missing, FileCrypto(missing, missing, QStringLiteral("abcd"), {}));
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Key too small/is repeating (Error 3)"));
    expectFailure(3, missing, FileCrypto(missing, missing, QStringLiteral("ababab"), {}));
    expectFailure(4, missing, FileCrypto(missing, missing, kKey, {}));
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Source file not found (Error 4)"));
    expectFailure(4, dir.path(), FileCrypto(dir.path(), dir.path(), kKey, {}));
    const QString empty = make(QStringLiteral("empty.txt"), {});
    expectFailure(6, empty, FileCrypto(empty, empty, kKey, {}));
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Cannot process empty file (Error 6)"));
    EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("empty.txt")});
}

TEST_F(FileCryptoTest, IdentificationByBannerThenByName) {
    const QByteArray banner = cryptoFileBanner();
    ASSERT_EQ(banner.size(), 29);
    EXPECT_EQ(IdentifyCryptoFile(make(QStringLiteral("any.doc"), banner + "xyz")), 1);
    EXPECT_EQ(IdentifyCryptoFile(make(QStringLiteral("plain.uzp"), "hello")), 2);
    EXPECT_EQ(IdentifyCryptoFile(make(QStringLiteral("PLAIN.UZP"), "hello")), 2);
    EXPECT_EQ(IdentifyCryptoFile(make(QStringLiteral("mixed.uZp"), "hello")), 2);
    EXPECT_EQ(IdentifyCryptoFile(make(QStringLiteral("short.bin"), banner.left(28))), 0);
    QByteArray damaged = banner;
    damaged[19] = 'c';  // the 0xA9 byte
    EXPECT_EQ(IdentifyCryptoFile(make(QStringLiteral("damaged.bin"), damaged + "abc")), 0);
    EXPECT_EQ(IdentifyCryptoFile(path(QStringLiteral("none.uzp"))), 2);
    EXPECT_EQ(IdentifyCryptoFile(path(QStringLiteral("none.bin"))), 0);
}

TEST_F(FileCryptoTest, UzpNameWithoutBannerIsRefused) {
    const QString src = make(QStringLiteral("letter.UZP"), "not encrypted");
    expectFailure(20, src, FileCrypto(src, src, kKey, {}));
    EXPECT_EQ(state().ErrorMessage,
              QStringLiteral("Crypto file version unknown/contains errors (Error 20)"));
    EXPECT_EQ(readAll(src), QByteArray("not encrypted"));
}

TEST_F(FileCryptoTest, InPlaceRoundTripRenamesThroughUzp) {
    const QByteArray content = compressibleBytes(70000, 1);
    const QString doc = make(QStringLiteral("report.DOC"), content);
    const QString uzp = FileCrypto(doc, doc, kKey, kPrivate);
    ASSERT_EQ(state().ErrorCode, 0) << state().ErrorMessage.toStdString();
    EXPECT_EQ(uzp, path(QStringLiteral("report.uzp")));
    EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("report.uzp")});

    const test::OpenedFile opened = test::openEncrypted(readAll(uzp), "Correct Horse 9", "inner");
    EXPECT_EQ(opened.extension, QByteArray("doc"));
    EXPECT_TRUE(opened.checkMatches);
    EXPECT_TRUE(opened.block.startsWith("HE3\r"));
    EXPECT_EQ(readAll(uzp).size(), 29 + opened.saltLength + 3 + 1 + opened.block.size() + 2);

    const QString back = FileCrypto(uzp, uzp, kKey, kPrivate);
    ASSERT_EQ(state().ErrorCode, 0) << state().ErrorMessage.toStdString();
    EXPECT_EQ(back, path(QStringLiteral("report.doc")));
    EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("report.doc")});
    EXPECT_EQ(readAll(back), content);
}

TEST_F(FileCryptoTest, OtherTargetKeepsTheSource) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("out")));
    const QByteArray content = randomBytes(12345, 2);  // stored as "HE0"
    const QString src = make(QStringLiteral("photo.JPG"), content);
    const QString uzp = FileCrypto(src, path(QStringLiteral("out/sent.bin")), kKey, {});
    ASSERT_EQ(state().ErrorCode, 0);
    EXPECT_EQ(uzp, path(QStringLiteral("out/sent.uzp")));
    EXPECT_EQ(readAll(src), content);

    const QString plain = FileCrypto(uzp, path(QStringLiteral("out/restored")), kKey, {});
    ASSERT_EQ(state().ErrorCode, 0);
    EXPECT_EQ(plain, path(QStringLiteral("out/restored.jpg")));
    EXPECT_EQ(readAll(plain), content);
    EXPECT_TRUE(QFile::exists(uzp));  // target differs from source: nothing removed
}

TEST_F(FileCryptoTest, TargetNamesWithoutPointOrWithPointedFolder) {
    const QString src = make(QStringLiteral("notes.txt"), "some notes, some notes");
    EXPECT_EQ(FileCrypto(src, path(QStringLiteral("bare")), kKey, {}),
              path(QStringLiteral("bare.uzp")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("my.dir")));
    // the last point of the whole path is the folder's
    EXPECT_EQ(FileCrypto(src, path(QStringLiteral("my.dir/report")), kKey, {}),
              path(QStringLiteral("my.uzp")));
    EXPECT_EQ(state().ErrorCode, 0);
}

TEST_F(FileCryptoTest, SourceWithoutExtensionComesBackWithout) {
    const QString src = make(QStringLiteral("Makefile"), "all:\n\ttrue\n");
    const QString uzp = FileCrypto(src, src, kKey, {});
    ASSERT_EQ(uzp, path(QStringLiteral("Makefile.uzp")));
    EXPECT_TRUE(test::openEncrypted(readAll(uzp), "Correct Horse 9", "").extension.isEmpty());
    EXPECT_EQ(FileCrypto(uzp, uzp, kKey, {}), src);
    EXPECT_EQ(readAll(src), QByteArray("all:\n\ttrue\n"));
    EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("Makefile")});
}

TEST_F(FileCryptoTest, EveryEncodingDiffersAndEachDecodes) {
    const QByteArray content("the same content twice");
    const QString src = make(QStringLiteral("same.txt"), content);
    const QString a = FileCrypto(src, path(QStringLiteral("a")), kKey, {});
    const QString b = FileCrypto(src, path(QStringLiteral("b")), kKey, {});
    EXPECT_NE(readAll(a), readAll(b));
    EXPECT_EQ(readAll(FileCrypto(a, path(QStringLiteral("a2")), kKey, {})), content);
    EXPECT_EQ(readAll(FileCrypto(b, path(QStringLiteral("b2")), kKey, {})), content);
}

TEST_F(FileCryptoTest, WrongKeyOrPrivateKeyWritesNothing) {
    const QString src = make(QStringLiteral("secret.txt"), compressibleBytes(3000, 3));
    const QString uzp = FileCrypto(src, src, kKey, kPrivate);
    ASSERT_EQ(state().ErrorCode, 0);
    const QByteArray sealed = readAll(uzp);
    const QStringList before = listing(dir.path());
    const QString wrong[][2] = {{QStringLiteral("Correct Horse 8"), kPrivate},
                                {kKey, QStringLiteral("outer")},
                                {kKey, QString()},
                                {QStringLiteral("completely different"), QString()}};
    for (const auto& k : wrong) {
        const QString r = FileCrypto(uzp, uzp, k[0], k[1]);
        EXPECT_EQ(r, uzp);
        EXPECT_TRUE(state().ErrorCode == 23 || state().ErrorCode == 22) << state().ErrorCode;
        EXPECT_EQ(listing(dir.path()), before);
        EXPECT_EQ(readAll(uzp), sealed);
    }
    for (int i = 0; i < 200; ++i) {  // many keys: any outcome but success, never a file
        FileCrypto(uzp, uzp, QStringLiteral("wrong key %1").arg(i), kPrivate);
        ASSERT_NE(state().ErrorCode, 0);
        ASSERT_EQ(listing(dir.path()), before);
    }
    FileCrypto(uzp, uzp, QStringLiteral("Correct Horse 8"), kPrivate);
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Failed decoding the file (Error 23)"));
}

// Regression: an encrypted file renamed to the name its stored extension gives back, decoded
// in place, was replaced by its output and then deleted as the "source".
TEST_F(FileCryptoTest, OutputThatReplacedTheSourceIsKept) {
    const QString src = make(QStringLiteral("x.txt"), "the plain text the user wants");
    const QString uzp = FileCrypto(src, src, kKey, {});
    ASSERT_EQ(uzp, path(QStringLiteral("x.uzp")));
    ASSERT_TRUE(QFile::rename(uzp, src));
    EXPECT_EQ(FileCrypto(src, src, kKey, {}), src);
    EXPECT_EQ(state().ErrorCode, 0);
    EXPECT_EQ(readAll(src), QByteArray("the plain text the user wants"));
    EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("x.txt")});
}

TEST_F(FileCryptoTest, ExistingOutputIsReplaced) {
    const QString src = make(QStringLiteral("data.csv"), "a,b,c\n1,2,3\n");
    make(QStringLiteral("data.uzp"), "old file in the way");
    EXPECT_EQ(FileCrypto(src, src, kKey, {}), path(QStringLiteral("data.uzp")));
    EXPECT_EQ(IdentifyCryptoFile(path(QStringLiteral("data.uzp"))), 1);
}

TEST_F(FileCryptoTest, DamagedFilesEndInErrorCodesAndWriteNothing) {
    const QByteArray key = "Correct Horse 9";
    QByteArray he0 = QByteArray("HE0\r") + "restored";
    struct Case {
        const char* what;
        CraftedFile file;
        std::vector<int> codes;
    };
    std::vector<Case> cases;
    CraftedFile good;
    good.block = he0;
    cases.push_back({"banner only", [&] { auto f = good; f.truncateTo = 29; return f; }(), {23}});
    cases.push_back({"salt cut short", [&] { auto f = good; f.truncateTo = 50; return f; }(), {23}});
    cases.push_back({"no 0 after extension",
                     [&] { auto f = good; f.terminate = false; f.extension = "abc";
                           f.block = QByteArray(10, 'z'); return f; }(), {22}});
    cases.push_back({"check value altered", [&] { auto f = good; f.checkDelta = 1; return f; }(),
                     {23}});
    cases.push_back({"not a block", [&] { auto f = good; f.block = "XYZ\rdata"; return f; }(),
                     {22}});
    cases.push_back({"unknown block kind", [&] { auto f = good; f.block = "HE7\rdata"; return f; }(),
                     {22}});
    cases.push_back({"block shorter than its identification",
                     [&] { auto f = good; f.block = "HE"; return f; }(), {22}});
    cases.push_back({"no block at all", [&] { auto f = good; f.block.clear(); return f; }(), {22}});
    cases.push_back({"extension climbing out",
                     [&] { auto f = good; f.extension = "x/../../evil"; return f; }(), {22}});
    cases.push_back({"file cut inside the block",
                     [&] { auto f = good; f.block = compressibleBytes(2000, 4);
                           f.truncateTo = 29 + 40 + 4 + 500; return f; }(), {22, 23}});
    for (const Case& c : cases) {
        const QString src = make(QStringLiteral("damaged.uzp"), c.file.build(key, ""));
        const QStringList before = listing(dir.path());
        EXPECT_EQ(FileCrypto(src, src, kKey, {}), src) << c.what;
        EXPECT_NE(std::find(c.codes.begin(), c.codes.end(), state().ErrorCode), c.codes.end())
            << c.what << ": code " << state().ErrorCode;
        EXPECT_EQ(listing(dir.path()), before) << c.what;
        if (state().ErrorCode == 22) {
            EXPECT_TRUE(state().ErrorMessage.startsWith(QStringLiteral("File error: ")) &&
                        state().ErrorMessage.endsWith(QStringLiteral(" (Error 22)")))
                << c.what;
        }
    }
    // The crafted layout itself is right: unharmed, it decodes.
    const QString src = make(QStringLiteral("fine.uzp"), good.build(key, ""));
    EXPECT_EQ(FileCrypto(src, src, kKey, {}), path(QStringLiteral("fine.txt")));
    EXPECT_EQ(readAll(path(QStringLiteral("fine.txt"))), QByteArray("restored"));
}

TEST_F(FileCryptoTest, ChecksumMismatchIsReportedAndNotWritten) {
    QByteArray block = compressibleBytes(5000, 5);
    HuffmanEncode(block, block.size());
    ASSERT_TRUE(block.startsWith("HE3\r"));
    block[4] = static_cast<char>(block[4] ^ 0x5A);
    CraftedFile f;
    f.block = block;
    const QString src = make(QStringLiteral("sum.uzp"), f.build("Correct Horse 9", ""));
    EXPECT_EQ(FileCrypto(src, src, kKey, {}), src);
    EXPECT_EQ(state().ErrorCode, 5);
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Compression checksum error (Error 5)"));
    EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("sum.uzp")});
}

TEST_F(FileCryptoTest, UnwritableFolderGivesFileErrorAndKeepsSource) {
    const QString src = make(QStringLiteral("keep.txt"), "keep me");
    const QString target = path(QStringLiteral("no/such/folder/keep.txt"));
    EXPECT_EQ(FileCrypto(src, target, kKey, {}), src);
    EXPECT_EQ(state().ErrorCode, 12);
    EXPECT_TRUE(state().ErrorMessage.startsWith(QStringLiteral("File error: ")));
    EXPECT_EQ(readAll(src), QByteArray("keep me"));
    EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("keep.txt")});
}

TEST_F(FileCryptoTest, ProgressRunsUpAndEndsCleared) {
    const QString src = make(QStringLiteral("big.txt"), compressibleBytes(300000, 6));
    const QString uzp = FileCrypto(src, src, kKey, {});
    ASSERT_EQ(state().ErrorCode, 0);
    std::vector<int>& d = guard.sink.drawn;
    ASSERT_FALSE(d.empty());
    EXPECT_EQ(d.back(), 0);
    EXPECT_GE(*std::max_element(d.begin(), d.end() - 1), 95);
    EXPECT_LE(*std::max_element(d.begin(), d.end()), 100);
    d.clear();
    FileCrypto(uzp, uzp, kKey, {});
    ASSERT_EQ(state().ErrorCode, 0);
    EXPECT_EQ(d.back(), 0);
    EXPECT_GE(*std::max_element(d.begin(), d.end()), 95);
}

class FileCryptoAbort : public FileCryptoTest {
protected:
    void expectDiskUnchanged(int code, const QString& src, const QByteArray& content,
                             const QStringList& before) {
        EXPECT_EQ(state().ErrorCode, code);
        EXPECT_EQ(readAll(src), content);
        EXPECT_EQ(listing(dir.path()), before);
        ASSERT_FALSE(guard.sink.drawn.empty());
        EXPECT_EQ(guard.sink.drawn.back(), 0);
    }
};

TEST_F(FileCryptoAbort, DuringCompression) {
    const QByteArray content = compressibleBytes(100000, 7);
    const QString src = make(QStringLiteral("big.txt"), content);
    const QStringList before = listing(dir.path());
    guard.abortAtYield(1);
    EXPECT_EQ(FileCrypto(src, src, kKey, {}), src);
    expectDiskUnchanged(11, src, content, before);
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Encoding has been aborted by user"));
}

TEST_F(FileCryptoAbort, DuringEnciphering) {
    const QByteArray content = randomBytes(100000, 8);
    const QString src = make(QStringLiteral("big.bin"), content);
    const QStringList before = listing(dir.path());
    bool ciphering = false;
    setYieldHook([&] {
        // progress of 56 and more is drawn only by the cipher loop
        if (state().LastProgress >= 56) {
            ciphering = true;
            state().AbortFlag = true;
        }
    });
    EXPECT_EQ(FileCrypto(src, src, kKey, {}), src);
    EXPECT_TRUE(ciphering);
    expectDiskUnchanged(11, src, content, before);
}

TEST_F(FileCryptoAbort, DuringDecipheringAndDuringExpansion) {
    const QByteArray content = compressibleBytes(200000, 9);
    const QString src = make(QStringLiteral("big.txt"), content);
    const QString uzp = FileCrypto(src, src, kKey, {});
    ASSERT_EQ(state().ErrorCode, 0);
    const QByteArray sealed = readAll(uzp);
    const QStringList before = listing(dir.path());

    guard.abortAtYield(1);  // deciphering yields first
    EXPECT_EQ(FileCrypto(uzp, uzp, kKey, {}), uzp);
    expectDiskUnchanged(21, uzp, sealed, before);
    EXPECT_EQ(state().ErrorMessage, QStringLiteral("Decoding has been aborted by user"));

    const test::OpenedFile opened = test::openEncrypted(sealed, "Correct Horse 9", "");
    ASSERT_TRUE(opened.block.startsWith("HE3\r"));
    const int decipherYields = int((opened.block.size() - 1) / 5000) + 1;
    guard.yields = 0;
    guard.sink.drawn.clear();
    guard.abortAtYield(decipherYields + 1);  // the first yield of the expansion
    EXPECT_EQ(FileCrypto(uzp, uzp, kKey, {}), uzp);
    expectDiskUnchanged(21, uzp, sealed, before);
    EXPECT_EQ(guard.yields, decipherYields + 1);
}

}  // namespace
}  // namespace vx::korva
