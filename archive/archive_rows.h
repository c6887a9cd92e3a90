// The texts of the archive window and its dialogs, computed from archive entries without any
// window: list rows, ratio, CRC, status line and title.
#pragma once

#include <QString>
#include <array>

#include "archive/arkovo.h"

namespace vx {

// The list's columns, in display order.
enum ArchiveColumn { kColName, kColDateTime, kColSize, kColPacked, kColRatio, kColPath };
inline constexpr int kArchiveColumns = 6;

// (1 - packed / size) x 100 rounded to a whole number, halves to even, & "%"; "0%" when size
// is 0. An entry that grew in packing gives a negative ratio ("-3%").
QString ratioText(quint64 size, quint64 packed);

// The CRC in upper-case hexadecimal, unsigned, without leading zeros (255 gives "FF").
QString hexCrc(quint32 crc);

// The six cells of an entry's row: file-name part, date/time text as stored, size and packed
// size grouped by thousands (empty for 0), ratio, folder part.
std::array<QString, kArchiveColumns> rowTexts(const ArkovoEntry& entry);
// One of them; "" for a column out of range.
QString cellText(const ArkovoEntry& entry, int column);

// rows & " file(s), " & sizeText.
QString statusText(int rows, const QString& sizeText);

// "Quorbit Arkovo - " & archive path.
QString archiveTitle(const QString& archiveName);

}  // namespace vx
