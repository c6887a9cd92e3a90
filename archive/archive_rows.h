// The texts of the archive window and its dialogs, computed from archive entries without any
// window: list rows, ratio, CRC, status line, title, and the name lists handed back to the zip
// component for the rows a person picked.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "archive/arkovo.h"

namespace vx {

// The list's columns, in display order.
enum ArchiveColumn { kColName, kColDateTime, kColSize, kColPacked, kColRatio, kColPath };
inline constexpr int kArchiveColumns = 6;

// (1 - packed / size) x 100 rounded to a whole number, halves to even, & "%"; "0%" when size
// is 0. An entry that grew in packing gives a negative ratio ("-3%").
QString ratioText(qint64 size, qint64 packed);

// The CRC in upper-case hexadecimal, unsigned, without leading zeros (255 gives "FF").
QString hexCrc(quint32 crc);

// The six cells of an entry's row: file-name part, date/time text as stored, size and packed
// size grouped by thousands (empty for 0), ratio, folder part.
std::array<QString, kArchiveColumns> rowTexts(const ArkovoEntry& entry);

// rows & " file(s), " & sizeText.
QString statusText(int rows, const QString& sizeText);

// "Quorbit Arkovo - " & archive path.
QString archiveTitle(const QString& archiveName);

// For each entry index in order, the file-name part of that entry's stored name, as the zip
// component takes names for extracting and deleting. storedName maps a 1-based index to the
// entry's stored name.
QStringList namesForIndexes(const QList<qint64>& indexes,
                            const std::function<QString(qint64)>& storedName);

}  // namespace vx
