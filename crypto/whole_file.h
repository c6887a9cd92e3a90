// Whole-file reads for the file format: a file is read into one array. (Outputs are written by
// writeFileAtomically, core/atomic_write.h.)
#pragma once

#include <QByteArray>
#include <QString>

#include "core/status.h"

namespace vx::korva {

// The whole file, or an error whose message describes the failure.
Result<QByteArray> readWholeFile(const QString& path);

// The first n bytes of a file, padded with zero bytes when the file is shorter or unreadable.
QByteArray readFileHead(const QString& path, qsizetype n);

}  // namespace vx::korva
