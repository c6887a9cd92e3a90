// Texts of the relay's standard session: the TLS setting, the EHLO argument, what an EHLO reply
// offers, recipient lists, encoded subjects and the header lines of the message.
#include "mail/relay_message.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTimeZone>

#include "qt_printers.h"

using namespace vx;

TEST(RelayMessage, SettingEhloAndOffer) {
    const std::pair<const char*, std::optional<RelayTls>> modes[] = {
        {"", RelayTls::Off}, {" OFF", RelayTls::Off}, {"StartTLS ", RelayTls::StartTls},
        {"tls", RelayTls::Tls}, {"ssl", std::nullopt}, {"on", std::nullopt}};
    for (const auto& [text, mode] : modes) EXPECT_EQ(relayTlsMode(text), mode) << text;
    EXPECT_EQ(QList<int>({relayDefaultPort(RelayTls::Off), relayDefaultPort(RelayTls::StartTls),
                          relayDefaultPort(RelayTls::Tls)}),
              QList<int>({25, 587, 465}));

    // Host name, local address, the EHLO argument.
    const struct {
        const char *host, *address, *argument;
    } ehlo[] = {{"mail.example.org", "127.0.0.1", "mail.example.org"},
                {"desk", "127.0.0.1", "[127.0.0.1]"},
                {"desk.local.", "192.168.1.5", "[192.168.1.5]"},
                {"-bad.example.org", "::ffff:10.0.0.7", "[10.0.0.7]"},
                {"desk_1.example.org", "::1", "[IPv6:::1]"},
                {"", "fe80::1%eth0", "[IPv6:fe80::1]"}};
    for (const auto& c : ehlo)
        EXPECT_EQ(ehloArgument(c.host, QHostAddress(c.address)), c.argument) << c.host;

    const EhloOffer offer = ehloOffer(
        {"250-localhost", "250-8BITMIME", "250-auth=LOGIN", "250-AUTH PLAIN CRAM-MD5", "250 HELP"});
    EXPECT_EQ(offer.auth, QStringList({"LOGIN", "PLAIN", "CRAM-MD5"}));
    EXPECT_TRUE(offer.eightBitMime && !offer.startTls);
    EXPECT_TRUE(ehloOffer({"250-STARTTLS is offered here", "250-STARTTLS", "250 OK"}).startTls);
    EXPECT_TRUE(ehloOffer({"250 STARTTLS"}).auth.isEmpty() && !ehloOffer({"250 STARTTLS"}).startTls);
    EXPECT_EQ(splitAddresses(" a@x.org; b@y.org,,c@z.org ;"),
              QStringList({"a@x.org", "b@y.org", "c@z.org"}));
}

TEST(RelayMessage, SubjectsOutsideAsciiBecomeEncodedWords) {
    EXPECT_EQ(encodedHeaderText("Files for you"), "Files for you");
    EXPECT_EQ(encodedHeaderText(QString::fromUtf8("Grüße")), "=?UTF-8?B?R3LDvMOfZQ==?=");
    // A long subject: every word within 75 characters, no character cut, the text intact.
    const QString subject = QString::fromUtf8("Überweisung für 🚀 Ärger — ").repeated(6);
    QString decoded;
    for (const QString& word : encodedHeaderText(subject).split("\r\n ")) {
        EXPECT_LE(word.size(), 75);
        ASSERT_TRUE(word.startsWith("=?UTF-8?B?") && word.endsWith("?=")) << word.toStdString();
        const QByteArray bytes = QByteArray::fromBase64(word.mid(10, word.size() - 12).toLatin1());
        EXPECT_FALSE(QString::fromUtf8(bytes).contains(QChar::ReplacementCharacter));
        decoded += QString::fromUtf8(bytes);
    }
    EXPECT_EQ(decoded, subject);
}

TEST(RelayMessage, HeaderLinesAndCharset) {
    const QDateTime now(QDate(2026, 12, 4), QTime(16, 29, 7), QTimeZone(3600));
    RelayMessage m;
    m.sender = "relay@x.org";
    m.recipient = "you@x.org; two@x.org";
    m.subject = "Files";
    m.date = "12/4/26";
    m.localAddress = "127.0.0.1";
    m.localHost = "desk";
    // Body, copy recipients, the Content-Type line and what follows the header block.
    const struct {
        const char *body, *cc, *type;
        QStringList rest;
    } cases[] = {
        {"Hi\n.end", "", "text/plain; charset=us-ascii",
         {"", "Hi\r\n..end", "Date at Send 12/4/26", "Sender Ip :127.0.0.1", "Sender Ip :desk"}},
        {"Grüße", "c@x.org,d@x.org", "text/plain; charset=utf-8",
         {"Content-Transfer-Encoding: 8bit", "", "Grüße", "Date at Send 12/4/26",
          "Sender Ip :127.0.0.1", "Sender Ip :desk"}}};
    for (const auto& c : cases) {
        m.body = QString::fromUtf8(c.body);
        m.cc = c.cc;
        QStringList lines, logged;
        for (const MessageRow& row : standardMessage(m, now)) {
            lines += row.line;
            if (row.log != RelayStep::Log::No) logged += row.shown;
        }
        const qsizetype ccRows = *c.cc ? 1 : 0;
        EXPECT_EQ(lines.mid(0, 3), QStringList({"From:relay@x.org", "To:you@x.org, two@x.org",
                                                "SUBJECT: Files"}));
        if (ccRows) EXPECT_EQ(lines[3], "Cc: c@x.org, d@x.org");
        EXPECT_EQ(lines[3 + ccRows], "Date: 04 Dec 2026 16:29:07 +0100");
        EXPECT_TRUE(QRegularExpression("^Message-ID: <[0-9a-f]{32}@x\\.org>$")
                        .match(lines[4 + ccRows])
                        .hasMatch())
            << lines[4 + ccRows].toStdString();
        EXPECT_EQ(lines.mid(5 + ccRows, 2),
                  QStringList({"MIME-Version: 1.0", "Content-Type: " + QString(c.type)}));
        const QStringList& rest = c.rest;
        EXPECT_EQ(lines.mid(7 + ccRows), rest);
        EXPECT_EQ(logged, QStringList({lines[0], lines[1], lines[2], rest[rest.size() - 4]}));
    }
}
