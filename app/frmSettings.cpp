// Settings window.
#include "app/frmSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/program_folder.h"
#include "crypto/key_rules.h"
#include "mail/access_code.h"
#include "mail/relay_login_check.h"
#include "settings/settings_store.h"
#include "ui/named.h"
#include "ui/window_look.h"
#include "upload/ftp_login_check.h"
#include "upload/upload_rules.h"

namespace vx {
namespace {

const QString kIntro = QStringLiteral(
    "Welcome to Vexaro. To send your own files, fill in your file server (server, user and "
    "password) and your access code; to notify the recipient through the internal mailer, "
    "also your mail relay. Then press Save. Cancel starts without settings.");

QLineEdit* lineEdit(const char* name) { return named(new QLineEdit, name); }

QComboBox* choices(const char* name, const QStringList& items) {
    auto* box = named(new QComboBox, name);
    box->setEditable(true);  // any value may be typed; it is saved as typed
    box->addItems(items);
    return box;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// A row of the form: the caption (its access key moves to the box) and the box.
void labelled(QFormLayout& form, const QString& caption, QWidget* box) {
    form.addRow(buddyLabel(caption, box), box);
}

}  // namespace

frmSettings::frmSettings(Ui& ui, SettingsStore& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(ui), m_settings(settings) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Vexaro Settings"));
    buildControls();
    wire();
}

QGroupBox* frmSettings::buildServerFrame() {
    fraServer = named(new QGroupBox(QStringLiteral("File Server")), "fraServer");
    auto* form = new QFormLayout;
    txtFtpServer = lineEdit("txtFtpServer");
    labelled(*form, QStringLiteral("&Server:"), txtFtpServer);
    txtFtpUser = lineEdit("txtFtpUser");
    labelled(*form, QStringLiteral("&User:"), txtFtpUser);
    txtFtpPassword = lineEdit("txtFtpPassword");
    labelled(*form, QStringLiteral("Pass&word:"), txtFtpPassword);
    maskWithAsterisks(*txtFtpPassword);
    txtAccessCode = lineEdit("txtAccessCode");
    labelled(*form, QStringLiteral("Access &code:"), txtAccessCode);
    auto* mode = named(new QGroupBox(QStringLiteral("Connection Mode")), "fraMode");
    auto* modeRow = new QHBoxLayout(mode);
    modeRow->addWidget(optPassive =
                           named(new QRadioButton(QStringLiteral("&Passive")), "optPassive"));
    modeRow->addWidget(optActive = named(new QRadioButton(QStringLiteral("Acti&ve")), "optActive"));
    form->addRow(mode);
    cboFtpTls = choices("cboFtpTls", {"auto", "require", "implicit", "off"});
    labelled(*form, QStringLiteral("T&LS:"), cboFtpTls);
    txtTlsCaFile = lineEdit("txtTlsCaFile");
    labelled(*form, QStringLiteral("CA &file:"), txtTlsCaFile);
    txtFtpTlsPin = lineEdit("txtFtpTlsPin");
    labelled(*form, QStringLiteral("Certificate p&in:"), txtFtpTlsPin);
    auto* column = new QVBoxLayout(fraServer);
    column->addLayout(form);
    column->addWidget(
        cmdTestFtp = named(new QPushButton(QStringLiteral("&Test Server Log-in")), "cmdTestFtp"), 0,
        Qt::AlignRight);
    return fraServer;
}

QGroupBox* frmSettings::buildEncryptFrame() {
    fraEncrypt = named(new QGroupBox(QStringLiteral("Encryption")), "fraEncrypt");
    chkEncrypt = named(new QCheckBox(QStringLiteral("&Encrypt the archive before the upload")),
                       "chkEncrypt");
    txtEncryptKey = lineEdit("txtEncryptKey");
    maskWithAsterisks(*txtEncryptKey);
    lblKeyQuality = named(new QLabel(korva::keyQualityCaption(QString())), "lblKeyQuality");
    auto* grid = new QGridLayout(fraEncrypt);
    grid->addWidget(chkEncrypt, 0, 0, 1, 3);
    grid->addWidget(buddyLabel(QStringLiteral("&Key:"), txtEncryptKey), 1, 0);
    grid->addWidget(txtEncryptKey, 1, 1);
    grid->addWidget(lblKeyQuality, 1, 2);
    return fraEncrypt;
}

QGroupBox* frmSettings::buildMailFrame() {
    fraMail = named(new QGroupBox(QStringLiteral("Notification")), "fraMail");
    auto* form = new QFormLayout;
    cboMailer = choices("cboMailer", {"default", "internal"});
    labelled(*form, QStringLiteral("&Mailer:"), cboMailer);
    txtEmailServer = lineEdit("txtEmailServer");
    labelled(*form, QStringLiteral("&Relay server:"), txtEmailServer);
    txtRelayPort = lineEdit("txtRelayPort");
    labelled(*form, QStringLiteral("P&ort:"), txtRelayPort);
    txtRelayUser = lineEdit("txtRelayUser");
    labelled(*form, QStringLiteral("Relay user:"), txtRelayUser);
    txtRelayPassword = lineEdit("txtRelayPassword");
    labelled(*form, QStringLiteral("Relay passwor&d:"), txtRelayPassword);
    maskWithAsterisks(*txtRelayPassword);
    txtRelayFrom = lineEdit("txtRelayFrom");
    labelled(*form, QStringLiteral("Sender address:"), txtRelayFrom);
    cboRelayTls = choices("cboRelayTls", {"off", "starttls", "tls"});
    labelled(*form, QStringLiteral("Relay TLS:"), cboRelayTls);
    txtRelayTlsPin = lineEdit("txtRelayTlsPin");
    labelled(*form, QStringLiteral("Relay certificate pin:"), txtRelayTlsPin);
    txtDownloadSiteBase = lineEdit("txtDownloadSiteBase");
    labelled(*form, QStringLiteral("Download &base address:"), txtDownloadSiteBase);
    chkEmailYN =
        named(new QCheckBox(QStringLiteral("&Notify the recipient at once")), "chkEmailYN");
    auto* column = new QVBoxLayout(fraMail);
    column->addLayout(form);
    column->addWidget(chkEmailYN);
    column->addWidget(
        cmdTestRelay = named(new QPushButton(QStringLiteral("Test Rela&y Log-in")), "cmdTestRelay"),
        0, Qt::AlignRight);
    return fraMail;
}

void frmSettings::buildControls() {
    lblIntro = named(new QLabel(kIntro), "lblIntro");
    lblIntro->setWordWrap(true);
    lblIntro->hide();
    chkSaveLog =
        named(new QCheckBox(QStringLiteral("Save the lo&g after the upload")), "chkSaveLog");
    lblSecrets = named(new QLabel, "lblSecrets");
    lblSecrets->setWordWrap(true);
    cmdKeyring = named(new QPushButton(QStringLiteral("&Move into the Keyring")), "cmdKeyring");
    cmdOK = named(new QPushButton(QStringLiteral("S&ave")), "cmdOK");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdOK->setDefault(true);
    cmdCancel->setShortcut(QKeySequence(Qt::Key_Escape));

    auto* left = new QVBoxLayout;
    left->addWidget(buildServerFrame());
    left->addWidget(buildEncryptFrame());
    left->addWidget(chkSaveLog);
    left->addStretch();
    auto* frames = new QHBoxLayout;
    frames->addLayout(left);
    frames->addWidget(buildMailFrame(), 0, Qt::AlignTop);
    auto* secrets = new QHBoxLayout;
    secrets->addWidget(lblSecrets, 1);
    secrets->addWidget(cmdKeyring);
    auto* commands = new QHBoxLayout;
    commands->addStretch();
    commands->addWidget(cmdOK);
    commands->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblIntro);
    layout->addLayout(frames);
    layout->addLayout(secrets);
    layout->addLayout(commands);

    m_texts = {{"FtpServer", txtFtpServer},
               {"FtpUser", txtFtpUser},
               {"FtpPassword", txtFtpPassword},
               {"TlsCaFile", txtTlsCaFile},
               {"FtpTlsPin", txtFtpTlsPin},
               {"EncryptKey", txtEncryptKey},
               {"EmailServer", txtEmailServer},
               {"RelayPort", txtRelayPort},
               {"RelayUser", txtRelayUser},
               {"RelayPassword", txtRelayPassword},
               {"RelayFrom", txtRelayFrom},
               {"RelayTlsPin", txtRelayTlsPin},
               {"DownloadSiteBase", txtDownloadSiteBase}};
    m_combos = {{"FtpTls", cboFtpTls}, {"Mailer", cboMailer}, {"RelayTls", cboRelayTls}};
    for (const auto& [key, combo] : m_combos) m_texts[key] = combo->lineEdit();
}

void frmSettings::wire() {
    connect(cmdOK, &QPushButton::clicked, this, &frmSettings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSettings::cmdCancel_Click);
    connect(cmdTestFtp, &QPushButton::clicked, this, &frmSettings::cmdTestFtp_Click);
    connect(cmdTestRelay, &QPushButton::clicked, this, &frmSettings::cmdTestRelay_Click);
    connect(cmdKeyring, &QPushButton::clicked, this, &frmSettings::cmdKeyring_Click);
    connect(txtEncryptKey, &QLineEdit::textChanged, this, &frmSettings::txtEncryptKey_Change);
}

void frmSettings::Form_Load(bool firstStart) {
    m_loaded = loadSettingsValues(m_settings, besideProgram(kAccessCodeFile));
    for (const keys::Key& key : settingsWindowKeys()) {
        const QString name = QString::fromLatin1(key.name);
        const auto box = m_texts.find(name);
        if (box == m_texts.end()) continue;
        const QString text = m_loaded.values[name].value_or(QString());
        if (const auto combo = m_combos.find(name); combo != m_combos.end())
            combo->second->setCurrentText(text);
        else
            box->second->setText(text);
        box->second->setPlaceholderText(QString::fromLatin1(key.fallback));
    }
    const auto stored = [this](const keys::Key& key) {
        return m_loaded.values[QString::fromLatin1(key.name)].value_or(
            QString::fromLatin1(key.fallback));
    };
    const bool passive = passiveFromSetting(stored(keys::ActPasv));
    optPassive->setChecked(passive);
    optActive->setChecked(!passive);
    chkEncrypt->setChecked(isOn(stored(keys::EncryptYN)));
    chkEmailYN->setChecked(isOn(stored(keys::EmailYN)));
    chkSaveLog->setChecked(isOn(stored(keys::SaveLog)));
    txtAccessCode->setText(m_loaded.accessCode.value_or(QString()));
    txtEncryptKey_Change();
    lblIntro->setVisible(firstStart);
    showSecretsPlace();
    centreOnScreen(*this);
}

SettingsValues frmSettings::edited() const {
    SettingsValues v;
    const auto loaded = [this](const keys::Key& key) {
        const auto it = m_loaded.values.find(QString::fromLatin1(key.name));
        return it == m_loaded.values.end() ? std::nullopt : it->second;
    };
    for (const auto& [key, box] : m_texts) {
        const auto it = m_loaded.values.find(key);
        v.values[key] =
            editedText(it == m_loaded.values.end() ? std::nullopt : it->second, box->text());
    }
    v.values["ActPasv"] = editedMode(loaded(keys::ActPasv), optPassive->isChecked());
    v.values["EncryptYN"] =
        editedSwitch(loaded(keys::EncryptYN), keys::EncryptYN.fallback, chkEncrypt->isChecked());
    v.values["EmailYN"] =
        editedSwitch(loaded(keys::EmailYN), keys::EmailYN.fallback, chkEmailYN->isChecked());
    v.values["SaveLog"] =
        editedSwitch(loaded(keys::SaveLog), keys::SaveLog.fallback, chkSaveLog->isChecked());
    v.accessCode = editedText(m_loaded.accessCode, txtAccessCode->text());
    return v;
}

void frmSettings::cmdOK_Click() {
    const Status saved =
        saveSettingsValues(m_settings, besideProgram(kAccessCodeFile), m_loaded, edited());
    if (!saved) {
        m_ui.messageBox(saved.message(), Buttons::Ok, Icon::Critical);
        m_loaded = loadSettingsValues(m_settings, besideProgram(kAccessCodeFile));
        return;
    }
    m_ui.messageBox(QStringLiteral("Settings Saved!"));
    close();
}

void frmSettings::cmdCancel_Click() { close(); }

void frmSettings::report(const Result<QString>& outcome, const QString& failure) {
    if (outcome)
        m_ui.messageBox(outcome.value(), Buttons::Ok, Icon::Information);
    else
        m_ui.messageBox(failure + QStringLiteral("\n\n") + outcome.message(), Buttons::Ok,
                        Icon::Critical);
}

// An empty box over an absent key means the key's default, as the other windows read it.
QString frmSettings::typedOrDefault(const keys::Key& key, const QLineEdit* box) const {
    const auto it = m_loaded.values.find(QString::fromLatin1(key.name));
    const bool absent = it == m_loaded.values.end() || !it->second;
    return box->text().isEmpty() && absent ? QString::fromLatin1(key.fallback) : box->text();
}

void frmSettings::cmdTestFtp_Click() {
    m_ui.setBusy(true);
    const Result<QString> outcome = checkFtpLogin(
        {typedOrDefault(keys::FtpServer, txtFtpServer), typedOrDefault(keys::FtpUser, txtFtpUser),
         typedOrDefault(keys::FtpPassword, txtFtpPassword), optPassive->isChecked(),
         txtAccessCode->text(), typedOrDefault(keys::FtpTls, cboFtpTls->lineEdit()),
         txtTlsCaFile->text(), txtFtpTlsPin->text()});
    m_ui.setBusy(false);
    report(outcome, QStringLiteral("The file server test failed:"));
}

void frmSettings::cmdTestRelay_Click() {
    m_ui.setBusy(true);
    const Result<QString> outcome =
        checkRelayLogin({typedOrDefault(keys::EmailServer, txtEmailServer),
                         typedOrDefault(keys::RelayPort, txtRelayPort),
                         typedOrDefault(keys::RelayUser, txtRelayUser),
                         typedOrDefault(keys::RelayPassword, txtRelayPassword)});
    m_ui.setBusy(false);
    report(outcome, QStringLiteral("The relay test failed:"));
}

void frmSettings::showSecretsPlace() {
    const QStringList inFile = m_settings.secretsInFile();
    cmdKeyring->setVisible(m_settings.hasKeyring() && !inFile.isEmpty());
    if (!m_settings.hasKeyring())
        lblSecrets->setText(QStringLiteral("Passwords and the key are kept in the settings file ") +
                            m_settings.filePath() + QStringLiteral(" (no keyring is running)."));
    else if (inFile.isEmpty())
        lblSecrets->setText(
            QStringLiteral("Passwords and the key are kept in the desktop's keyring."));
    else
        lblSecrets->setText(QStringLiteral("The settings file holds ") + inFile.join(", ") +
                            QStringLiteral(" in plain text; the desktop's keyring can keep them."));
}

void frmSettings::cmdKeyring_Click() {
    if (!m_settings.moveSecretsToKeyring())
        m_ui.messageBox(QStringLiteral("The keyring did not take the secrets; the settings file "
                                       "still holds them."),
                        Buttons::Ok, Icon::Critical);
    showSecretsPlace();
}

void frmSettings::txtEncryptKey_Change() {
    lblKeyQuality->setText(korva::keyQualityCaption(txtEncryptKey->text()));
}

}  // namespace vx
