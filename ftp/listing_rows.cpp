// Row texts of the remote listing and the file-time conversion they rely on.
#include "ftp/listing_rows.h"

#include "core/date_forms.h"

namespace vx {

cDirItem* appendEntry(cDirList& list, const ftp::FindData& entry) {
    return list.Add(static_cast<qint32>(entry.attributes), fileTimeToDate(entry.creationTime),
                    fileTimeToDate(entry.lastAccessTime), fileTimeToDate(entry.lastWriteTime),
                    entry.size, entry.name);
}

QString attributeText(const cDirItem& item) {
    const struct {
        bool on;
        const char* piece;
    } parts[] = {{item.Archive, " A "},  {item.Compressed, " C "}, {item.Directory, " D "},
                 {item.Hidden, " H "},   {item.Normal, " N "},     {item.Offline, " O "},
                 {item.ReadOnly, " R "}, {item.System, " S "},     {item.Temporary, " T "}};
    QString out;
    for (const auto& p : parts) out += QLatin1String(p.on ? p.piece : " - ");
    return out;
}

QList<ListingRow> listingRows(const cDirList& list) {
    QList<ListingRow> rows;
    rows.append({QStringLiteral(".."), 1, {}});
    for (const auto& item : list) {
        ListingRow row{item->FileName, 1, {}};
        if (item->Directory) {
            row.subItems << QStringLiteral("< Directory >");
        } else {
            row.smallIcon = 2;
            row.subItems << QString::number(item->FileSize) << generalDateTime(item->LastWriteTime)
                         << attributeText(*item);
        }
        rows.append(row);
    }
    return rows;
}

double fileTimeToDate(qint64 fileTime) {
    const QDateTime utc = ftp::utcFromFileTime(fileTime);
    if (!utc.isValid()) return 0;
    const QDateTime local = utc.toLocalTime();
    if (!local.isValid()) return 0;
    return toDateValue(local);
}

}  // namespace vx
