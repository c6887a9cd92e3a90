// Archive window: caption, entry list, status line and menus.
#include "archive/frmArchive.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vx {
namespace {

QAction* item(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

}  // namespace

frmArchive::frmArchive(Ui& ui, QWidget* parent) : QMainWindow(parent), m_ui(ui) {
    setObjectName(QStringLiteral("frmArchive"));
    setWindowTitle(QStringLiteral("ZIP Compression Application"));

    lvwArchive = new QTreeWidget(this);
    lvwArchive->setObjectName(QStringLiteral("lvwArchive"));
    lvwArchive->setRootIsDecorated(false);
    lvwArchive->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvwArchive->setHeaderLabels({QStringLiteral("Filename"), QStringLiteral("Date/Time"),
                                 QStringLiteral("Size"), QStringLiteral("Packed"),
                                 QStringLiteral("Ratio"), QStringLiteral("Path")});
    lvwArchive->header()->setSectionsClickable(true);

    lblFiles = new QLabel(this);
    lblFiles->setObjectName(QStringLiteral("lblFiles"));
    lblQuorbit = new QLabel(QStringLiteral("Zip services by Quorbit"), this);
    lblWeb = new QLabel(this);
    lblEmail = new QLabel(this);
    statusBar()->addWidget(lblFiles, 1);
    statusBar()->addPermanentWidget(lblQuorbit);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(lvwArchive);
    setCentralWidget(central);
    buildMenus();
    resize(760, 420);
}

void frmArchive::buildMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuOpen = item(mnuFile, "mnuOpen", QStringLiteral("&Open..."));
    mnuFile->addSeparator();
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("E&xit"));

    mnuActionS = menuBar()->addMenu(QStringLiteral("&Actions"));
    mnuAdd = item(mnuActionS, "mnuAdd", QStringLiteral("&Add..."));
    mnuDelete = item(mnuActionS, "mnuDelete", QStringLiteral("&Delete..."));
    mnuExtract = item(mnuActionS, "mnuExtract", QStringLiteral("&Extract..."));
    mnuView = item(mnuActionS, "mnuView", QStringLiteral("&View..."));
    mnuActionS->addSeparator();
    mnuSelectAll = item(mnuActionS, "mnuSelectAll", QStringLiteral("Select All"));
    mnuInvert = item(mnuActionS, "mnuInvert", QStringLiteral("Invert Selection"));

    mnuWindow = menuBar()->addMenu(QStringLiteral("&Window"));
    mnuShowLog = item(mnuWindow, "mnuShowLog", QStringLiteral("&Log Window"));
    mnuShowLog->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));

    mnuPopup = new QMenu(QStringLiteral("Popup Menu"), this);
    mnuPopupExtract = item(mnuPopup, "mnuPopupExtract", QStringLiteral("&Extract..."));
    mnuPopupDelete = item(mnuPopup, "mnuPopupDelete", QStringLiteral("&Delete..."));
    mnuPopupView = item(mnuPopup, "mnuPopupView", QStringLiteral("&View..."));
    mnuPopup->addSeparator();
    mnuPopupSelectAll = item(mnuPopup, "mnuPopupSelectAll", QStringLiteral("Select All"));
    mnuPopupInvert = item(mnuPopup, "mnuPopupInvert", QStringLiteral("Invert Selection"));
    mnuPopup->addSeparator();
    mnuPopupProperties =
        item(mnuPopup, "mnuPopupProperties", QStringLiteral("&File Properties..."));

    connect(mnuExit, &QAction::triggered, this, &frmArchive::mnuExit_Click);
    connect(mnuShowLog, &QAction::triggered, this, &frmArchive::mnuShowLog_Click);
}

void frmArchive::Form_Load() {
    if (m_loadStep) m_loadStep();
}

void frmArchive::mnuExit_Click() { hide(); }

void frmArchive::mnuShowLog_Click() {
    if (m_showLog) m_showLog();
}

}  // namespace vx
