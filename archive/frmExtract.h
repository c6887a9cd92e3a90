// The extract dialog: picks the entries (selected, all, or a typed name or pattern), the
// destination folder (typed, or through drive and folder lists) and the three options, then
// closes and has the zip component extract.
#pragma once

#include <QDialog>

#include "ui/ui.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace vx {

class Arkovo;
class DriveList;
class FilesGroup;
class FolderList;

class frmExtract : public QDialog {
    Q_OBJECT
public:
    // list is the archive window's list; all three outlive the dialog. The dialog opens on
    // "Selected Files" when rows are selected, otherwise "All Files", and its lists on
    // startFolder (the home folder when that cannot be read).
    frmExtract(Ui& ui, Arkovo& arkovo, const QTreeView& list, const QString& startFolder,
               QWidget* parent = nullptr);

    FilesGroup* fraFiles;  // its second option is optAllFiles, "&All Files"
    QLineEdit* txtExtractTo;
    DriveList* drvListing;
    FolderList* dirListing;
    QPushButton* cmdShowPath;
    QCheckBox* chkFolders;
    QCheckBox* chkSkipOlder;
    QCheckBox* chkOverwrite;
    QPushButton* cmdExtract;
    QPushButton* cmdCancel;

    void cmdExtract_Click();
    void cmdCancel_Click();
    void cmdShowPath_Click();
    void drvListing_Change();
    void dirListing_Change();

private:
    void buildControls();
    void layoutControls();

    Ui& m_ui;
    Arkovo& m_arkovo;
    const QTreeView& m_list;
    QString m_drive;
};

}  // namespace vx
