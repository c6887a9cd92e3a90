// Placing a window the way the program's windows open: centred on the screen it is on.
#pragma once

class QWidget;

namespace vx {

// Moves the window so that its middle is the middle of its screen (nothing without a screen).
void centreOnScreen(QWidget& window);

}  // namespace vx
