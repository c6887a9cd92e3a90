// One upload window in a fresh program folder, pointed at a real FTP test server on 127.0.0.1
// (user tulpa / secret, access-code folder K7QX). The links to the other windows record which
// of them were used; the encryption link turns the archive into its ".uzp" file as the real
// encryption window does, unless told to produce nothing.
#pragma once

#include <QDir>
#include <QLineEdit>
#include <utility>

#include "ftp_test_server.h"
#include "scripted_ui.h"
#include "settings/settings_store.h"
#include "upload/frmUpload.h"

namespace vx::test {

inline const QByteArray kPayload = QByteArray("archive bytes ").repeated(100);  // 1400 bytes

struct UploadRun {
    FtpTestServer server;
    TempHome home;
    SettingsStore store{home.file("TULPAREG.conf")};
    ScriptedUi ui;
    QStringList calls;  // "encrypt", "email", "internal", "unload", in order
    QString archive = home.write("12042026-162907.zip", kPayload);
    bool deleteAfter = false;
    bool encryptMakesFile = true;
    QString logName = QStringLiteral("12042026-162907.log");
    std::function<void()> onEmail;  // what the notification window does besides being shown
    frmUpload window{ui, store, links()};

    explicit UploadRun(std::initializer_list<std::pair<const char*, QString>> keys = {},
                       const QStringList& knobs = {})
        : server(knobs) {
        QDir().mkpath(server.local("/home/tulpa/public_html/K7QX"));
        home.write("keycode.dat", "old,K7QX\r\n");
        (void)store.save(kSettingsSection, "FtpServer", server.address());
        (void)store.save(kSettingsSection, "FtpPassword", "secret");
        for (const auto& [key, value] : keys) (void)store.save(kSettingsSection, key, value);
        window.mFTP.setTimeouts({5000, 5000, 5000, 5000});
    }

    // Logs the window in by hand (into the web folder), as its Connect button does.
    void connectByHand() {
        window.txtServer->setText(server.address());
        window.txtUser->setText(QStringLiteral("tulpa"));
        window.txtPassword->setText(QStringLiteral("secret"));
        window.cmdConnect_Click();
    }

private:
    UploadLinks links() {
        UploadLinks l;
        l.archivePath = [this] { return archive; };
        l.deleteAfterTransfer = [this] { return deleteAfter; };
        l.logText = [] { return QStringLiteral("line one\nline two"); };
        l.logFileName = [this] { return logName; };
        l.showEncrypt = [this] {
            calls << QStringLiteral("encrypt");
            if (encryptMakesFile) QFile::rename(archive, archive.chopped(3) + "uzp");
        };
        l.showEmail = [this] {
            calls << QStringLiteral("email");
            if (onEmail) onEmail();
        };
        l.showInternal = [this] { calls << QStringLiteral("internal"); };
        l.unloadMailWindows = [this] { calls << QStringLiteral("unload"); };
        return l;
    }
};

}  // namespace vx::test
