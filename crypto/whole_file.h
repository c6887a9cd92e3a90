// Whole-file reads and writes for the file format: a file is read into one array, and an
// output is written through a temporary file in the same folder that replaces the target by
// a rename only once it is complete, so a failed write leaves the disk as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <string_view>

#include "core/status.h"

namespace vx::korva {

// The whole file, or an error whose message describes the failure.
Result<QByteArray> readWholeFile(const QString& path);

// The first n bytes of a file, padded with zero bytes when the file is shorter or unreadable.
QByteArray readFileHead(const QString& path, qsizetype n);

// Writes the pieces one after another as the file path, replacing an existing file only when
// everything was written. On failure no file of that name is created or changed.
Status writeWholeFile(const QString& path, std::initializer_list<std::string_view> pieces);

}  // namespace vx::korva
