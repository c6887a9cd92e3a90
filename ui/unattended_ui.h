// The desktop's Ui for runs that may have nobody at the screen (demos, benchmarks): when
// unattended, message boxes are printed and answered OK (Yes for questions); the program end is
// printed and recorded instead of ending the process, so the caller can report and go on.
#pragma once

#include "ui/qt_ui.h"

namespace vx {

class UnattendedUi final : public Ui {
public:
    explicit UnattendedUi(bool unattended) : m_unattended(unattended) {}

    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& initial) override;
    QString openFileName(const QString& title, const QString& filter,
                         const QString& startFolder) override;
    QString saveFileName(const QString& title, const QString& filter,
                         const QString& startFolder) override;
    // Prints the address, then hands it to the desktop.
    bool shellOpen(const QString& address) override;
    bool canAsk() const override { return !m_unattended; }
    void setBusy(bool busy) override { m_desktop.setBusy(busy); }
    void yield() override { m_desktop.yield(); }
    void showModal(QWidget& window) override { m_desktop.showModal(window); }

protected:
    void endNow() override;
    Answer showMessage(const QString& text, Buttons buttons, Icon icon,
                       const QString& title) override;

private:
    QtUi m_desktop;
    bool m_unattended;
};

}  // namespace vx
