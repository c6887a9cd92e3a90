// Upload window: controls, load step, connection, listing, progress and option buttons. The job
// is in frmUpload_job.cpp, the remote file commands in frmUpload_commands.cpp.
#include "upload/frmUpload.h"

#include <QDateTime>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/date_forms.h"
#include "core/program_folder.h"
#include "ftp/listing_rows.h"
#include "mail/access_code.h"
#include "settings/settings_keys.h"
#include "ui/window_look.h"
#include "ui/named.h"
#include "upload/upload_rules.h"

namespace vx {
namespace {

QPushButton* button(const char* name, const QString& caption) {
    return named(new QPushButton(caption), name);
}

QLineEdit* lineEdit(const char* name) { return named(new QLineEdit, name); }

QRadioButton* option(const char* name, const QString& caption) {
    return named(new QRadioButton(caption), name);
}

// A group box holding its two option buttons one above the other.
QGroupBox* optionFrame(const char* name, const QString& caption, QRadioButton* first,
                       QRadioButton* second) {
    auto* frame = named(new QGroupBox(caption), name);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(first);
    layout->addWidget(second);
    return frame;
}

}  // namespace

frmUpload::frmUpload(Ui& ui, SettingsStore& settings, UploadLinks links, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(ui), m_settings(settings), m_links(std::move(links)) {
    setObjectName(QStringLiteral("frmUpload"));
    setWindowTitle(QStringLiteral("File(s) Upload Progress Window"));
    m_folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    m_fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
    buildControls();
    wireControls();
}

// The client may still hold a connection when the window goes without the job's end.
frmUpload::~frmUpload() { mFTP.CloseConnection(); }

void frmUpload::buildControls() {
    Frame1 = named(new QGroupBox(QStringLiteral("Connection Properties")), "Frame1");
    auto* form = new QFormLayout;
    Label1 = named(new QLabel(QStringLiteral("Server:")), "Label1");
    Label2 = named(new QLabel(QStringLiteral("User:")), "Label2");
    Label3 = named(new QLabel(QStringLiteral("Password:")), "Label3");
    form->addRow(Label1, txtServer = lineEdit("txtServer"));
    form->addRow(Label2, txtUser = lineEdit("txtUser"));
    form->addRow(Label3, txtPassword = lineEdit("txtPassword"));
    maskWithAsterisks(*txtPassword);
    auto* connection = new QHBoxLayout;
    connection->addWidget(cmdConnect = button("cmdConnect", QStringLiteral("&Connect")));
    connection->addWidget(cmdDisconnect = button("cmdDisconnect", QStringLiteral("&Disconnect")));
    auto* frame1 = new QVBoxLayout(Frame1);
    frame1->addLayout(form);
    frame1->addLayout(connection);
    txtKeyCode = lineEdit("txtKeyCode");
    txtKeyCode->setParent(Frame1);
    txtKeyCode->hide();

    Frame2 = optionFrame("Frame2", QStringLiteral("File Transfer Mode"),
                         optAscii = option("optAscii", QStringLiteral("ASCII File Transfer")),
                         optBin = option("optBin", QStringLiteral("Binary File Transfer")));
    Frame3 = optionFrame("Frame3", QStringLiteral("Connection Mode"),
                         optActive = option("optActive", QStringLiteral("Active Connection")),
                         optPassive = option("optPassive", QStringLiteral("Passive Connection")));
    optBin->setChecked(true);
    optActive->setChecked(true);
    auto* modes = new QVBoxLayout;
    modes->addWidget(Frame2);
    modes->addWidget(Frame3);
    modes->addStretch();

    auto* commands = new QVBoxLayout;
    commands->addWidget(cmdUpload = button("cmdUpload", QStringLiteral("Upload file to server")));
    commands->addWidget(cmdRefresh =
                            button("cmdRefresh", QStringLiteral("Refresh Directory Listing")));
    commands->addWidget(cmdDownload =
                            button("cmdDownload", QStringLiteral("Download file from Server")));
    commands->addWidget(cmdDelete = button("cmdDelete", QStringLiteral("Delete item")));
    commands->addWidget(cmdCreateDir = button("cmdCreateDir", QStringLiteral("Create Directory")));
    commands->addWidget(cmdRename = button("cmdRename", QStringLiteral("Rename File")));
    commands->addStretch();

    lv = named(new QTreeWidget, "lv");
    lv->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"),
                         QStringLiteral("Last Accessed"), QStringLiteral("Attributes")});
    lv->setRootIsDecorated(false);
    lv->setSelectionMode(QAbstractItemView::SingleSelection);
    lv->header()->resizeSection(0, 220);
    lv->header()->resizeSection(2, 170);
    lblDir = named(new QLabel, "lblDir");
    pb = named(new QProgressBar, "pb");
    pb->setTextVisible(false);
    pb->hide();
    Label4 = named(new QLabel(QStringLiteral("Upload in progress...")), "Label4");
    lblNote = named(new QLabel(QStringLiteral("Connecting to file server, please be patient!")),
                    "lblNote");
    lblWarn = named(new QLabel(QStringLiteral("(Could take up to 10 seconds...)")), "lblWarn");

    auto* grid = new QGridLayout(this);
    grid->addWidget(Frame1, 0, 0);
    grid->addLayout(modes, 0, 1);
    grid->addLayout(commands, 0, 2);
    grid->addWidget(lblDir, 1, 0, 1, 3);
    grid->addWidget(lv, 2, 0, 1, 3);
    grid->addWidget(Label4, 3, 0, 1, 3);
    grid->addWidget(pb, 4, 0, 1, 3);
    grid->addWidget(lblNote, 5, 0, 1, 2);
    grid->addWidget(lblWarn, 5, 2);
    grid->setRowStretch(2, 1);
    resize(760, 520);

    // Tab goes through the connection group, the two modes, the list and then the commands.
    const QList<QWidget*> order{txtServer,     txtUser,   txtPassword,  cmdConnect,
                                cmdDisconnect, optAscii,  optBin,       optActive,
                                optPassive,    lv,        cmdUpload,    cmdRefresh,
                                cmdDownload,   cmdDelete, cmdCreateDir, cmdRename};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void frmUpload::wireControls() {
    connect(&mFTP, &cFTP::FileTransferProgress, this, &frmUpload::mFTP_FileTransferProgress);
    connect(cmdConnect, &QPushButton::clicked, this, &frmUpload::cmdConnect_Click);
    connect(cmdDisconnect, &QPushButton::clicked, this, &frmUpload::cmdDisconnect_Click);
    connect(optActive, &QRadioButton::clicked, this, &frmUpload::optActive_Click);
    connect(optPassive, &QRadioButton::clicked, this, &frmUpload::optPassive_Click);
    connect(optAscii, &QRadioButton::clicked, this, &frmUpload::optAscii_Click);
    connect(optBin, &QRadioButton::clicked, this, &frmUpload::optBin_Click);
    connect(cmdUpload, &QPushButton::clicked, this, &frmUpload::cmdUpload_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmUpload::cmdRefresh_Click);
    connect(cmdDownload, &QPushButton::clicked, this, &frmUpload::cmdDownload_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmUpload::cmdDelete_Click);
    connect(cmdCreateDir, &QPushButton::clicked, this, &frmUpload::cmdCreateDir_Click);
    connect(cmdRename, &QPushButton::clicked, this, &frmUpload::cmdRename_Click);
    connect(lv, &QTreeWidget::itemDoubleClicked, this, &frmUpload::lv_DblClick);
    for (QLineEdit* box : {txtServer, txtUser, txtPassword}) box->installEventFilter(this);
}

bool frmUpload::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtServer) txtServer_GotFocus();
        if (watched == txtUser) txtUser_GotFocus();
        if (watched == txtPassword) txtPassword_GotFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void frmUpload::txtServer_GotFocus() { selectOnFocus(txtServer); }
void frmUpload::txtUser_GotFocus() { selectOnFocus(txtUser); }
void frmUpload::txtPassword_GotFocus() { selectOnFocus(txtPassword); }

// Selected once the event that brought the focus is over: a mouse press that gives the focus
// would otherwise place the cursor and drop the selection.
void frmUpload::selectOnFocus(QLineEdit* box) {
    QTimer::singleShot(0, box, [box] { box->setSelection(0, 255); });
}

QString frmUpload::connectedCaption() const {
    return QStringLiteral("Connected to Vexaro Server at ") +
           generalDateTime(QDateTime::currentDateTime());
}

void frmUpload::Form_Load() {
    centreOnScreen(*this);
    show();
    if (!readAccessCodeOrEnd()) return;
    txtServer->setText(keys::read(m_settings, keys::FtpServer));
    txtUser->setText(keys::read(m_settings, keys::FtpUser));
    txtPassword->setText(keys::read(m_settings, keys::FtpPassword));
    if (passiveFromSetting(keys::read(m_settings, keys::ActPasv))) {
        mFTP.SetModePassive();
    } else {
        mFTP.SetModeActive();
        repaint();
    }
    mFTP.SetTransferBinary();
    setWindowTitle(QStringLiteral("Connecting..."));
    repaint();
    ConnectToServer();
    if (m_ui.programEnded()) return;
    RunUploadJob();
}

// Without an access code there is no folder of the user's to send to: say so and end before
// anything is connected. An empty but readable file is an empty code, which the server check
// lets through into the web folder.
bool frmUpload::readAccessCodeOrEnd() {
    const Result<QString> code = readAccessCode(besideProgram(kAccessCodeFile));
    if (code) {
        txtKeyCode->setText(code.value());
        return true;
    }
    m_ui.messageBox(noAccessCodeText(code.message()), Buttons::Ok, Icon::Critical);
    m_ui.endProgram();
    return false;
}

void frmUpload::ConnectToServer() {
    ShowBusyCursor();
    const bool opened = openConnection();
    if (opened) {
        (void)mFTP.SetFTPDirectory(accessCodeFolder(txtKeyCode->text()));
        if (accessCodeRefused(mFTP.GetFTPDirectory())) {
            ShowNormalCursor();
            m_ui.messageBox(QStringLiteral("Invalid Access Code!"));
            m_ui.endProgram();
            return;
        }
        setWindowTitle(connectedCaption());
        RefreshListing();
    }
    ShowNormalCursor();
    if (opened) {
        lblNote->setText(QStringLiteral("Successfully connected to server!"));
        lblWarn->hide();
    }
}

void frmUpload::RefreshListing() {
    ShowBusyCursor();
    lblDir->setText(QStringLiteral("Current Directory: ") + mFTP.GetFTPDirectory().trimmed());
    (void)mFTP.GetDirectoryListing(QStringLiteral("*.*"));
    lv->clear();
    for (const ListingRow& row : listingRows(mFTP.Directory())) {
        auto* item = new QTreeWidgetItem(lv, QStringList{row.text} + row.subItems);
        item->setIcon(0, row.smallIcon == 1 ? m_folderIcon : m_fileIcon);
    }
    ShowNormalCursor();
}

void frmUpload::mFTP_FileTransferProgress(qint32 lCurrentBytes, qint32 lTotalBytes) {
    if (lTotalBytes <= 0) {
        // Nothing to wait for. A range of 0 to 0 would show Qt's endless "busy" animation.
        pb->setRange(0, 1);
        pb->setValue(1);
    } else {
        pb->setRange(0, lTotalBytes);
        if (lTotalBytes >= lCurrentBytes) pb->setValue(lCurrentBytes);
    }
    m_ui.yield();
}

void frmUpload::optActive_Click() { mFTP.SetModeActive(); }
void frmUpload::optPassive_Click() { mFTP.SetModePassive(); }
void frmUpload::optAscii_Click() { mFTP.SetTransferASCII(); }
void frmUpload::optBin_Click() { mFTP.SetTransferBinary(); }

void frmUpload::cmdConnect_Click() {
    ShowBusyCursor();
    if (openConnection()) {
        (void)mFTP.SetFTPDirectory(kWebFolder);
        setWindowTitle(connectedCaption());
        RefreshListing();
    }
    ShowNormalCursor();
}

void frmUpload::cmdDisconnect_Click() {
    mFTP.CloseConnection();
    lv->clear();
    setWindowTitle(QStringLiteral("Connecting..."));
}

}  // namespace vx
