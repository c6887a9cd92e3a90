// Decisions of the upload window and job that need no window.
#include "upload/upload_rules.h"

#include <cmath>

#include "core/number_forms.h"
#include "crypto/file_names.h"
#include "settings/settings_store.h"

namespace vx {
namespace {

double secondsSinceMidnight(const QTime& time) { return time.msecsSinceStartOfDay() / 1000.0; }

}  // namespace

QString accessCodeFolder(const QString& code) { return kWebFolder + code; }

bool accessCodeRefused(const QString& currentFolder) {
    return currentFolder.trimmed() == kAccountFolder;
}

bool passiveFromSetting(const QString& actPasv) { return switchValue(actPasv) == 0; }

QString uploadPath(const QString& archivePath, bool encrypted) {
    return encrypted ? korva::EncryptedFileName(archivePath) : archivePath;
}

ProgressShown progressShown(qint32 current, qint32 total) {
    if (total <= 0) return {1, 1};
    if (total < current) return {total, std::nullopt};
    return {total, current};
}

QString noAccessCodeText(const QString& readError) {
    return QStringLiteral("There is no access code, so nothing can be uploaded.\n") + readError +
           QStringLiteral("\nThe program ends now; the archive stays on disk.");
}

QString connectFailedText(const QString& server, const QString& reason) {
    return QStringLiteral("Could not connect to the file server ") + server +
           QStringLiteral(":\n") + reason + QStringLiteral("\nNothing was uploaded.");
}

QString missingFileText(const QString& path, bool encrypted) {
    const QString why =
        encrypted ? QStringLiteral(
                        "The encryption produced no file; check that an encryption "
                        "key (EncryptKey) is set in the settings.")
                  : QStringLiteral("It may have been moved or deleted after it was written.");
    return QStringLiteral("The file to send does not exist:\n") + path + QLatin1Char('\n') + why +
           QStringLiteral("\nNothing was uploaded.");
}

QString downloadTimeText(const QTime& start, const QTime& end) {
    const double started = std::nearbyint(secondsSinceMidnight(start));
    return QStringLiteral("Download complete in ") +
           groupedTwoDecimals(secondsSinceMidnight(end) - started) + QStringLiteral(" seconds.");
}

}  // namespace vx
