// Name rules of the encrypted file format: the extension stored inside a file and the name an
// output file gets. Both work on the whole path text; the search for the last point does not
// stop at folder separators, so "my.dir/report" has the extension "dir/report".
#pragma once

#include <QString>

namespace vx::korva {

// Everything from the last "." of the path on removed; a path without "." stays whole.
QString StripFileExt(const QString& path);

// What follows the last "." of the path, in lower case; empty when there is no "." or the "."
// is the last character.
QString GetFileExt(const QString& path);

// The name an encrypted file gets for a target: StripFileExt(target) + ".uzp".
QString EncryptedFileName(const QString& target);

// True when the path names a file whose length can be read.
bool FileExists(const QString& path);

}  // namespace vx::korva
