// Window placement and masked text boxes.
#include "ui/window_look.h"

#include <QLineEdit>
#include <QScreen>
#include <QWidget>

namespace vx {

void centreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) return;
    const QRect area = screen->geometry();
    window.move(area.left() + area.width() / 2 - window.width() / 2,
                area.top() + area.height() / 2 - window.height() / 2);
}

void maskWithAsterisks(QLineEdit& box) {
    box.setEchoMode(QLineEdit::Password);
    box.setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // 42 is "*"
}

}  // namespace vx
