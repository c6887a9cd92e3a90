// Program windows and start-up.
#include "app/program.h"

#include "app/command_line.h"
#include "app/compress_step.h"
#include "app/frmAdd.h"
#include "app/mdlList.h"
#include "app/output_names.h"
#include "archive/arkovo.h"
#include "archive/frmArchive.h"
#include "core/program_folder.h"
#include "log/frmLog.h"
#include "log/log_line.h"

#include <QLabel>
#include <QLineEdit>

namespace vx {
namespace {

void bringForward(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

Program::Program(Ui& ui, Clock clock) : m_ui(ui), m_clock(std::move(clock)) {}

// Windows are destroyed before the objects they refer to.
Program::~Program() {
    m_archive.reset();
    m_add.reset();
    m_log.reset();
    m_arkovo.reset();
}

Arkovo& Program::arkovo() {
    if (!m_arkovo) m_arkovo = std::make_unique<Arkovo>();
    return *m_arkovo;
}

frmLog& Program::logWindow() {
    if (!m_log) m_log = std::make_unique<frmLog>(m_ui);
    return *m_log;
}

frmAdd& Program::addWindow() {
    if (!m_add) {
        m_add = std::make_unique<frmAdd>(m_ui, m_clock,
                                         [this]() -> frmLog& { return logWindow(); });
        m_add->setCompressStep([this] {
            // A second click while the archive is written (the component yields) would hand
            // over a half-written archive: it is ignored.
            if (m_compressing) return;
            m_compressing = true;
            archiveWindow();  // its list and progress window follow the component's events
            CompressStep(*m_add, arkovo(), m_ui, m_afterCompress);
            m_compressing = false;
        });
    }
    return *m_add;
}

frmArchive& Program::archiveWindow() {
    if (!m_archive) {
        m_archive = std::make_unique<frmArchive>(m_ui, arkovo());
        m_archive->setShowLog([this] { bringForward(logWindow()); });
        // The file selection window is already open (closing it ends the run): Add brings it
        // forward instead of opening it a second time.
        m_archive->setShowAdd([this] { bringForward(addWindow()); });
        m_archive->setReport([this](const QString& message) {
            logWindow().appendLog(noteLine(m_clock(), message));
        });
    }
    return *m_archive;
}

void Program::ParseCommandLine(const QString& commandLine) {
    for (int i = autoloadCount(commandLine); i > 0; --i)
        LoadList(besideProgram(QStringLiteral("AutoOut.txt")), *addWindow().lstData, addWindow(),
                 m_ui);
}

void Program::Startup(const QString& commandLine) {
    ParseCommandLine(commandLine);
    const QString archive = outputArchivePath(programFolder(), m_clock());
    addWindow().Text1->setText(archive);
    logWindow().lblLogPath->setText(TrimPath(logFilePathFor(archive)));
    addWindow().show();
}

}  // namespace vx
