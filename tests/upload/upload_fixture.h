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

inline const QByteArray kPayload = QByteArray("archive bytes ").repeated(100);

struct UploadRun {
    FtpTestServer server;
    TempHome home;
    SettingsStore store{home.file("TULPAREG.conf")};
    ScriptedUi ui;
    QStringList calls;     // "encrypt", "email", "internal", "unload", in order
    QStringList reported;  // lines for the log window
    QString archive = home.write("12042026-162907.zip", kPayload);
    bool deleteAfter = false, encryptMakesFile = true, emailEnds = false;
    frmUpload window{ui, store, links()};

    explicit UploadRun(std::initializer_list<std::pair<const char*, QString>> keys = {},
                       const QStringList& serverKnobs = {})
        : server(serverKnobs) {
        QDir().mkpath(server.local("/home/tulpa/public_html/K7QX"));
        home.write("keycode.dat", "old,K7QX\r\n");
        (void)store.save(kSettingsSection, "FtpServer", server.address());
        (void)store.save(kSettingsSection, "FtpPassword", "secret");
        for (const auto& [key, value] : keys) (void)store.save(kSettingsSection, key, value);
    }

private:
    UploadLinks links() {
        const auto record = [this](const char* name) { return [this, name] { calls << name; }; };
        return {[this] { return archive; },
                [this] { return deleteAfter; },
                [] { return QStringLiteral("line one\nline two"); },
                [] { return QStringLiteral("12042026-162907.log"); },
                [this] {
                    calls << "encrypt";
                    if (encryptMakesFile) QFile::rename(archive, archive.chopped(3) + "uzp");
                },
                [this] {
                    calls << "email";
                    if (emailEnds) ui.endProgram();
                },
                record("internal"),
                record("unload"),
                [this](const QString& line) { reported << line; }};
    }
};

}  // namespace vx::test
