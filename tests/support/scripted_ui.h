// Test double of the Ui seam: answers from a script, records everything it was asked to show,
// and fails the running test when asked something the script did not expect. Message boxes with
// only an OK button need no script line; they are answered OK and recorded.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/ui.h"

namespace vx::test {

struct Shown {
    QString kind;  // "message", "input", "open", "save", "shell", "modal", "show"
    QString text;  // message or prompt, dialog title, opened address, window name
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    QString start;  // a file dialog's start folder or preset file
};

class ScriptedUi final : public Ui {
public:
    // Script lines, consumed in order by the matching kind of request.
    void answerMessage(Answer a);
    void answerInput(std::optional<QString> text);
    void answerOpenFile(QString path);
    void answerSaveFile(QString path);
    // Run while a window is shown modally (the window is hidden afterwards).
    void onModal(std::function<void(QWidget&)> action);

    const std::vector<Shown>& shown() const { return m_shown; }
    std::vector<Shown> messages() const;
    // The texts of all message boxes, and the addresses opened, in order.
    QStringList messageTexts() const { return texts(QLatin1String("message")); }
    QStringList opened() const { return texts(QLatin1String("shell")); }
    bool ended() const { return m_ended; }
    int yields() const { return m_yields; }
    // True when every script line was used.
    bool scriptUsed() const;

    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& initial) override;
    QString openFileName(const QString& title, const QString& filter,
                         const QString& startFolder) override;
    QString saveFileName(const QString& title, const QString& filter,
                         const QString& startFolder) override;
    bool shellOpen(const QString& address) override;
    void setBusy(bool) override {}  // the busy cursor is not recorded
    // An unattended run: canAsk() false.
    void setUnattended(bool unattended) { m_unattended = unattended; }
    bool canAsk() const override { return !m_unattended; }
    void yield() override;
    void showModal(QWidget& window) override;
    // Records "show" with the window's name and caption, and shows it.
    void showNow(QWidget& window) override;

protected:
    void endNow() override;
    Answer showMessage(const QString& text, Buttons buttons, Icon icon,
                       const QString& title) override;

private:
    QStringList texts(QLatin1String kind) const;
    std::vector<Shown> m_shown;
    std::deque<Answer> m_answers;
    std::deque<std::optional<QString>> m_inputs;
    std::deque<QString> m_openFiles;
    std::deque<QString> m_saveFiles;
    std::deque<std::function<void(QWidget&)>> m_modal;
    bool m_ended = false;
    bool m_unattended = false;
    int m_yields = 0;
};

}  // namespace vx::test
