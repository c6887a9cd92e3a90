// The rows that the upload window's list shows for a listing, as plain values, so that the
// window, the command-line client and tests share one formatting without any widget.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "ftp/cdir_list.h"
#include "ftp/find_data.h"

namespace vx {

struct ListingRow {
    QString text;          // column "Name"
    int smallIcon = 1;     // 1: ".." and folders, 2: files
    QStringList subItems;  // "Size", "Last Accessed" (the last write time), "Attributes"
};

// Appends the entry as the listing shows it: its attribute word, its times as local date values,
// the low 32 bits of its size read as signed, and its name.
cDirItem* appendEntry(cDirList& list, const ftp::FindData& entry);

// Nine three-character pieces, always 27 characters: " A " or " - " for Archive, then
// Compressed, Directory, Hidden, Normal, Offline, ReadOnly, System, Temporary.
QString attributeText(const cDirItem& item);

// The row ".." first, then one row per entry in list order: a folder shows "< Directory >"
// under "Size" and nothing else; a file shows its whole size in bytes, its last write time
// in the general date-time form and its attribute text.
QList<ListingRow> listingRows(const cDirList& list);

// Date value of a file time (100-ns ticks since 1601, UTC) in local time; 0 when the time is
// unknown or cannot be converted.
double fileTimeToDate(qint64 fileTime);

}  // namespace vx
