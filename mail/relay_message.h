// The texts of the internal mailer's standard SMTP session (the one used over TLS): the TLS
// mode setting, the EHLO argument, what an EHLO reply offers, the recipient list and the
// message with the header lines real relays expect. No socket here; relay_standard.h talks.
#pragma once

#include <QDateTime>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "mail/smtp_lines.h"

namespace vx {

// "RelayTls": off (the plain dialogue with its fixed pauses), starttls, tls (implicit).
enum class RelayTls { Off, StartTls, Tls };

// The setting's value, without regard to case or surrounding blanks; empty text is Off.
// Nothing for any other text.
std::optional<RelayTls> relayTlsMode(const QString& text);
// The usual port of each mode: 25, 587 (submission), 465 (submissions).
quint16 relayDefaultPort(RelayTls mode);

// The EHLO argument: the host name when it is a dotted domain name, else the address literal
// of the local address ("[127.0.0.1]", "[IPv6:::1]").
QString ehloArgument(const QString& hostName, const QHostAddress& localAddress);

// What an EHLO reply offers, from its lines after the first.
struct EhloOffer {
    bool startTls = false;
    bool eightBitMime = false;
    QStringList auth;  // mechanisms, in capitals
};
EhloOffer ehloOffer(const QStringList& replyLines);

// The addresses of a recipient field: split at ";" and ",", blanks trimmed, empty parts dropped.
QStringList splitAddresses(const QString& field);

// The subject as a header value: as it is when it is ASCII, else RFC 2047 encoded words
// (UTF-8, Base64) folded onto continuation lines.
QString encodedHeaderText(const QString& text);

// The header lines added to the plain dialogue's own rows: Date, Message-ID, MIME-Version and
// Content-Type (with Content-Transfer-Encoding for 8-bit text). `utf8` tells whether the text
// carries anything outside ASCII.
QStringList addedHeaderLines(const QDateTime& now, const QString& sender, bool utf8);

// True when the header values, the body and the trailer of the message are all ASCII.
bool isAscii(const QString& text);

// One row of the message: the line to send, how it is logged and what the log shows of it.
struct MessageRow {
    QString line;
    RelayStep::Log log = RelayStep::Log::No;
    QString shown;
};

// The message after the DATA command's 354 reply, as rows (the plain dialogue's header, body
// and trailer rows, "Cc:" when there is a copy recipient and the added header lines after the
// plain header rows), without the closing ".".
QList<MessageRow> standardMessage(const RelayMessage& m, const QDateTime& now);

}  // namespace vx
