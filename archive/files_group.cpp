// The "Files" group of the delete and extract dialogs.
#include "archive/files_group.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>

#include "archive/archive_list.h"
#include "archive/arkovo.h"
#include "ui/named.h"

namespace vx {

FilesGroup::FilesGroup(const QString& allCaption, const char* allName, QWidget* parent)
    : QGroupBox(QStringLiteral("Files"), parent) {
    setObjectName(QStringLiteral("fraFiles"));
    optSelected = named(new QRadioButton(QStringLiteral("&Selected Files"), this), "optSelected");
    optAll = named(new QRadioButton(allCaption, this), allName);
    optFiles = named(new QRadioButton(QStringLiteral("&Files:"), this), "optFiles");
    txtFiles = named(new QLineEdit(this), "txtFiles");

    auto* grid = new QGridLayout(this);
    grid->addWidget(optSelected, 0, 0, 1, 2);
    grid->addWidget(optAll, 1, 0, 1, 2);
    grid->addWidget(optFiles, 2, 0);
    grid->addWidget(txtFiles, 2, 1);
    connect(txtFiles, &QLineEdit::textEdited, optFiles, [this] { optFiles->setChecked(true); });
}

void FilesGroup::deleteChosen(const QTreeView& list, Arkovo& arkovo) const {
    if (optFiles->isChecked())
        arkovo.DeleteFiles({txtFiles->text()});
    else
        arkovo.DeleteEntries(rowTags(list, optSelected->isChecked()));
}

void FilesGroup::extractChosen(const QTreeView& list, Arkovo& arkovo, qint32 skipOlder,
                               bool useFolderNames, bool overwrite, QString& destination) const {
    if (optFiles->isChecked())
        arkovo.ExtractFiles({txtFiles->text()}, skipOlder, useFolderNames, overwrite, destination);
    else
        arkovo.ExtractEntries(rowTags(list, optSelected->isChecked()), skipOlder, useFolderNames,
                              overwrite, destination);
}

}  // namespace vx
