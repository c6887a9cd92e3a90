// The encryption window "[Encryption Process]": encrypts the output archive in place with the
// stored key half a second after it loads and closes itself; a person can also encrypt or
// decrypt any file or a typed text with it. The cipher module does the work and decides the
// direction; this window gathers the inputs, shows the module's error message, draws its
// progress and feeds mouse movements into its entropy pool.
//
// Only the progress display (label, bar, file name line and note) fits in the window as it
// opens; the three frames (key, file, text) lie below it. The window can be made taller, and it
// scrolls, so a person reaches them with the scroll bar, the wheel or Tab.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

#include "crypto/korva_state.h"
#include "ui/ui.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vx {

class ProgressBox;
class SettingsStore;

class frmEncrypt : public QWidget, public korva::ProgressSink {
    Q_OBJECT
public:
    // archivePath gives the output archive's path at load. While the window lives it is the
    // module's progress sink; the destructor restores the sink it replaced.
    frmEncrypt(Ui& ui, SettingsStore& settings, std::function<QString()> archivePath,
               QWidget* parent = nullptr);
    ~frmEncrypt() override;
    frmEncrypt(const frmEncrypt&) = delete;
    frmEncrypt& operator=(const frmEncrypt&) = delete;

    QGroupBox* fraKey;
    QLineEdit* txtKey;  // masked
    QLineEdit* txtPCC;  // the private key
    QLabel* lblKeyQuality;
    QPushButton* cmdCancel;  // always disabled
    QGroupBox* fraFile;
    QLineEdit* txtSource;
    QLineEdit* txtTarget;
    QPushButton* cmdSource;  // no action
    QPushButton* cmdTarget;  // no action
    QPushButton* cmdCrypto;
    QPushButton* cmdCancelFile;
    QGroupBox* fraText;
    QPlainTextEdit* txtBox;
    QPushButton* cmdText;
    QPushButton* cmdCancelText;
    ProgressBox* picProgress;
    QLabel* lblEncryptFile;
    QLabel* lblNote;
    QTimer Timer1;  // single shot, 500 ms, started by Form_Load

    // Centres the window on its screen, shows the archive path, puts the "EncryptKey" setting
    // into txtKey (the key quality follows when that changes the text) and both path fields,
    // and starts Timer1. Does not show the window: the caller shows it (modally).
    void Form_Load();
    // The automatic run: busy, FileCrypto on the two path fields, the module's error message
    // or the written path into the fields, idle, Timer1 stopped, window closed. Yields while
    // the module works. A tick that arrives while a click's run works waits for its end.
    void Timer1_Timer();
    // "File Crypto": as the automatic run, but the window stays open and "Done!" follows,
    // after an error message too. Before an existing file other than the source is replaced,
    // the window asks (in every run); No keeps it and the run ends with the module's file error.
    void cmdCrypto_Click();
    // "Text Crypto": txtBox becomes the module's result; on failure it keeps its text and the
    // module's error message is shown. The box's line breaks reach the module as CR LF.
    void cmdText_Click();
    // Both ask the running operation to stop; it ends with the module's aborted message.
    void cmdCancelFile_Click();
    void cmdCancelText_Click();
    // "Key Quality: " + the key's quality + "%".
    void txtKey_Change();

    // The module's progress, drawn into picProgress.
    void drawProgress(int percent) override;

protected:
    // Mouse moves over the three frames and txtBox feed the module's entropy pool.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing stops Timer1 (a window closed before its tick runs nothing) and asks a running
    // operation to stop.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QWidget* buildProgressPart();
    void buildKeyFrame();
    void buildFileFrame();
    void buildTextFrame();
    void wire();
    void setBusy(bool busy);
    void runFileCrypto();
    bool showModuleError();
    void runDeferredTick();

    Ui& m_ui;
    SettingsStore& m_settings;
    std::function<QString()> m_archivePath;
    korva::ProgressSink* m_previousSink;
    bool m_busy = false;
    bool m_tickWaiting = false;  // the automatic run's tick came during a click's run
};

}  // namespace vx
