// A file selection window on a scripted Ui, a fixed clock and a temporary program folder.
#pragma once

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QStringList>
#include <memory>

#include "app/frmAdd.h"
#include "log/frmLog.h"
#include "scripted_ui.h"
#include "temp_home.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"

namespace vx::test {

struct AddWindow {
    TempHome home;
    ScriptedUi ui;
    QDateTime now{QDate(2026, 12, 4), QTime(16, 29, 7)};
    frmLog log{ui};
    int logLoads = 0;
    frmAdd add{ui, [this] { return now; }, [this]() -> frmLog& {
                   ++logLoads;
                   return log;
               }};

    // Makes a sub-folder of the program folder holding the named files, and opens it.
    QString openFolderWith(const QStringList& names, qint64 size = 10) {
        const QString folder = home.file("pick");
        QDir().mkpath(folder);
        for (const QString& n : names) home.write("pick/" + n, QByteArray(size, 'x'));
        add.dirListing->setPath(folder);
        return folder;
    }
    void select(const QString& name) {
        const auto found = add.filListing->findItems(name, Qt::MatchExactly);
        if (!found.isEmpty()) found.first()->setSelected(true);
    }
    QStringList entries() const {
        QStringList out;
        for (int i = 0; i < add.lstAdd->count(); ++i) out << add.lstAdd->item(i)->text();
        return out;
    }
    QStringList logLines() const {
        return log.logText().split("\r\n", Qt::SkipEmptyParts);
    }
};

}  // namespace vx::test
