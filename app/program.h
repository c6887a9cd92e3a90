// The program's windows, one of each, loaded on first use and reached by name, and the
// start-up sequence that names this run's archive and log and opens the file selection window.
#pragma once

#include <QString>
#include <memory>

#include "core/clock.h"
#include "ui/ui.h"

namespace vx {

class frmAdd;
class frmArchive;
class frmLog;

class Program {
public:
    Program(Ui& ui, Clock clock);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    frmArchive& archiveWindow();
    frmAdd& addWindow();
    frmLog& logWindow();

    // The archive window's load step: handles the command line, names the output archive and the
    // log file from the clock, hands both names on and shows the file selection window.
    void Startup(const QString& commandLine);

    // Calls LoadList with the list file beside the program, once per "-autoload".
    void ParseCommandLine(const QString& commandLine);

private:
    Ui& m_ui;
    Clock m_clock;
    std::unique_ptr<frmLog> m_log;
    std::unique_ptr<frmAdd> m_add;
    std::unique_ptr<frmArchive> m_archive;
};

}  // namespace vx
