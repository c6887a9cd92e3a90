// The program's exit status. A run that went as far as it was meant to (or that the user ended
// by closing the selection window) exits with Ok; otherwise the status names the first thing of
// the run that failed. README lists the values under "Exit status".
#pragma once

namespace vx {

enum class ExitCode : int {
    Ok = 0,
    // Nothing or not all of the file reached the server: refused or failed log-in, a missing
    // file to send, a failed or stopped transfer.
    UploadFailed = 2,
    // No access code (keycode.dat missing or unreadable), or the server has no folder for it.
    InvalidAccessCode = 3,
    // The file was uploaded, but the recipient was not notified: the mail server refused the
    // notification, or the mail program could not be started.
    NotificationFailed = 4,
};

}  // namespace vx
