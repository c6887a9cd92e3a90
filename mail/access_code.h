// The access code file keycode.dat beside the program: comma-separated items, of which the last
// one names the user's folder on the file server. Read by the notification windows and the
// upload window.
#pragma once

#include <QString>
#include <QStringList>

#include "core/status.h"

namespace vx {

inline const QString kAccessCodeFile = QStringLiteral("keycode.dat");

// The items of the text in order. An item ends at a comma or a line end (LF, CR LF or CR);
// blanks before it are skipped; an unquoted item loses its trailing blanks; a quoted item loses
// its quotes and keeps everything between them, commas included, and whatever follows its
// closing quote up to the next comma is dropped. Lines holding only blanks give no item; a
// comma at the end of a line gives an empty last item.
QStringList accessCodeItems(const QString& text);

// The last item of the file at path (empty when it holds none), read as a data file (UTF-8
// when valid, else Windows-1252). An error naming the path when it cannot be read.
Result<QString> readAccessCode(const QString& path);

// The access code from keycode.dat beside the program; empty when the file cannot be read.
QString accessCodeBesideProgram();

}  // namespace vx
