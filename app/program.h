// The program's windows, one of each, loaded on first use and reached by name, and the
// start-up sequence that names this run's archive and log and opens the file selection window.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "core/clock.h"
#include "mail/pace.h"
#include "ui/ui.h"

namespace vx {

class Arkovo;
class SettingsStore;
class frmAdd;
class frmArchive;
class frmEmail;
class frmEncrypt;
class frmSettings;
class frmInternal;
class frmLog;
class frmUpload;

class Program {
public:
    // settings: the store the windows read; the user's own store when none is given.
    Program(Ui& ui, Clock clock, SettingsStore* settings = nullptr);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The one zip component of the run. It outlives every window, so the compress step keeps
    // working after the archive window is put away with File > Exit.
    Arkovo& arkovo();

    frmArchive& archiveWindow();
    frmAdd& addWindow();
    frmLog& logWindow();
    frmUpload& uploadWindow();
    SettingsStore& settings();

    // The settings window, loaded and shown modally; firstStart adds the sentence that says
    // what to fill in. Reached from the file selection window and the archive window's menu.
    void ShowSettings(bool firstStart = false);
    frmSettings* settingsWindow() const { return m_settingsWindow.get(); }

    // The archive window's load step: handles the command line, names the output archive and the
    // log file from the clock, hands both names on and shows the file selection window. At a
    // first start (no settings file, no keycode.dat) the settings window comes first.
    void Startup(const QString& commandLine);

    // Opens the encryption window on an encrypted file, ready to restore it with the key the
    // user types: the file is source and target, the key box is empty and has the focus, the
    // window is tall enough to show its frames, and nothing runs by itself.
    frmEncrypt& OpenForRestore(const QString& encryptedFile);

    // Calls LoadList with the list file beside the program, once per "-autoload".
    void ParseCommandLine(const QString& commandLine);

    // What runs when the compress step has written the archive: the upload window's load,
    // which connects, sends, notifies and ends the program. Tests may put something else there.
    void setAfterCompress(std::function<void()> next) { m_afterCompress = std::move(next); }
    void StartUpload();
    // The clock that paces the SMTP dialogues (tests run it faster).
    void setPace(SecondsClock pace) { m_pace = std::move(pace); }

private:
    Ui& m_ui;
    Clock m_clock;
    std::function<void()> m_afterCompress;
    SecondsClock m_pace = steadySeconds();
    bool m_compressing = false;
    std::unique_ptr<SettingsStore> m_ownSettings;
    SettingsStore* m_settings;
    std::unique_ptr<Arkovo> m_arkovo;
    std::unique_ptr<frmLog> m_log;
    std::unique_ptr<frmAdd> m_add;
    std::unique_ptr<frmArchive> m_archive;
    std::unique_ptr<frmUpload> m_upload;
    std::unique_ptr<frmEmail> m_email;
    std::unique_ptr<frmInternal> m_internal;
    std::unique_ptr<frmEncrypt> m_restore;
    std::unique_ptr<frmSettings> m_settingsWindow;
};

}  // namespace vx
