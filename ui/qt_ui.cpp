// Desktop implementation of the Ui seam.
#include "ui/qt_ui.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "core/yield.h"

namespace vx {
namespace {

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
        case Icon::Information: return QMessageBox::Information;
        case Icon::Question: return QMessageBox::Question;
        case Icon::Exclamation: return QMessageBox::Warning;
        case Icon::Critical: return QMessageBox::Critical;
        case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Buttons b) {
    switch (b) {
        case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}

Answer fromQt(int button) {
    switch (button) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return Answer::Ok;
    }
}

}  // namespace

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(';', ' ') + ')';
    return out.join(QStringLiteral(";;"));
}

Answer QtUi::showMessage(const QString& text, Buttons buttons, Icon icon, const QString& title) {
    QMessageBox box(toQt(icon), title, text, toQt(buttons), QApplication::activeWindow());
    return fromQt(box.exec());
}

std::optional<QString> QtUi::inputBox(const QString& prompt, const QString& title,
                                      const QString& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                         QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

QString QtUi::openFileName(const QString& title, const QString& filter, const QString& start) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, start,
                                        toQtFilter(filter));
}

QString QtUi::saveFileName(const QString& title, const QString& filter, const QString& start) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, start,
                                        toQtFilter(filter));
}

QString QtUi::openOrNewFileName(const QString& title, const QString& filter,
                                const QString& start) {
    QFileDialog dialog(QApplication::activeWindow(), title, start, toQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

bool QtUi::shellOpen(const QString& address) {
    // A mailto: address reaches the desktop's opener exactly as built. Through QUrl it would not:
    // blanks become "%20", and one "%" that starts no escape makes every "%" "%25", so the
    // body's "%0A" line breaks would arrive as "%250A".
    if (address.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return QProcess::startDetached(QStringLiteral("xdg-open"), {address});
    const QUrl url = address.contains(QStringLiteral("://"))
                         ? QUrl(address)
                         : QUrl::fromLocalFile(address);
    return QDesktopServices::openUrl(url);
}

void QtUi::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUi::yield() { yieldToEvents(); }

void QtUi::showModal(QWidget& window) {
    QPointer<QWidget> guard(&window);
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    // A local loop that ends when the window is hidden, closed or destroyed.
    while (guard && guard->isVisible())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (guard) guard->setWindowModality(Qt::NonModal);
}

void QtUi::showNow(QWidget& window) {
    QPointer<QWidget> guard(&window);
    window.show();
    const QDeadlineTimer deadline(1000);
    const auto onScreen = [&] {
        return guard && guard->windowHandle() && guard->windowHandle()->isExposed();
    };
    while (guard && !onScreen() && !deadline.hasExpired()) yieldToEvents(10);
    if (!onScreen()) return;
    guard->repaint();
    QCoreApplication::processEvents();  // hands the painted window to the display
}

void QtUi::endNow() {
    std::fflush(nullptr);
    std::quick_exit(static_cast<int>(exitStatus()));
}

}  // namespace vx
