// Messages of the module's error codes.
#include "crypto/error_codes.h"

#include "crypto/korva_state.h"

namespace vx::korva {

QString errorMessageFor(int code, const QString& fileErrorText) {
    switch (code) {
        case kNoText: return QStringLiteral("Cannot continue without text (Error 1)");
        case kNoKey: return QStringLiteral("Cannot continue without key (Error 2)");
        case kBadKey: return QStringLiteral("Key too small/is repeating (Error 3)");
        case kSourceMissing:
            return (fileErrorText.isEmpty() ? QStringLiteral("Source file not found")
                                            : fileErrorText) +
                   QStringLiteral(" (Error 4)");
        case kChecksum: return QStringLiteral("Compression checksum error (Error 5)");
        case kEmptyFile: return QStringLiteral("Cannot process empty file (Error 6)");
        case kKeyCodePage:
            return QStringLiteral(
                "Key or private key holds characters outside Windows-1252 (Error 7)");
        case kTextVersion: return QStringLiteral("Crypto version unknown/contains errors (Error 10)");
        case kEncodeAborted: return QStringLiteral("Encoding has been aborted by user");
        case kEncodeFileError:
            return QStringLiteral("File error: ") + fileErrorText + QStringLiteral(" (Error 12)");
        case kFileVersion:
            return QStringLiteral("Crypto file version unknown/contains errors (Error 20)");
        case kDecodeAborted: return QStringLiteral("Decoding has been aborted by user");
        case kDecodeFileError:
            return QStringLiteral("File error: ") + fileErrorText + QStringLiteral(" (Error 22)");
        case kFileDecodeFailed: return QStringLiteral("Failed decoding the file (Error 23)");
        case kArmourIncomplete:
            return QStringLiteral(
                "Crypto header or footer format incomplete/contains errors (Error 30)");
        case kTextDecodeFailed: return QStringLiteral("Failed decoding the text (Error 33)");
        default: return QString();
    }
}

void SetErrorMessage() {
    ModuleState& s = state();
    s.ErrorMessage = errorMessageFor(s.ErrorCode, s.FileErrorText);
}

}  // namespace vx::korva
