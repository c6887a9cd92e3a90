// Writes a whole text to a file, replacing what it held, with CR LF line ends and one CR LF after
// the text. The old file stays intact until the new one is complete.
#pragma once

#include <QString>

#include "core/status.h"

namespace vx {

// Line ends in text may be LF or CR LF; the file gets CR LF. The text is written as UTF-8.
Status writeTextFile(const QString& text, const QString& path);

}  // namespace vx
