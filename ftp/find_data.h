// One entry of a remote folder as the FTP layer reports it: attribute word, three file times,
// size and name. Times are file times: 100-nanosecond ticks since 1 January 1601, UTC.
#pragma once

#include <QDateTime>
#include <QString>

namespace vx::ftp {

// Bits of the attribute word.
enum Attribute : quint32 {
    AttrReadOnly = 0x1,
    AttrHidden = 0x2,
    AttrSystem = 0x4,
    AttrDirectory = 0x10,
    AttrArchive = 0x20,
    AttrNormal = 0x80,
    AttrTemporary = 0x100,
    AttrCompressed = 0x800,
    AttrOffline = 0x1000,
};

struct FindData {
    quint32 attributes = AttrNormal;
    qint64 creationTime = 0;  // 0: unknown
    qint64 lastAccessTime = 0;
    qint64 lastWriteTime = 0;
    qint64 size = 0;
    QString name;
};

// File time of a UTC instant; 0 for an invalid one.
qint64 fileTimeFromUtc(const QDateTime& utc);
// The UTC instant of a file time; invalid for 0 or a negative value.
QDateTime utcFromFileTime(qint64 fileTime);

}  // namespace vx::ftp
