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

namespace vx {
namespace {

// The file's text; empty when it does not exist. Nothing when it exists but cannot be read.
std::optional<QString> storeText(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) return decodeDataFile(file.readAll());
    if (file.exists()) return std::nullopt;
    return QString();
}

}  // namespace

SettingsStore::SettingsStore() : m_path(defaultFilePath()) {}

SettingsStore::SettingsStore(QString filePath) : m_path(std::move(filePath)) {}

QString SettingsStore::defaultFilePath() {
    const QString env = qEnvironmentVariable("VEXARO_SETTINGS");
    if (!env.isEmpty()) return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/TULPAREG.conf");
}

QString SettingsStore::read(const QString& section, const QString& key,
                            const QString& fallback) const {
    const std::optional<QString> text = storeText(m_path);
    if (!text) return fallback;
    return IniDocument(*text).value(section, key).value_or(fallback);
}

bool SettingsStore::save(const QString& section, const QString& key, const QString& value) {
    const std::optional<QString> text = storeText(m_path);
    if (!text) return false;  // never replace a file that could not be read
    IniDocument doc(*text);
    if (!doc.setValue(section, key, value)) return false;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // The store holds passwords and the encryption key: a new file is the user's alone. The
    // rewrite below keeps the mode of the file it replaces.
    if (!QFile::exists(m_path)) {
        QFile created(m_path);
        if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            return false;
    }
    const QByteArray bytes = doc.text().toUtf8();
    return writeFileAtomically(m_path, {std::string_view(bytes.constData(), size_t(bytes.size()))})
        .isOk();
}

double switchValue(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

bool isOn(const QString& text) { return switchValue(text) == 1.0; }

}  // namespace vx
