// The settings window's test of the mail relay: a session that goes as far as a successful
// AUTH LOGIN and then says QUIT. Unlike the internal mailer's paced dialogue it waits for each
// reply and checks its code, so it can say which step the relay refused. No message is sent.
#pragma once

#include <QString>

#include "core/status.h"
#include "mail/pace.h"

namespace vx {

struct RelayLogin {
    QString host;
    QString port;  // as typed; must be a number from 1 to 65535
    QString user;
    QString password;
};

// Ok with a line saying that the log-in worked; otherwise an error naming the step, followed
// by the relay's own reply (or why there was none). Each reply is awaited `limitSeconds` at most
// on `clock`; events run while it waits.
Result<QString> checkRelayLogin(const RelayLogin& login, double limitSeconds = 20,
                                const SecondsClock& clock = steadySeconds());

}  // namespace vx
