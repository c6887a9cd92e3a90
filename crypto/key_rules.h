// The rules a key must meet, and the quality percentage shown next to the key box.
#pragma once

#include <QString>

namespace vx::korva {

// False for a key of fewer than 5 characters, or one made of a whole number (2 or more) of
// copies of one block (exact, case-sensitive). Works on the key's bytes in the module's code
// page, which are what the cipher uses.
bool IsKeyValid(const QString& key);

// 0 for a key that fails IsKeyValid; otherwise 3 per character, times 1.2 with upper- and
// lower-case letters, times 1.4 with a digit beside letters, times 1.5 with a character outside
// letters, digits and codes 91..96; each product rounded halves to even, at most 100.
int KeyQuality(const QString& key);

// True when every character of the key has a byte in the module's code page. Others would all
// become the same byte, so that different keys would open each other's files.
bool KeyFitsCodePage(const QString& key);

// What the key boxes show beside a key: "Key Quality: " + KeyQuality(key) + "%".
QString keyQualityCaption(const QString& key);

}  // namespace vx::korva
