// The remote file commands of the upload window: refresh, create folder, delete, rename,
// download, upload, and moving between folders by double-click.
#include <QDir>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTreeWidget>

#include "core/program_folder.h"
#include "upload/frmUpload.h"
#include "upload/upload_rules.h"

namespace vx {
namespace {

const QString kAllFiles = QStringLiteral("All Files|*");

// Where the save dialog starts: the user's download folder (else home), with the remote name.
QString savePreset(const QString& sName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    return QDir(folder).filePath(sName);
}

}  // namespace

QString frmUpload::selectedName() const {
    const QList<QTreeWidgetItem*> rows = lv->selectedItems();
    return rows.isEmpty() ? QString() : rows.constFirst()->text(0);
}

const cDirItem* frmUpload::selectedEntry() {
    const QString sName = selectedName();
    if (sName.isEmpty() || sName == QLatin1String("..")) return nullptr;
    // Exactly this name: the list's own lookup ignores case, and "Data" and "data" can both be
    // there.
    for (const auto& entry : mFTP.Directory())
        if (entry->FileName == sName) return entry.get();
    return nullptr;
}

void frmUpload::cmdRefresh_Click() { RefreshListing(); }

void frmUpload::cmdCreateDir_Click() {
    const QString sName =
        m_ui.inputBox(QStringLiteral("Please enter a name for this directory:"), kProgramTitle)
            .value_or(QString())
            .trimmed();
    if (sName.isEmpty()) return;
    if (!mFTP.CreateFTPDirectory(sName)) {
        m_ui.messageBox(mFTP.GetLastErrorMessage());
        return;
    }
    m_ui.messageBox(
        QStringLiteral("Directory ") + sName + QStringLiteral(" was successfully created."),
        Buttons::Ok, Icon::Information);
    RefreshListing();
}

// The name is looked up before the question: a row that is not in the listing (the ".." row
// above all) is not offered for deletion.
void frmUpload::cmdDelete_Click() {
    const cDirItem* entry = selectedEntry();
    if (!entry) return;
    const QString sName = selectedName();
    if (m_ui.messageBox(
            QStringLiteral("Are you sure you want to delete ") + sName + QStringLiteral("?"),
            Buttons::YesNo, Icon::Question, QStringLiteral("Delete?")) != Answer::Yes)
        return;
    const bool folder = entry->Directory;
    if (!(folder ? mFTP.RemoveFTPDirectory(sName) : mFTP.DeleteFTPFile(sName))) {
        m_ui.messageBox(mFTP.GetLastErrorMessage());
        return;
    }
    m_ui.messageBox(
        folder ? QStringLiteral("Directory ") + sName + QStringLiteral(" was successfully removed.")
               : QStringLiteral("The file ") + sName + QStringLiteral(" was successfully deleted."),
        Buttons::Ok, Icon::Information);
    RefreshListing();
}

void frmUpload::cmdRename_Click() {
    const cDirItem* entry = selectedEntry();
    if (!entry || entry->Directory) return;
    const QString sOld = selectedName();
    const QString sNew =
        m_ui.inputBox(QStringLiteral("Please enter a new name for this file:"), kProgramTitle)
            .value_or(QString())
            .trimmed();
    if (sNew.isEmpty()) return;
    if (!mFTP.RenameFTPFile(sOld, sNew)) {
        m_ui.messageBox(mFTP.GetLastErrorMessage());
        return;
    }
    // The old name runs straight into the text after it, as the message has always read.
    m_ui.messageBox(QStringLiteral("The file ") + sOld +
                    QStringLiteral("was successfuly renamed to ") + sNew);
    RefreshListing();
}

void frmUpload::cmdDownload_Click() {
    const cDirItem* entry = selectedEntry();
    if (!entry || entry->Directory) return;
    QString sRemote = selectedName();
    QString sLocal = m_ui.saveFileName(QStringLiteral("Download file from Server"), kAllFiles,
                                       savePreset(sRemote))
                         .trimmed();
    pb->show();
    const QTime started = QTime::currentTime();
    if (!sLocal.isEmpty()) {
        ShowBusyCursor();
        const bool ok = mFTP.FTPDownloadFile(sLocal, sRemote);
        ShowNormalCursor();
        m_ui.messageBox(ok ? downloadTimeText(started, QTime::currentTime())
                           : mFTP.GetLastErrorMessage());
    }
    pb->hide();
    RefreshListing();
}

void frmUpload::cmdUpload_Click() {
    const QString sSource = m_ui.openFileName(QStringLiteral("Upload file to server"), kAllFiles);
    if (sSource.isEmpty()) return;
    QString sLocal = sSource;
    QString sRemote = TrimPath(sSource);
    pb->show();
    ShowBusyCursor();
    const bool ok = mFTP.FTPUploadFile(sLocal, sRemote);
    ShowNormalCursor();
    m_ui.messageBox(ok ? QStringLiteral("Transfer complete!") : mFTP.GetLastErrorMessage());
    mFTP.CloseConnection();
}

void frmUpload::lv_DblClick() {
    ShowBusyCursor();
    const QString sName = selectedName();
    if (sName == QLatin1String("..")) {
        (void)mFTP.SetFTPDirectory(sName);
    } else if (const cDirItem* entry = selectedEntry()) {
        if (entry->Directory)
            (void)mFTP.SetFTPDirectory(sName);
        else
            cmdDownload_Click();
    }
    ShowNormalCursor();
    RefreshListing();
}

}  // namespace vx
