// The "Files" group of the delete and extract dialogs: the selected rows, every entry, or the
// entries matching a name or pattern typed beside the third option.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QLineEdit;
class QRadioButton;
class QTreeView;

namespace vx {

class Arkovo;

class FilesGroup : public QGroupBox {
public:
    // allCaption and allName are the caption and control name of the second option, which
    // differ between the dialogs. Typing in txtFiles chooses optFiles.
    FilesGroup(const QString& allCaption, const char* allName, QWidget* parent);

    QRadioButton* optSelected;
    QRadioButton* optAll;
    QRadioButton* optFiles;
    QLineEdit* txtFiles;

    // Removes (DeleteFiles/DeleteEntries) or extracts what the chosen option stands for: the
    // name or pattern typed, or exactly the entries of the selected rows or of all rows of the
    // archive window's list, by their tags.
    void deleteChosen(const QTreeView& list, Arkovo& arkovo) const;
    void extractChosen(const QTreeView& list, Arkovo& arkovo, qint32 skipOlder,
                       bool useFolderNames, bool overwrite, QString& destination) const;
};

}  // namespace vx
