// Fixtures of the mail tests: the SMTP test server (smtp_server.py, run by the system's python3)
// on 127.0.0.1 with its knobs and the lines it received; and a program folder for the
// notification windows with keycode.dat, the template, a settings store and the scripted Ui.
#pragma once

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <initializer_list>
#include <utility>

#include "mail/notification_text.h"
#include "mail/pace.h"
#include "scripted_ui.h"
#include "settings/settings_store.h"
#include "temp_home.h"

namespace vx::test {

// port() is 0 when the server did not start.
class SmtpTestServer {
public:
    explicit SmtpTestServer(const QStringList& knobs = {}) {
        m_process.start("/usr/bin/python3",
                        QStringList{VEXARO_SOURCE_DIR "/tests/mail/smtp_server.py",
                                    m_dir.filePath("transcript")} +
                            knobs);
        QByteArray out;
        while (!out.contains('\n') && m_process.waitForReadyRead(20000))
            out += m_process.readAllStandardOutput();
        if (out.startsWith("PORT ")) m_port = static_cast<quint16>(out.mid(5).trimmed().toUInt());
    }
    ~SmtpTestServer() {
        m_process.kill();
        m_process.waitForFinished();
    }
    quint16 port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

    // Every line received so far, once what the client sent has had a moment to arrive.
    QStringList transcript() const {
        letEventsRun();
        QThread::msleep(100);
        QFile f(m_dir.filePath("transcript"));
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
        lines.removeLast();  // after the last line end
        return lines;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
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

}  // namespace vx::test
