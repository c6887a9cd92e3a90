// An archive window on a real zip component and a scripted Ui, in a temporary folder, with a
// sample archive made by the system's `zip`.
#pragma once

#include <QTreeWidget>
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
    QStringList column(int c, bool selectedOnly = false) const {
        QStringList out;
        for (QTreeWidgetItem* r : win.lvwArchive->findItems("*", Qt::MatchWildcard))
            if (!selectedOnly || r->isSelected()) out << r->text(c);
        return out;
    }
    // The row of the entry stored under this name (folder part and file name).
    QTreeWidgetItem* row(const QString& stored) const {
        for (QTreeWidgetItem* r : win.lvwArchive->findItems("*", Qt::MatchWildcard))
            if ((r->text(kColPath).isEmpty() ? "" : r->text(kColPath) + "/") + r->text(kColName) ==
                stored)
                return r;
        return nullptr;
    }
    void select(const QStringList& names) {
        win.lvwArchive->clearSelection();
        for (const QString& n : names) row(n)->setSelected(true);
    }
};

}  // namespace vx::test
