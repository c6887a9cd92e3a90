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
#include "ui/qt_ui.h"

namespace {

// The desktop's Ui, except that in an unattended run message boxes are printed and answered OK
// (or Yes), and the program end only ends the demo's step.
class DemoUi final : public vx::Ui {
public:
    explicit DemoUi(bool unattended) : m_unattended(unattended) {}
    std::optional<QString> inputBox(const QString& p, const QString& t, const QString& i) override {
        return m_desktop.inputBox(p, t, i);
    }
    QString openFileName(const QString& t, const QString& f, const QString& s) override {
        return m_desktop.openFileName(t, f, s);
    }
    QString saveFileName(const QString& t, const QString& f, const QString& s) override {
        return m_desktop.saveFileName(t, f, s);
    }
    bool shellOpen(const QString& address) override {
        std::printf("[shell-open] %s\n", qPrintable(address));
        return m_desktop.shellOpen(address);
    }
    void setBusy(bool busy) override { m_desktop.setBusy(busy); }
    void yield() override { m_desktop.yield(); }
    void showModal(QWidget& window) override { m_desktop.showModal(window); }

protected:
    void endNow() override { std::printf("[program end]\n"); }
    vx::Answer showMessage(const QString& text, vx::Buttons b, vx::Icon i,
                           const QString& title) override {
        if (!m_unattended) return m_desktop.messageBox(text, b, i, title);
        std::printf("[%s] %s\n", qPrintable(title), qPrintable(text));
        return b == vx::Buttons::YesNo ? vx::Answer::Yes : vx::Answer::Ok;
    }

private:
    vx::QtUi m_desktop;
    bool m_unattended;
};

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

    DemoUi ui(cli.isSet("shots"));
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
