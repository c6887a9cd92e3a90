// Key validity and quality.
#include "crypto/key_rules.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "crypto/ansi_text.h"

namespace vx::korva {
namespace {

bool isRepetition(const QByteArray& k) {
    const qsizetype n = k.size();
    for (qsizetype p = 1; p <= n / 2; ++p) {
        if (n % p != 0) continue;  // a shorter last block never equals the first
        bool same = true;
        for (qsizetype start = p; start < n && same; start += p)
            same = std::memcmp(k.constData(), k.constData() + start, p) == 0;
        if (same) return true;
    }
    return false;
}

int scaled(int q, double factor) { return static_cast<int>(std::nearbyint(q * factor)); }

}  // namespace

bool IsKeyValid(const QString& key) {
    const QByteArray k = ansiBytes(key);
    return k.size() >= 5 && !isRepetition(k);
}

int KeyQuality(const QString& key) {
    if (!IsKeyValid(key)) return 0;
    const QByteArray k = ansiBytes(key);
    bool upper = false, lower = false, digit = false, other = false;
    for (const char ch : k) {
        const int c = static_cast<uint8_t>(ch);
        if (c >= 65 && c <= 90) upper = true;
        else if (c >= 97 && c <= 122) lower = true;
        else if (c >= 48 && c <= 57) digit = true;
        else if (c < 48 || (c >= 58 && c <= 64) || c > 122) other = true;
    }
    int q = 3 * static_cast<int>(std::min<qsizetype>(k.size(), 1000));
    if (upper && lower) q = scaled(q, 1.2);
    if (digit && (upper || lower)) q = scaled(q, 1.4);
    if (other) q = scaled(q, 1.5);
    return q > 100 ? 100 : q;
}

bool KeyFitsCodePage(const QString& key) {
    for (const QChar c : key)
        if (cp1252Byte(c.unicode()) < 0) return false;
    return true;
}

QString keyQualityCaption(const QString& key) {
    return QStringLiteral("Key Quality: ") + QString::number(KeyQuality(key)) + QLatin1Char('%');
}

}  // namespace vx::korva
