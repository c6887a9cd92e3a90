// Clock, event step and Pause.
#include "mail/pace.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cmath>

namespace vx {

SecondsClock steadySeconds(double speed) {
    return [speed] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return speed * std::chrono::duration<double>(now).count();
    };
}

void letEventsRun() {
    if (!QCoreApplication::instance()) return;
    QCoreApplication::processEvents();
    // The timer makes sure the wait below ends even when nothing else happens.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(5);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void Pause(double seconds, const SecondsClock& clock) {
    const double start = std::nearbyint(clock());
    while (clock() - start < seconds) letEventsRun();
}

}  // namespace vx
