// The module's error codes and their messages, shared by the file and text formats.
#pragma once

#include <QString>

namespace vx::korva {

enum ErrorCodes : int {
    kNoText = 1,
    kNoKey = 2,
    kBadKey = 3,
    kSourceMissing = 4,
    kChecksum = 5,
    kEmptyFile = 6,
    kKeyCodePage = 7,
    kTextVersion = 10,
    kEncodeAborted = 11,
    kEncodeFileError = 12,
    kFileVersion = 20,
    kDecodeAborted = 21,
    kDecodeFileError = 22,
    kFileDecodeFailed = 23,
    kArmourIncomplete = 30,
    kTextDecodeFailed = 33,
};

// The message for a code; codes 12 and 22 carry the file error text, code 4 says what the
// source is instead when that text names it. Empty for 0 and for codes the module does not
// know.
QString errorMessageFor(int code, const QString& fileErrorText);

// Sets state().ErrorMessage from state().ErrorCode (and FileErrorText).
void SetErrorMessage();

}  // namespace vx::korva
