// The file selection window: the user builds the list of files and folders to send and sets the
// packing options. Closing it ends the program.
#pragma once

#include <QWidget>
#include <functional>

#include "core/clock.h"
#include "ui/ui.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QToolButton;

namespace vx {

class DriveList;
class FileList;
class FolderList;
class frmLog;

// Action codes carried by the entries of cboAction.
enum ActionCode { kActionAdd = 1, kActionFreshen = 2, kActionUpdate = 3 };

class frmAdd : public QWidget {
    Q_OBJECT
public:
    // logWindow loads the log window on first use. The window's own load step runs here.
    frmAdd(Ui& ui, Clock clock, std::function<frmLog&()> logWindow, QWidget* parent = nullptr);

    DriveList* drvListing;
    FolderList* dirListing;
    FileList* filListing;
    QListWidget* lstAdd;
    QListWidget* lstData;
    QLineEdit* Text1;
    QLabel* lblTotalSize;
    QLabel* lblVersion;
    QPushButton* cmdAddFile;
    QPushButton* cmdAddFolder;
    QPushButton* cmdCancel;
    QPushButton* cmdOK;
    QPushButton* cmdTestLoad;
    QPushButton* cmdSettings;  // opens the settings window
    QSlider* sldCompression;
    QComboBox* cboAction;
    QCheckBox* chkDirNames;
    QCheckBox* chkDOS83;
    QCheckBox* chkDelete;
    QToolButton* Image1;  // picture buttons: add file, add folder, cancel, compress/upload
    QToolButton* Image2;
    QToolButton* Image6;
    QToolButton* Image7;

    // The running total in KB.
    qint32 totalKb() const { return m_totalKb; }
    // The action code of the selected cboAction entry.
    int actionCode() const;
    // Appends a log line naming an item and the output archive.
    void logIncluded(const QString& item);

    void Form_Load();
    void drvListing_Change();
    void dirListing_Change();
    void cmdAddFile_Click();
    void filListing_DblClick() { cmdAddFile_Click(); }
    void cmdAddFolder_Click();
    void lstAdd_KeyDown(int keyCode);
    void cmdCancel_Click();
    void cmdTestLoad_Click();
    void cmdOK_Click();
    void cmdSettings_Click();
    void Form_Unload();

    // The compress step, wired in when the archive part is present.
    void setCompressStep(std::function<void()> step) { m_compress = std::move(step); }
    // What "Settings..." opens.
    void setShowSettings(std::function<void()> show) { m_showSettings = std::move(show); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void layoutControls();
    void wire();

    Ui& m_ui;
    Clock m_clock;
    std::function<frmLog&()> m_logWindow;
    std::function<void()> m_compress;
    std::function<void()> m_showSettings;
    qint32 m_totalKb = 0;
    QString m_drive;
};

}  // namespace vx
