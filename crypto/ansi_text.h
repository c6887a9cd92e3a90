// The cipher module's one text-to-byte conversion: one byte per character through the
// single-byte code page, so that all 256 byte values round-trip.
#pragma once

#include <QByteArray>
#include <QString>

#include "core/cp1252.h"

namespace vx::korva {

inline QByteArray ansiBytes(const QString& text) { return stringToCp1252(text); }
inline QString ansiText(const QByteArray& bytes) { return cp1252ToString(bytes); }

}  // namespace vx::korva
