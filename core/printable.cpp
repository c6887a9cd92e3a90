// Control characters escaped for printing.
#include "core/printable.h"

namespace vx {

QString printable(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\') {
            out += QStringLiteral("\\\\");
        } else if (u < 32 || (u >= 127 && u < 160)) {
            out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace vx
