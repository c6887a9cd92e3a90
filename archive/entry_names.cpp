// Cleaning entry names.
#include "archive/entry_names.h"

#include <QStringDecoder>

namespace vx {
namespace {

bool unsafe(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFFFD;
}

}  // namespace

QString cleanName(QString text, bool* renamed) {
    for (QChar& c : text) {
        if (!unsafe(c.unicode())) continue;
        c = u'_';
        if (renamed) *renamed = true;
    }
    return text;
}

QString entryName(zip_t* za, zip_uint64_t index, bool flaggedBadly, bool* renamed) {
    if (renamed) *renamed = flaggedBadly;
    const char* raw = zip_get_name(za, index, ZIP_FL_ENC_RAW);
    if (!raw) return QString();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(QByteArrayView(raw));
    if (utf8.hasError() && flaggedBadly) {
        text = QString::fromUtf8(raw);  // each byte that is not UTF-8 becomes U+FFFD, then "_"
    } else if (utf8.hasError()) {
        const char* guessed = zip_get_name(za, index, ZIP_FL_ENC_GUESS);
        text = QString::fromUtf8(guessed ? guessed : raw);
    }
    return cleanName(std::move(text), renamed);
}

QString escapedName(const QByteArray& raw) {
    QString out;
    for (const char c : raw) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F)
            out += QLatin1Char(c);
        else
            out += QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
    }
    return out;
}

QString renamedReport(const QString& archive, const QByteArray& raw, const QString& clean) {
    return QStringLiteral(
               "The entry name \"%1\" in %2 holds control or direction characters or "
               "bytes that are not UTF-8; it is shown and written as \"%3\"")
        .arg(escapedName(raw), archive, clean);
}

}  // namespace vx
