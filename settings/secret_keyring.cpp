// Secrets through QtKeychain, one blocking job at a time.
#include "settings/secret_keyring.h"

#include <qt6keychain/keychain.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QEventLoop>

namespace vx {
namespace {

const QString kSecretService = QStringLiteral("org.freedesktop.secrets");

// Runs the job to its end; the keyring may take a while to answer (it can ask the user to
// unlock it), so events other than user input keep running.
bool finish(QKeychain::Job& job) {
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return job.error() == QKeychain::NoError;
}

class QtKeychainRing final : public SecretKeyring {
public:
    explicit QtKeychainRing(QString service) : m_service(std::move(service)) {}

    std::optional<QString> read(const QString& key) override {
        QKeychain::ReadPasswordJob job(m_service);
        job.setKey(key);
        if (!finish(job)) return std::nullopt;
        return job.textData();
    }

    bool write(const QString& key, const QString& value) override {
        QKeychain::WritePasswordJob job(m_service);
        job.setKey(key);
        job.setTextData(value);
        return finish(job);
    }

private:
    QString m_service;
};

}  // namespace

bool isSecretKey(const QString& key) {
    return kSecretKeys.contains(key.trimmed(), Qt::CaseInsensitive);
}

bool secretServiceAvailable() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return false;
    if (bus.interface()->isServiceRegistered(kSecretService)) return true;
    const QDBusReply<QStringList> names = bus.interface()->activatableServiceNames();
    return names.isValid() && names.value().contains(kSecretService);
}

std::unique_ptr<SecretKeyring> desktopKeyring(const QString& settingsFile) {
    if (!secretServiceAvailable()) return nullptr;
    return std::make_unique<QtKeychainRing>(QStringLiteral("Vexaro:") + settingsFile);
}

}  // namespace vx
