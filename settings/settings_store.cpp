// Per-user settings on QSettings in INI form.
#include "settings/settings_store.h"

#include <QSettings>
#include <QStandardPaths>

namespace vx {
namespace {

QString keyOf(const QString& section, const QString& key) { return section + '/' + key; }

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
    const QSettings s(m_path, QSettings::IniFormat);
    const QVariant v = s.value(keyOf(section, key));
    return v.isValid() ? v.toString() : fallback;
}

bool SettingsStore::save(const QString& section, const QString& key, const QString& value) {
    QSettings s(m_path, QSettings::IniFormat);
    s.setValue(keyOf(section, key), value);
    s.sync();
    return s.status() == QSettings::NoError;
}

double switchValue(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

bool isOn(const QString& text) { return switchValue(text) == 1.0; }

}  // namespace vx
