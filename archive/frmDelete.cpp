// Delete dialog.
#include "archive/frmDelete.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "archive/arkovo.h"
#include "archive/files_group.h"
#include "ui/named.h"

namespace vx {

frmDelete::frmDelete(Ui& ui, Arkovo& arkovo, const QTreeView& list, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_arkovo(arkovo), m_list(list) {
    setObjectName(QStringLiteral("frmDelete"));
    setWindowTitle(QStringLiteral("Delete"));
    fraFiles = new FilesGroup(QStringLiteral("&Entire Archive"), "optEntire", this);
    cmdDelete = named(new QPushButton(QStringLiteral("Delete"), this), "cmdDelete");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    fraFiles->optSelected->setChecked(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdDelete);
    buttons->addWidget(cmdCancel);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(fraFiles, 1);
    layout->addLayout(buttons);
    cmdDelete->setDefault(true);

    connect(cmdDelete, &QPushButton::clicked, this, &frmDelete::cmdDelete_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDelete::cmdCancel_Click);
}

void frmDelete::cmdDelete_Click() {
    if (fraFiles->optAll->isChecked()) {
        const Answer a = m_ui.messageBox(
            QStringLiteral("Are you sure you wish to delete ") + m_arkovo.ArchiveName(),
            Buttons::YesNo, Icon::Question, QStringLiteral("Delete Archive"));
        close();
        if (a == Answer::Yes) deleteArchiveFile();
        return;
    }
    close();
    fraFiles->deleteChosen(m_list, m_arkovo);
}

void frmDelete::deleteArchiveFile() {
    const QString path = m_arkovo.ArchiveName();
    QFile file(path);
    if (file.exists() && !file.remove()) {
        m_ui.messageBox(
            QStringLiteral("Could not delete ") + path + QStringLiteral(": ") + file.errorString(),
            Buttons::Ok, Icon::Critical, QStringLiteral("Delete Archive"));
        return;
    }
    m_arkovo.setArchiveName(QString());
}

void frmDelete::cmdCancel_Click() { close(); }

}  // namespace vx
