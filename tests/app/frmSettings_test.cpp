// The settings window: what it shows, what its Save writes, its two log-in tests against real
// local servers, the keyring offer, and the first start that opens it before the file selection.
#include "app/frmSettings.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QRadioButton>

#include "../ftp/ftp_test_server.h"
#include "app_fixture.h"
#include "archive/frmArchive.h"
#include "crypto/key_rules.h"
#include "memory_keyring.h"
#include "qt_printers.h"

using namespace vx;

namespace {

struct Window {
    test::TempHome home;
    test::ScriptedUi ui;
    SettingsStore store;
    frmSettings window{ui, store};
    explicit Window(const char* settings, std::shared_ptr<SecretKeyring> ring = nullptr)
        : store(home.write("TULPAREG.conf", settings), std::move(ring)) {
        home.write("keycode.dat", "old,K7QX\r\n");
        window.Form_Load();
    }
};

}  // namespace

TEST(frmSettings, ShowsWhatIsStoredAndSavesOnlyWhatWasChangedAsTyped) {
    Window w(
        "[Settings]\nFtpServer=ftp.mine.org\nEncryptKey=Tr0ub4dor&3x\nEmailYN=0\n"
        "[Mail]\nX=1\n");
    frmSettings& f = w.window;
    // clang-format off
    const std::pair<QLineEdit*, const char*> boxes[] = {
        {f.txtFtpServer, "ftp.mine.org"}, {f.txtFtpUser, ""}, {f.txtAccessCode, "K7QX"},
        {f.cboMailer->lineEdit(), ""}, {f.txtRelayPort, ""}, {f.cboFtpTls->lineEdit(), ""},
        {f.txtEncryptKey, "Tr0ub4dor&3x"}};
    // clang-format on
    for (const auto& [box, text] : boxes)
        EXPECT_EQ(box->text(), text) << box->objectName().toStdString();
    EXPECT_TRUE(f.chkEncrypt->isChecked());  // absent: its default 1
    EXPECT_FALSE(f.chkEmailYN->isChecked());
    EXPECT_TRUE(f.optPassive->isChecked());
    EXPECT_EQ(f.lblKeyQuality->text(), korva::keyQualityCaption("Tr0ub4dor&3x"));
    EXPECT_NE(f.lblKeyQuality->text(), "Key Quality: 0%");
    EXPECT_FALSE(f.lblIntro->isVisible());

    f.txtFtpUser->setText(" bob;1 ");
    f.cboMailer->setCurrentText("internal");
    f.txtEncryptKey->clear();
    EXPECT_EQ(f.lblKeyQuality->text(), "Key Quality: 0%");
    f.optActive->setChecked(true);
    f.chkSaveLog->setChecked(true);
    f.txtAccessCode->setText("NEW1");
    f.show();
    f.cmdOK->click();
    EXPECT_EQ(w.ui.messageTexts(), QStringList{"Settings Saved!"});
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(test::readFile(w.store.filePath()),
              "[Settings]\nFtpServer=ftp.mine.org\nEncryptKey=\nEmailYN=0\nFtpUser= bob;1 \n"
              "ActPasv=1\nMailer=internal\nSaveLog=1\n[Mail]\nX=1\n");
    EXPECT_EQ(test::readFile(w.home.file("keycode.dat")), "old,NEW1\r\n");
}

TEST(frmSettings, TestButtonsReportTheServersOwnReply) {
    test::FtpTestServer ftp;
    ASSERT_NE(ftp.port(), 0);
    QDir().mkpath(ftp.local("/home/tulpa/public_html/K7QX"));
    Window w("[Settings]\n");
    frmSettings& f = w.window;
    f.txtFtpServer->setText(ftp.address());
    f.txtFtpPassword->setText("wrong");
    f.cmdTestFtp->click();
    f.txtFtpPassword->setText("secret");
    f.cmdTestFtp->click();
    f.txtEmailServer->setText("127.0.0.1");
    f.txtRelayPort->setText("1");
    f.cmdTestRelay->click();
    const auto shown = w.ui.messages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_TRUE(test::like(shown[0].text, "The file server test failed:\n\n530 *"))
        << shown[0].text.toStdString();
    EXPECT_EQ(shown[0].icon, Icon::Critical);
    EXPECT_EQ(shown[1].text, "Logged in to " + ftp.address() +
                                 " as tulpa, entered /home/tulpa/public_html/K7QX and logged out.");
    EXPECT_EQ(shown[1].icon, Icon::Information);
    EXPECT_EQ(shown[2].text,
              "The relay test failed:\n\nNo connection to 127.0.0.1:1: "
              "Connection refused");
    EXPECT_EQ(test::readFile(w.store.filePath()), "[Settings]\n");  // a test saves nothing
}

TEST(frmSettings, OffersToMoveHandWrittenSecretsIntoTheKeyring) {
    auto ring = std::make_shared<test::MemoryKeyring>();
    Window w("[Settings]\nFtpPassword=by hand\nFtpUser=ann\n", ring);
    EXPECT_FALSE(w.window.cmdKeyring->isHidden());
    EXPECT_EQ(w.window.lblSecrets->text(),
              "The settings file holds FtpPassword in plain text; "
              "the desktop's keyring can keep them.");
    w.window.cmdKeyring->click();
    EXPECT_TRUE(w.window.cmdKeyring->isHidden());
    EXPECT_EQ(test::readFile(w.store.filePath()), "[Settings]\nFtpUser=ann\n");
    EXPECT_EQ(ring->entries["FtpPassword"], "by hand");
    Window plain("[Settings]\nFtpPassword=by hand\n");  // no keyring: nothing to offer
    EXPECT_TRUE(plain.window.cmdKeyring->isHidden());
}

TEST(frmSettings, FirstStartOpensItBeforeTheSelectionAndItIsReachableLater) {
    const struct { const char* name; bool settingsFile, keycode, firstStart; } cases[] = {
        {"new user", false, false, true}, {"settings only", true, false, false},
        {"keycode only", false, true, false}};
    for (const auto& c : cases) {
        test::App app(c.settingsFile);
        if (c.keycode) app.home.write("keycode.dat", "");  // even an empty one
        bool introShown = false, addShownBefore = true;
        app.ui.onModal([&](QWidget&) {
            introShown = app.program.settingsWindow()->lblIntro->isVisible();
            addShownBefore = app.add.isVisible();
            app.program.settingsWindow()->cmdCancel->click();
        });
        app.program.Startup("");
        const auto& shown = app.ui.shown();
        EXPECT_EQ(!shown.empty() && shown[0].text == "frmSettings", c.firstStart) << c.name;
        EXPECT_EQ(introShown, c.firstStart) << c.name;
        EXPECT_FALSE(c.firstStart && addShownBefore) << c.name;
        EXPECT_TRUE(app.add.isVisible()) << c.name;  // Cancel goes on as usual
        EXPECT_EQ(QFile::exists(app.store.filePath()), c.settingsFile) << c.name;
    }
    test::App app;
    app.add.cmdSettings->click();
    app.program.archiveWindow().mnuSettings->trigger();
    QStringList modal;
    for (const auto& s : app.ui.shown()) modal << s.kind + ":" + s.text;
    EXPECT_EQ(modal, (QStringList{"modal:frmSettings", "modal:frmSettings"}));
}
