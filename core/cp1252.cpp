// Windows-1252 tables.
#include "core/cp1252.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <optional>

namespace vx {
namespace {

// 0x80..0x9F; the undefined codes stand for themselves.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char16_t cp1252Char(unsigned char byte) {
    return (byte >= 0x80 && byte <= 0x9F) ? kHigh[byte - 0x80] : char16_t(byte);
}

int cp1252Byte(char16_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return ch;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == ch) return 0x80 + i;
    return -1;
}

QString cp1252ToString(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(cp1252Char(static_cast<unsigned char>(bytes[i])));
    return out;
}

QByteArray stringToCp1252(const QString& text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = cp1252Byte(text[i].unicode());
        out[i] = static_cast<char>(b < 0 ? '?' : b);
    }
    return out;
}

namespace {

std::optional<QString> utf8Text(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError()) return std::nullopt;
    return text;
}

}  // namespace

QString decodeDataFile(const QByteArray& bytes) {
    if (auto text = utf8Text(bytes)) return *text;
    return cp1252ToString(bytes);
}

QByteArray encodeDataFile(const QString& text, const QByteArray& original) {
    if (!utf8Text(original)) {
        const bool fits = std::all_of(text.begin(), text.end(),
                                      [](QChar c) { return cp1252Byte(c.unicode()) >= 0; });
        // Once the line whose bytes were not UTF-8 is gone, the rest could read as UTF-8 and
        // change meaning ("Ã©" would come back as "é"): such a file is written as UTF-8.
        if (fits) {
            const QByteArray bytes = stringToCp1252(text);
            if (decodeDataFile(bytes) == text) return bytes;
        }
    }
    return text.toUtf8();
}

}  // namespace vx
