// The module's text entry: a plain text is compressed, enciphered and wrapped in an armoured
// block of Base64 lines between marker lines; an armoured block is recognised by its markers
// and turned back into the plain text.
#pragma once

#include <QString>

namespace vx::korva {

// The marker lines, each with the line break that joins it to the body.
inline constexpr char kArmourBegin[] = "--- BEGIN KORVA MESSAGE ---\r\n";
inline constexpr char kArmourVersion[] = "Version: KORVA v1.0.3\r\n";
inline constexpr char kArmourEnd[] = "\r\n--- END OF MESSAGE ---";

// Armours a plain text or restores an armoured one, as IdentifyCryptoText decides on the
// trimmed text. Resets the error fields and the abort flag; yields and draws progress.
// On failure returns Text unchanged, with state().ErrorCode set (1, 3, 5, 10, 11, 21, 30, 33)
// and state().ErrorMessage describing it.
QString TextCrypto(const QString& Text, const QString& Key, const QString& PrivateKey);

// The two directions on a trimmed text. EncodeText returns the armour, or an empty text after
// an abort (code 11). DecodeText returns the plain text, or an empty text with code 33 (wrong
// key, damaged body), 5 (checksum) or 21 (abort).
QString EncodeText(const QString& T, const QString& Key, const QString& PrivateKey);
QString DecodeText(const QString& T, const QString& Key, const QString& PrivateKey);

// 0 plain, 1 armoured, 2 armoured with another version line, 3 only one of the markers.
int IdentifyCryptoText(const QString& T);

// The text without leading and trailing blanks, tabs, CR and LF.
QString TrimWhiteSpace(const QString& text);

}  // namespace vx::korva
