// Composition of the notification text.
#include "mail/notification_text.h"

#include "core/program_folder.h"
#include "settings/ini_reader.h"
#include "settings/settings_keys.h"

namespace vx {
namespace {

const QString kTemplateSection = QStringLiteral("Email Settings");
const QString kSentFile =
    QStringLiteral("Someone using Vexaro has sent you a file too large for email.");
const QString kClickLink =
    QStringLiteral("You can download this file by clicking the following link below.");
const QString kFreeEdition = QStringLiteral(
    "If you would like to download Vexaro Free Edition, please visit the URL below:");

}  // namespace

QString ChangeFileExt(const QString& fileName, const QString& newExt) {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? fileName + QLatin1Char('.') : fileName.left(dot + 1)) + newExt;
}

QString downloadLink(const QString& siteBase, const QString& accessCode, const QString& fileName) {
    return siteBase + QStringLiteral("users/tulpa/") + accessCode + QLatin1Char('/') + fileName;
}

QString setupLink(const QString& siteBase) {
    return siteBase + QStringLiteral("downloads/apps/tulpa/setup.exe");
}

QString notificationParagraph(BodyForm form, const QString& download, const QString& setup) {
    if (form == BodyForm::MailProgram) {
        const QString br = QStringLiteral("%0A");
        return br + QString(33, QLatin1Char('-')) + br + br + kSentFile + br + br + kClickLink +
               br + br + download + br + br + kFreeEdition + br + br + setup;
    }
    const QString br2 = QStringLiteral("\r\n\r\n");
    return br2 + kSentFile + br2 + kClickLink + br2 + download + br2 + kFreeEdition + br2 + setup +
           br2;
}

EmailInfo composeEmailInfo(BodyForm form, const QString& archivePath, const QString& accessCode,
                           const QString& templatePath, const SettingsStore& store) {
    EmailInfo info;
    QString fileName = TrimPath(archivePath);
    info.keyCode = accessCode;
    info.to = ReadIniValue(kTemplateSection, QStringLiteral("TO"), templatePath);
    info.cc = ReadIniValue(kTemplateSection, QStringLiteral("CC"), templatePath);
    info.bcc = ReadIniValue(kTemplateSection, QStringLiteral("BCC"), templatePath);
    info.subject = ReadIniValue(kTemplateSection, QStringLiteral("SUBJECT"), templatePath);
    info.body = ReadIniValue(kTemplateSection, QStringLiteral("BODY"), templatePath);
    if (isOn(keys::read(store, keys::EncryptYN)))
        fileName = ChangeFileExt(fileName, QStringLiteral("uzp"));
    const QString site = keys::read(store, keys::DownloadSiteBase);
    info.body +=
        notificationParagraph(form, downloadLink(site, accessCode, fileName), setupLink(site));
    return info;
}

EmailInfo composeEmailInfo(BodyForm form, const NotificationSource& source,
                           const SettingsStore& store) {
    return composeEmailInfo(form, source.archivePath ? source.archivePath() : QString(),
                            source.accessCode ? source.accessCode() : QString(),
                            besideProgram(QStringLiteral("settings.ini")), store);
}

}  // namespace vx
