// The log window: holds the run's activity log as one growing text, shows it and saves it to
// the log file named at start-up, in the program folder.
#pragma once

#include <QWidget>

#include "ui/ui.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vx {

class frmLog : public QWidget {
    Q_OBJECT
public:
    explicit frmLog(Ui& ui, QWidget* parent = nullptr);

    QPlainTextEdit* txtLog;
    QLabel* lblLogPath;  // the log file's bare name
    QPushButton* cmdSaveLog;

    // Appends a line (which carries its own CR LF) to the end of the log text.
    void appendLog(const QString& line);
    // The log text with CR LF line ends, as it is saved.
    QString logText() const;

    // Writes the text of the box to the file, replacing it; an error shows "There has been a
    // error!" and changes nothing else.
    void SaveText(QPlainTextEdit& box, const QString& path);
    // The program folder & "/" & the caption of lblLogPath.
    QString logFilePath() const;

    void cmdSaveLog_Click();

private:
    Ui& m_ui;
};

}  // namespace vx
