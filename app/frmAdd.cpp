// File selection window.
#include "app/frmAdd.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include "app/mdlList.h"
#include "app/selection.h"
#include "core/program_folder.h"
#include "log/frmLog.h"
#include "log/log_line.h"
#include "ui/window_look.h"
#include "ui/drive_list.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"
#include "ui/named.h"

#ifndef VEXARO_VERSION
#define VEXARO_VERSION "0.0.0"
#endif

namespace vx {
namespace {

constexpr int kKeyDelete = 46;
constexpr int kKeyBackspace = 8;

}  // namespace

frmAdd::frmAdd(Ui& ui, Clock clock, std::function<frmLog&()> logWindow, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_ui(ui),
      m_clock(std::move(clock)),
      m_logWindow(std::move(logWindow)) {
    setObjectName(QStringLiteral("frmAdd"));
    setWindowTitle(QStringLiteral("Select File(s) to Upload"));
    buildControls();
    layoutControls();
    wire();
    Form_Load();
}

void frmAdd::buildControls() {
    drvListing = named(new DriveList(this), "drvListing");
    dirListing = named(new FolderList(this), "dirListing");
    filListing = named(new FileList(this), "filListing");
    lstAdd = named(new QListWidget(this), "lstAdd");
    lstAdd->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstData = named(new QListWidget(this), "lstData");
    lstData->hide();
    Text1 = named(new QLineEdit(this), "Text1");
    lblTotalSize = named(new QLabel(QStringLiteral("0 KB"), this), "lblTotalSize");
    lblVersion = named(new QLabel(this), "lblVersion");
    cmdAddFile = named(new QPushButton(QStringLiteral("&Add File"), this), "cmdAddFile");
    cmdAddFolder = named(new QPushButton(QStringLiteral("Add &Folder"), this), "cmdAddFolder");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdOK = named(new QPushButton(QStringLiteral("&Compress/Upload"), this), "cmdOK");
    cmdTestLoad = named(new QPushButton(QStringLiteral("Test Load Button"), this), "cmdTestLoad");
    cmdSettings = named(new QPushButton(QStringLiteral("Settin&gs..."), this), "cmdSettings");
    sldCompression = named(new QSlider(Qt::Horizontal, this), "sldCompression");
    sldCompression->setRange(0, 9);
    sldCompression->setValue(6);
    sldCompression->setTickPosition(QSlider::TicksBelow);
    sldCompression->setPageStep(1);
    cboAction = named(new QComboBox(this), "cboAction");
    chkDirNames = named(new QCheckBox(QStringLiteral("&Save full path info"), this), "chkDirNames");
    chkDOS83 = named(new QCheckBox(QStringLiteral("Store filenames in &8.3 format"), this),
                     "chkDOS83");
    chkDelete = named(new QCheckBox(QStringLiteral("Delete Output File after Transfer?"), this),
                      "chkDelete");
    auto picture = [this](const char* name, QStyle::StandardPixmap icon, const QString& tip) {
        auto* b = named(new QToolButton(this), name);
        b->setIcon(style()->standardIcon(icon));
        b->setIconSize(QSize(32, 32));
        b->setToolTip(tip);
        b->setAutoRaise(true);
        return b;
    };
    Image1 = picture("Image1", QStyle::SP_FileIcon, QStringLiteral("Add File"));
    Image2 = picture("Image2", QStyle::SP_DirIcon, QStringLiteral("Add Folder"));
    Image6 = picture("Image6", QStyle::SP_DialogCancelButton, QStringLiteral("Cancel"));
    Image7 = picture("Image7", QStyle::SP_ArrowUp, QStringLiteral("Compress/Upload"));
}

void frmAdd::layoutControls() {
    auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    auto* pictures = new QHBoxLayout;
    for (QToolButton* b : {Image1, Image2, Image6, Image7}) pictures->addWidget(b);
    pictures->addStretch(1);
    pictures->addWidget(lblVersion);

    auto* browse = new QGridLayout;
    browse->addWidget(label(QStringLiteral("Select Drive:"), drvListing), 0, 0);
    browse->addWidget(drvListing, 1, 0);
    browse->addWidget(label(QStringLiteral("Select Folder:"), dirListing), 2, 0);
    browse->addWidget(dirListing, 3, 0);
    browse->addWidget(label(QStringLiteral("Please select the file(s) to Compress:"), filListing),
                      0, 1, 3, 1, Qt::AlignBottom);
    browse->addWidget(filListing, 3, 1);
    auto* addButtons = new QVBoxLayout;
    addButtons->addWidget(cmdAddFile);
    addButtons->addWidget(cmdAddFolder);
    addButtons->addStretch(1);
    browse->addLayout(addButtons, 3, 2);

    auto* total = new QHBoxLayout;
    total->addWidget(new QLabel(QStringLiteral("Current KB selected:"), this));
    total->addWidget(lblTotalSize);
    total->addStretch(1);

    auto* options = new QGroupBox(this);
    auto* opt = new QGridLayout(options);
    opt->addWidget(label(QStringLiteral("&Compression Ratio:"), sldCompression), 0, 0);
    opt->addWidget(sldCompression, 0, 1, 1, 3);
    opt->addWidget(new QLabel(QStringLiteral("Store"), this), 1, 1, Qt::AlignLeft);
    opt->addWidget(new QLabel(QStringLiteral("Normal"), this), 1, 2, Qt::AlignHCenter);
    opt->addWidget(new QLabel(QStringLiteral("Max"), this), 1, 3, Qt::AlignRight);
    opt->addWidget(label(QStringLiteral("Ac&tion:"), cboAction), 2, 0);
    opt->addWidget(cboAction, 2, 1, 1, 3);
    opt->addWidget(chkDirNames, 3, 0, 1, 2);
    opt->addWidget(chkDOS83, 3, 2, 1, 2);
    opt->addWidget(chkDelete, 4, 0, 1, 4);

    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdTestLoad);
    commands->addWidget(cmdSettings);
    commands->addStretch(1);
    commands->addWidget(cmdCancel);
    commands->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pictures);
    layout->addLayout(browse, 3);
    layout->addWidget(label(QStringLiteral("The files below will be added to the archive:"),
                            lstAdd));
    layout->addWidget(lstAdd, 2);
    layout->addLayout(total);
    layout->addWidget(label(QStringLiteral("Path of Output File:"), Text1));
    layout->addWidget(Text1);
    layout->addWidget(options);
    layout->addLayout(commands);
    resize(720, 760);
    cmdOK->setDefault(true);
}

void frmAdd::wire() {
    connect(drvListing, &QComboBox::currentIndexChanged, this, &frmAdd::drvListing_Change);
    connect(dirListing, &FolderList::pathChanged, this, &frmAdd::dirListing_Change);
    connect(filListing, &QListWidget::itemDoubleClicked, this, &frmAdd::filListing_DblClick);
    connect(cmdAddFile, &QPushButton::clicked, this, &frmAdd::cmdAddFile_Click);
    connect(cmdAddFolder, &QPushButton::clicked, this, &frmAdd::cmdAddFolder_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAdd::cmdCancel_Click);
    connect(cmdTestLoad, &QPushButton::clicked, this, &frmAdd::cmdTestLoad_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAdd::cmdOK_Click);
    connect(cmdSettings, &QPushButton::clicked, this, &frmAdd::cmdSettings_Click);
    connect(Image1, &QToolButton::clicked, this, &frmAdd::cmdAddFile_Click);
    connect(Image2, &QToolButton::clicked, this, &frmAdd::cmdAddFolder_Click);
    connect(Image6, &QToolButton::clicked, this, &frmAdd::cmdCancel_Click);
    connect(Image7, &QToolButton::clicked, this, &frmAdd::cmdOK_Click);
    lstAdd->installEventFilter(this);
}

void frmAdd::Form_Load() {
    lblVersion->setText(QStringLiteral("Version: ") + QStringLiteral(VEXARO_VERSION));
    m_logWindow();  // loaded hidden
    centreOnScreen(*this);
    cboAction->addItem(QStringLiteral("Add (and replace) files"), kActionAdd);
    cboAction->addItem(QStringLiteral("Update (and add) files"), kActionUpdate);
    cboAction->addItem(QStringLiteral("Freshen (existing) files"), kActionFreshen);
    cboAction->setCurrentIndex(0);
    m_drive = drvListing->drive();
    const QString home = QDir::homePath();
    dirListing->setPath(QDir(home).isReadable() ? home : m_drive);
    filListing->setPath(dirListing->path());
}

int frmAdd::actionCode() const { return cboAction->currentData().toInt(); }

void frmAdd::logIncluded(const QString& item) {
    m_logWindow().appendLog(logLine(m_clock(), item, TrimPath(Text1->text())));
}

void frmAdd::drvListing_Change() { followDrive(*drvListing, *dirListing, m_drive, m_ui); }

void frmAdd::dirListing_Change() { filListing->setPath(dirListing->path()); }

void frmAdd::cmdAddFile_Click() {
    const QString folder = filListing->path();
    for (int i = 0; i < filListing->count(); ++i) {
        QListWidgetItem* entry = filListing->item(i);
        if (!entry->isSelected()) continue;
        const QString path = fileEntry(folder, entry->text());
        // A file that cannot be measured (removed meanwhile) is listed but adds nothing.
        if (const auto kb = GetFileSize(path)) m_totalKb = addToTotal(m_totalKb, *kb);
        lblTotalSize->setText(QString::number(m_totalKb) + QStringLiteral(" KB"));
        lstAdd->addItem(path);
        logIncluded(entry->text());
        entry->setSelected(false);
    }
}

void frmAdd::cmdAddFolder_Click() {
    const QString entry = folderEntry(filListing->path());
    lstAdd->addItem(entry);
    logIncluded(entry);
}

void frmAdd::lstAdd_KeyDown(int keyCode) {
    if (keyCode != kKeyDelete && keyCode != kKeyBackspace) return;
    for (int i = lstAdd->count() - 1; i >= 0; --i)
        if (lstAdd->item(i)->isSelected()) delete lstAdd->takeItem(i);
}

void frmAdd::cmdCancel_Click() { close(); }

void frmAdd::cmdTestLoad_Click() {
    LoadList(besideProgram(QStringLiteral("AutoOut.txt")), *lstData, *this, m_ui);
}

void frmAdd::cmdOK_Click() {
    if (m_compress) m_compress();
}

void frmAdd::cmdSettings_Click() {
    if (m_showSettings) m_showSettings();
}

void frmAdd::Form_Unload() { m_ui.endProgram(); }

void frmAdd::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

bool frmAdd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstAdd && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            lstAdd_KeyDown(key == Qt::Key_Delete ? kKeyDelete : kKeyBackspace);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vx
