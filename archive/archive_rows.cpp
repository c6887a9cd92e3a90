// Archive list texts.
#include "archive/archive_rows.h"

#include <cmath>

#include "core/number_forms.h"

namespace vx {

QString ratioText(quint64 size, quint64 packed) {
    if (size == 0) return QStringLiteral("0%");
    // The same double arithmetic as the displayed formula, so halves fall where it puts them.
    const double ratio = (1.0 - static_cast<double>(packed) / static_cast<double>(size)) * 100.0;
    return QString::number(static_cast<qint64>(std::nearbyint(ratio))) + QLatin1Char('%');
}

QString hexCrc(quint32 crc) { return QString::number(crc, 16).toUpper(); }

QString cellText(const ArkovoEntry& entry, int column) {
    switch (column) {
        case kColName:
            return Arkovo::GetFileName(entry.FileName);
        case kColDateTime:
            return entry.DateTime;
        case kColSize:
            return groupedOrEmpty(entry.Size);
        case kColPacked:
            return groupedOrEmpty(entry.PackedSize);
        case kColRatio:
            return ratioText(entry.Size, entry.PackedSize);
        case kColPath:
            return Arkovo::GetFilePath(entry.FileName);
        default:
            return QString();
    }
}

std::array<QString, kArchiveColumns> rowTexts(const ArkovoEntry& entry) {
    std::array<QString, kArchiveColumns> texts;
    for (int c = 0; c < kArchiveColumns; ++c) texts[c] = cellText(entry, c);
    return texts;
}

QString statusText(int rows, const QString& sizeText) {
    return QString::number(rows) + QStringLiteral(" file(s), ") + sizeText;
}

QString archiveTitle(const QString& archiveName) {
    return QStringLiteral("Quorbit Arkovo - ") + archiveName;
}

}  // namespace vx
