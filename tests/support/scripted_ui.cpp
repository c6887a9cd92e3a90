// Scripted Ui double.
#include "scripted_ui.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace vx::test {

namespace {

// The next scripted answer of a kind, or a test failure and `none` when the script has none.
template <typename T>
T next(std::deque<T>& answers, const char* what, const QString& about, T none = T()) {
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected " << what << ": " << about.toStdString();
        return none;
    }
    std::swap(none, answers.front());  // takes the answer out
    answers.pop_front();
    return none;
}

}  // namespace

void ScriptedUi::answerMessage(Answer a) { m_answers.push_back(a); }
void ScriptedUi::answerInput(std::optional<QString> t) { m_inputs.push_back(std::move(t)); }
void ScriptedUi::answerOpenFile(QString p) { m_openFiles.push_back(std::move(p)); }
void ScriptedUi::answerSaveFile(QString p) { m_saveFiles.push_back(std::move(p)); }
void ScriptedUi::onModal(std::function<void(QWidget&)> a) { m_modal.push_back(std::move(a)); }

std::vector<Shown> ScriptedUi::messages() const {
    std::vector<Shown> out;
    for (const Shown& s : m_shown)
        if (s.kind == QLatin1String("message")) out.push_back(s);
    return out;
}

QStringList ScriptedUi::texts(QLatin1String kind) const {
    QStringList out;
    for (const Shown& s : m_shown)
        if (s.kind == kind) out << s.text;
    return out;
}

bool ScriptedUi::scriptUsed() const {
    return m_answers.empty() && m_inputs.empty() && m_openFiles.empty() && m_saveFiles.empty() &&
           m_modal.empty();
}

Answer ScriptedUi::showMessage(const QString& text, Buttons buttons, Icon icon,
                               const QString& title) {
    m_shown.push_back({QStringLiteral("message"), text, title, buttons, icon});
    if (m_answers.empty() && buttons == Buttons::Ok) return Answer::Ok;  // needs no script line
    return next(m_answers, "question", text, Answer::Ok);
}

std::optional<QString> ScriptedUi::inputBox(const QString& prompt, const QString& title,
                                            const QString&) {
    m_shown.push_back({QStringLiteral("input"), prompt, title});
    return next(m_inputs, "input box", prompt);
}

QString ScriptedUi::openFileName(const QString& title, const QString& filter, const QString&) {
    m_shown.push_back({QStringLiteral("open"), title, filter});
    return next(m_openFiles, "open dialog", title);
}

QString ScriptedUi::saveFileName(const QString& title, const QString& filter,
                                 const QString& start) {
    m_shown.push_back({QStringLiteral("save"), title, filter, Buttons::Ok, Icon::None, start});
    return next(m_saveFiles, "save dialog", title);
}

bool ScriptedUi::shellOpen(const QString& address) {
    m_shown.push_back({QStringLiteral("shell"), address, QString()});
    return true;
}

void ScriptedUi::yield() { ++m_yields; }

void ScriptedUi::showModal(QWidget& window) {
    m_shown.push_back({QStringLiteral("modal"), window.objectName(), window.windowTitle()});
    window.show();
    if (!m_modal.empty()) {
        auto action = std::move(m_modal.front());
        m_modal.pop_front();
        action(window);
    }
    window.hide();
}

void ScriptedUi::showNow(QWidget& window) {
    m_shown.push_back({QStringLiteral("show"), window.objectName(), window.windowTitle()});
    window.show();
}

void ScriptedUi::endNow() {
    m_shown.push_back({QStringLiteral("end"), QString(), QString()});
    m_ended = true;
}

}  // namespace vx::test
