// The settings window "Vexaro Settings": the file server, the access code, encryption, the
// notification and its relay, and the log switch, in one window, with log-in tests for the
// file server and the relay. It shows what is stored (an absent key as an empty box with its
// default greyed in) and saves only what the user changed, exactly as typed (settings_values.h).
#pragma once

#include <QWidget>
#include <map>

#include "app/settings_values.h"
#include "ui/ui.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vx {

class SettingsStore;

class frmSettings : public QWidget {
    Q_OBJECT
public:
    frmSettings(Ui& ui, SettingsStore& settings, QWidget* parent = nullptr);

    QLabel* lblIntro;  // the first start's sentence; hidden otherwise
    QGroupBox* fraServer;
    QLineEdit* txtFtpServer;
    QLineEdit* txtFtpUser;
    QLineEdit* txtFtpPassword;  // masked
    QLineEdit* txtAccessCode;
    QRadioButton* optPassive;
    QRadioButton* optActive;
    QComboBox* cboFtpTls;  // editable
    QLineEdit* txtTlsCaFile;
    QLineEdit* txtFtpTlsPin;
    QPushButton* cmdTestFtp;
    QGroupBox* fraEncrypt;
    QCheckBox* chkEncrypt;
    QLineEdit* txtEncryptKey;  // masked
    QLabel* lblKeyQuality;
    QGroupBox* fraMail;
    QComboBox* cboMailer;  // editable
    QLineEdit* txtEmailServer;
    QLineEdit* txtRelayPort;
    QLineEdit* txtRelayUser;
    QLineEdit* txtRelayPassword;  // masked
    QLineEdit* txtRelayFrom;
    QComboBox* cboRelayTls;  // editable
    QLineEdit* txtRelayTlsPin;
    QLineEdit* txtDownloadSiteBase;
    QCheckBox* chkEmailYN;
    QPushButton* cmdTestRelay;
    QCheckBox* chkSaveLog;
    QLabel* lblSecrets;       // where the passwords and the key are kept
    QPushButton* cmdKeyring;  // shown when the file holds secrets a keyring could keep
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // Fills the controls from the store and keycode.dat; firstStart shows the sentence that
    // says what to fill in.
    void Form_Load(bool firstStart = false);
    // Saves what changed; closes on success, else shows what failed and stays open.
    void cmdOK_Click();
    void cmdCancel_Click();
    // Log in to the file server as typed and enter the access-code folder, then log out.
    void cmdTestFtp_Click();
    // Open a session with the relay as typed up to a successful log-in, then QUIT.
    void cmdTestRelay_Click();
    // Moves the secrets written in the settings file into the desktop's keyring.
    void cmdKeyring_Click();
    void txtEncryptKey_Change();

    // What the controls stand for now, compared with what was loaded.
    SettingsValues edited() const;

private:
    void buildControls();
    QGroupBox* buildServerFrame();
    QGroupBox* buildEncryptFrame();
    QGroupBox* buildMailFrame();
    void wire();
    void showSecretsPlace();
    void report(const Result<QString>& outcome, const QString& failure);
    QString typedOrDefault(const keys::Key& key, const QLineEdit* box) const;

    Ui& m_ui;
    SettingsStore& m_settings;
    SettingsValues m_loaded;
    std::map<QString, QLineEdit*> m_texts;   // by key: text boxes and editable combos' lines
    std::map<QString, QComboBox*> m_combos;  // by key
};

}  // namespace vx
