// Where an archive entry may be written when it is extracted, so that no entry can reach
// outside the destination folder: not by "..", not by an absolute name, and not through a
// symbolic link that already sits inside the destination.
#pragma once

#include <QString>
#include <QStringList>

#include "core/status.h"

namespace vx {

// The path, relative to the destination, that the entry with this stored name extracts to:
// the whole stored name with useFolderNames, otherwise its file-name part. "\" counts as a
// folder separator, empty and "." parts are dropped. Fails with the reason when the name is
// absolute ("/x", "C:x"), has a ".." part, or leaves nothing to write (a folder entry without
// useFolderNames gives "" and no error). A folder entry keeps its trailing "/".
Result<QString> extractionPath(const QString& storedName, bool useFolderNames);

// Creates the folders of relativeDir (a path from extractionPath, "/" separated) under
// destination, one part at a time. Fails, naming the part, when an existing part is a symbolic
// link or a file, or a folder cannot be made; the folders it made are then removed again. An
// empty relativeDir does nothing. created, when given, gets the folders it made, outermost
// first, so a caller whose file then fails can remove them (removeFolders).
Status makeFolders(const QString& destination, const QString& relativeDir,
                   QStringList* created = nullptr);

// Removes the folders of makeFolders' list that are empty, innermost first.
void removeFolders(const QStringList& created);

}  // namespace vx
