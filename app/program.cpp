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
#include "crypto/frmEncrypt.h"
#include "log/frmLog.h"
#include "log/log_line.h"
#include "mail/frmEmail.h"
#include "mail/frmInternal.h"
#include "settings/settings_store.h"
#include "upload/frmUpload.h"

#include <QCheckBox>
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

Program::Program(Ui& ui, Clock clock, SettingsStore* settings)
    : m_ui(ui), m_clock(std::move(clock)), m_afterCompress([this] { StartUpload(); }),
      m_settings(settings) {
    if (!m_settings) {
        m_ownSettings = std::make_unique<SettingsStore>();
        m_settings = m_ownSettings.get();
    }
}

// Windows are destroyed before the objects they refer to.
Program::~Program() {
    m_internal.reset();
    m_email.reset();
    m_upload.reset();
    m_archive.reset();
    m_add.reset();
    m_log.reset();
    m_arkovo.reset();
}

SettingsStore& Program::settings() { return *m_settings; }

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

frmUpload& Program::uploadWindow() {
    if (m_upload) return *m_upload;
    const auto archivePath = [this] { return addWindow().Text1->text(); };
    const NotificationSource source{archivePath};
    UploadLinks links;
    links.archivePath = archivePath;
    links.deleteAfterTransfer = [this] { return addWindow().chkDelete->checkState() == Qt::Checked; };
    links.logText = [this] { return logWindow().logText(); };
    links.logFileName = [this] { return logWindow().lblLogPath->text(); };
    links.showEncrypt = [this, archivePath] {
        frmEncrypt window(m_ui, settings(), archivePath);
        window.Form_Load();
        m_ui.showModal(window);
    };
    links.showEmail = [this, source] {
        m_email = std::make_unique<frmEmail>(m_ui, settings(), source, m_pace);
        m_email->show();
        m_email->Form_Load();
    };
    links.showInternal = [this, source] {
        m_internal = std::make_unique<frmInternal>(m_ui, settings(), source, m_clock, m_pace);
        m_internal->show();
        m_internal->Form_Load();
    };
    links.report = [this](const QString& message) {
        logWindow().appendLog(noteLine(m_clock(), message));
    };
    links.unloadMailWindows = [this] {
        m_email.reset();
        m_internal.reset();
    };
    m_upload = std::make_unique<frmUpload>(m_ui, settings(), std::move(links));
    return *m_upload;
}

void Program::StartUpload() { uploadWindow().Form_Load(); }

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
