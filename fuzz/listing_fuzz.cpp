// Fuzz target for what the FTP client makes of a folder listing. The first input byte picks the
// form (bit 0: MLSD or LIST) and the day the listing is read (the rest of it, in days after
// 2020-01-01); the rest is the listing as the data connection delivers it. Every entry must
// have a usable name; the rows of the upload window must follow the entries; and a name taken
// as a local file name must stay inside its folder. The first line is also read as the
// replies that carry a port or a folder, and as a search pattern against every name.
#include <QDate>
#include <QDir>

#include "ftp/ftp_parse.h"
#include "ftp/listing_rows.h"
#include "ftp/local_name.h"
#include "fuzz/fuzz_support.h"

using namespace vx;
using namespace vx::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Split in = split(data, size);
    const auto form = (in.control & 1) ? ftp::ListingForm::List : ftp::ListingForm::Mlsd;
    const QDate today = QDate(2020, 1, 1).addDays(in.control >> 1);
    const QList<ftp::FindData> entries = ftp::parseListing(in.rest, form, today);

    cDirList list;
    for (const ftp::FindData& e : entries) {
        require(!e.name.isEmpty() && e.name != QLatin1String(".") && e.name != QLatin1String(".."));
        require(!e.name.contains(u'\n'));
        require(e.size >= 0);
        appendEntry(list, e);
    }
    const QList<ListingRow> rows = listingRows(list);
    require(rows.size() == entries.size() + 1);
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const ListingRow& row = rows[i];
        require(row.text == entries[i - 1].name);
        const bool folder = entries[i - 1].attributes & ftp::AttrDirectory;
        require(row.subItems.size() == (folder ? 1 : 3));
        if (!folder) require(row.subItems[2].size() == 27);
    }
    const QString folder = QStringLiteral("/srv/in");
    for (const ftp::FindData& e : entries) {
        const auto local = ftp::localFileName(e.name);
        if (!local) continue;
        const QString path = QDir::cleanPath(folder + u'/' + *local);
        require(path.startsWith(folder + u'/') && path.size() > folder.size() + 1);
        require(!local->contains(u'/') && !local->contains(QChar(u'\0')));
    }

    const qsizetype lf = in.rest.indexOf('\n');
    const QString first = QString::fromUtf8(lf < 0 ? in.rest : in.rest.left(lf));
    if (const auto port = ftp::parsePasvReply(first)) require(*port != 0);
    if (const auto port = ftp::parseEpsvReply(first)) require(*port != 0);
    if (const auto pwd = ftp::parsePwdReply(first)) require(pwd->size() <= first.size());
    const ftp::SearchPath sp = ftp::splitSearchPath(first);
    require(!sp.pattern.contains(u'/'));
    for (const ftp::FindData& e : entries) (void)ftp::matchesPattern(e.name, sp.pattern);
    return 0;
}
