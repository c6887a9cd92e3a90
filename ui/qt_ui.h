// The desktop's Ui: Qt message boxes, input dialogs, file dialogs and desktop services.
#pragma once

#include "ui/ui.h"

namespace vx {

class QtUi final : public Ui {
public:
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& initial) override;
    QString openFileName(const QString& title, const QString& filter,
                         const QString& startFolder) override;
    QString saveFileName(const QString& title, const QString& filter,
                         const QString& startFolder) override;
    QString openOrNewFileName(const QString& title, const QString& filter,
                              const QString& startFolder) override;
    bool shellOpen(const QString& address) override;
    void setBusy(bool busy) override;
    void yield() override;
    void showModal(QWidget& window) override;
    void showNow(QWidget& window) override;

protected:
    // Runs the quick_exit handlers (which remove this run's temporary folders), then ends with
    // the recorded exit status.
    [[noreturn]] void endNow() override;
    Answer showMessage(const QString& text, Buttons buttons, Icon icon,
                       const QString& title) override;
};

// "Zip Files|*.zip|All|*" becomes "Zip Files (*.zip);;All (*)".
QString toQtFilter(const QString& filter);

}  // namespace vx
