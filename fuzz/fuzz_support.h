// Small helpers shared by the fuzz targets.
#pragma once

#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QString>
#include <cstdint>
#include <cstdlib>

namespace vx::fuzz {

// A broken property is a crash, so that libFuzzer keeps the input.
inline void require(bool ok) {
    if (!ok) std::abort();
}

inline QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Splits off the first byte as a control byte; 0 and the whole input when there is none.
struct Split {
    std::uint8_t control = 0;
    QByteArray rest;
};
inline Split split(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return {};
    return {data[0], bytes(data + 1, size - 1)};
}

// A folder of this process for the files a target writes: in memory when /dev/shm exists.
inline QString scratchFolder() {
    static const QString folder = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        const QString path = QStringLiteral("%1/vexaro-fuzz.%2").arg(base).arg(getpid());
        QDir().mkpath(path);
        return path;
    }();
    return folder;
}

}  // namespace vx::fuzz
