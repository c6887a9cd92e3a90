// The delete dialog: removes the selected entries, the entries matching a typed name or
// pattern, or the whole archive file (after a question). It closes before the zip component
// starts, so only the archive window and its progress window stay open during the work.
#pragma once

#include <QDialog>

#include "ui/ui.h"

class QPushButton;
class QTreeView;

namespace vx {

class Arkovo;
class FilesGroup;

class frmDelete : public QDialog {
    Q_OBJECT
public:
    // list is the archive window's list (its rows carry entry indexes); all three outlive the
    // dialog. "Selected Files" is chosen when the dialog opens.
    frmDelete(Ui& ui, Arkovo& arkovo, const QTreeView& list, QWidget* parent = nullptr);

    FilesGroup* fraFiles;  // its second option is optEntire, "&Entire Archive"
    QPushButton* cmdDelete;
    QPushButton* cmdCancel;

    // Deleting the entire archive file shows a message naming it when the file stays (no
    // permission); the archive then stays selected.
    void cmdDelete_Click();
    void cmdCancel_Click();

private:
    void deleteArchiveFile();

    Ui& m_ui;
    Arkovo& m_arkovo;
    const QTreeView& m_list;
};

}  // namespace vx
