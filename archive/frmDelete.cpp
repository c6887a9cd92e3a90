// Delete dialog.
#include "archive/frmDelete.h"

#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "archive/archive_list.h"
#include "archive/arkovo.h"
#include "ui/named.h"

namespace vx {

frmDelete::frmDelete(Ui& ui, Arkovo& arkovo, const QTreeWidget& list, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_arkovo(arkovo), m_list(list) {
    setObjectName(QStringLiteral("frmDelete"));
    setWindowTitle(QStringLiteral("Delete"));
    fraFiles = named(new QGroupBox(QStringLiteral("Files"), this), "fraFiles");
    optSelected =
        named(new QRadioButton(QStringLiteral("&Selected Files"), fraFiles), "optSelected");
    optEntire = named(new QRadioButton(QStringLiteral("&Entire Archive"), fraFiles), "optEntire");
    optFiles = named(new QRadioButton(QStringLiteral("&Files:"), fraFiles), "optFiles");
    txtFiles = named(new QLineEdit(fraFiles), "txtFiles");
    cmdDelete = named(new QPushButton(QStringLiteral("Delete"), this), "cmdDelete");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    optSelected->setChecked(true);

    auto* grid = new QGridLayout(fraFiles);
    grid->addWidget(optSelected, 0, 0, 1, 2);
    grid->addWidget(optEntire, 1, 0, 1, 2);
    grid->addWidget(optFiles, 2, 0);
    grid->addWidget(txtFiles, 2, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdDelete);
    buttons->addWidget(cmdCancel);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(fraFiles, 1);
    layout->addLayout(buttons);
    cmdDelete->setDefault(true);

    // Typing a pattern chooses the option that uses it.
    connect(txtFiles, &QLineEdit::textEdited, optFiles, [this] { optFiles->setChecked(true); });
    connect(cmdDelete, &QPushButton::clicked, this, &frmDelete::cmdDelete_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDelete::cmdCancel_Click);
}

void frmDelete::cmdDelete_Click() {
    if (optEntire->isChecked()) {
        const Answer a = m_ui.messageBox(
            QStringLiteral("Are you sure you wish to delete ") + m_arkovo.ArchiveName(),
            Buttons::YesNo, Icon::Question, QStringLiteral("Delete Archive"));
        close();
        if (a == Answer::Yes) deleteArchiveFile();
        return;
    }
    const QStringList names =
        optFiles->isChecked() ? QStringList{txtFiles->text()} : rowNames(m_list, m_arkovo, true);
    close();
    m_arkovo.DeleteFiles(names);
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
