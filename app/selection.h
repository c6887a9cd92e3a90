// Selection-list entries and the running size total of the file selection window.
#pragma once

#include <QString>
#include <optional>

namespace vx {

// folder & "/" & name, or folder & name when the folder already ends in "/" (the root).
QString fileEntry(const QString& folder, const QString& name);
// folder & "/*.*", or folder & "*.*" when the folder ends in "/".
QString folderEntry(const QString& folder);

// A byte count in KB with at most four places after the point (12,345 bytes give 12.0557).
double kilobytes(qint64 bytes);

// The file's size in KB, or nothing when it cannot be measured.
std::optional<double> GetFileSize(const QString& path);

// The running total after adding a size: rounded to a whole number, halves to even, and held
// within the 32-bit range.
qint32 addToTotal(qint32 total, double kb);

}  // namespace vx
