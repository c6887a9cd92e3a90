// The encrypted file format: checks, identification, output names and damaged files, each
// checked on the disk after. (Sizes, samples and cancelled runs: file_stream_test.)
#include "crypto/file_crypto.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <tuple>

#include "crypto/error_codes.h"
#include "crypto/huffman_codec.h"
#include "crypto_files.h"
#include "sample_data.h"

namespace vx::korva {
namespace {

using test::listing;
using test::readFile;

const QString kKey = QStringLiteral("Correct Horse 9");

class FileCryptoTest : public test::CryptoFolder {
protected:
    // Runs FileCrypto and checks that it failed with the code and the message ("": the code's).
    void expectFailure(const QString& source, const QString& target, const QString& key,
                       const QString& pk, int code, const QString& message = {}) {
        EXPECT_EQ(FileCrypto(source, target, key, pk), source);
        EXPECT_EQ(state().ErrorCode, code) << source.toStdString();
        EXPECT_EQ(state().ErrorMessage,
                  message.isEmpty() ? errorMessageFor(code, state().FileErrorText) : message);
    }
};

TEST_F(FileCryptoTest, FailuresBeforeTheOutputIsWrittenLeaveTheDisk) {
    const QString missing = path("missing.txt"), empty = make("empty.txt", {});
    const QString uzp = make("letter.UZP", "not encrypted"), keep = make("keep.txt", "keep me");
    const QString fifo = path("pipe"), link = path("link.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(keep, link));
    const QString notFile = QStringLiteral("Source is %1, not a file (Error 4)");
    const QString codePage =
        QStringLiteral("Key or private key holds characters outside Windows-1252 (Error 7)");
    // Key, private key, source, target, code, message ("": the code's own).
    // clang-format off
    const std::tuple<QString, QString, QString, QString, int, QString> cases[] = {
        {"abcd", "", missing, missing, 3, ""},  // the key is checked first
        {kKey, "", missing, missing, 4, ""}, {kKey, "", empty, empty, 6, ""},
        {kKey, "", dir.path(), dir.path(), 4, notFile.arg("a folder")},
        {kKey, "", fifo, fifo, 4, notFile.arg("a named pipe (FIFO)")},
        {kKey, "", link, link, 4, "Source is a symbolic link: give the file it points to, or "
                                  "another target (Error 4)"},
        {"Пароль2024", "", keep, keep, 7, codePage}, {kKey, "Секрет", keep, keep, 7, codePage},
        {kKey, "", uzp, uzp, 20, ""},        {kKey, "", keep, path("no/such/folder/keep.txt"), 12, ""}};
    // clang-format on
    for (const auto& [key, pk, source, target, code, message] : cases)
        expectFailure(source, target, key, pk, code, message);
    EXPECT_FALSE(state().FileErrorText.isEmpty());
    EXPECT_EQ(listing(dir.path()), QStringList({"empty.txt", "keep.txt", "letter.UZP", "link.txt"}));
    EXPECT_EQ(readFile(uzp), "not encrypted");
    // A link with another target is read through: the file it points to is encrypted.
    EXPECT_EQ(FileCrypto(link, path("sealed"), kKey, {}), path("sealed.uzp"));
}

// An existing output other than the source is replaced only when the question says yes; a link
// in its place is replaced itself, never the file it points to.
TEST_F(FileCryptoTest, AnExistingOutputIsReplacedOnlyWhenAllowed) {
    QDir(dir.path()).mkdir("elsewhere");
    const QString other = make("elsewhere/precious.txt", "only copy");
    // What is in the way (a file or a link to `other`), the answer; whether it was replaced.
    const std::tuple<bool, bool, bool> cases[] = {
        {false, false, false}, {false, true, true}, {true, false, false}, {true, true, true}};
    for (const auto& [asLink, yes, replaced] : cases) {
        const QString src = make("report.txt", "the new report");
        QFile::remove(path("report.uzp"));
        if (asLink) ASSERT_TRUE(QFile::link(other, path("report.uzp")));
        else make("report.uzp", "only copy");
        QStringList asked;
        state().ConfirmReplace = [&](const QString& f) { asked << f; return yes; };
        FileCrypto(src, src, kKey, {});
        EXPECT_EQ(asked, QStringList{path("report.uzp")});
        EXPECT_EQ(state().ErrorCode, replaced ? 0 : 12);
        EXPECT_EQ(QFileInfo(path("report.uzp")).isSymLink(), asLink && !replaced);
        EXPECT_EQ(readFile(other), "only copy");
        EXPECT_EQ(QFile::exists(src), !replaced);
        if (replaced) {  // restoring over the plain file asks too
            make("report.txt", "older");
            EXPECT_EQ(FileCrypto(path("report.uzp"), path("report.uzp"), kKey, {}), path("report.txt"));
            EXPECT_EQ(asked, QStringList({path("report.uzp"), path("report.txt")}));
            EXPECT_EQ(readFile(path("report.txt")), "the new report");
        }
    }
}

TEST_F(FileCryptoTest, IdentificationByBannerThenByName) {
    const QByteArray banner = cryptoFileBanner();
    QByteArray damaged = banner;
    damaged[19] = 'c';  // the 0xA9 byte
    // clang-format off
    const std::tuple<const char*, QByteArray, int> cases[] = {
        {"any.doc", banner + "xyz", 1}, {"mixed.uZp", "hello", 2},
        {"short.bin", banner.left(28), 0}, {"damaged.bin", damaged + "x", 0}};
    // clang-format on
    for (const auto& [name, bytes, kind] : cases)
        EXPECT_EQ(IdentifyCryptoFile(make(name, bytes)), kind) << name;
    EXPECT_EQ(IdentifyCryptoFile(path("none.UZP")), 2);  // the name alone
}

TEST_F(FileCryptoTest, OutputNamesAndTheSourceAfterARoundTrip) {
    // Each row in a folder of its own: the source, the target of encoding ("": the source), the
    // encrypted file, the target of decoding ("": the encrypted file), the restored file, and
    // what the folder holds at the end. The contents compress, do not compress, or are short.
    const char* cases[][6] = {
        {"report.DOC", "", "report.uzp", "", "report.doc", "out report.doc"},
        {"photo.JPG", "out/sent.bin", "out/sent.uzp", "out/back", "out/back.jpg", "out photo.JPG"},
        {"Makefile", "", "Makefile.uzp", "", "Makefile", "Makefile out"},
        {"notes.txt", "bare", "bare.uzp", "plain", "plain.txt", "bare.uzp notes.txt out plain.txt"},
        // Stem and extension come from the file name alone.
        {"notes.txt", "my.dir/report", "my.dir/report.uzp", "", "my.dir/report.txt",
         "my.dir notes.txt out"},
    };
    for (int row = 0; row < int(std::size(cases)); ++row) {
        const auto& [source, encodeTo, encoded, decodeTo, decoded, left] = cases[row];
        const QByteArray content = row == 0   ? sample::englishLikeText(70000)
                                   : row == 1 ? sample::randomBytes(12345)
                                              : QByteArray("all:\n\ttrue\n");
        const QString at = QString::number(row) + '/';
        QDir().mkpath(path(at + "out"));
        QDir().mkpath(path(at + QFileInfo(encoded).path()));
        const QString src = make(at + source, content);
        make(at + encoded, "an older file in the way");  // replaced without asking
        const QString uzp = FileCrypto(src, *encodeTo ? path(at + encodeTo) : src, kKey, {});
        ASSERT_EQ(uzp, path(at + encoded)) << state().ErrorMessage.toStdString();
        const QString back = FileCrypto(uzp, *decodeTo ? path(at + decodeTo) : uzp, kKey, {});
        ASSERT_EQ(back, path(at + decoded)) << state().ErrorMessage.toStdString();
        EXPECT_EQ(readFile(back), content);
        EXPECT_EQ(listing(path(at)).join(' '), left);
        EXPECT_EQ(guard.sink.drawn.back(), 0);
    }
    EXPECT_GE(*std::max_element(guard.sink.drawn.begin(), guard.sink.drawn.end()), 95);
}

TEST_F(FileCryptoTest, DamagedFilesEndInErrorCodesAndWriteNothing) {
    QByteArray badSum = sample::englishLikeText(5000);
    HuffmanEncode(badSum, badSum.size());
    badSum[4] = static_cast<char>(badSum[4] ^ 0x5A);
    const std::pair<test::CraftedFile, int> cases[] = {
        {{.truncateTo = 29}, 22},  // the banner alone: reading past the end
        {{.truncateTo = 50}, 23},  // the salt runs past the end
        {{.terminate = false, .block = QByteArray(10, 'z')}, 22},  // no 0 after the extension
        {{.checkDelta = 1}, 23},
        {{.block = sample::englishLikeText(2000), .truncateTo = 573}, 23},  // cut in the block
        // clang-format off
        {{.block = "HE7\rdata"}, 22}, {{.block = ""}, 22}, {{.extension = "x/../../evil"}, 22},
        {{.extension = "t\nxt"}, 22}, {{.extension = "tx\x7f"}, 22}, {{.block = badSum}, 5}};
    // clang-format on
    for (const auto& [file, code] : cases) {
        const QString src = make("damaged.uzp", file.build("Correct Horse 9"));
        expectFailure(src, src, kKey, {}, code);
        EXPECT_EQ(listing(dir.path()), QStringList{"damaged.uzp"});
    }
    const QString fine = make("fine.uzp", test::CraftedFile().build("Correct Horse 9"));
    EXPECT_EQ(FileCrypto(fine, fine, kKey, {}), path("fine.txt"));  // the layout itself is right
    EXPECT_EQ(readFile(path("fine.txt")), "restored");
}

// Regression: an encrypted file renamed to the name its stored extension gives back, decoded
// in place, was replaced by its output and then deleted as the "source".
TEST_F(FileCryptoTest, OutputThatReplacedTheSourceIsKept) {
    const QString src = make("x.txt", "the plain text the user wants");
    ASSERT_TRUE(QFile::rename(FileCrypto(src, src, kKey, {}), src));
    EXPECT_EQ(FileCrypto(src, src, kKey, {}), src);
    EXPECT_EQ(readFile(src), "the plain text the user wants");
    EXPECT_EQ(listing(dir.path()), QStringList{"x.txt"});
}

}  // namespace
}  // namespace vx::korva
