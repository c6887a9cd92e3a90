// Certificate trust of the TLS clients: extra CAs beside the system's, pins, and the texts that
// let a person decide about a certificate that does not verify.
#include "net/tls_trust.h"

#include <QCryptographicHash>
#include <QFile>
#include <QObject>
#include <QRegularExpression>
#include <QSet>
#include <QSslSocket>
#include <QVariant>

namespace vx::net {
namespace {

constexpr char kPeerProperty[] = "vx_tls_peer";  // the certificate a failed handshake met
constexpr char kHostProperty[] = "vx_tls_host";  // and the name it was checked against

QString dateText(const QDateTime& t) {
    return t.isValid() ? t.toUTC().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + " UTC"
                       : QStringLiteral("(none)");
}

QString nameText(const QSslCertificate& c, bool issuer) {
    const QString text = issuer ? c.issuerDisplayName() : c.subjectDisplayName();
    return text.isEmpty() ? QStringLiteral("(none)") : text;
}

}  // namespace

QString sha256Fingerprint(const QSslCertificate& certificate) {
    if (certificate.isNull()) return {};
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

std::optional<QString> normalizeFingerprint(const QString& text) {
    QString hex = text;
    hex.remove(QRegularExpression(QStringLiteral("[:\\s]")));
    static const QRegularExpression sixtyFourHex(QStringLiteral("\\A[0-9A-Fa-f]{64}\\z"));
    if (!sixtyFourHex.match(hex).hasMatch()) return std::nullopt;
    return QString::fromLatin1(QByteArray::fromHex(hex.toLatin1()).toHex(':').toUpper());
}

QStringList parsePins(const QString& text) {
    QStringList pins;
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    for (const QString& part : text.split(separators, Qt::SkipEmptyParts)) {
        if (const auto fp = normalizeFingerprint(part); fp && !pins.contains(*fp)) pins << *fp;
    }
    return pins;
}

QString withPin(const QString& pins, const QString& fingerprint) {
    QStringList all = parsePins(pins);
    if (const auto fp = normalizeFingerprint(fingerprint); fp && !all.contains(*fp)) all << *fp;
    return all.join(QLatin1Char(' '));
}

QString describeCertificate(const QSslCertificate& c) {
    if (c.isNull()) return QStringLiteral("The server sent no certificate.");
    return QStringLiteral("SHA-256 fingerprint: %1\nSubject: %2\nIssuer: %3\nValid from: %4\n"
                          "Valid until: %5")
        .arg(sha256Fingerprint(c), nameText(c, false), nameText(c, true), dateText(c.effectiveDate()),
             dateText(c.expiryDate()));
}

QString UnverifiedCertificate::reasons() const {
    QStringList lines;
    for (const QSslError& e : errors)
        if (!lines.contains(e.errorString())) lines << e.errorString();
    return lines.isEmpty() ? QStringLiteral("The certificate could not be verified.") : lines.join('\n');
}

QString trustQuestion(const UnverifiedCertificate& u) {
    return QStringLiteral("The certificate of %1 is not trusted:\n%2\n\n%3\n\nTrust this certificate "
                          "from now on?")
        .arg(u.host, u.reasons(), describeCertificate(u.certificate));
}

QString refusalText(const UnverifiedCertificate& u, const QString& pinKey, bool declined) {
    QString text = QStringLiteral("The certificate of %1 is not trusted: %2\n%3\n%4")
                       .arg(u.host, u.reasons().replace('\n', QStringLiteral("; ")),
                            declined ? QStringLiteral("Refused: it was not trusted when asked.")
                                     : QStringLiteral("Refused; nobody can be asked in this run."),
                            describeCertificate(u.certificate));
    if (!u.certificate.isNull())
        text += QStringLiteral("\nTo trust it, store its fingerprint in the setting \"%1\".").arg(pinKey);
    return text;
}

bool decideTrust(const UnverifiedCertificate& u, const QString& pinKey,
                 const std::function<bool(const QString&)>& ask, QString* refusal) {
    // A server that sent no certificate has nothing a person could pin.
    if (ask && !u.certificate.isNull() && ask(trustQuestion(u))) return true;
    if (refusal) *refusal = refusalText(u, pinKey, ask && !u.certificate.isNull());
    return false;
}

bool TlsTrust::addCaFile(const QString& path, QString* error) {
    if (path.trimmed().isEmpty()) return true;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("Cannot read the CA file %1: %2").arg(path, f.errorString());
        return false;
    }
    const QList<QSslCertificate> found = QSslCertificate::fromData(f.readAll(), QSsl::Pem);
    if (found.isEmpty()) {
        if (error) *error = QStringLiteral("The CA file %1 holds no PEM certificate.").arg(path);
        return false;
    }
    m_cas += found;
    return true;
}

bool TlsTrust::isPinned(const QSslCertificate& certificate) const {
    return !certificate.isNull() && m_pins.contains(sha256Fingerprint(certificate));
}

QSslConfiguration TlsTrust::configuration() const {
    QSslConfiguration c = QSslConfiguration::defaultConfiguration();
    // Without a CA file, the system's store is searched by Qt as the handshake needs it, one root
    // at a time. With one, the handshake checks against the file's CAs alone (parsing the whole
    // system bundle would cost a tenth of a second per process), and a chain they do not verify
    // is then checked against the system's store (see apply).
    if (!m_cas.isEmpty()) c.setCaCertificates(m_cas);
    c.setPeerVerifyMode(QSslSocket::VerifyPeer);
    c.setProtocol(QSsl::TlsV1_2OrLater);
    c.setSslOption(QSsl::SslOptionDisableSessionPersistence, false);
    return c;
}

bool TlsTrust::systemVerifies(const QList<QSslCertificate>& chain, const QString& host) {
    if (chain.isEmpty()) return false;
    // Verifying reads the system's store, so a chain that passed is remembered for the process:
    // every data connection of a session meets the same certificate.
    static QSet<QString> verified;
    const QString key = sha256Fingerprint(chain.first()) + QLatin1Char(' ') + host;
    if (verified.contains(key)) return true;
    if (!QSslCertificate::verify(chain, host).isEmpty()) return false;
    verified.insert(key);
    return true;
}

void TlsTrust::apply(QSslSocket& socket) const {
    socket.setSslConfiguration(configuration());
    socket.setProperty(kPeerProperty, QVariant());
    const QStringList pins = m_pins;
    const bool ownCas = !m_cas.isEmpty();
    QObject::connect(&socket, &QSslSocket::sslErrors, &socket,
                     [&socket, pins, ownCas](const QList<QSslError>& errors) {
                         const QSslCertificate peer = socket.peerCertificate();
                         const QString host = socket.peerVerifyName().isEmpty() ? socket.peerName()
                                                                                : socket.peerVerifyName();
                         if ((!peer.isNull() && pins.contains(sha256Fingerprint(peer))) ||
                             (ownCas && systemVerifies(socket.peerCertificateChain(), host))) {
                             socket.ignoreSslErrors(errors);  // exactly these, on this socket
                             return;
                         }
                         // Kept now: a socket that the failure closes forgets its peer's name.
                         socket.setProperty(kHostProperty, host);
                         socket.setProperty(kPeerProperty, QVariant::fromValue(peer));
                     });
}

std::optional<UnverifiedCertificate> TlsTrust::unverified(const QSslSocket& socket) {
    const QVariant peer = socket.property(kPeerProperty);
    if (!peer.isValid()) return std::nullopt;
    UnverifiedCertificate u;
    u.host = socket.property(kHostProperty).toString();
    u.certificate = peer.value<QSslCertificate>();
    u.errors = socket.sslHandshakeErrors();
    return u;
}

}  // namespace vx::net
