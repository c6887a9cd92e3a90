// Scripted Ui double.
#include "scripted_ui.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace vx::test {

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

QStringList ScriptedUi::messageTexts() const {
    QStringList out;
    for (const Shown& s : messages()) out << s.text;
    return out;
}

QStringList ScriptedUi::opened() const {
    QStringList out;
    for (const Shown& s : m_shown)
        if (s.kind == QLatin1String("shell")) out << s.text;
    return out;
}

bool ScriptedUi::scriptUsed() const {
    return m_answers.empty() && m_inputs.empty() && m_openFiles.empty() && m_saveFiles.empty() &&
           m_modal.empty();
}

Answer ScriptedUi::messageBox(const QString& text, Buttons buttons, Icon icon,
                              const QString& title) {
    m_shown.push_back({QStringLiteral("message"), text, title.isEmpty() ? kProgramTitle : title,
                       buttons, icon});
    if (!m_answers.empty()) {
        const Answer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    if (buttons != Buttons::Ok) ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return Answer::Ok;
}

std::optional<QString> ScriptedUi::inputBox(const QString& prompt, const QString& title,
                                            const QString&) {
    m_shown.push_back({QStringLiteral("input"), prompt, title});
    if (m_inputs.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return std::nullopt;
    }
    auto t = m_inputs.front();
    m_inputs.pop_front();
    return t;
}

QString ScriptedUi::openFileName(const QString& title, const QString& filter, const QString&) {
    m_shown.push_back({QStringLiteral("open"), title, filter});
    if (m_openFiles.empty()) {
        ADD_FAILURE() << "unexpected open dialog: " << title.toStdString();
        return QString();
    }
    QString p = m_openFiles.front();
    m_openFiles.pop_front();
    return p;
}

QString ScriptedUi::saveFileName(const QString& title, const QString& filter, const QString&) {
    m_shown.push_back({QStringLiteral("save"), title, filter});
    if (m_saveFiles.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << title.toStdString();
        return QString();
    }
    QString p = m_saveFiles.front();
    m_saveFiles.pop_front();
    return p;
}

bool ScriptedUi::shellOpen(const QString& address) {
    m_shown.push_back({QStringLiteral("shell"), address, QString()});
    return true;
}

void ScriptedUi::setBusy(bool busy) { m_busy += busy ? 1 : -1; }

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

void ScriptedUi::endProgram() {
    m_shown.push_back({QStringLiteral("end"), QString(), QString()});
    m_ended = true;
}

}  // namespace vx::test
