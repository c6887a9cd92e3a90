// Loading and saving the settings window's values.
#include "app/settings_values.h"

#include <QFile>
#include <QStringList>
#include <string_view>

#include "core/atomic_write.h"
#include "core/cp1252.h"
#include "mail/access_code.h"
#include "settings/settings_store.h"
#include "upload/upload_rules.h"

namespace vx {
namespace {

QString keycodeItem(const QString& item) {
    const bool quote = item.contains(QLatin1Char(',')) || item != item.trimmed();
    return quote ? QLatin1Char('"') + item + QLatin1Char('"') : item;
}

Status saveAccessCode(const QString& path, const QString& code) {
    if (code.contains(QLatin1Char('"')) || code.contains(QLatin1Char('\n')) ||
        code.contains(QLatin1Char('\r')))
        return Status::error(QStringLiteral("The access code cannot hold quotes or line breaks."));
    QString existing;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) existing = decodeDataFile(file.readAll());
    const QByteArray bytes = keycodeWithCode(existing, code).toUtf8();
    const Status written =
        writeFileAtomically(path, {std::string_view(bytes.constData(), size_t(bytes.size()))});
    if (!written)
        return Status::error(QStringLiteral("Could not write ") + path + ": " + written.message());
    return Status::ok();
}

}  // namespace

const std::vector<keys::Key>& settingsWindowKeys() {
    using namespace keys;
    static const std::vector<Key> all = {
        FtpServer, FtpUser,      FtpPassword, ActPasv,          FtpTls,    TlsCaFile, FtpTlsPin,
        EncryptYN, EncryptKey,   MailerFirst, EmailServer,      RelayPort, RelayUser, RelayPassword,
        RelayFrom, RelayTlsMode, RelayTlsPin, DownloadSiteBase, EmailYN,   SaveLog};
    return all;
}

SettingsValues loadSettingsValues(const SettingsStore& store, const QString& keycodePath) {
    SettingsValues v;
    for (const keys::Key& key : settingsWindowKeys()) {
        const QString name = QString::fromLatin1(key.name);
        v.values[name] = store.value(kSettingsSection, name);
    }
    if (const Result<QString> code = readAccessCode(keycodePath)) v.accessCode = code.value();
    return v;
}

std::optional<QString> editedText(const std::optional<QString>& loaded, const QString& text) {
    if (!loaded && text.isEmpty()) return std::nullopt;
    return text;
}

std::optional<QString> editedSwitch(const std::optional<QString>& loaded, const char* fallback,
                                    bool on) {
    if (isOn(loaded.value_or(QString::fromLatin1(fallback))) == on) return loaded;
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

std::optional<QString> editedMode(const std::optional<QString>& loaded, bool passive) {
    if (passiveFromSetting(loaded.value_or(QString())) == passive) return loaded;
    return passive ? QStringLiteral("0") : QStringLiteral("1");
}

QString keycodeWithCode(const QString& existing, const QString& code) {
    QStringList items = accessCodeItems(existing);
    if (items.isEmpty())
        items << code;
    else
        items.last() = code;
    for (QString& item : items) item = keycodeItem(item);
    return items.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

Status saveSettingsValues(SettingsStore& store, const QString& keycodePath,
                          const SettingsValues& loaded, const SettingsValues& edited) {
    for (const keys::Key& key : settingsWindowKeys()) {
        const QString name = QString::fromLatin1(key.name);
        const auto before = loaded.values.find(name);
        const auto after = edited.values.find(name);
        if (after == edited.values.end() || !after->second) continue;
        if (before != loaded.values.end() && before->second == after->second) continue;
        if (!store.save(kSettingsSection, name, *after->second))
            return Status::error(QStringLiteral("Could not save ") + name + QStringLiteral(" in ") +
                                 store.filePath() + QLatin1Char('.'));
    }
    const QString code = edited.accessCode.value_or(QString());
    if (edited.accessCode == loaded.accessCode || (!loaded.accessCode && code.isEmpty()))
        return Status::ok();
    return saveAccessCode(keycodePath, code);
}

bool isFirstStart(const SettingsStore& store, const QString& keycodePath) {
    return !QFile::exists(store.filePath()) && !QFile::exists(keycodePath);
}

}  // namespace vx
