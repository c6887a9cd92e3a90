// Per-user settings in a plain INI file, read and written line by line.
#include "settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <string_view>

#include "core/atomic_write.h"
#include "core/cp1252.h"
#include "settings/ini_document.h"
#include "settings/secret_keyring.h"

namespace vx {
namespace {

// The file's bytes; empty when it does not exist. Nothing when it exists but cannot be read.
std::optional<QByteArray> storeBytes(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) return file.readAll();
    if (file.exists()) return std::nullopt;
    return QByteArray();
}

}  // namespace

SettingsStore::SettingsStore() : m_path(defaultFilePath()), m_keyring(desktopKeyring(m_path)) {}

SettingsStore::SettingsStore(QString filePath, std::shared_ptr<SecretKeyring> keyring)
    : m_path(std::move(filePath)), m_keyring(std::move(keyring)) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultFilePath() {
    const QString env = qEnvironmentVariable("VEXARO_SETTINGS");
    if (!env.isEmpty()) return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/TULPAREG.conf");
}

std::optional<QString> SettingsStore::keyringKey(const QString& section, const QString& key) const {
    if (!m_keyring || section.trimmed().compare(kSettingsSection, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    for (const QString& name : kSecretKeys)
        if (name.compare(key.trimmed(), Qt::CaseInsensitive) == 0) return name;
    return std::nullopt;
}

std::optional<QString> SettingsStore::value(const QString& section, const QString& key) const {
    const std::optional<QByteArray> bytes = storeBytes(m_path);
    if (bytes)
        if (auto v = IniDocument(decodeDataFile(*bytes)).value(section, key)) return v;
    if (const auto name = keyringKey(section, key)) return m_keyring->read(*name);
    return std::nullopt;
}

QString SettingsStore::read(const QString& section, const QString& key,
                            const QString& fallback) const {
    return value(section, key).value_or(fallback);
}

bool SettingsStore::writeFile(const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // The store may hold passwords and the encryption key: a new file is the user's alone. The
    // rewrite below keeps the mode of the file it replaces.
    if (!QFile::exists(m_path)) {
        QFile created(m_path);
        if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            return false;
    }
    return writeFileAtomically(m_path, {std::string_view(bytes.constData(), size_t(bytes.size()))})
        .isOk();
}

bool SettingsStore::save(const QString& section, const QString& key, const QString& value) {
    const std::optional<QByteArray> before = storeBytes(m_path);
    if (!before) return false;  // never replace a file that could not be read
    const auto secret = keyringKey(section, key);
    if (secret && !IniDocument(decodeDataFile(*before)).value(section, key)) {
        if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'))) return false;
        return m_keyring->write(*secret, value);
    }
    const std::optional<QByteArray> after = iniWithValue(*before, section, key, value);
    return after && writeFile(*after);
}

QStringList SettingsStore::secretsInFile() const {
    QStringList found;
    const std::optional<QByteArray> bytes = storeBytes(m_path);
    if (!bytes) return found;
    const IniDocument doc(decodeDataFile(*bytes));
    for (const QString& name : kSecretKeys)
        if (doc.value(kSettingsSection, name)) found << name;
    return found;
}

bool SettingsStore::moveSecretsToKeyring() {
    const std::optional<QByteArray> bytes = storeBytes(m_path);
    if (!m_keyring || !bytes) return false;
    const QString before = decodeDataFile(*bytes);
    IniDocument doc(before);
    bool removed = false;
    for (const QString& name : kSecretKeys) {
        const auto v = doc.value(kSettingsSection, name);
        if (!v) continue;
        if (!m_keyring->write(name, *v)) return false;
        removed = doc.remove(kSettingsSection, name) || removed;
    }
    return !removed || writeFile(encodeDataFile(doc.text(), *bytes));
}

double switchValue(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

bool isOn(const QString& text) { return switchValue(text) == 1.0; }

}  // namespace vx
