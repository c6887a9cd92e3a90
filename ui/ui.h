// The one seam between the windows and the desktop: message and input boxes, file dialogs,
// shell-open, the busy pointer, the yield, modal showing and ending the program. Windows hold a
// reference to a Ui; the desktop uses QtUi, tests a scripted double that records what was shown.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace vx {

// The program's title, used by message boxes that name no title of their own.
inline const QString kProgramTitle = QStringLiteral("Vexaro");
// The product name, for the messages that carry it.
inline const QString kProductName = QStringLiteral("Vexaro Zipper");

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Question, Exclamation, Critical };
enum class Answer { Ok, Cancel, Yes, No };

class Ui {
public:
    virtual ~Ui() = default;

    // Shows a modal message and returns the button pressed. An empty title means kProgramTitle:
    // the one place where the default title is applied.
    Answer messageBox(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                      const QString& title = QString()) {
        return showMessage(text, buttons, icon, title.isEmpty() ? kProgramTitle : title);
    }

    // Asks for one line of text; nullopt when the user cancels.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& initial = QString()) = 0;

    // File dialogs; the empty string when the user cancels. The filter is "Text|pattern|...".
    virtual QString openFileName(const QString& title, const QString& filter,
                                 const QString& startFolder = QString()) = 0;
    virtual QString saveFileName(const QString& title, const QString& filter,
                                 const QString& startFolder = QString()) = 0;
    // An open dialog that also takes the name of a file that does not exist yet (to create it).
    virtual QString openOrNewFileName(const QString& title, const QString& filter,
                                      const QString& startFolder = QString()) {
        return openFileName(title, filter, startFolder);
    }

    // Opens a document, web address or mailto: address with the desktop's program for it. A
    // mailto: address is handed over as it stands, without any re-encoding. False when nothing
    // could be started.
    virtual bool shellOpen(const QString& address) = 0;

    // False when nobody is there to answer (an unattended run, which answers questions by
    // itself): a question only a person may answer, such as trusting a certificate, is then
    // not asked and taken as No.
    virtual bool canAsk() const { return true; }

    // The busy (wait) pointer on or off.
    virtual void setBusy(bool busy) = 0;

    // Lets pending events run (throttled; see vx::yieldToEvents). May run other handlers.
    virtual void yield() = 0;

    // Shows a window modally and returns when it is hidden or closed.
    virtual void showModal(QWidget& window) = 0;

    // Ends the program at once, without closing windows one by one. On the desktop it does not
    // return; a test double records the end and returns, so callers return right after it, and
    // a caller further up that must not go on asks programEnded().
    void endProgram() {
        m_programEnded = true;
        endNow();
    }
    bool programEnded() const { return m_programEnded; }

protected:
    // The end itself (see endProgram).
    virtual void endNow() = 0;
    // Shows the message of messageBox with its final title.
    virtual Answer showMessage(const QString& text, Buttons buttons, Icon icon,
                               const QString& title) = 0;

private:
    bool m_programEnded = false;
};

}  // namespace vx
