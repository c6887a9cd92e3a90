// Where the files kept beside the program live (list file, access code, template, archive, log).
#pragma once

#include <QString>

namespace vx {

// The desktop id of the program: its menu entry, icon, AppStream and file type are named so.
inline const QString kDesktopId = QStringLiteral("org.vexaro.Vexaro");

// True when the folder is the "bin" folder of an installed copy: the copy's menu entry lies in
// ../share/applications. Such a folder is the system's (or root's), never the program folder.
bool isInstalledBinFolder(const QString& folder);

// Works the folder out, in this order: $VEXARO_HOME; the executable's folder when writable and
// not the bin folder of an installed copy (a build tree, a portable copy); the per-user data
// folder (~/.local/share/Vexaro), created here. Never ends in "/" (unless it is the root).
QString findProgramFolder();

// The program folder of this run: found once, on first use (at start-up), and kept.
QString programFolder();

// Fixes the program folder for the rest of the run; an empty text forgets it, so that the next
// use finds it again (tests with a temporary folder).
void setProgramFolder(const QString& folder);

// folder & "/" & name.
QString besideProgram(const QString& name);

// The part of a path after its last "/" (the whole text when there is none).
QString TrimPath(const QString& path);

}  // namespace vx
