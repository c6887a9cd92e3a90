// The encrypted file format: checks, identification, output names and damaged files, each
// checked on the disk after. (Sizes, samples and cancelled runs: file_stream_test.)
#include "crypto/file_crypto.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <tuple>

#include "crypto/error_codes.h"
#include "crypto/huffman_codec.h"
#include "crypto_files.h"
#include "module_guard.h"
#include "sample_data.h"

namespace vx::korva {
namespace {

using test::listing;
using test::readFile;

const QString kKey = QStringLiteral("Correct Horse 9");

class FileCryptoTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QString make(const QString& name, const QByteArray& bytes) const {
        return test::writeFile(path(name), bytes);
    }
    // Runs FileCrypto and checks that it failed with the code and its message.
    void expectFailure(const QString& source, const QString& target, const QString& key, int code) {
        EXPECT_EQ(FileCrypto(source, target, key, {}), source);
        EXPECT_EQ(state().ErrorCode, code) << source.toStdString();
        EXPECT_EQ(state().ErrorMessage, errorMessageFor(code, state().FileErrorText));
    }
    QTemporaryDir dir;
    test::ModuleGuard guard;
};

TEST_F(FileCryptoTest, FailuresBeforeTheOutputIsWrittenLeaveTheDisk) {
    const QString missing = path("missing.txt"), empty = make("empty.txt", {});
    const QString uzp = make("letter.UZP", "not encrypted"), keep = make("keep.txt", "keep me");
    // clang-format off
    const std::tuple<QString, QString, QString, int> cases[] = {  // key, source, target, code
        {"abcd", missing, missing, 3},  // the key is checked first
        {kKey, missing, missing, 4}, {kKey, dir.path(), dir.path(), 4}, {kKey, empty, empty, 6},
        {kKey, uzp, uzp, 20},        {kKey, keep, path("no/such/folder/keep.txt"), 12}};
    // clang-format on
    for (const auto& [key, source, target, code] : cases) expectFailure(source, target, key, code);
    EXPECT_FALSE(state().FileErrorText.isEmpty());
    EXPECT_EQ(listing(dir.path()), QStringList({"empty.txt", "keep.txt", "letter.UZP"}));
    EXPECT_EQ(readFile(uzp), "not encrypted");
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
        // The last point of the whole path is the folder's.
        {"notes.txt", "my.dir/report", "my.uzp", "", "my.txt", "my.txt notes.txt out"},
    };
    for (int row = 0; row < int(std::size(cases)); ++row) {
        const auto& [source, encodeTo, encoded, decodeTo, decoded, left] = cases[row];
        const QByteArray content = row == 0   ? sample::englishLikeText(70000)
                                   : row == 1 ? sample::randomBytes(12345)
                                              : QByteArray("all:\n\ttrue\n");
        const QString at = QString::number(row) + '/';
        QDir().mkpath(path(at + "out"));
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
        expectFailure(src, src, kKey, code);
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
