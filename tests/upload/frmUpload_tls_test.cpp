// The upload window with TLS: a certificate that does not verify is asked about (Yes pins it,
// No refuses) or, unattended, refused with its fingerprint; "require" names the server's refusal;
// "auto" against a plain server goes on and writes one log line.
#include <gtest/gtest.h>

#include "qt_printers.h"
#include "upload_fixture.h"

using namespace vx;

namespace {

enum Answer3 { NoQuestion, Yes, No, Unattended };
enum Server { Plain, Explicit, Implicit };

}  // namespace

TEST(frmUploadTls, CertificatesAndRefusals) {
    ASSERT_TRUE(test::TestCa::shared().ok());
    const QString fp = net::sha256Fingerprint(test::TestCa::shared().serverCertificate());
    const QString ca = test::TestCa::shared().caFile(), file = "/home/tulpa/public_html/K7QX/12042026-162907.zip";
    const QString question = "The certificate of 127.0.0.1 is not trusted:*SHA-256 fingerprint: " + fp +
                             "\nSubject: localhost\nIssuer: Vexaro Test CA\nValid from: 20*\nValid until: 20*"
                             "Trust this certificate from now on?";
    const struct {
        const char* name;
        Server server;
        std::initializer_list<std::pair<const char*, QString>> keys;
        Answer3 answer;
        QStringList messages, reported;  // patterns
        QString pinAfter;
        bool arrives;
    } cases[] = {
        {"CA file trusted", Explicit, {{"FtpTls", "require"}, {"TlsCaFile", ca}}, NoQuestion, {"Upload complete!"}, {}, "", true},
        {"unknown certificate, Yes pins it", Explicit, {{"FtpTls", "require"}}, Yes, {question, "Upload complete!"}, {}, fp, true},
        {"unknown certificate, No", Implicit, {{"FtpTls", "implicit"}}, No, {question}, {}, "", false},
        {"unknown certificate unattended", Explicit, {{"FtpTls", "auto"}}, Unattended,
         {"InternetConnect error code: 21 *" + fp + "*store its fingerprint in the setting \"FtpTlsPin\"."},
         {}, "", false},
        {"pinned before", Explicit, {{"FtpTls", "auto"}, {"FtpTlsPin", fp.toLower()}}, Unattended, {"Upload complete!"}, {},
         fp.toLower(), true},
        {"require, plain server", Plain, {{"FtpTls", "require"}}, NoQuestion,
         {"InternetConnect error code: 19 *refused TLS*500 *AUTH*"}, {}, "", false},
        {"auto (the default), plain server", Plain, {}, NoQuestion, {"Upload complete!"},
         {"The FTP session with 127.0.0.1:* is not encrypted: the server answered AUTH TLS with \"500 *\"."}, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList knobs = c.server == Plain      ? QStringList{}
                                  : c.server == Explicit ? test::tlsKnobs({"--tls-reuse"})
                                                         : test::tlsKnobs({"--tls-implicit"});
        test::UploadRun run(c.keys, knobs);
        (void)run.store.save(kSettingsSection, "EncryptYN", "0");
        (void)run.store.save(kSettingsSection, "Mailer", "x");
        run.ui.setUnattended(c.answer == Unattended);
        if (c.answer == Yes || c.answer == No) run.ui.answerMessage(c.answer == Yes ? Answer::Yes : Answer::No);
        run.window.Form_Load();
        const QStringList shown = run.ui.messageTexts();
        ASSERT_EQ(shown.size(), c.messages.size()) << shown.join(" | ").toStdString();
        for (int i = 0; i < shown.size(); ++i) EXPECT_TRUE(test::like(shown[i], c.messages[i])) << shown[i].toStdString();
        QStringList reported = run.reported;  // the upload's own lines about its tries aside
        reported.removeIf([](const QString& l) { return l.startsWith("Uploading ") || l.contains(" on the server whole"); });
        ASSERT_EQ(reported.size(), c.reported.size()) << reported.join(" | ").toStdString();
        for (int i = 0; i < c.reported.size(); ++i) EXPECT_TRUE(test::like(reported[i], c.reported[i]));
        EXPECT_EQ(run.store.read(kSettingsSection, "FtpTlsPin", ""), c.pinAfter);
        EXPECT_EQ(run.server.get(file), c.arrives ? test::kPayload : "<missing>");
        EXPECT_EQ(run.server.verbs().contains("USER"), c.arrives);  // nothing said to a refused server
        EXPECT_TRUE(run.ui.scriptUsed());
    }
}
