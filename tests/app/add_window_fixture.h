// A file selection window on a scripted Ui, a fixed clock and a temporary program folder.
#pragma once

#include <QDir>
#include <QListWidget>
#include <QStringList>

#include "app/frmAdd.h"
#include "list_entries.h"
#include "log/frmLog.h"
#include "scripted_ui.h"
#include "temp_home.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"

namespace vx::test {

struct AddWindow {
    TempHome home;
    ScriptedUi ui;
    frmLog log{ui};
    int logLoads = 0;
    frmAdd add{ui, fixedClock(QDateTime(QDate(2026, 12, 4), QTime(16, 29, 7))),
               [this]() -> frmLog& {
                   ++logLoads;
                   return log;
               }};

    // Makes a sub-folder of the program folder holding the named files, opens it and selects
    // the files named in `selected`.
    QString openFolderWith(const QStringList& names, qint64 size = 10,
                           const QStringList& selected = {}) {
        QDir().mkpath(home.file("pick"));
        for (const QString& n : names) home.write("pick/" + n, QByteArray(size, 'x'));
        add.dirListing->setPath(home.file("pick"));
        for (const QString& n : selected)
            add.filListing->findItems(n, Qt::MatchExactly)[0]->setSelected(true);
        return home.file("pick");
    }
    QStringList logLines() const { return log.logText().split("\r\n", Qt::SkipEmptyParts); }
};

}  // namespace vx::test
