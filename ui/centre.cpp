// Window placement.
#include "ui/centre.h"

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

}  // namespace vx
