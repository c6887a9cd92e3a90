// Which server certificates a TLS client of this program accepts, shared by the FTP client and
// the SMTP relay session.
//
// A certificate is accepted when it verifies: its chain ends in a CA of the system's trust store
// or of the PEM file named by "TlsCaFile", it is within its dates, and it names the host the
// client asked for. A certificate that does not verify is accepted only when the user pinned it:
// its SHA-256 fingerprint is one of those in "FtpTlsPin" (or "RelayTlsPin"). Errors are never
// ignored wholesale: a pinned certificate has exactly its own errors set aside, on the socket
// that met it. Anything else ends the handshake; the caller then asks the user (trustQuestion)
// or, unattended, refuses with a message that carries the fingerprint (refusalText), so that the
// user can pin it.
#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QSslSocket;

namespace vx::net {

// "AB:01:...": the SHA-256 digest of the certificate's DER form, 32 pairs of capital hex digits.
QString sha256Fingerprint(const QSslCertificate& certificate);

// A fingerprint as a person may write it (any case, with or without ':' or blanks between the
// pairs) in the form of sha256Fingerprint; nothing when it is not 64 hex digits.
std::optional<QString> normalizeFingerprint(const QString& text);

// The fingerprints of a pin setting: separated by ',', ';' or blanks. Entries that are not
// fingerprints are left out.
QStringList parsePins(const QString& text);

// The pin setting with `fingerprint` added (once): what is stored when the user says Yes.
QString withPin(const QString& pins, const QString& fingerprint);

// Lines that let a person recognise a certificate: its SHA-256 fingerprint, subject, issuer and
// the dates it is valid from and until (UTC, yyyy-MM-dd hh:mm:ss).
QString describeCertificate(const QSslCertificate& certificate);

// A certificate that did not verify, as met in one handshake.
struct UnverifiedCertificate {
    QString host;                  // the name the client asked for
    QSslCertificate certificate;   // the server's own certificate (null when it sent none)
    QList<QSslError> errors;       // why it did not verify
    QString fingerprint() const { return sha256Fingerprint(certificate); }
    QString reasons() const;       // the errors' texts, one per line
};

// The question shown to a person: why the certificate is not trusted, its description, and
// whether to trust it from now on (Yes stores the pin).
QString trustQuestion(const UnverifiedCertificate& u);

// The refusal of a run that cannot ask (or, `declined`, of a person who said No): host,
// reasons, fingerprint, and the setting `pinKey` in which the user may store that fingerprint.
QString refusalText(const UnverifiedCertificate& u, const QString& pinKey, bool declined = false);

// The decision on a certificate that did not verify. With `ask` (a person is there) the answer
// to trustQuestion; unattended (`ask` empty) always no. False fills `*refusal` (when given)
// with refusalText.
bool decideTrust(const UnverifiedCertificate& u, const QString& pinKey,
                 const std::function<bool(const QString& question)>& ask, QString* refusal);

class TlsTrust {
public:
    // Adds the certificates of a PEM file to those trusted beside the system's. False, with
    // `*error` saying why, when the file cannot be read or holds no certificate; nothing is
    // added then. An empty path adds nothing and succeeds.
    bool addCaFile(const QString& path, QString* error);
    // The pinned fingerprints (parsePins of a pin setting).
    void setPins(const QString& pinSetting) { m_pins = parsePins(pinSetting); }
    const QStringList& pins() const { return m_pins; }
    bool isPinned(const QSslCertificate& certificate) const;
    const QList<QSslCertificate>& extraCas() const { return m_cas; }

    // A client configuration: the system's CAs (or, with extra ones, only those: apply checks
    // the system's store when they do not verify the server), peer verification, TLS 1.2
    // or later, and session persistence, so that a later connection can resume the session.
    QSslConfiguration configuration() const;
    // Sets up a client socket before it connects: the configuration above, and, when the
    // server's certificate does not verify, setting aside exactly its errors if it is pinned.
    // Otherwise the handshake fails and unverified() tells what was met.
    void apply(QSslSocket& socket) const;

    // What the last failed handshake of `socket` (set up by apply) met; nothing when its
    // failure was not about the certificate.
    static std::optional<UnverifiedCertificate> unverified(const QSslSocket& socket);

private:
    // True when the system's store verifies the chain for `host`.
    static bool systemVerifies(const QList<QSslCertificate>& chain, const QString& host);
    QList<QSslCertificate> m_cas;
    QStringList m_pins;
};

}  // namespace vx::net
