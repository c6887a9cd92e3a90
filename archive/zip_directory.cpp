// Reading a zip archive's end records and central directory byte by byte.
#include "archive/zip_directory.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <numeric>

namespace vx {
namespace {

constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;
constexpr qint64 kEndRecord = 22;
constexpr qint64 kZip64Locator = 20;
constexpr qint64 kZip64End = 56;
constexpr qint64 kCentralRecord = 46;
constexpr qint64 kLocalHeader = 30;

std::uint64_t le(const char* p, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

bool readAt(QFile& file, qint64 at, qint64 length, QByteArray& out) {
    if (at < 0 || length < 0 || !file.seek(at)) return false;
    out = file.read(length);
    return out.size() == length;
}

// libzip refuses a name flagged UTF-8 that is not valid UTF-8 or holds control characters.
bool unreadableUtf8(const char* name, qsizetype length) {
    if (std::any_of(name, name + length, [](char c) { return static_cast<unsigned char>(c) < 32; }))
        return true;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(QByteArrayView(name, length));  // decodes here
    return decoder.hasError();
}

Status parseRecords(const QByteArray& cd, qint64 cdAt, std::uint64_t count, ZipDirectory& dir) {
    dir.records.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, cd.size() / 46)));
    qint64 at = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (at + kCentralRecord > cd.size() || le(cd.constData() + at, 4) != 0x02014b50)
            return Status::error(QStringLiteral("its central directory is cut short or damaged"));
        const char* r = cd.constData() + at;
        DirectoryRecord rec;
        rec.flags = static_cast<std::uint16_t>(le(r + 8, 2));
        rec.method = static_cast<std::uint16_t>(le(r + 10, 2));
        rec.packedSize = le(r + 20, 4);
        rec.size = le(r + 24, 4);
        rec.nameLength = static_cast<std::uint16_t>(le(r + 28, 2));
        const qint64 extraLength = static_cast<qint64>(le(r + 30, 2));
        const qint64 commentLength = static_cast<qint64>(le(r + 32, 2));
        rec.localOffset = le(r + 42, 4);
        rec.flagsAt = cdAt + at + 8;
        const qint64 next = at + kCentralRecord + rec.nameLength + extraLength + commentLength;
        if (next > cd.size())
            return Status::error(QStringLiteral("its central directory is cut short or damaged"));
        if (rec.flags & 0x800)
            rec.nameUnreadable = unreadableUtf8(r + kCentralRecord, rec.nameLength);
        // Zip64 extra field: the 64-bit values of the fields that hold 0xFFFFFFFF, in order.
        const char* extra = r + kCentralRecord + rec.nameLength;
        for (qint64 e = 0; e + 4 <= extraLength;) {
            const std::uint64_t id = le(extra + e, 2);
            const auto length = static_cast<qint64>(le(extra + e + 2, 2));
            if (id == 1) {
                qint64 v = e + 4;
                for (std::uint64_t* field : {&rec.size, &rec.packedSize, &rec.localOffset}) {
                    if (*field != kMax32 || v + 8 > e + 4 + length || v + 8 > extraLength) continue;
                    *field = le(extra + v, 8);
                    v += 8;
                }
            }
            e += 4 + length;
        }
        dir.records.push_back(rec);
        at = next;
    }
    return Status::ok();
}

}  // namespace

bool ZipDirectory::anyUnreadableName() const {
    return std::any_of(records.begin(), records.end(),
                       [](const DirectoryRecord& r) { return r.nameUnreadable; });
}

Result<ZipDirectory> readZipDirectory(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::error(
            QStringLiteral("the file cannot be read (%1)").arg(file.errorString()));
    ZipDirectory dir;
    dir.fileSize = file.size();
    const qint64 tailAt = std::max<qint64>(0, dir.fileSize - (0xFFFF + kEndRecord));
    QByteArray tail;
    if (!readAt(file, tailAt, dir.fileSize - tailAt, tail))
        return Status::error(QStringLiteral("the file cannot be read"));
    qint64 end = -1;
    for (qint64 at = tail.lastIndexOf("PK\x05\x06"); at >= 0;
         at = at > 0 ? tail.lastIndexOf("PK\x05\x06", at - 1) : -1) {
        if (at + kEndRecord <= tail.size() &&
            at + kEndRecord + static_cast<qint64>(le(tail.constData() + at + 20, 2)) <=
                tail.size()) {
            end = at;
            break;
        }
    }
    if (end < 0)
        return Status::error(QStringLiteral("no end of central directory record was found"));
    const char* e = tail.constData() + end;
    std::uint64_t count = le(e + 10, 2), cdSize = le(e + 12, 4), cdOffset = le(e + 16, 4);
    qint64 cdEnd = tailAt + end;  // the directory ends where the end records begin
    const qint64 locatorAt = cdEnd - kZip64Locator;
    QByteArray z;
    if ((count == 0xFFFF || cdSize == kMax32 || cdOffset == kMax32) &&
        readAt(file, locatorAt, kZip64Locator, z) && le(z.constData(), 4) == 0x07064b50) {
        cdEnd = locatorAt - kZip64End;
        if (!readAt(file, cdEnd, kZip64End, z) || le(z.constData(), 4) != 0x06064b50)
            return Status::error(QStringLiteral("its Zip64 end record is damaged"));
        count = le(z.constData() + 32, 8);
        cdSize = le(z.constData() + 40, 8);
        cdOffset = le(z.constData() + 48, 8);
    }
    const qint64 cdAt = cdEnd - static_cast<qint64>(cdSize);
    if (cdSize > static_cast<std::uint64_t>(cdEnd) || cdAt < static_cast<qint64>(cdOffset))
        return Status::error(QStringLiteral("its central directory does not fit in the file"));
    dir.prefix = cdAt - static_cast<qint64>(cdOffset);
    dir.directoryOffset = cdOffset;
    QByteArray cd;
    if (!readAt(file, cdAt, static_cast<qint64>(cdSize), cd))
        return Status::error(QStringLiteral("its central directory cannot be read"));
    const Status parsed = parseRecords(cd, cdAt, count, dir);
    if (!parsed) return parsed;
    return dir;
}

std::pair<std::int64_t, std::int64_t> findOverlap(const ZipDirectory& dir) {
    std::vector<std::int64_t> order(dir.records.size());
    std::iota(order.begin(), order.end(), 0);
    const auto& r = dir.records;
    std::sort(order.begin(), order.end(),
              [&](std::int64_t a, std::int64_t b) { return r[a].localOffset < r[b].localOffset; });
    // The least each entry takes: its local header with the name the directory gives, and its
    // packed data. Local extra fields only make it longer, so no honest archive is refused.
    const auto endOf = [&](std::int64_t i) {
        return r[i].localOffset + kLocalHeader + r[i].nameLength + r[i].packedSize;
    };
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::int64_t i = order[k];
        if (k + 1 < order.size() && r[order[k + 1]].localOffset < endOf(i))
            return {i, order[k + 1]};
        if (endOf(i) > dir.directoryOffset) return {i, -1};
    }
    return {-1, -1};
}

QString methodName(int method) {
    switch (method) {
        case 0:
            return QStringLiteral("stored");
        case 1:
            return QStringLiteral("Shrink");
        case 2:
        case 3:
        case 4:
        case 5:
            return QStringLiteral("Reduce");
        case 6:
            return QStringLiteral("Implode");
        case 8:
            return QStringLiteral("Deflate");
        case 9:
            return QStringLiteral("Deflate64");
        case 10:
            return QStringLiteral("PKWARE DCL Implode");
        case 12:
            return QStringLiteral("BZIP2");
        case 14:
            return QStringLiteral("LZMA");
        case 18:
            return QStringLiteral("IBM TERSE");
        case 19:
            return QStringLiteral("IBM LZ77");
        case 93:
            return QStringLiteral("Zstandard");
        case 94:
            return QStringLiteral("MP3");
        case 95:
            return QStringLiteral("XZ");
        case 96:
            return QStringLiteral("JPEG");
        case 97:
            return QStringLiteral("WavPack");
        case 98:
            return QStringLiteral("PPMd");
        default:
            return QString();
    }
}

}  // namespace vx
