// Unattended desktop Ui.
#include "ui/unattended_ui.h"

#include <cstdio>

namespace vx {

std::optional<QString> UnattendedUi::inputBox(const QString& prompt, const QString& title,
                                              const QString& initial) {
    return m_desktop.inputBox(prompt, title, initial);
}

QString UnattendedUi::openFileName(const QString& title, const QString& filter,
                                   const QString& startFolder) {
    return m_desktop.openFileName(title, filter, startFolder);
}

QString UnattendedUi::saveFileName(const QString& title, const QString& filter,
                                   const QString& startFolder) {
    return m_desktop.saveFileName(title, filter, startFolder);
}

bool UnattendedUi::shellOpen(const QString& address) {
    std::printf("[shell-open] %s\n", qPrintable(address));
    return m_desktop.shellOpen(address);
}

void UnattendedUi::endNow() {
    std::printf("[program end]\n");
    std::fflush(stdout);
}

Answer UnattendedUi::showMessage(const QString& text, Buttons buttons, Icon icon,
                                 const QString& title) {
    if (!m_unattended) return m_desktop.messageBox(text, buttons, icon, title);
    std::printf("[%s] %s\n", qPrintable(title), qPrintable(text));
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

}  // namespace vx
