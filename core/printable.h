// Text from outside (server replies, names in files) made safe to print on a terminal or in a
// log line: control characters cannot move the cursor, clear the screen or forge a line.
#pragma once

#include <QString>
#include <QStringView>

namespace vx {

// The text with every control character (below 32, 127, and 128 to 159) written as "\xNN" and
// every backslash doubled, so that the printed form maps back to exactly one text.
QString printable(QStringView text);

}  // namespace vx
