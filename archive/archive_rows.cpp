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

std::array<QString, kArchiveColumns> rowTexts(const ArkovoEntry& entry) {
    return {Arkovo::GetFileName(entry.FileName),
            entry.DateTime,
            groupedOrEmpty(entry.Size),
            groupedOrEmpty(entry.PackedSize),
            ratioText(entry.Size, entry.PackedSize),
            Arkovo::GetFilePath(entry.FileName)};
}

QString statusText(int rows, const QString& sizeText) {
    return QString::number(rows) + QStringLiteral(" file(s), ") + sizeText;
}

QString archiveTitle(const QString& archiveName) {
    return QStringLiteral("Quorbit Arkovo - ") + archiveName;
}

}  // namespace vx
