// The list file: a prepared list of entries to send, one per line, loaded into the selection
// list of the file selection window.
#pragma once

#include <QString>

#include "ui/ui.h"

class QListWidget;

namespace vx {

class frmAdd;

// Clears listToClear, appends every line of the file (taken whole, empty lines included) to
// target.lstAdd with a log line each, then shows "The list has been loaded and is ready.".
// An error while opening or reading shows "An error has occured " & the system's description;
// entries added before it stay.
void LoadList(const QString& path, QListWidget& listToClear, frmAdd& target, Ui& ui);

}  // namespace vx
