// Texts the zip component shows: an entry's modification time and a byte count. Also the
// two-second clock of zip entries, used to decide whether an entry is older than a file.
#pragma once

#include <QString>
#include <cstdint>
#include <ctime>

namespace vx {

// An entry's modification time as "yyyy-mm-dd hh:mm:ss" in local time (24-hour, zero-padded,
// independent of the locale), so that sorting the texts sorts by time. Zip entries keep local
// time with no zone and even seconds only, so the seconds are always even for entries written
// by a zip tool. A time of -1 (unknown) gives "".
QString FormatEntryTime(std::time_t t);

// A time on the zip clock: local time packed as year, month, day, hour, minute and seconds
// halved, so two values compare in time order. Times before 1980 clamp to 1980-01-01 00:00:00
// and times after 2107 to the end of 2107, as zip entries cannot hold them.
std::uint32_t zipClock(std::time_t t);

// A byte count for the status line, in units of 1024: "0 bytes", "1 byte", "999 bytes",
// "1.0 KB" up to "9.9 KB" with one decimal, "10 KB" up to "1023 KB" rounded to whole units,
// then the same in MB, GB and TB. The decimal point follows the user's locale. A negative
// count reads as 0 bytes.
QString FormatByteCount(std::int64_t bytes);

}  // namespace vx
