// Selection entries and size total.
#include "app/selection.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>

namespace vx {

QString fileEntry(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString folderEntry(const QString& folder) { return fileEntry(folder, QStringLiteral("*.*")); }

double kilobytes(qint64 bytes) { return std::nearbyint(bytes / 1024.0 * 10000.0) / 10000.0; }

std::optional<double> GetFileSize(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return std::nullopt;
    return kilobytes(info.size());
}

qint32 addToTotal(qint32 total, double kb) {
    constexpr double kLow = std::numeric_limits<qint32>::min(),
                     kHigh = std::numeric_limits<qint32>::max();
    return static_cast<qint32>(
        std::clamp(std::nearbyint(static_cast<double>(total) + kb), kLow, kHigh));
}

}  // namespace vx
