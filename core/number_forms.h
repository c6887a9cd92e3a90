// Number texts in the user's locale: grouped thousands with the two special forms the windows use.
#pragma once

#include <QString>

namespace vx {

// "###,###": grouped thousands, and an empty text for 0.
QString groupedOrEmpty(quint64 n);

// "###,##0.00": grouped thousands with two decimals, "0.00" for 0.
QString groupedTwoDecimals(double v);

}  // namespace vx
