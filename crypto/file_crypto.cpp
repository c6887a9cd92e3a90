// Encrypted file format: encoding, decoding and identification.
#include "crypto/file_crypto.h"

#include <QFile>
#include <QFileInfo>
#include <exception>
#include <new>
#include <sys/stat.h>

#include "crypto/ansi_text.h"
#include "crypto/error_codes.h"
#include "crypto/file_format.h"
#include "crypto/file_names.h"
#include "crypto/key_rules.h"
#include "crypto/file_stream.h"
#include "crypto/korva_state.h"
#include "crypto/whole_file.h"

namespace vx::korva {
namespace {

constexpr qsizetype kBannerSize = 29;

// Ends an operation with a code: progress cleared, Source returned.
QString fail(int code, const QString& source, const QString& why = QString()) {
    state().ErrorCode = code;
    state().FileErrorText = why;
    DrawProgress(0);
    return source;
}

// The source goes only when the caller asked to replace it and the output did not already
// take its place (a decoded file whose stored name equals the source's own name).
Status removeReplacedSource(const QString& source, const QString& target, const QString& output) {
    if (target != source || !QFileInfo::exists(source)) return Status::ok();
    const QFileInfo in(source), out(output);
    if (in.canonicalFilePath() == out.canonicalFilePath()) return Status::ok();
    QFile file(source);
    if (!file.remove()) return Status::error(file.errorString());
    return Status::ok();
}

// Why a stored extension cannot end the output's name, or an empty text. It may hold folder
// separators (files written before extensions came from the file name alone), but must not
// climb out of the target's folder, and holds no control characters.
QString unsafeExtension(const QByteArray& ext) {
    if (ext.split('/').contains(QByteArrayLiteral("..")))
        return QStringLiteral("The stored extension leads out of the target's folder");
    for (const char c : ext)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            return QStringLiteral("The stored extension holds control characters");
    return QString();
}

QString encodeFileUnguarded(const QString& source, const QString& target, const QString& key,
                            const QString& privateKey) {
    const QString output = EncryptedFileName(target);
    QString why;
    const int code =
        encodeStreamed(source, output, ansiBytes(GetFileExt(source)), key, privateKey, why);
    if (code != 0) return fail(code, source, why);
    DrawProgress(0);
    const Status removed = removeReplacedSource(source, target, output);
    if (!removed) return fail(kEncodeFileError, source, removed.message());
    return output;
}

// The restored file's name from the stored extension, or an empty text and why not.
QString restoredName(const QString& target, const QByteArray& extBytes, QString& why) {
    why = unsafeExtension(extBytes);
    if (!why.isEmpty()) return QString();
    QString extension = ansiText(extBytes);
    if (!extension.isEmpty()) extension.prepend(QLatin1Char('.'));
    return StripFileExt(target) + extension;
}

QString decodeFileUnguarded(const QString& source, const QString& target, const QString& key,
                            const QString& privateKey) {
    QString output, why;
    const int code = decodeStreamed(source, target, restoredName, key, privateKey, output, why);
    if (code != 0) return fail(code, source, why);
    const Status removed = removeReplacedSource(source, target, output);
    if (!removed) return fail(kDecodeFileError, source, removed.message());
    DrawProgress(0);
    return output;
}

// Run-time failures inside an operation (memory exhausted, a codec fault) end as its file
// error code, like any other error.
template <typename Op>
QString guarded(int errorCode, const QString& source, Op op) {
    try {
        return op();
    } catch (const std::bad_alloc&) {
        return fail(errorCode, source, QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        return fail(errorCode, source, QString::fromLocal8Bit(e.what()));
    }
}

// What a source that is no regular file is, for the message of code 4 (empty: not found). A
// link replaced in place would leave the file it points to, so it is refused as a source
// that is also the target.
QString notAFile(const QString& source) {
    const QFileInfo info(source);
    if (info.isSymLink() && info.isFile())
        return QStringLiteral("Source is a symbolic link: give the file it points to, or another "
                              "target");
    if (!info.exists()) return QString();
    if (info.isDir()) return QStringLiteral("Source is a folder, not a file");
    struct stat st {};
    if (::stat(QFile::encodeName(source).constData(), &st) == 0) {
        if (S_ISFIFO(st.st_mode)) return QStringLiteral("Source is a named pipe (FIFO), not a file");
        if (S_ISSOCK(st.st_mode)) return QStringLiteral("Source is a socket, not a file");
        if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
            return QStringLiteral("Source is a device, not a file");
    }
    return QString();
}

}  // namespace

int IdentifyCryptoFile(const QString& path) {
    if (readFileHead(path, kBannerSize) == cryptoFileBanner()) return 1;
    if (path.right(4).toUpper() == QStringLiteral(".UZP")) return 2;
    return 0;
}

QString EncodeFile(const QString& Source, const QString& Target, const QString& Key,
                   const QString& PrivateKey) {
    state().AbortFlag = false;
    return guarded(kEncodeFileError, Source,
                   [&] { return encodeFileUnguarded(Source, Target, Key, PrivateKey); });
}

QString DecodeFile(const QString& Source, const QString& Target, const QString& Key,
                   const QString& PrivateKey) {
    state().AbortFlag = false;
    return guarded(kDecodeFileError, Source,
                   [&] { return decodeFileUnguarded(Source, Target, Key, PrivateKey); });
}

QString FileCrypto(const QString& Source, const QString& Target, const QString& Key,
                   const QString& PrivateKey) {
    ModuleState& s = state();
    s.ErrorCode = 0;
    s.ErrorMessage.clear();
    s.FileErrorText.clear();
    QString result = Source;
    if (!IsKeyValid(Key)) {
        s.ErrorCode = kBadKey;
    } else if (!KeyFitsCodePage(Key) || !KeyFitsCodePage(PrivateKey)) {
        s.ErrorCode = kKeyCodePage;
    } else if (!FileExists(Source) || (Target == Source && QFileInfo(Source).isSymLink())) {
        s.ErrorCode = kSourceMissing;
        s.FileErrorText = notAFile(Source);
    } else if (QFileInfo(Source).size() < 1) {
        s.ErrorCode = kEmptyFile;
    } else {
        switch (IdentifyCryptoFile(Source)) {
            case 0: result = EncodeFile(Source, Target, Key, PrivateKey); break;
            case 1: result = DecodeFile(Source, Target, Key, PrivateKey); break;
            default: s.ErrorCode = kFileVersion; break;
        }
    }
    SetErrorMessage();
    return s.ErrorCode != 0 ? Source : result;
}

}  // namespace vx::korva
