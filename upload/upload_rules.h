// The decisions of the upload window and its job that need no window: which remote folder holds
// the user's files, whether the server refused the access code, the connection mode from the
// settings, which file is sent, and the texts that report on them.
#pragma once

#include <QString>
#include <QTime>
#include <optional>

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

// What the progress bar shows for a transfer event: its range is 0 to maximum, and value is the
// value to set, none when the count is above the total (the bar keeps the value it had). An
// empty transfer (total 0 or less) shows a full bar, 1 of 1: a range of 0 to 0 would show Qt's
// endless "busy" animation.
struct ProgressShown {
    int maximum = 1;
    std::optional<int> value;
};
ProgressShown progressShown(qint32 current, qint32 total);

// Why the job cannot go on without an access code; names the file through readError.
QString noAccessCodeText(const QString& readError);

// The connection or log-in failed: names the server and gives the reason (the server's own
// reply when it answered, such as "530 Login incorrect.").
QString connectFailedText(const QString& server, const QString& reason);

// The file to send is missing: names it, with the likely reason (encryption that produced no
// file when the job encrypted, else a file moved or deleted since the archive was written).
QString missingFileText(const QString& path, bool encrypted);

// "Download complete in " + the elapsed seconds in the form "###,##0.00" + " seconds.". The
// start counts in whole seconds (rounded to the nearest), the end with its fraction, so a short
// download started just before a whole second can come out negative.
QString downloadTimeText(const QTime& start, const QTime& end);

}  // namespace vx
