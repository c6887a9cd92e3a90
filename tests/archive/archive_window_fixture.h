// An archive window on a real zip component and a scripted Ui, in a temporary folder, with a
// sample archive made by the system's `zip`.
#pragma once

#include <QTreeView>
#include <gtest/gtest.h>

#include "archive/archive_rows.h"
#include "archive/arkovo.h"
#include "archive/frmArchive.h"
#include "sample_data.h"
#include "scripted_ui.h"
#include "temp_home.h"
#include "zip_tools.h"

namespace vx::test {

struct ArchiveWindow {
    TempHome home;
    ScriptedUi ui;
    Arkovo arkovo;
    frmArchive win{ui, arkovo};

    // A compressible text, a one-byte file in a sub-folder, incompressible bytes.
    QString sampleZip() {
        return zipOf(home.path(), "sample.zip", {{"a.txt", sample::englishLikeText(1234)},
                                                 {"sub/b.txt", "b"},
                                                 {"c.bin", sample::randomBytes(3000)}});
    }
    void open(const QString& path) {  // File > Open, as a person would
        ui.answerOpenFile(path);
        win.mnuOpen->trigger();
    }
    QString text(int row, int c) const { return rows().index(row, c).data().toString(); }
    QAbstractItemModel& rows() const { return *win.lvwArchive->model(); }
    QStringList column(int c, bool selectedOnly = false) const {
        QStringList out;
        for (int r = 0; r < rows().rowCount(); ++r)
            if (!selectedOnly || win.lvwArchive->selectionModel()->isRowSelected(r))
                out << text(r, c);
        return out;
    }
    // The first cell of the entry stored under this name (folder part and file name).
    QModelIndex row(const QString& stored) const {
        for (int r = 0; r < rows().rowCount(); ++r)
            if ((text(r, kColPath).isEmpty() ? "" : text(r, kColPath) + "/") + text(r, kColName) ==
                stored)
                return rows().index(r, kColName);
        return {};
    }
    void select(const QStringList& names) {
        win.lvwArchive->clearSelection();
        for (const QString& n : names)
            win.lvwArchive->selectionModel()->select(
                row(n), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

}  // namespace vx::test
