// Log window.
#include "log/frmLog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "core/program_folder.h"
#include "log/text_file.h"

namespace vx {

frmLog::frmLog(Ui& ui, QWidget* parent) : QWidget(parent, Qt::Window), m_ui(ui) {
    setObjectName(QStringLiteral("frmLog"));
    setWindowTitle(QStringLiteral("Log Window"));
    auto* heading = new QLabel(QStringLiteral("Log View"), this);
    txtLog = new QPlainTextEdit(this);
    txtLog->setObjectName(QStringLiteral("txtLog"));
    txtLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    heading->setBuddy(txtLog);
    lblLogPath = new QLabel(QStringLiteral("Log Path"), this);
    lblLogPath->setObjectName(QStringLiteral("lblLogPath"));
    cmdSaveLog = new QPushButton(QStringLiteral("&Save Log"), this);
    cmdSaveLog->setObjectName(QStringLiteral("cmdSaveLog"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblLogPath, 1);
    bottom->addWidget(cmdSaveLog);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(txtLog, 1);
    layout->addLayout(bottom);
    resize(640, 400);

    connect(cmdSaveLog, &QPushButton::clicked, this, &frmLog::cmdSaveLog_Click);
}

void frmLog::appendLog(const QString& line) {
    QString shown = line;
    shown.remove(QLatin1Char('\r'));
    QTextCursor cursor(txtLog->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(shown);
}

QString frmLog::logText() const {
    return txtLog->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString frmLog::logFilePath() const { return besideProgram(lblLogPath->text()); }

void frmLog::SaveText(QPlainTextEdit& box, const QString& path) {
    if (!writeTextFile(box.toPlainText(), path).isOk())
        m_ui.messageBox(QStringLiteral("There has been a error!"), Buttons::Ok, Icon::None,
                        QStringLiteral("Error"));
}

void frmLog::cmdSaveLog_Click() { SaveText(*txtLog, logFilePath()); }

}  // namespace vx
