// The desktop's keyring (a Secret Service on the session bus), which keeps the settings that
// are secrets: the two passwords and the encryption key. The settings store asks it only for
// those keys and only when the settings file holds no value of its own for them.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace vx {

// The keys kept in the keyring when there is one.
inline const QStringList kSecretKeys = {
    QStringLiteral("FtpPassword"), QStringLiteral("RelayPassword"), QStringLiteral("EncryptKey")};

// True for one of kSecretKeys, compared without regard to case as the store compares keys.
bool isSecretKey(const QString& key);

class SecretKeyring {
public:
    virtual ~SecretKeyring() = default;
    // The stored secret; nothing when there is none or the keyring refused to give it.
    virtual std::optional<QString> read(const QString& key) = 0;
    // Stores or replaces the secret; false when the keyring refused.
    virtual bool write(const QString& key, const QString& value) = 0;
};

// True when a Secret Service runs (or can be started) on the session bus.
bool secretServiceAvailable();

// The keyring through QtKeychain, with the entries of one settings file (the file's path is part
// of their service name, so a second settings file has secrets of its own); null when no Secret
// Service is available. Each call waits for the keyring's answer; user input waits meanwhile.
std::unique_ptr<SecretKeyring> desktopKeyring(const QString& settingsFile);

}  // namespace vx
