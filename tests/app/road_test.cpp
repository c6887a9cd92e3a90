// The whole road on real local servers: the selection is packed, encrypted when the settings ask
// for it, uploaded to the FTP test server and announced through the mail program and/or the SMTP
// relay; then the program ends. Each row checks what arrived, as the recipient would get it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <optional>

#include "../ftp/ftp_test_server.h"
#include "../mail/mail_fixtures.h"
#include "app_fixture.h"
#include "core/exit_codes.h"
#include "crypto/file_crypto.h"
#include "qt_printers.h"
#include "test_ca.h"
#include "zip_tools.h"

using namespace vx;
using namespace vx::test;

namespace {

const QString kKey = QStringLiteral("Blue-Harbour-7219!");
const Files kSelection{{"a.txt", "alpha\n"}, {"docs/b.bin", QByteArray(70000, '\x7f')},
                       {"docs/c.txt", "gamma\r\n"}};

struct Row {
    const char* name;
    const char* encrypt;
    std::optional<QString> mailer;  // nothing: the key is absent
    bool deleteAfter;
    QStringList ftpKnobs;
    const char* keycode;
    QStringList messages;  // every message shown, in order
    bool uploaded, mailProgram, relay;
    const char* leftOnDisk;  // "zip", "uzp" or "": what stays of the run's output
    // The strict SMTP server's knobs and RelayTls=starttls with the tests' authority; none: the
    // lenient server and the plain dialogue.
    QStringList smtpTls = {};
    // FtpTls=require against an FTP server that refuses log-in and data without TLS.
    bool ftpTls = false;
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class Road : public testing::TestWithParam<Row>, protected App {
protected:
    FtpTestServer ftp{GetParam().ftpTls ? tlsKnobs({"--tls-required", "--tls-reuse"})
                                        : GetParam().ftpKnobs};
    SmtpTestServer smtp{GetParam().smtpTls.isEmpty()
                            ? SmtpTestServer()
                            : SmtpTestServer(GetParam().smtpTls +
                                             QStringList{"cert=" + TestCa::shared().serverPem()})};
    QTemporaryDir selection;

    void SetUp() override {
        const Row& row = GetParam();
        home.write("keycode.dat", row.keycode);
        home.write("settings.ini", "[Email Settings]\nTO=you@x.org\nSUBJECT=Files\nBODY=Hi\n");
        const std::pair<const char*, QString> keys[] = {
            {"FtpServer", ftp.address()}, {"FtpUser", "tulpa"}, {"FtpPassword", "secret"},
            {"EncryptYN", row.encrypt}, {"EncryptKey", kKey}, {"EmailServer", "127.0.0.1"},
            {"RelayPort", QString::number(smtp.port())}, {"RelayFrom", "relay@x.org"},
            {"DownloadSiteBase", "http://files.test/"},
            {"RelayTls", row.smtpTls.isEmpty() ? "off" : "starttls"},
            {"FtpTls", row.ftpTls ? "require" : "auto"}, {"TlsCaFile", TestCa::shared().caFile()}};
        for (const auto& [key, value] : keys) ASSERT_TRUE(store.save(kSettingsSection, key, value));
        if (row.mailer) ASSERT_TRUE(store.save(kSettingsSection, "Mailer", *row.mailer));
        QDir().mkpath(ftp.local("/home/tulpa/public_html/K7QX"));
        writeFiles(selection.path(), kSelection);
        program.setPace(steadySeconds(20));
        program.Startup(QString());
        add.lstAdd->addItems({selection.filePath("a.txt"), selection.filePath("docs")});
        add.chkDelete->setChecked(row.deleteAfter);
        // The encryption window runs by itself half a second after it is shown, then closes.
        ui.onModal([](QWidget& window) {
            const QDeadlineTimer deadline(20000);
            while (window.isVisible() && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        });
    }
};

TEST_P(Road, SendsWhatWasSelectedAndTellsTheRecipient) {
    const Row& row = GetParam();
    add.cmdOK_Click();
    EXPECT_TRUE(ui.ended());
    EXPECT_EQ(ui.messageTexts(), row.messages);

    const QString archive = add.Text1->text();
    const QString sent = QString(archive).replace(QRegularExpression("zip$"),
                                                  *row.encrypt == '1' ? "uzp" : "zip");
    const QString name = QFileInfo(sent).fileName();
    const QString link = "http://files.test/users/tulpa/K7QX/" + name;
    for (const char* ext : {"zip", "uzp"})
        EXPECT_EQ(QFileInfo::exists(archive.chopped(3) + ext), QString(ext) == row.leftOnDisk) << ext;
    const QString remote = ftp.local("/home/tulpa/public_html/K7QX/" + name);
    ASSERT_EQ(QFileInfo::exists(remote), row.uploaded);
    if (row.uploaded) {
        // The file on the server restores to an archive holding exactly the selection.
        QTemporaryDir fetched;
        QString zip = fetched.filePath(name);
        ASSERT_TRUE(QFile::copy(remote, zip));
        if (*row.encrypt == '1') zip = korva::FileCrypto(zip, zip, kKey, QString());
        EXPECT_EQ(runTool("unzip", {"-Z1", zip}, fetched.path()).toStdString(),
                  "a.txt\ndocs/b.bin\ndocs/c.txt\n");
        for (const auto& [file, bytes] : kSelection) {
            const QString stored = file.startsWith("docs/") ? file : QFileInfo(file).fileName();
            EXPECT_EQ(runTool("unzip", {"-p", zip, stored}, fetched.path()).toLatin1(), bytes);
        }
    }
    const QStringList opened = ui.opened();
    EXPECT_EQ(opened.size() == 1 && opened[0].startsWith("mailto:") && opened[0].contains(link),
              row.mailProgram)
        << opened.join('\n').toStdString();
    EXPECT_EQ(smtp.transcript().contains(link), row.relay);
    // The exit status names what failed; a refused notification still let the job reach its end.
    const ExitCode status = row.messages.contains("Invalid Access Code!") ? ExitCode::InvalidAccessCode
                            : !row.uploaded                ? ExitCode::UploadFailed
                            : row.smtpTls.contains("refuse-rcpt") ? ExitCode::NotificationFailed
                                                                  : ExitCode::Ok;
    EXPECT_EQ(int(ui.exitStatus()), int(status));
}

const QString kDone = QStringLiteral("Upload complete!");
const QString kRelayDone = QStringLiteral("E-mail notification sent successfully!");

INSTANTIATE_TEST_SUITE_P(
    Rows, Road,
    testing::Values(
        Row{"EncryptedBothNotifications", "1", std::nullopt, false, {}, "\"K7QX\"\r\n",
            {kDone, kRelayDone}, true, true, true, "uzp"},
        Row{"PlainMailProgramDeleted", "0", "default", true, {}, "old,K7QX\r\n", {kDone},
            true, true, false, ""},
        Row{"EncryptedRelayDeleted", "1", "internal", true, {}, "K7QX", {kDone, kRelayDone},
            true, false, true, ""},
        Row{"OtherMailerNotifiesNobody", "0", "Internal", false, {}, "K7QX", {kDone}, true,
            false, false, "zip"},
        Row{"FailedUploadStillDeletes", "0", "default", true,
            {"--reply", "STOR", "553 Could not create file."}, "K7QX",
            {"553 Could not create file."}, false, false, false, ""},
        Row{"InvalidAccessCodeKeepsTheArchive", "1", std::nullopt, true, {}, "NOPE",
            {"Invalid Access Code!"}, false, false, false, "zip"},
        Row{"EncryptedRelayOverStartTls", "1", "internal", true, {}, "K7QX", {kDone, kRelayDone},
            true, false, true, "", {"starttls"}},
        Row{"RelayRefusalStillEndsTheJob", "0", "internal", true, {}, "K7QX",
            {kDone, "The e-mail notification was not sent.\r\nThe mail server refused the "
                    "recipient you@x.org:\r\n550 5.1.1 Recipient refused"},
            true, false, false, "", {"starttls", "refuse-rcpt"}},
        Row{"BothSessionsEncrypted", "1", "internal", false, {}, "K7QX", {kDone, kRelayDone},
            true, false, true, "uzp", {"starttls"}, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
