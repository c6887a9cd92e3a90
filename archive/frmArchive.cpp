// Archive window.
#include "archive/frmArchive.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "archive/archive_list.h"
#include "archive/archive_rows.h"
#include "archive/arkovo.h"
#include "archive/frmDelete.h"
#include "archive/frmExtract.h"
#include "archive/frmProgress.h"
#include "archive/frmProperties.h"
#include "core/saturating.h"
#include "ui/named.h"

namespace vx {
namespace {

// Placeholders: the component's web page and mail contact (see README).
const QString kWebAddress = QStringLiteral("https://www.example.invalid/arkovo/");
const QString kMailAddress = QStringLiteral("mailto:arkovo@example.invalid");

QAction* item(QMenu* menu, const char* name, const QString& caption) {
    return named(menu->addAction(caption), name);
}

QLabel* linkLabel(QWidget* parent, const char* name, const QString& text, const QString& address) {
    auto* l =
        named(new QLabel(QStringLiteral("<a href=\"%1\">%2</a>").arg(address, text), parent), name);
    l->setTextFormat(Qt::RichText);
    l->setProperty("address", address);
    l->setToolTip(address);
    return l;
}

}  // namespace

frmArchive::frmArchive(Ui& ui, Arkovo& arkovo, QWidget* parent)
    : QMainWindow(parent), m_ui(ui), m_arkovo(arkovo) {
    setObjectName(QStringLiteral("frmArchive"));
    setWindowTitle(QStringLiteral("ZIP Compression Application"));
    buildControls();
    buildMenus();
    wire();
    resize(760, 420);
}

frmArchive::~frmArchive() { m_arkovo.setPasswordPrompt({}); }

frmProgress* frmArchive::progressWindow() const { return m_progress.data(); }

void frmArchive::buildControls() {
    m_rows = new ArchiveListModel(m_arkovo, this);
    lvwArchive = new QTreeView(this);
    lvwArchive->setObjectName(QStringLiteral("lvwArchive"));
    lvwArchive->setModel(m_rows);
    lvwArchive->setRootIsDecorated(false);
    lvwArchive->setItemsExpandable(false);
    lvwArchive->setUniformRowHeights(true);
    lvwArchive->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvwArchive->header()->setSectionsClickable(true);
    lvwArchive->header()->setStretchLastSection(true);
    lvwArchive->setColumnWidth(kColName, 200);
    lvwArchive->setColumnWidth(kColDateTime, 150);

    lblFiles = new QLabel(this);
    lblFiles->setObjectName(QStringLiteral("lblFiles"));
    lblQuorbit = new QLabel(QStringLiteral("Zip services by Quorbit"), this);
    lblQuorbit->setObjectName(QStringLiteral("lblQuorbit"));
    lblWeb = linkLabel(this, "lblWeb", QStringLiteral("www.example.invalid/arkovo"), kWebAddress);
    lblEmail = linkLabel(this, "lblEmail", QStringLiteral("arkovo@example.invalid"), kMailAddress);
    statusBar()->addWidget(lblFiles, 1);
    statusBar()->addPermanentWidget(lblQuorbit);
    statusBar()->addPermanentWidget(lblWeb);
    statusBar()->addPermanentWidget(lblEmail);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(lvwArchive);
    setCentralWidget(central);
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
    mnuSettings = item(mnuWindow, "mnuSettings", QStringLiteral("&Settings..."));

    mnuPopup = new QMenu(QStringLiteral("Popup Menu"), this);
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    mnuPopupExtract = item(mnuPopup, "mnuPopupExtract", QStringLiteral("&Extract..."));
    mnuPopupDelete = item(mnuPopup, "mnuPopupDelete", QStringLiteral("&Delete..."));
    mnuPopupView = item(mnuPopup, "mnuPopupView", QStringLiteral("&View..."));
    mnuPopup->addSeparator();
    mnuPopupSelectAll = item(mnuPopup, "mnuPopupSelectAll", QStringLiteral("Select All"));
    mnuPopupInvert = item(mnuPopup, "mnuPopupInvert", QStringLiteral("Invert Selection"));
    mnuPopup->addSeparator();
    mnuPopupProperties =
        item(mnuPopup, "mnuPopupProperties", QStringLiteral("&File Properties..."));
}

void frmArchive::wire() {
    const auto on = [this](QAction* a, void (frmArchive::*handler)()) {
        connect(a, &QAction::triggered, this, handler);
    };
    on(mnuOpen, &frmArchive::mnuOpen_Click);
    on(mnuExit, &frmArchive::mnuExit_Click);
    on(mnuAdd, &frmArchive::mnuAdd_Click);
    on(mnuDelete, &frmArchive::mnuDelete_Click);
    on(mnuExtract, &frmArchive::mnuExtract_Click);
    on(mnuView, &frmArchive::mnuView_Click);
    on(mnuSelectAll, &frmArchive::mnuSelectAll_Click);
    on(mnuInvert, &frmArchive::mnuInvert_Click);
    on(mnuShowLog, &frmArchive::mnuShowLog_Click);
    on(mnuSettings, &frmArchive::mnuSettings_Click);
    on(mnuPopupExtract, &frmArchive::mnuExtract_Click);
    on(mnuPopupDelete, &frmArchive::mnuDelete_Click);
    on(mnuPopupView, &frmArchive::mnuView_Click);
    on(mnuPopupSelectAll, &frmArchive::mnuSelectAll_Click);
    on(mnuPopupInvert, &frmArchive::mnuInvert_Click);
    on(mnuPopupProperties, &frmArchive::mnuPopupProperties_Click);
    connect(lvwArchive->header(), &QHeaderView::sectionClicked, this,
            &frmArchive::lvwArchive_ColumnClick);
    lvwArchive->viewport()->installEventFilter(this);
    connect(lblWeb, &QLabel::linkActivated, this, &frmArchive::lblWeb_Click);
    connect(lblEmail, &QLabel::linkActivated, this, &frmArchive::lblEmail_Click);

    connect(&m_arkovo, &Arkovo::ArchiveChanged, this, &frmArchive::Arkovo_ArchiveChanged);
    connect(&m_arkovo, &Arkovo::AddProgress, this, &frmArchive::Arkovo_AddProgress);
    connect(&m_arkovo, &Arkovo::ExtractProgress, this, &frmArchive::Arkovo_ExtractProgress);
    connect(&m_arkovo, &Arkovo::DeleteProgress, this, &frmArchive::Arkovo_DeleteProgress);
    connect(&m_arkovo, &Arkovo::AddComplete, this, &frmArchive::Arkovo_Complete);
    connect(&m_arkovo, &Arkovo::ExtractComplete, this, &frmArchive::Arkovo_Complete);
    connect(&m_arkovo, &Arkovo::DeleteComplete, this, &frmArchive::Arkovo_Complete);
    connect(&m_arkovo, &Arkovo::ArchiveError, this, &frmArchive::Arkovo_ArchiveError);
    connect(&m_arkovo, &Arkovo::EntryReport, this, &frmArchive::Arkovo_EntryReport);
    m_arkovo.setPasswordPrompt([this](const QString& name, bool retry) {
        return m_ui.inputBox(
            retry ? QStringLiteral("The password does not open %1. Password:").arg(name)
                  : QStringLiteral("%1 is encrypted. Password:").arg(name),
            QStringLiteral("Password"));
    });
}

bool frmArchive::archiveSelected() const { return !m_arkovo.ArchiveName().isEmpty(); }

void frmArchive::Form_Load() {
    if (m_loadStep) m_loadStep();
}

void frmArchive::mnuOpen_Click() {
    const QString path =
        m_ui.openOrNewFileName(QStringLiteral("Quorbit Arkovo"), QStringLiteral("Zip Files|*.zip"));
    if (path.isEmpty()) return;
    if (!QFileInfo::exists(path)) {
        const Answer a = m_ui.messageBox(
            QStringLiteral("Do you wish to create ") + Arkovo::GetFileName(path) + QLatin1Char('?'),
            Buttons::YesNo, Icon::Question, QStringLiteral("Create Archive"));
        if (a != Answer::Yes) return;
    }
    m_arkovo.setArchiveName(path);
}

void frmArchive::mnuExit_Click() {
    m_arkovo.CloseArchive();
    hide();
}

void frmArchive::mnuAdd_Click() {
    if (archiveSelected() && m_showAdd) m_showAdd();
}

void frmArchive::mnuDelete_Click() {
    if (!archiveSelected()) return;
    frmDelete dialog(m_ui, m_arkovo, *lvwArchive, this);
    m_ui.showModal(dialog);
}

void frmArchive::mnuExtract_Click() {
    if (!archiveSelected()) return;
    frmExtract dialog(m_ui, m_arkovo, *lvwArchive, QFileInfo(m_arkovo.ArchiveName()).absolutePath(),
                      this);
    m_ui.showModal(dialog);
}

void frmArchive::mnuView_Click() {
    if (!lvwArchive->currentIndex().isValid()) return;
    const QList<qint64> rows = rowTags(*lvwArchive, true);
    QString folder = m_viewFolder.path();
    if (folder.isEmpty()) {
        m_ui.messageBox(
            QStringLiteral("Could not make a private folder for viewing in ") + QDir::tempPath(),
            Buttons::Ok, Icon::Critical);
        return;
    }
    // With their folders, so two selected entries of the same file name stay apart.
    QStringList written;
    m_arkovo.ExtractEntries(rows, 1, true, true, folder, &written);
    for (const QString& path : written) m_ui.shellOpen(path);
}

void frmArchive::mnuSelectAll_Click() { lvwArchive->selectAll(); }

void frmArchive::mnuInvert_Click() {
    const int rows = m_rows->rowCount();
    if (rows == 0) return;
    const QItemSelection all(m_rows->index(0, 0), m_rows->index(rows - 1, kArchiveColumns - 1));
    lvwArchive->selectionModel()->select(all, QItemSelectionModel::Toggle);
}

void frmArchive::mnuPopupProperties_Click() {
    const QModelIndex row = lvwArchive->currentIndex();
    if (!row.isValid()) return;
    frmProperties dialog(m_arkovo.GetEntry(m_rows->tag(row.row())), this);
    m_ui.showModal(dialog);
}

void frmArchive::mnuShowLog_Click() {
    if (m_showLog) m_showLog();
}

void frmArchive::mnuSettings_Click() {
    if (m_showSettings) m_showSettings();
}

void frmArchive::lvwArchive_ColumnClick(int column) {
    m_rows->sort(column, Qt::AscendingOrder);
    lvwArchive->header()->setSortIndicatorShown(true);
    lvwArchive->header()->setSortIndicator(column, Qt::AscendingOrder);
}

void frmArchive::lvwArchive_MouseUp(Qt::MouseButton button, const QPoint& pos) {
    if (button != Qt::RightButton || m_rows->rowCount() == 0) return;
    const QModelIndex row = lvwArchive->indexAt(pos).siblingAtColumn(kColName);
    if (!row.isValid()) return;
    QItemSelectionModel* selection = lvwArchive->selectionModel();
    if (!selection->isSelected(row))
        selection->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selection->setCurrentIndex(row, QItemSelectionModel::NoUpdate);
    mnuPopup->popup(lvwArchive->viewport()->mapToGlobal(pos));
}

void frmArchive::lblWeb_Click() { m_ui.shellOpen(lblWeb->property("address").toString()); }

void frmArchive::lblEmail_Click() { m_ui.shellOpen(lblEmail->property("address").toString()); }

bool frmArchive::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lvwArchive->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            lvwArchive_MouseUp(mouse->button(), mouse->position().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmArchive::Arkovo_ArchiveChanged() {
    // A big archive fills the list in slices with a yield between them, so the window stays
    // alive; a newer change meanwhile takes over and this fill stops. The rows hold only entry
    // indexes, so a slice is quick; the list lays its rows out again after each one, so they
    // are not too many either.
    constexpr qint64 kSlice = 65536;
    const quint64 fill = ++m_fill;
    setWindowTitle(archiveTitle(m_arkovo.ArchiveName()));
    m_rows->clear();
    lvwArchive->header()->setSortIndicatorShown(false);
    lblFiles->setText(QStringLiteral("Reading the list..."));
    quint64 total = 0;
    const qint64 count = m_arkovo.EntryCount();
    for (qint64 first = 1; first <= count; first += kSlice) {
        const quint64 slice = m_rows->append(first, std::min(count, first + kSlice - 1));
        total = saturatingAdd(total, slice);
        if (first + kSlice <= count) {
            m_ui.yield();
            if (fill != m_fill) return;
        }
    }
    lblFiles->setText(statusText(m_rows->rowCount(),
                                 m_arkovo.FormatSize(static_cast<qint64>(std::min<quint64>(
                                     total, std::numeric_limits<qint64>::max())))));
}

void frmArchive::showProgress(const QString& text, int percent) {
    if (!m_progress) {
        m_progress = new frmProgress(this);
        m_progress->show();
    }
    m_progress->pbrProgress->setValue(qBound(0, percent, 100));
    m_progress->lblWorking->setText(text);
    m_ui.yield();  // the progress window and the others repaint during the work
}

void frmArchive::Arkovo_AddProgress(int percent, const QString& fileName) {
    showProgress(QStringLiteral("Adding ") + fileName + QStringLiteral("..."), percent);
}

void frmArchive::Arkovo_ExtractProgress(int percent, const QString& fileName) {
    showProgress(QStringLiteral("Extracting ") + fileName + QStringLiteral("..."), percent);
}

void frmArchive::Arkovo_DeleteProgress(int percent, const QString& fileName) {
    showProgress(QStringLiteral("Deleting ") + fileName + QStringLiteral("..."), percent);
}

void frmArchive::Arkovo_Complete() { delete m_progress.data(); }

void frmArchive::Arkovo_ArchiveError(const QString& message) {
    Arkovo_Complete();
    m_ui.messageBox(message, Buttons::Ok, Icon::Critical);
}

void frmArchive::Arkovo_EntryReport(const QString& message) {
    if (m_report) m_report(message);
}

}  // namespace vx
