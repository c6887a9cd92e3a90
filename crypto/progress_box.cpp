// Progress box of the encryption window.
#include "crypto/progress_box.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vx {

int progressFillWidth(int percent, int width) {
    if (percent <= 0 || width <= 0) return 0;
    const double pixels = std::nearbyint(percent / kProgressScaleWidth * width);
    return static_cast<int>(std::min<double>(pixels, width));
}

ProgressBox::ProgressBox(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setMinimumHeight(22);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ProgressBox::drawPercent(int percent) {
    m_percent = std::clamp(percent, 0, 100);
    repaint();
}

void ProgressBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const int fill = filledWidth();
    if (fill > 0)
        painter.fillRect(QRect(0, 0, fill, height()), palette().color(QPalette::Highlight));
}

}  // namespace vx
