// Name rules of the encrypted file format: the extension stored inside a file and the name an
// output file gets. Both look at the file name alone, never at a folder's name: "my.dir/report"
// has no extension. A point that starts the name (".profile") belongs to the stem.
#pragma once

#include <QString>

namespace vx::korva {

// Everything from the last "." of the file name on removed; a name without one stays whole.
QString StripFileExt(const QString& path);

// What follows the last "." of the file name, in lower case; empty when there is none or the
// "." is the last character.
QString GetFileExt(const QString& path);

// The name an encrypted file gets for a target: StripFileExt(target) + ".uzp". The upload job
// names the file it sends with it too.
QString EncryptedFileName(const QString& target);

// True when the path names a file whose length can be read.
bool FileExists(const QString& path);

}  // namespace vx::korva
