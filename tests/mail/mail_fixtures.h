// Fixtures of the mail tests: the SMTP test server on 127.0.0.1, a program folder for the
// notification windows (keycode.dat, the template, a settings store, the scripted Ui) and the
// notification paragraph of the worked example.
//
// smtp_server.py is strict as real submission servers are (aiosmtpd): EHLO with a domain or an
// address literal, AUTH LOGIN or PLAIN with relay-user / change-me only after EHLO (and only
// after STARTTLS when it offers TLS), MAIL only after the log-in, text sent before the reply it
// waits for refused with 554 and the connection closed, dots un-stuffed. Each message it accepts
// is one JSON line of "<transcript>.messages" (from, to, encrypted, data). With the knob
// "lenient" it speaks what the plain dialogues use instead (HELO, AUTH LOGIN straight after it,
// MAIL, RCPT, DATA, QUIT). Either way it appends every line it receives, without its CR LF, to
// its transcript ("<bare LF>" marks a line that ended in LF alone). Knobs: "silent" (lenient:
// it never answers), "refuse-rcpt" (RCPT gets 550), "starttls" or "tls" with "cert=PEM" (TLS
// after STARTTLS, or from the first byte), "plain-only" (AUTH PLAIN, no LOGIN), "no-auth",
// "auth-delay=S" (the answer to the password S seconds late).
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <initializer_list>
#include <utility>

#include "mail/notification_text.h"
#include "mail/pace.h"
#include "python_server.h"
#include "scripted_ui.h"
#include "settings/settings_store.h"
#include "temp_home.h"

namespace vx::test {

struct SmtpTestServer : PythonServer {
    // The lenient server, with one knob ("" for none).
    explicit SmtpTestServer(const char* knob = "") : SmtpTestServer(QStringList{"lenient", knob}) {}
    // The strict server unless the knobs say "lenient".
    explicit SmtpTestServer(const QStringList& knobs) {
        start("tests/mail/smtp_server.py", QStringList{file("transcript")} + knobs);
    }
    // The messages it accepted, as JSON objects.
    QList<QJsonObject> messages() const {
        QList<QJsonObject> out;
        for (const QString& line : lines("transcript.messages"))
            out += QJsonDocument::fromJson(line.toUtf8()).object();
        return out;
    }
    // Every line received so far, once what the client sent has had a moment to arrive.
    QStringList transcript() const {
        letEventsRun();
        QThread::msleep(100);
        return lines("transcript");
    }
};

// The keys given are saved in the store; this run's archive is /run/12042026-162907.zip.
struct MailHome {
    TempHome home;
    SettingsStore store{home.file("TULPAREG.conf")};
    ScriptedUi ui;
    NotificationSource source{[] { return QStringLiteral("/run/12042026-162907.zip"); }};

    explicit MailHome(std::initializer_list<std::pair<const char*, QString>> keys) {
        home.write("keycode.dat", "old,K7QX\r\n");
        home.write("settings.ini",
                   "[Email Settings]\nTO=you@x.org\nCC=c@x.org\nBCC=b@x.org\n"
                   "SUBJECT=Files\nBODY=Hi\n");
        (void)store.save(kSettingsSection, "DownloadSiteBase", "http://files.test/");
        for (const auto& [key, value] : keys) (void)store.save(kSettingsSection, key, value);
    }
};

// From the first sentence to the setup link, for the archive 12042026-162907 sent encrypted
// with the access code K7QX; `br` is the line break.
inline QString workedExample(const QString& br) {
    return QStringList{"Someone using Vexaro has sent you a file too large for email.",
                       "You can download this file by clicking the following link below.",
                       "http://files.test/users/tulpa/K7QX/12042026-162907.uzp",
                       "If you would like to download Vexaro Free Edition, please visit the URL "
                       "below:",
                       "http://files.test/downloads/apps/tulpa/setup.exe"}
        .join(br + br);
}

}  // namespace vx::test
