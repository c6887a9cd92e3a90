// The upload window: shows the transfer of this run's archive to the file server. Its load step
// reads the access code, connects, enters the user's folder on the server, lists it and runs the
// upload job, which ends the program. While the job runs, the window also offers manual commands
// on the remote folder (refresh, create, delete, rename, download, upload, folder navigation).
#pragma once

#include <QIcon>
#include <QWidget>
#include <functional>

#include "ftp/cftp.h"
#include "ui/ui.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace vx {

class SettingsStore;

// What the job reads from other windows and hands over to them.
struct UploadLinks {
    std::function<QString()> archivePath;       // the output archive of this run
    std::function<bool()> deleteAfterTransfer;  // "Delete Output File after Transfer?" ticked
    std::function<QString()> logText;           // the run's log text
    std::function<QString()> logFileName;       // the log file's bare name
    std::function<void()> showEncrypt;          // shows the encryption window; returns when closed
    std::function<void()> showEmail;            // shows the notification window and runs its load
    std::function<void()> showInternal;         // shows the internal mailer and runs its load
    std::function<void()> unloadMailWindows;    // unloads the notification window, then the mailer
    std::function<void(const QString&)> report; // adds a note line to the log window
};

class frmUpload : public QWidget {
    Q_OBJECT
public:
    // Builds the controls; nothing is read or connected before Form_Load.
    frmUpload(Ui& ui, SettingsStore& settings, UploadLinks links, QWidget* parent = nullptr);
    ~frmUpload() override;

    cFTP mFTP;  // the window's FTP client; its progress drives pb

    QGroupBox* Frame1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* txtServer;
    QLineEdit* txtUser;
    QLineEdit* txtPassword;  // masked with "*"
    QLineEdit* txtKeyCode;   // hidden: the access code read from keycode.dat
    QPushButton* cmdConnect;
    QPushButton* cmdDisconnect;
    QGroupBox* Frame2;
    QRadioButton* optAscii;
    QRadioButton* optBin;
    QGroupBox* Frame3;
    QRadioButton* optActive;
    QRadioButton* optPassive;
    QPushButton* cmdUpload;
    QPushButton* cmdRefresh;
    QPushButton* cmdDownload;
    QPushButton* cmdDelete;
    QPushButton* cmdCreateDir;
    QPushButton* cmdRename;
    QTreeWidget* lv;  // "Name", "Size", "Last Accessed", "Attributes"
    QLabel* lblDir;
    QProgressBar* pb;
    QLabel* lblNote;
    QLabel* lblWarn;
    QLabel* Label4;

    // The whole load step: centres and shows the window, reads the access code (a missing or
    // unreadable keycode.dat ends the program with a message before any connection), sets the
    // connection mode from "ActPasv" and binary transfers, connects and runs the upload job.
    // Returns only where the program ended (the desktop Ui never returns from the end).
    // Transfers yield, so other handlers may run inside.
    void Form_Load();
    // Logs in with the three text boxes and enters the access-code folder. A refused access code
    // shows "Invalid Access Code!" and ends the program; a failed log-in shows nothing (the job
    // reports it). On success: caption with the date and time, listing, note, warning hidden.
    void ConnectToServer();
    // Rebuilds lblDir and the rows of lv from a new listing of the current remote folder; a
    // failed listing shows no message, only the ".." row.
    void RefreshListing();
    // Encrypts when asked, uploads the file, saves the log, confirms and notifies, then closes
    // the connection, deletes the sent file when asked and ends the program. Stops at once,
    // without closing or deleting anything, when a notification window ended the program.
    void RunUploadJob();
    // Writes text and a line break to path, replacing the file; a failure shows "There has been
    // a error!" under the title "Error" and changes nothing else.
    void SaveText(const QString& text, const QString& path);

    // Transfer progress: pb runs from 0 to lTotalBytes; a count above the total leaves the value.
    // An empty transfer (total 0) shows a full bar. Yields once.
    void mFTP_FileTransferProgress(qint32 lCurrentBytes, qint32 lTotalBytes);

    void cmdConnect_Click();
    void cmdDisconnect_Click();
    void optActive_Click();
    void optPassive_Click();
    void optAscii_Click();
    void optBin_Click();
    // Focus on a connection box selects its text (the first 255 characters).
    void txtServer_GotFocus();
    void txtUser_GotFocus();
    void txtPassword_GotFocus();

    // The remote file commands. They act on the current remote folder and the selected row; a
    // row whose name is not in the last listing (the ".." row, a row from an older listing)
    // makes delete, rename and download do nothing.
    void cmdRefresh_Click();
    void cmdCreateDir_Click();
    void cmdDelete_Click();
    void cmdRename_Click();
    // Asks where to save the selected file (preset with its name), downloads it and reports the
    // time it took; the listing is redrawn afterwards.
    void cmdDownload_Click();
    // Asks for a local file, uploads it into the current remote folder under its bare name,
    // reports, and closes the connection. A cancelled dialog does nothing.
    void cmdUpload_Click();
    // ".." goes up, a folder is entered, a file is downloaded; the listing is redrawn.
    void lv_DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void wireControls();
    void selectOnFocus(QLineEdit* box);
    QString connectedCaption() const;
    // OpenConnection with the three text boxes and the TLS settings ("FtpTls", "TlsCaFile",
    // "FtpTlsPin"). A certificate that does not verify is shown and the user asked whether to
    // trust it: Yes stores its fingerprint in "FtpTlsPin" and connects again, No leaves the
    // connection refused; an unattended run never asks and refuses. A session that went on in
    // plain after the server refused TLS writes one line to the log window.
    bool openConnection();
    void configureTls();
    bool readAccessCodeOrEnd();
    bool sendFile(const QString& sPath, bool encrypted);
    void afterGoodUpload();
    void ShowBusyCursor() { m_ui.setBusy(true); }
    void ShowNormalCursor() { m_ui.setBusy(false); }
    // The text of the selected row; empty when none is selected.
    QString selectedName() const;
    // The selected row's entry of the last listing; nullptr for none, "..", or a stale row.
    const cDirItem* selectedEntry();

    Ui& m_ui;
    SettingsStore& m_settings;
    UploadLinks m_links;
    QIcon m_folderIcon;
    QIcon m_fileIcon;
};

}  // namespace vx
