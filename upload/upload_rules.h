// The decisions of the upload window and its job that need no window: which remote folder holds
// the user's files, whether the server refused the access code, the connection mode from the
// settings, which file is sent, and the texts that report on them.
#pragma once

#include <QString>
#include <QTime>

namespace vx {

// The server's web folder; the user's files go into the sub-folder named by the access code.
inline const QString kWebFolder = QStringLiteral("/home/tulpa/public_html/");
// The folder the server account starts in: still being there means the access code was refused.
inline const QString kAccountFolder = QStringLiteral("/home/tulpa");

// kWebFolder followed by the code (the web folder itself for an empty code).
QString accessCodeFolder(const QString& code);

// True when the current remote folder, trimmed, is exactly kAccountFolder: the change into the
// access-code folder did not take place. A trailing "/" or any other text passes.
bool accessCodeRefused(const QString& currentFolder);

// The connection mode from the "ActPasv" setting: passive when its value counts as 0 (absent,
// empty or not a number), active for any other number.
bool passiveFromSetting(const QString& actPasv);

// The file the job sends: the archive path itself, or, when the job encrypted, the name the
// encryption gave it (korva::EncryptedFileName: a.zip -> a.uzp, send.tar.gz -> send.tar.uzp).
QString uploadPath(const QString& archivePath, bool encrypted);

// Why the job cannot go on without an access code; names the file through readError.
QString noAccessCodeText(const QString& readError);

// The file to send is missing: names it, with the likely reason (encryption that produced no
// file when the job encrypted, else a file moved or deleted since the archive was written).
QString missingFileText(const QString& path, bool encrypted);

// "Download complete in " + the elapsed seconds in the form "###,##0.00" + " seconds.". The
// start counts in whole seconds (rounded to the nearest), the end with its fraction, so a short
// download started just before a whole second can come out negative.
QString downloadTimeText(const QTime& start, const QTime& end);

}  // namespace vx
