// Texts of the relay's standard session: the TLS setting, the EHLO argument, what an EHLO reply
// offers, recipient lists and encoded subjects (the message itself is checked as the strict
// server received it, in frmInternal_test.cpp).
#include "mail/relay_message.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

using namespace vx;

TEST(RelayMessage, SettingEhloAndOffer) {
    const std::pair<const char*, std::optional<RelayTls>> modes[] = {
        {"", RelayTls::Off},    {" OFF", RelayTls::Off}, {"StartTLS ", RelayTls::StartTls},
        {"tls", RelayTls::Tls}, {"ssl", std::nullopt},   {"on", std::nullopt}};
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
    EXPECT_TRUE(ehloOffer({"250 STARTTLS"}).auth.isEmpty() &&
                !ehloOffer({"250 STARTTLS"}).startTls);
    EXPECT_EQ(splitAddresses(" a@x.org; b@y.org,,c@z.org ;"),
              QStringList({"a@x.org", "b@y.org", "c@z.org"}));
}

TEST(RelayMessage, SubjectsOutsideAsciiBecomeEncodedWords) {
    // A long subject: every line within 76 characters with "SUBJECT: " or " " before its word,
    // no character cut, the text intact (short ones are checked in what the strict relay got).
    const QString subject = QString::fromUtf8("Überweisung für 🚀 Ärger — ").repeated(6);
    QString decoded;
    for (const QString& word : encodedHeaderText(subject).split("\r\n ")) {
        EXPECT_LE(word.size(), 76 - 9);
        ASSERT_TRUE(word.startsWith("=?UTF-8?B?") && word.endsWith("?=")) << word.toStdString();
        const QByteArray bytes = QByteArray::fromBase64(word.mid(10, word.size() - 12).toLatin1());
        EXPECT_FALSE(QString::fromUtf8(bytes).contains(QChar::ReplacementCharacter));
        decoded += QString::fromUtf8(bytes);
    }
    EXPECT_EQ(decoded, subject);
}
