// The program on a scripted Ui, a fixed clock (4 December 2026, 16:29:07) and a temporary
// program folder, with the controls of its windows, as the app tests drive it.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include "app/frmAdd.h"
#include "app/program.h"
#include "list_entries.h"
#include "log/frmLog.h"
#include "scripted_ui.h"
#include "temp_home.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"

namespace vx::test {

struct App {
    TempHome home;
    ScriptedUi ui;
    Program program{ui, fixedClock(QDateTime(QDate(2026, 12, 4), QTime(16, 29, 7)))};
    frmAdd& add = program.addWindow();
    frmLog& log = program.logWindow();

    QStringList listed() const { return entries(*add.lstAdd); }
    QStringList logLines() const { return log.logText().split("\r\n", Qt::SkipEmptyParts); }
};

}  // namespace vx::test
