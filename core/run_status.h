// The exit status of a run, as far as the notification goes: a run whose file reached the server
// but whose recipient was not notified (the mail server refused, no connection) must not look
// like a good run to whoever started it unattended.
#pragma once

namespace vx {

// The exit status of such a run.
inline constexpr int kExitNotificationFailed = 4;

// Records that this run's notification failed; the program's end then exits with
// kExitNotificationFailed instead of 0.
void recordNotificationFailed();
// 0, or kExitNotificationFailed once recorded.
int runExitStatus();
// Forgets what was recorded (each test starts afresh).
void forgetRunStatus();

}  // namespace vx
