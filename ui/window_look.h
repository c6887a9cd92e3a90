// How the program's windows sit and look: centred on their screen, and secret text boxes (keys,
// passwords) masked with "*".
#pragma once

class QLineEdit;
class QWidget;

namespace vx {

// Moves the window so that its middle is the middle of its screen (nothing without a screen).
void centreOnScreen(QWidget& window);

// Shows every character of the box as "*" (the style's own mask character may differ).
void maskWithAsterisks(QLineEdit& box);

}  // namespace vx
