// The compress step behind "&Compress/Upload": packs the file selection window's list into the
// run's output archive through the zip component, then hands over to the next step.
#pragma once

#include <functional>

#include "ui/ui.h"

namespace vx {

class Arkovo;
class frmAdd;

// In this order: refuses with a message while the component is busy with another call (an
// extract, view or delete of the archive window yielding); selects the archive named in Text1
// (even when nothing follows); with an empty selection list shows "There is nothing to do!"
// and stops; otherwise adds the list's entries with the chosen action, path and 8.3 options and
// level, and when the component returns calls next, unless no archive file is there (the
// component has reported why). Yields (through the component) while the archive is written.
void CompressStep(frmAdd& add, Arkovo& arkovo, Ui& ui, const std::function<void()>& next);

}  // namespace vx
