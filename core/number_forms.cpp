// Locale number texts.
#include "core/number_forms.h"

#include <QLocale>

namespace vx {

QString groupedOrEmpty(quint64 n) {
    if (n == 0) return QString();
    QLocale loc = QLocale::system();
    loc.setNumberOptions(QLocale::DefaultNumberOptions);
    return loc.toString(n);
}

QString groupedTwoDecimals(double v) {
    QLocale loc = QLocale::system();
    loc.setNumberOptions(QLocale::DefaultNumberOptions);
    return loc.toString(v, 'f', 2);
}

}  // namespace vx
