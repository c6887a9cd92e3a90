// FileTransferProgress carries 32-bit signed counts (the windows' progress handler takes them
// so). A transfer of 2 GiB or more is reported in units of a power of two, the smallest that
// brings its total within 32 bits: 2 bytes for 2 GiB up to 4 GiB, 4 bytes up to 8 GiB, 8 bytes
// for a 10 GiB file. Current and total are scaled alike, so the bar's fraction is right and the
// current count never passes the total.
#pragma once

#include <QtGlobal>
#include <limits>

namespace vx {

// log2 of the unit for a transfer of `total` bytes: 0 below 2 GiB.
constexpr int progressShift(qint64 total) {
    int shift = 0;
    while ((total >> shift) > std::numeric_limits<qint32>::max()) ++shift;
    return shift;
}

struct ProgressCounts {
    qint32 current;
    qint32 total;
};

// The two counts of one event: bytes so far and the total, both in the transfer's unit.
constexpr ProgressCounts scaledProgress(qint64 current, qint64 total) {
    const int shift = progressShift(total);
    return {static_cast<qint32>(current >> shift), static_cast<qint32>(total >> shift)};
}

}  // namespace vx
