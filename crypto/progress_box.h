// The encryption window's progress box: a plain box whose width measures 72.75 units, filled
// from the left edge up to the percentage last drawn, so 72.75 % and more fill it completely.
#pragma once

#include <QWidget>

namespace vx {

// Width of the box in its own units.
inline constexpr double kProgressScaleWidth = 72.75;

// Pixels filled for a percentage in a box of `width` pixels: percent / 72.75 of the width,
// rounded, never more than the width; 0 (or less) fills nothing.
int progressFillWidth(int percent, int width);

class ProgressBox : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBox(QWidget* parent = nullptr);

    // Draws the percentage (above 100 counts as 100; 0 clears) and repaints at once.
    void drawPercent(int percent);
    // The percentage drawn last.
    int percent() const { return m_percent; }
    // The pixels filled at the current width.
    int filledWidth() const { return progressFillWidth(m_percent, width()); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_percent = 0;
};

}  // namespace vx
