// The internal mailer's standard SMTP session, used when "RelayTls" asks for TLS: greeting,
// EHLO, STARTTLS and EHLO again (or TLS from the first byte), AUTH LOGIN (AUTH PLAIN when the
// server offers no LOGIN), MAIL, one RCPT per recipient, DATA, the message and its ".". Every
// reply is awaited and checked; the first refusal ends the session with a message that carries
// the server's code and text. The log shows the plain dialogue's rows, each followed by the
// server's reply, with the password row masked.
#pragma once

#include <QDateTime>

#include "core/status.h"
#include "mail/relay_message.h"
#include "mail/relay_session.h"

namespace vx {

// Seconds allowed for each reply; for each reply of the log-in (servers hold log-ins back after
// failed tries, Dovecot up to 17 s, the right password too); for the reply to the final "."
// (servers may take long to accept a message).
inline constexpr double kRelayReplyLimit = 10;
inline constexpr double kRelayLoginLimit = 60;
inline constexpr double kRelayDataLimit = 600;

// Runs the session on the connection that session.open made (the greeting is awaited here).
// On success the message was accepted (250 to its end); QUIT is left to relayQuit. A failure
// sends QUIT without waiting and closes the socket; nothing of the password is in its message.
Status relaySend(RelaySession& session, RelayTls mode, RelayMessage message, const QDateTime& now);

// Logs "quit", sends QUIT, awaits the reply and closes the socket.
void relayQuit(RelaySession& session);

}  // namespace vx
