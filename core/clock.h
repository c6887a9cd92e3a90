// An injectable clock, so that names built from the time can be tested with a fixed time.
#pragma once

#include <QDateTime>
#include <functional>

namespace vx {

using Clock = std::function<QDateTime()>;

// The local wall clock.
inline Clock systemClock() {
    return [] { return QDateTime::currentDateTime(); };
}

// A clock that always answers the same instant.
inline Clock fixedClock(QDateTime at) {
    return [at] { return at; };
}

}  // namespace vx
