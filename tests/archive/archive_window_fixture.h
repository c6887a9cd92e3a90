// An archive window on a real zip component, a scripted Ui and a temporary folder, with real
// archives made by the system's `zip`.
#pragma once

#include <QTreeWidget>
#include <gtest/gtest.h>

#include "archive/archive_list.h"
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

    // Three entries: a compressible text, one in a sub-folder, and incompressible bytes.
    QString sampleZip(const QString& name = QStringLiteral("sample.zip")) {
        return zipOf(home.path(), name,
                     {{"a.txt", sample::englishLikeText(1234)},
                      {"sub/b.txt", QByteArray("b")},
                      {"c.bin", sample::randomBytes(3000)}});
    }
    // Opens an archive through File > Open as a person would.
    void open(const QString& path) {
        ui.answerOpenFile(path);
        win.mnuOpen_Click();
    }
    QStringList column(int c) const {
        QStringList out;
        for (int i = 0; i < win.lvwArchive->topLevelItemCount(); ++i)
            out << win.lvwArchive->topLevelItem(i)->text(c);
        return out;
    }
    QTreeWidgetItem* row(const QString& name) const {
        const auto found = win.lvwArchive->findItems(name, Qt::MatchExactly, 0);
        return found.isEmpty() ? nullptr : found.first();
    }
    void select(const QStringList& names) {
        win.lvwArchive->clearSelection();
        for (const QString& n : names)
            if (QTreeWidgetItem* r = row(n)) r->setSelected(true);
    }
    QStringList selectedNames() const {
        QStringList out;
        for (int i = 0; i < win.lvwArchive->topLevelItemCount(); ++i)
            if (win.lvwArchive->topLevelItem(i)->isSelected())
                out << win.lvwArchive->topLevelItem(i)->text(0);
        return out;
    }
    QString extracted(const QString& relative) const {
        QFile f(home.file(relative));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString("<none>");
    }
};

}  // namespace vx::test
