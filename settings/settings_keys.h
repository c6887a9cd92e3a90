// The keys of the settings store that the program reads, with their defaults when absent.
#pragma once

#include <QString>

#include "settings/settings_store.h"

namespace vx::keys {

struct Key {
    const char* name;
    const char* fallback;
};

inline constexpr Key ActPasv{"ActPasv", ""};
inline constexpr Key EncryptYN{"EncryptYN", "1"};
inline constexpr Key EncryptKey{"EncryptKey", ""};
inline constexpr Key SaveLog{"SaveLog", "0"};
inline constexpr Key EmailYN{"EmailYN", "1"};
// "Mailer" is read twice with two defaults, so an absent value passes both tests.
inline constexpr Key MailerFirst{"Mailer", "default"};
inline constexpr Key MailerSecond{"Mailer", "internal"};
// Built-in server values; placeholders that a real installation overrides in the store.
inline constexpr Key EmailServer{"EmailServer", "smtp.example.invalid"};
inline constexpr Key FtpServer{"FtpServer", "ftp.example.invalid"};
inline constexpr Key FtpUser{"FtpUser", "tulpa"};
inline constexpr Key FtpPassword{"FtpPassword", "change-me"};
inline constexpr Key DownloadSiteBase{"DownloadSiteBase", "http://www.example.invalid/"};
// The internal mailer's relay: port, log-in and sender address.
inline constexpr Key RelayPort{"RelayPort", "25"};
inline constexpr Key RelayUser{"RelayUser", "relay-user"};
inline constexpr Key RelayPassword{"RelayPassword", "change-me"};
inline constexpr Key RelayFrom{"RelayFrom", "vexaro@example.invalid"};
// TLS of the connections: FTP's mode (auto, require, implicit, off), a PEM file of CA
// certificates trusted beside the system's, and the fingerprints of certificates the user chose
// to trust (net/tls_trust.h).
inline constexpr Key FtpTls{"FtpTls", "auto"};
inline constexpr Key TlsCaFile{"TlsCaFile", ""};
inline constexpr Key FtpTlsPin{"FtpTlsPin", ""};
inline constexpr Key RelayTlsPin{"RelayTlsPin", ""};

// The key's value in section "Settings" of the store, or its default when absent.
inline QString read(const SettingsStore& store, const Key& key) {
    return store.read(kSettingsSection, QString::fromLatin1(key.name),
                      QString::fromLatin1(key.fallback));
}

}  // namespace vx::keys
