// Where the files kept beside the program live (list file, access code, template, archive, log).
#pragma once

#include <QString>

namespace vx {

// In this order: $VEXARO_HOME; the executable's folder when writable; the per-user data folder,
// created on first use. Never ends in "/" (unless it is the root).
QString programFolder();

// folder & "/" & name.
QString besideProgram(const QString& name);

// The part of a path after its last "/" (the whole text when there is none).
QString TrimPath(const QString& path);

}  // namespace vx
