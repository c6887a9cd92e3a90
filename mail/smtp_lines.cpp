// Dialogue tables and line rules of the SMTP senders.
#include "mail/smtp_lines.h"

#include <limits>

#include "core/cp1252.h"
#include "crypto/base64_codec.h"

namespace vx {

QString bodyForWire(const QString& body) {
    QString text = body;
    text.replace(kCrLf, QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.startsWith(QLatin1Char('.'))) line.prepend(QLatin1Char('.'));
    return lines.join(kCrLf);
}

QString lineBreakRefusal(const QString& sender, const QString& recipient, const QString& subject) {
    const std::pair<const char*, const QString*> fields[] = {
        {"sender address", &sender}, {"recipient address", &recipient}, {"subject", &subject}};
    for (const auto& [name, value] : fields)
        if (value->contains(QLatin1Char('\r')) || value->contains(QLatin1Char('\n')))
            return QStringLiteral(
                       "The %1 contains a line break. It must be a single line; "
                       "nothing was sent.")
                .arg(QLatin1String(name));
    return QString();
}

QString EncodeBase64(const QString& text) {
    return QString::fromLatin1(
        korva::Base64Encode(stringToCp1252(text), std::numeric_limits<int>::max()));
}

QList<SmtpStep> plainDialogue(const QString& heloHost, const QString& from, const QString& to,
                              const QString& subject, const QString& body) {
    const QString ok = QStringLiteral("250");
    return {{std::nullopt, QStringLiteral("220")},
            {QStringLiteral("HELO ") + heloHost, ok},
            {QStringLiteral("MAIL FROM: <") + from + QLatin1Char('>'), ok},
            {QStringLiteral("RCPT TO: <") + to + QLatin1Char('>'), ok},
            {QStringLiteral("data"), QStringLiteral("354")},
            {QStringLiteral("From: ") + from, {}},
            {QStringLiteral("X-Mailer: Quillon SMTP Mailer"), {}},
            {QStringLiteral("To: ") + to, {}},
            {QStringLiteral("Subject: ") + subject, {}},
            {QString(), {}},
            {bodyForWire(body), {}},
            {QStringLiteral("."), ok},
            {QStringLiteral("quit"), QStringLiteral("221")}};
}

QList<RelayStep> relayDialogue(const RelayMessage& m) {
    using Log = RelayStep::Log;
    return {{QStringLiteral("HELO ") + m.localAddress, Log::Line, {2}},
            {QStringLiteral("AUTH LOGIN"), Log::Line, {2}},
            {EncodeBase64(m.user), Log::Line, {2}},
            {EncodeBase64(m.password), Log::Line, {4}, true},
            {QStringLiteral("MAIL FROM: ") + m.sender, Log::Line, {1}},
            {QStringLiteral("RCPT TO: <") + m.recipient + QLatin1Char('>'), Log::Line, {1}},
            {QStringLiteral("DATA"), Log::Line, {}},
            {QStringLiteral("From:") + m.sender, Log::Line, {}},
            {QStringLiteral("To:") + m.recipient, Log::Line, {}},
            {QStringLiteral("SUBJECT: ") + m.subject, Log::WithoutLineEnd, {}},
            {QString(), Log::No, {}},
            {bodyForWire(m.body), Log::Line, {}},
            {QStringLiteral("Date at Send ") + m.date, Log::No, {}},
            {QStringLiteral("Sender Ip :") + m.localAddress, Log::No, {}},
            {QStringLiteral("Sender Ip :") + m.localHost, Log::No, {}},
            {QStringLiteral("."), Log::No, {2, 1}}};
}

}  // namespace vx
