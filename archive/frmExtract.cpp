// Extract dialog.
#include "archive/frmExtract.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QItemSelectionModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "archive/arkovo.h"
#include "archive/files_group.h"
#include "ui/drive_list.h"
#include "ui/folder_list.h"
#include "ui/named.h"

namespace vx {
frmExtract::frmExtract(Ui& ui, Arkovo& arkovo, const QTreeView& list, const QString& startFolder,
                       QWidget* parent)
    : QDialog(parent), m_ui(ui), m_arkovo(arkovo), m_list(list) {
    setObjectName(QStringLiteral("frmExtract"));
    setWindowTitle(QStringLiteral("Extract"));
    buildControls();
    layoutControls();
    const bool none = !list.selectionModel() || !list.selectionModel()->hasSelection();
    (none ? fraFiles->optAll : fraFiles->optSelected)->setChecked(true);

    connect(drvListing, &QComboBox::currentIndexChanged, this, &frmExtract::drvListing_Change);
    connect(dirListing, &FolderList::pathChanged, this, &frmExtract::dirListing_Change);
    connect(cmdShowPath, &QPushButton::clicked, this, &frmExtract::cmdShowPath_Click);
    connect(cmdExtract, &QPushButton::clicked, this, &frmExtract::cmdExtract_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmExtract::cmdCancel_Click);

    if (!dirListing->setPath(startFolder)) dirListing->setPath(QDir::homePath());
    m_drive = QStorageInfo(dirListing->path()).rootPath();
    drvListing->setDriveSilently(m_drive);
}

void frmExtract::buildControls() {
    fraFiles = new FilesGroup(QStringLiteral("&All Files"), "optAllFiles", this);
    txtExtractTo = named(new QLineEdit(this), "txtExtractTo");
    drvListing = named(new DriveList(this), "drvListing");
    dirListing = named(new FolderList(this), "dirListing");
    cmdShowPath = named(new QPushButton(QStringLiteral("Show"), this), "cmdShowPath");
    cmdShowPath->setToolTip(QStringLiteral("Open the folder typed in \"Extract to:\""));
    chkFolders = named(new QCheckBox(QStringLiteral("&Use folder names"), this), "chkFolders");
    chkSkipOlder = named(new QCheckBox(QStringLiteral("S&kip older files"), this), "chkSkipOlder");
    chkOverwrite =
        named(new QCheckBox(QStringLiteral("&Overwrite existing files"), this), "chkOverwrite");
    cmdExtract = named(new QPushButton(QStringLiteral("Extract"), this), "cmdExtract");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdExtract->setDefault(true);
}

void frmExtract::layoutControls() {
    auto* target = new QHBoxLayout;
    target->addWidget(txtExtractTo, 1);
    target->addWidget(cmdShowPath);

    auto* left = new QVBoxLayout;
    auto* toLabel = new QLabel(QStringLiteral("Extract to:"), this);
    toLabel->setBuddy(txtExtractTo);
    left->addWidget(toLabel);
    left->addLayout(target);
    left->addWidget(new QLabel(QStringLiteral("Folders/drives:"), this));
    left->addWidget(drvListing);
    left->addWidget(dirListing, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(cmdExtract);
    right->addWidget(cmdCancel);
    right->addWidget(fraFiles);
    right->addWidget(chkFolders);
    right->addWidget(chkSkipOlder);
    right->addWidget(chkOverwrite);
    right->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);
    resize(620, 420);
}

void frmExtract::cmdExtract_Click() {
    QString folder = txtExtractTo->text();
    if (!QFileInfo::exists(folder)) {
        m_ui.messageBox(folder + QStringLiteral(" does not exist!"), Buttons::Ok, Icon::Critical,
                        QStringLiteral("Extract folder does not exist"));
        return;
    }
    close();
    fraFiles->extractChosen(m_list, m_arkovo, chkSkipOlder->isChecked() ? 1 : 0,
                            chkFolders->isChecked(), chkOverwrite->isChecked(), folder);
}

void frmExtract::cmdCancel_Click() { close(); }

void frmExtract::cmdShowPath_Click() {
    const QString text = txtExtractTo->text();
    if (text.isEmpty() || !dirListing->setPath(text)) {
        m_ui.messageBox(QStringLiteral("Could not find folder ") + text, Buttons::Ok,
                        Icon::Critical, QStringLiteral("Quorbit Arkovo"));
        return;
    }
    m_drive = QStorageInfo(dirListing->path()).rootPath();
    drvListing->setDriveSilently(m_drive);
}

void frmExtract::drvListing_Change() { followDrive(*drvListing, *dirListing, m_drive, m_ui); }

void frmExtract::dirListing_Change() { txtExtractTo->setText(dirListing->path()); }

}  // namespace vx
