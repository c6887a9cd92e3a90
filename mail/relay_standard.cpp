// Standard SMTP session of the internal mailer.
#include "mail/relay_standard.h"

#include <initializer_list>

#include "mail/smtp_sender.h"

namespace vx {
namespace {

const QString kMasked = QStringLiteral("********");

class Dialogue {
public:
    explicit Dialogue(RelaySession& s) : m_s(s) {}

    // Sends the line (logged as `shown`, or as itself) and awaits a reply with one of the codes;
    // an empty line only awaits.
    std::optional<net::Reply> step(const QString& line, const QString& what,
                                   std::initializer_list<int> codes, const QString& shown = {},
                                   double limit = kRelayReplyLimit) {
        if (!line.isEmpty()) {
            writeLine(m_s.WS, line);
            m_s.log((shown.isEmpty() ? line : shown) + kCrLf);
        }
        const Result<net::Reply> reply = m_s.awaitReply(what, limit);
        if (reply) {
            for (const int code : codes)
                if (reply.value().code == code) return reply.value();
            fail(QStringLiteral("The mail server refused the %1:\r\n%2")
                     .arg(what, reply.value().text()));
        } else {
            fail(reply.message());
        }
        return std::nullopt;
    }

    // Keeps the first failure; false, for the caller to return.
    bool fail(const QString& why) {
        if (m_failure.isEmpty()) m_failure = why;
        return false;
    }

    Status outcome() const {
        if (m_failure.isEmpty()) return Status::ok();
        return Status::error(QStringLiteral("The e-mail notification was not sent.\r\n") +
                             m_failure);
    }

private:
    RelaySession& m_s;
    QString m_failure;
};

bool run(Dialogue& d, RelaySession& s, RelayTls mode, const RelayMessage& m, const QDateTime& now) {
    const QString ehlo = QStringLiteral("EHLO ") + ehloArgument(m.localHost, s.WS.localAddress());
    if (!d.step({}, QStringLiteral("connection"), {220})) return false;
    auto hello = d.step(ehlo, QStringLiteral("EHLO command"), {250});
    if (!hello) return false;
    EhloOffer offer = ehloOffer(hello->lines);
    if (mode == RelayTls::StartTls) {
        if (!offer.startTls)
            return d.fail(QStringLiteral(
                "The mail server does not offer STARTTLS, so the session cannot be encrypted; "
                "nothing was sent."));
        if (!d.step(QStringLiteral("STARTTLS"), QStringLiteral("STARTTLS command"), {220}))
            return false;
        if (const Status tls = s.startTls(kRelayReplyLimit); !tls) return d.fail(tls.message());
        hello = d.step(ehlo, QStringLiteral("EHLO command"), {250});
        if (!hello) return false;
        offer = ehloOffer(hello->lines);
    }
    const QString login = QStringLiteral("log-in");
    if (offer.auth.contains(QLatin1String("LOGIN"))) {
        if (!d.step(QStringLiteral("AUTH LOGIN"), login, {334}, {}, kRelayLoginLimit) ||
            !d.step(EncodeBase64(m.user), login, {334}, {}, kRelayLoginLimit) ||
            !d.step(EncodeBase64(m.password), login, {235}, kMasked, kRelayLoginLimit))
            return false;
    } else if (offer.auth.contains(QLatin1String("PLAIN"))) {
        const QString secret = QChar(0) + m.user + QChar(0) + m.password;
        if (!d.step(QStringLiteral("AUTH PLAIN ") + QString::fromLatin1(secret.toUtf8().toBase64()),
                    login, {235}, QStringLiteral("AUTH PLAIN ") + kMasked, kRelayLoginLimit))
            return false;
    } else {
        return d.fail(QStringLiteral(
            "The mail server offers no log-in by AUTH LOGIN or AUTH PLAIN; nothing was sent."));
    }
    const QList<MessageRow> text = standardMessage(m, now);
    bool eightBit = false;
    for (const MessageRow& row : text) eightBit = eightBit || !isAscii(row.line);
    const QString body =
        eightBit && offer.eightBitMime ? QStringLiteral(" BODY=8BITMIME") : QString();
    if (!d.step(QStringLiteral("MAIL FROM:<") + m.sender + QLatin1Char('>') + body,
                QStringLiteral("sender address"), {250}))
        return false;
    const QStringList recipients =
        splitAddresses(m.recipient) + splitAddresses(m.cc) + splitAddresses(m.bcc);
    if (recipients.isEmpty()) return d.fail(QStringLiteral("There is no recipient address."));
    for (const QString& to : recipients)
        if (!d.step(QStringLiteral("RCPT TO:<") + to + QLatin1Char('>'),
                    QStringLiteral("recipient ") + to, {250, 251}))
            return false;
    if (!d.step(QStringLiteral("DATA"), QStringLiteral("DATA command"), {354})) return false;
    for (const MessageRow& row : text) {
        writeLine(s.WS, row.line);
        if (row.log == RelayStep::Log::Line) s.log(row.shown + kCrLf);
        if (row.log == RelayStep::Log::WithoutLineEnd) s.log(row.shown);
    }
    writeLine(s.WS, QStringLiteral("."));
    return d.step({}, QStringLiteral("message"), {250}, {}, kRelayDataLimit).has_value();
}

}  // namespace

Status relaySend(RelaySession& session, RelayTls mode, RelayMessage message, const QDateTime& now) {
    message.localAddress = session.WS.localAddress().toString();
    Dialogue d(session);
    if (!run(d, session, mode, message, now)) {
        writeLine(session.WS, QStringLiteral("QUIT"));
        session.WS.flush();
        session.close();
    }
    return d.outcome();
}

void relayQuit(RelaySession& session) {
    session.log(QStringLiteral("quit"));
    writeLine(session.WS, QStringLiteral("QUIT"));
    (void)session.awaitReply(QStringLiteral("QUIT command"), kRelayReplyLimit);
    session.close();
}

}  // namespace vx
