// vexaro-mail-demo: shows the two notification windows at work against an SMTP server of your
// choice (scripts/mail_demo.sh starts a local one). The internal mailer sends the notification
// through the relay named by the settings; then the notification window hands the notification
// to the desktop's mail program and sends a short message itself to --server. With --shots DIR
// message boxes answer themselves and each window is saved as DIR/<window>.png after its send.
#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstdio>

#include "mail/frmEmail.h"
#include "mail/frmInternal.h"
#include "settings/settings_store.h"
#include "ui/unattended_ui.h"

namespace {

void shoot(QWidget& window, const QString& folder) {
    if (folder.isEmpty()) return;
    QApplication::processEvents();
    const QString path = folder + '/' + window.objectName() + ".png";
    std::printf("%s %s\n", window.grab().save(path) ? "saved" : "could not save", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription("Shows the notification windows sending to an SMTP server.");
    cli.addHelpOption();
    cli.addOption(
        {"server", "SMTP server (host:port) for the notification window's own send.", "host:port"});
    cli.addOption({"archive", "The archive path the notification names.", "path",
                   "/tmp/12042026-162907.zip"});
    cli.addOption(
        {"shots", "Answer message boxes and save screenshots into this folder.", "folder"});
    cli.process(app);

    vx::UnattendedUi ui(cli.isSet("shots"));
    vx::SettingsStore settings;
    const QString archive = cli.value("archive");
    const vx::NotificationSource source{[archive] { return archive; }};

    vx::frmInternal internal(ui, settings, source, vx::systemClock());
    internal.show();
    internal.Form_Load();
    shoot(internal, cli.value("shots"));

    vx::frmEmail email(ui, settings, source);
    email.show();
    email.Form_Load();
    email.txtServerDomain->setText(cli.value("server"));
    email.txtFromEmail->setText(QStringLiteral("me@example.org"));
    email.txtToEmail->setText(internal.txtTo->text());
    email.txtMessage->setPlainText(QStringLiteral("Your files are on their way."));
    if (!cli.value("server").isEmpty()) email.cmdSend_Click();
    shoot(email, cli.value("shots"));
    return cli.isSet("shots") ? 0 : app.exec();
}
