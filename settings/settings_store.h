// The per-user settings store: string values by section and key under the application name
// TULPAREG, kept in a plain INI file in the user's configuration folder that people may edit by
// hand. Values come back exactly as written (commas, semicolons, backslashes, quotes and blanks
// included); section and key names match without regard to case. Reading never creates a key;
// only saving writes, and a save replaces the file through a temporary file.
//
// With the desktop's keyring the secrets (FtpPassword, RelayPassword, EncryptKey) live there
// instead: reading takes the file's value when the file has one (written there by hand or kept
// from before), else the keyring's; saving a secret that the file does not hold goes to the
// keyring. Without a keyring the file keeps everything.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace vx {

class SecretKeyring;

inline const QString kSettingsSection = QStringLiteral("Settings");

class SettingsStore {
public:
    // The store at its usual place ($VEXARO_SETTINGS when set, else TULPAREG.conf in the user's
    // configuration folder), with the desktop's keyring when one runs.
    SettingsStore();
    // A store kept in the given file (tests, portable copies), with the keyring given (none:
    // the file keeps the secrets too).
    explicit SettingsStore(QString filePath, std::shared_ptr<SecretKeyring> keyring = nullptr);
    ~SettingsStore();

    // The stored string, or fallback when the key is absent.
    QString read(const QString& section, const QString& key, const QString& fallback) const;
    // The stored string; nothing when the key is absent (from the file and the keyring).
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Stores the value, changing only its line; creates the folder, file and section on first
    // use. False, and the file unchanged, when it cannot be read or written, or when the value or
    // a name holds a line break (see IniDocument::setValue).
    bool save(const QString& section, const QString& key, const QString& value);

    bool hasKeyring() const { return m_keyring != nullptr; }
    // The secrets that the file itself holds values for, in the order of kSecretKeys.
    QStringList secretsInFile() const;
    // Puts the file's secrets into the keyring and then removes them from the file, changing no
    // other line. False, with the file unchanged, when there is no keyring or it refused one.
    bool moveSecretsToKeyring();

    const QString& filePath() const { return m_path; }
    static QString defaultFilePath();

private:
    // The section and key name when they address a secret kept in the keyring, else nothing.
    std::optional<QString> keyringKey(const QString& section, const QString& key) const;
    bool writeFile(const QByteArray& bytes);

    QString m_path;
    std::shared_ptr<SecretKeyring> m_keyring;
};

// A switch value as a number: "1" and "1.0" are 1; empty or non-numeric text is 0.
double switchValue(const QString& text);
// True when the switch value equals 1.
bool isOn(const QString& text);

}  // namespace vx
