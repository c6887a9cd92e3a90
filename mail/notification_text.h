// The notification the recipient gets after an upload: recipients and subject from the template
// settings.ini, and a body made of the template's text, a fixed paragraph with the download link
// to the uploaded file and a line pointing to the program's setup download. The body comes in
// two forms: for a mailto: address (line breaks written as "%0A") and for SMTP (CR LF).
#pragma once

#include <QString>
#include <functional>

#include "mail/access_code.h"

namespace vx {

class SettingsStore;

enum class BodyForm { MailProgram, Smtp };

// The file name with the text after its last "." replaced by newExt (given without a dot); a
// name without any "." gets "." and newExt appended.
QString ChangeFileExt(const QString& fileName, const QString& newExt);

// siteBase + "users/tulpa/" + accessCode + "/" + fileName, nothing percent-encoded.
QString downloadLink(const QString& siteBase, const QString& accessCode, const QString& fileName);
// siteBase + "downloads/apps/tulpa/setup.exe".
QString setupLink(const QString& siteBase);

// The text appended to the template body: the separator line (mail-program form only), the
// fixed sentences, the download link and the setup link, with the form's line breaks.
QString notificationParagraph(BodyForm form, const QString& download, const QString& setup);

// Everything a notification window shows after composing.
struct EmailInfo {
    QString keyCode;
    QString to, cc, bcc, subject;
    QString body;  // the template body followed by the notification paragraph
};

// Composes the notification. The uploaded file is the last part of archivePath, with the
// extension "uzp" when the store's "EncryptYN" (default "1") is on; the link's site comes from
// "DownloadSiteBase". Template values come from section "Email Settings" of templatePath as the
// INI reader gives them; a missing file or key gives empty values and the paragraph all the same.
EmailInfo composeEmailInfo(BodyForm form, const QString& archivePath, const QString& accessCode,
                           const QString& templatePath, const SettingsStore& store);

// Where a notification window takes the facts of this run from, at the moment it composes.
struct NotificationSource {
    std::function<QString()> archivePath;  // the output archive path of this run
    std::function<QString()> accessCode = accessCodeBesideProgram;
};

// composeEmailInfo with the source's values and the template settings.ini beside the program.
EmailInfo composeEmailInfo(BodyForm form, const NotificationSource& source,
                           const SettingsStore& store);

}  // namespace vx
