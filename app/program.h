// The program's windows, one of each, loaded on first use and reached by name, and the
// start-up sequence that names this run's archive and log and opens the file selection window.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "core/clock.h"
#include "ui/ui.h"

namespace vx {

class Arkovo;
class frmAdd;
class frmArchive;
class frmLog;

class Program {
public:
    Program(Ui& ui, Clock clock);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The one zip component of the run. It outlives every window, so the compress step keeps
    // working after the archive window is put away with File > Exit.
    Arkovo& arkovo();

    frmArchive& archiveWindow();
    frmAdd& addWindow();
    frmLog& logWindow();

    // The archive window's load step: handles the command line, names the output archive and the
    // log file from the clock, hands both names on and shows the file selection window.
    void Startup(const QString& commandLine);

    // Calls LoadList with the list file beside the program, once per "-autoload".
    void ParseCommandLine(const QString& commandLine);

    // What runs when the compress step has written the archive (the upload, once it exists).
    void setAfterCompress(std::function<void()> next) { m_afterCompress = std::move(next); }

private:
    Ui& m_ui;
    Clock m_clock;
    std::function<void()> m_afterCompress;
    bool m_compressing = false;
    std::unique_ptr<Arkovo> m_arkovo;
    std::unique_ptr<frmLog> m_log;
    std::unique_ptr<frmAdd> m_add;
    std::unique_ptr<frmArchive> m_archive;
};

}  // namespace vx
