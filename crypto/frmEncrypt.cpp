// Encryption window.
#include "crypto/frmEncrypt.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "crypto/file_crypto.h"
#include "crypto/key_rules.h"
#include "crypto/progress_box.h"
#include "crypto/salt.h"
#include "crypto/text_crypto.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "ui/window_look.h"
#include "ui/named.h"

namespace vx {
namespace {

// The module's messages carry no title. An empty title would be replaced by the program's
// title, so they get a single blank, which shows as an empty title bar.
const QString kNoTitle = QStringLiteral(" ");

const QString kNote = QStringLiteral(
    "Remember that encryption time can take several minutes depending on the size of the "
    "file(s) you've added to the archive.  Please be patient as this process is very important "
    "to the security of your file(s).");

constexpr int kWindowWidth = 520;

QPushButton* button(const char* name, const char* caption) {
    return named(new QPushButton(QString::fromLatin1(caption)), name);
}

// A row of buttons pushed to the right.
QHBoxLayout* buttonRow(QPushButton* first, QPushButton* second) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(first);
    row->addWidget(second);
    return row;
}

}  // namespace

frmEncrypt::frmEncrypt(Ui& ui, SettingsStore& settings, std::function<QString()> archivePath,
                       QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_ui(ui),
      m_settings(settings),
      m_archivePath(std::move(archivePath)),
      m_previousSink(korva::state().sink) {
    setObjectName(QStringLiteral("frmEncrypt"));
    setWindowTitle(QStringLiteral("[Encryption Process]"));
    buildControls();
    wire();
    setBusy(false);
    korva::state().sink = this;
    korva::state().ConfirmReplace = [this](const QString& existing) {
        return m_ui.messageBox(existing + QStringLiteral(" already exists.\nReplace it?"),
                               Buttons::YesNo, Icon::Question) == Answer::Yes;
    };
}

frmEncrypt::~frmEncrypt() {
    if (korva::state().sink == this) korva::state().sink = m_previousSink;
    korva::state().ConfirmReplace = nullptr;
}

void frmEncrypt::buildControls() {
    QWidget* progressPart = buildProgressPart();
    buildKeyFrame();
    buildFileFrame();
    buildTextFrame();

    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->addWidget(progressPart);
    column->addWidget(fraKey);
    column->addWidget(fraFile);
    column->addWidget(fraText, 1);

    auto* scroll = named(new QScrollArea, "scrollContent");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    // As it opens the window shows the progress part only; the frames lie below its edge.
    const QMargins m = column->contentsMargins();
    const int partWidth = kWindowWidth - m.left() - m.right() - 20;  // room for the scroll bar
    resize(kWindowWidth, m.top() + progressPart->heightForWidth(partWidth) + column->spacing());
}

QWidget* frmEncrypt::buildProgressPart() {
    auto* part = new QWidget;
    picProgress = named(new ProgressBox, "picProgress");
    lblEncryptFile = named(new QLabel(QStringLiteral("Filename...")), "lblEncryptFile");
    lblEncryptFile->setTextFormat(Qt::PlainText);
    // A long path must not widen the window.
    lblEncryptFile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblNote = named(new QLabel(kNote), "lblNote");
    lblNote->setWordWrap(true);

    auto* fileLine = new QHBoxLayout;
    fileLine->addWidget(new QLabel(QStringLiteral("Filename:")));
    fileLine->addWidget(lblEncryptFile, 1);
    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Encryption Progress Indicator...")));
    layout->addWidget(picProgress);
    layout->addLayout(fileLine);
    layout->addWidget(lblNote);
    return part;
}

void frmEncrypt::buildKeyFrame() {
    fraKey = named(new QGroupBox(QStringLiteral("Encryption Key")), "fraKey");
    txtKey = named(new QLineEdit, "txtKey");
    maskWithAsterisks(*txtKey);
    txtPCC = named(new QLineEdit, "txtPCC");
    lblKeyQuality = named(new QLabel(QStringLiteral("Key Quality: 0 %")), "lblKeyQuality");
    cmdCancel = button("cmdCancel", "&Cancel");
    cmdCancel->setEnabled(false);

    auto* grid = new QGridLayout(fraKey);
    grid->addWidget(txtKey, 0, 0, 1, 2);
    grid->addWidget(lblKeyQuality, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Private key")), 1, 0);
    grid->addWidget(txtPCC, 1, 1);
    grid->addWidget(cmdCancel, 1, 2);
}

void frmEncrypt::buildFileFrame() {
    fraFile = named(new QGroupBox(QStringLiteral("File Encryption")), "fraFile");
    txtSource = named(new QLineEdit, "txtSource");
    txtTarget = named(new QLineEdit, "txtTarget");
    cmdSource = button("cmdSource", "...");
    cmdTarget = button("cmdTarget", "...");
    for (QPushButton* b : {cmdSource, cmdTarget}) b->setMaximumWidth(40);
    cmdCrypto = button("cmdCrypto", "File Crypto");
    cmdCancelFile = button("cmdCancelFile", "&Cancel");

    auto* grid = new QGridLayout(fraFile);
    grid->addWidget(new QLabel(QStringLiteral("Source file")), 0, 0);
    grid->addWidget(txtSource, 0, 1);
    grid->addWidget(cmdSource, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Target file")), 1, 0);
    grid->addWidget(txtTarget, 1, 1);
    grid->addWidget(cmdTarget, 1, 2);
    grid->addLayout(buttonRow(cmdCrypto, cmdCancelFile), 2, 0, 1, 3);
}

void frmEncrypt::buildTextFrame() {
    fraText = named(new QGroupBox(QStringLiteral("Text Encryption")), "fraText");
    txtBox = named(new QPlainTextEdit, "txtBox");
    txtBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtBox->setMinimumHeight(140);
    cmdText = button("cmdText", "Text Crypto");
    cmdCancelText = button("cmdCancelText", "&Cancel");

    auto* layout = new QVBoxLayout(fraText);
    layout->addWidget(txtBox, 1);
    layout->addLayout(buttonRow(cmdText, cmdCancelText));
}

void frmEncrypt::wire() {
    Timer1.setSingleShot(true);
    Timer1.setInterval(500);
    connect(&Timer1, &QTimer::timeout, this, &frmEncrypt::Timer1_Timer);
    connect(cmdCrypto, &QPushButton::clicked, this, &frmEncrypt::cmdCrypto_Click);
    connect(cmdText, &QPushButton::clicked, this, &frmEncrypt::cmdText_Click);
    connect(cmdCancelFile, &QPushButton::clicked, this, &frmEncrypt::cmdCancelFile_Click);
    connect(cmdCancelText, &QPushButton::clicked, this, &frmEncrypt::cmdCancelText_Click);
    connect(txtKey, &QLineEdit::textChanged, this, &frmEncrypt::txtKey_Change);
    // Moves arrive without a button held only with tracking on.
    for (QWidget* w : {static_cast<QWidget*>(fraKey), static_cast<QWidget*>(fraFile),
                       static_cast<QWidget*>(fraText), txtBox->viewport()}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

void frmEncrypt::Form_Load() {
    centreOnScreen(*this);
    const QString archive = m_archivePath();
    lblEncryptFile->setText(archive);
    // A change of the text updates the key quality; an empty key changes nothing.
    txtKey->setText(keys::read(m_settings, keys::EncryptKey));
    txtSource->setText(archive);
    txtTarget->setText(archive);
    Timer1.start();
}

void frmEncrypt::Timer1_Timer() {
    Timer1.stop();
    if (m_busy) {
        m_tickWaiting = true;  // the click's run ends first; the job waits for this run
        return;
    }
    runFileCrypto();
    setBusy(false);
    close();
}

void frmEncrypt::runDeferredTick() {
    if (!m_tickWaiting || !isVisible()) return;
    m_tickWaiting = false;
    Timer1_Timer();
}

void frmEncrypt::cmdCrypto_Click() {
    runFileCrypto();
    setBusy(false);
    m_ui.messageBox(QStringLiteral("Done!"));
    runDeferredTick();
}

void frmEncrypt::runFileCrypto() {
    setBusy(true);
    // The fields stay editable while the module works: compare what was handed over.
    const QString source = txtSource->text();
    const QString target = txtTarget->text();
    const QString written = korva::FileCrypto(source, target, txtKey->text(), txtPCC->text());
    if (showModuleError()) return;
    if (target == source) txtSource->setText(written);
    txtTarget->setText(written);
}

void frmEncrypt::cmdText_Click() {
    setBusy(true);
    // The box keeps line breaks as LF; texts and armours travel with CR LF, as the armour
    // writes them, so an armour taken from the box reads back and a text comes back as typed.
    QString text = txtBox->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const QString result = korva::TextCrypto(text, txtKey->text(), txtPCC->text());
    if (!showModuleError()) txtBox->setPlainText(result);
    setBusy(false);
    runDeferredTick();
}

bool frmEncrypt::showModuleError() {
    if (korva::state().ErrorCode == 0) return false;
    m_ui.messageBox(korva::state().ErrorMessage, Buttons::Ok, Icon::Critical, kNoTitle);
    return true;
}

void frmEncrypt::cmdCancelFile_Click() { korva::state().AbortFlag = true; }

void frmEncrypt::cmdCancelText_Click() { korva::state().AbortFlag = true; }

void frmEncrypt::txtKey_Change() {
    lblKeyQuality->setText(korva::keyQualityCaption(txtKey->text()));
}

void frmEncrypt::setBusy(bool busy) {
    m_busy = busy;
    for (QPushButton* b : {cmdCrypto, cmdSource, cmdTarget, cmdText}) b->setEnabled(!busy);
    for (QPushButton* b : {cmdCancelFile, cmdCancelText}) b->setEnabled(busy);
}

void frmEncrypt::drawProgress(int percent) { picProgress->drawPercent(percent); }

bool frmEncrypt::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const QPointF at = static_cast<QMouseEvent*>(event)->position();
        korva::AddMouseEntropy(static_cast<float>(at.x()), static_cast<float>(at.y()));
    }
    return QWidget::eventFilter(watched, event);
}

void frmEncrypt::closeEvent(QCloseEvent* event) {
    Timer1.stop();
    m_tickWaiting = false;
    if (m_busy) korva::state().AbortFlag = true;
    QWidget::closeEvent(event);
}

}  // namespace vx
