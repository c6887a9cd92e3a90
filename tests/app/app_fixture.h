// The program on a scripted Ui, a fixed clock (4 December 2026, 16:29:07), a temporary program
// folder and a settings file in it, with the controls of its windows, as the app tests drive it.
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
#include "log/frmLog.h"
#include "settings/settings_store.h"
#include "scripted_ui.h"
#include "temp_home.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"

namespace vx::test {

struct App {
    TempHome home;
    ScriptedUi ui;
    // An existing settings file, so that start-up is not a first start, unless told otherwise.
    SettingsStore store;
    Program program{ui, fixedClock(QDateTime(QDate(2026, 12, 4), QTime(16, 29, 7))), &store};
    frmAdd& add = program.addWindow();
    frmLog& log = program.logWindow();

    explicit App(bool settingsFile = true)
        : store(settingsFile ? home.write("TULPAREG.conf", "[Settings]\n")
                             : home.file("TULPAREG.conf")) {}

    // The selection list's entries, in order, as a person sees them.
    QStringList listed() const {
        QStringList out;
        for (int i = 0; i < add.lstAdd->count(); ++i) out << add.lstAdd->item(i)->text();
        return out;
    }
    QStringList logLines() const { return log.logText().split("\r\n", Qt::SkipEmptyParts); }
};

}  // namespace vx::test
