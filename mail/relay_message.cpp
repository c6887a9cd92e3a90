// Texts of the standard SMTP session.
#include "mail/relay_message.h"

#include <QRegularExpression>
#include <QUuid>

namespace vx {

std::optional<RelayTls> relayTlsMode(const QString& text) {
    const QString t = text.trimmed().toLower();
    if (t.isEmpty() || t == QLatin1String("off")) return RelayTls::Off;
    if (t == QLatin1String("starttls")) return RelayTls::StartTls;
    if (t == QLatin1String("tls")) return RelayTls::Tls;
    return std::nullopt;
}

quint16 relayDefaultPort(RelayTls mode) {
    switch (mode) {
        case RelayTls::Off:
            return 25;
        case RelayTls::StartTls:
            return 587;
        case RelayTls::Tls:
            return 465;
    }
    return 25;
}

QString ehloArgument(const QString& hostName, const QHostAddress& localAddress) {
    static const QRegularExpression domain(
        QStringLiteral("^([A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?\\.)+[A-Za-z]([A-Za-z0-9-]{0,"
                       "61}[A-Za-z0-9])?$"));
    if (hostName.size() <= 253 && domain.match(hostName).hasMatch()) return hostName;
    bool isV4 = false;
    const quint32 v4 = localAddress.toIPv4Address(&isV4);
    if (isV4) return QLatin1Char('[') + QHostAddress(v4).toString() + QLatin1Char(']');
    QHostAddress v6 = localAddress;
    v6.setScopeId(QString());
    return QStringLiteral("[IPv6:") + v6.toString() + QLatin1Char(']');
}

EhloOffer ehloOffer(const QStringList& replyLines) {
    EhloOffer offer;
    for (qsizetype i = 1; i < replyLines.size(); ++i) {
        QStringList words =
            replyLines[i].mid(4).toUpper().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty()) continue;
        const QString keyword = words.takeFirst();
        if (keyword == QLatin1String("STARTTLS")) offer.startTls = true;
        if (keyword == QLatin1String("8BITMIME")) offer.eightBitMime = true;
        if (keyword == QLatin1String("AUTH")) offer.auth += words;
        if (keyword.startsWith(QLatin1String("AUTH=")))
            offer.auth += QStringList{keyword.mid(5)} + words;
    }
    return offer;
}

QStringList splitAddresses(const QString& field) {
    static const QRegularExpression separators(QStringLiteral("[;,]"));
    QStringList out;
    for (const QString& part : field.split(separators))
        if (!part.trimmed().isEmpty()) out += part.trimmed();
    return out;
}

bool isAscii(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() > 127) return false;
    return true;
}

QString encodedHeaderText(const QString& text) {
    if (isAscii(text)) return text;
    // A line holding encoded words has at most 76 characters (RFC 2047), "SUBJECT: " before the
    // first one: 39 bytes make 52 Base64 characters, a word of 64.
    QStringList words;
    QByteArray chunk;
    const auto flush = [&] {
        words += QStringLiteral("=?UTF-8?B?") + QString::fromLatin1(chunk.toBase64()) +
                 QStringLiteral("?=");
        chunk.clear();
    };
    for (const char32_t code : text.toUcs4()) {
        const QByteArray bytes = QString::fromUcs4(&code, 1).toUtf8();
        if (chunk.size() + bytes.size() > 39) flush();
        chunk += bytes;
    }
    if (!chunk.isEmpty()) flush();
    return words.join(QStringLiteral("\r\n "));
}

QStringList addedHeaderLines(const QDateTime& now, const QString& sender, bool utf8) {
    QString domain = sender.section(QLatin1Char('@'), -1).trimmed();
    if (!sender.contains(QLatin1Char('@')) || domain.isEmpty() || !isAscii(domain) ||
        domain.contains(QRegularExpression(QStringLiteral("[\\s<>@\\[\\]]"))))
        domain = QStringLiteral("vexaro.invalid");
    QStringList lines{QStringLiteral("Date: ") + now.toString(Qt::RFC2822Date),
                      QStringLiteral("Message-ID: <") + QUuid::createUuid().toString(QUuid::Id128) +
                          QLatin1Char('@') + domain + QLatin1Char('>'),
                      QStringLiteral("MIME-Version: 1.0"),
                      QStringLiteral("Content-Type: text/plain; charset=") +
                          (utf8 ? QStringLiteral("utf-8") : QStringLiteral("us-ascii"))};
    if (utf8) lines += QStringLiteral("Content-Transfer-Encoding: 8bit");
    return lines;
}

QList<MessageRow> standardMessage(const RelayMessage& m, const QDateTime& now) {
    using Log = RelayStep::Log;
    const QString to = splitAddresses(m.recipient).join(QStringLiteral(", "));
    const QString cc = splitAddresses(m.cc).join(QStringLiteral(", "));
    const QString subject = QStringLiteral("SUBJECT: ") + m.subject;
    const auto row = [](const QString& line, Log log = Log::No) {
        return MessageRow{line, log, line};
    };
    QList<MessageRow> rows{
        row(QStringLiteral("From:") + m.sender, Log::Line),
        row(QStringLiteral("To:") + to, Log::Line),
        {QStringLiteral("SUBJECT: ") + encodedHeaderText(m.subject), Log::WithoutLineEnd, subject}};
    if (!cc.isEmpty()) rows += row(QStringLiteral("Cc: ") + cc);
    const qsizetype headerEnd = rows.size();
    rows += row(QString());
    rows += row(bodyForWire(m.body), Log::Line);
    rows += row(QStringLiteral("Date at Send ") + m.date);
    rows += row(QStringLiteral("Sender Ip :") + m.localAddress);
    rows += row(QStringLiteral("Sender Ip :") + m.localHost);
    bool ascii = true;
    for (const MessageRow& r : rows) ascii = ascii && isAscii(r.line);
    const QStringList added = addedHeaderLines(now, m.sender, !ascii);
    for (qsizetype i = 0; i < added.size(); ++i) rows.insert(headerEnd + i, row(added[i]));
    return rows;
}

}  // namespace vx
