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

// The file's bytes; empty when it does not exist. Nothing when it exists but cannot be read.
std::optional<QByteArray> storeBytes(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) return file.readAll();
    if (file.exists()) return std::nullopt;
    return QByteArray();
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
    const std::optional<QByteArray> bytes = storeBytes(m_path);
    if (!bytes) return fallback;
    return IniDocument(decodeDataFile(*bytes)).value(section, key).value_or(fallback);
}

bool SettingsStore::save(const QString& section, const QString& key, const QString& value) {
    const std::optional<QByteArray> before = storeBytes(m_path);
    if (!before) return false;  // never replace a file that could not be read
    const std::optional<QByteArray> after = iniWithValue(*before, section, key, value);
    if (!after) return false;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    return writeFileAtomically(m_path, {std::string_view(after->constData(), size_t(after->size()))})
        .isOk();
}

std::optional<QByteArray> iniWithValue(const QByteArray& file, const QString& section,
                                       const QString& key, const QString& value) {
    IniDocument doc(decodeDataFile(file));
    if (!doc.setValue(section, key, value)) return std::nullopt;
    return encodeDataFile(doc.text(), file);
}

double switchValue(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

bool isOn(const QString& text) { return switchValue(text) == 1.0; }

}  // namespace vx
