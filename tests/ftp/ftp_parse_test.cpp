// Parsers of server replies and listings, fed the forms that common servers send; the rows the
// upload window shows; server addresses; and remote names that become local file names only
// when they cannot reach outside their folder.
#include "ftp/ftp_parse.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

#include "core/date_forms.h"
#include "ftp/cli/cli_options.h"
#include "ftp/listing_rows.h"
#include "ftp/local_name.h"
#include "ftp/server_address.h"

using namespace vx;
using namespace vx::ftp;

namespace {

// An entry as "name|size|attributes|last write time", with "|created <time>" when the creation
// time differs from it; "-" for no entry.
QString describe(const std::optional<FindData>& e) {
    if (!e) return QStringLiteral("-");
    const auto time = [](qint64 t) { return utcFromFileTime(t).toString(QStringLiteral("yyyy-MM-dd hh:mm")); };
    QString s = QStringLiteral("%1|%2|%3|").arg(e->name).arg(e->size).arg(e->attributes, 0, 16) + time(e->lastWriteTime);
    if (e->lastAccessTime != e->lastWriteTime) s += QStringLiteral("|accessed ") + time(e->lastAccessTime);
    if (e->creationTime != e->lastWriteTime) s += QStringLiteral("|created ") + time(e->creationTime);
    return s;
}

}  // namespace

TEST(ReplyPayloads, PortsOfPassiveRepliesAndFoldersOfPwd) {
    const std::pair<const char*, int> pasv[] = {  // the port, 0 when refused
        {"227 Entering Passive Mode (127,0,0,1,19,136)", 5000}, {"227 =127,0,0,1,0,21", 21},
        {"227 Entering Passive Mode (10,0,0,1,300,1)", 0},      {"227 Entering Passive Mode (1,2,3,4,0,0)", 0},
        {"227 Entering Passive Mode (1,2,3,4,5)", 0}};
    for (const auto& [text, port] : pasv) EXPECT_EQ(parsePasvReply(text).value_or(0), port) << text;
    const std::pair<const char*, int> epsv[] = {
        {"229 Entering Extended Passive Mode (|||6446|)", 6446}, {"229 (!!!6446!)", 6446}, {"229 (|||70000|)", 0},
        {"229 (||6446|)", 0}, {"229 (|||64a6|)", 0}, {"229 no parentheses", 0}};
    for (const auto& [text, port] : epsv) EXPECT_EQ(parseEpsvReply(text).value_or(0), port) << text;
    const char* folders[][2] = {{"257 \"/home/tulpa\" is the current directory.", "/home/tulpa"},
                                {"257 \"/a \"\"b\"\" c\" here", "/a \"b\" c"}, {"257 /plain is cwd", "/plain"},
                                {"257 \"/unterminated", "?"}, {"257 ", "?"}};
    for (const auto& c : folders) EXPECT_EQ(parsePwdReply(c[0]).value_or("?"), c[1]) << c[0];
    EXPECT_EQ(eprtArgument(QHostAddress("127.0.0.1"), 5000) + eprtArgument(QHostAddress("::1"), 21),
              "|1|127.0.0.1|5000||2|::1|21|");
    EXPECT_EQ(portArgument(QHostAddress("127.0.0.1"), 5000), "127,0,0,1,19,136");
    EXPECT_EQ(portArgument(QHostAddress("::1"), 5000), "");
}

TEST(Listings, MlsdAndListLines) {
    const struct {
        bool mlsd;
        const char* line;
        const char* entry;
    } cases[] = {
        {true, "type=file;size=1234;modify=20240305142200;perm=adfrw; a.zip", "a.zip|1234|80|2024-03-05 14:22"},
        {true, "type=dir;sizd=4096;modify=20200101000000;perm=flcdmpe; pub html", "pub html|4096|10|2020-01-01 00:00"},
        {true, "type=file;size=10;modify=20240305142200.123;perm=r; read only", "read only|10|1|2024-03-05 14:22"},
        {true, "Type=File;Size=7;Modify=20240305142200;Create=20230101000000; UP.TXT",
         "UP.TXT|7|80|2024-03-05 14:22|created 2023-01-01 00:00"},
        {true, "type=OS.unix=slink:/x;size=3;modify=20240101000000; link", "link|3|80|2024-01-01 00:00"},
        {true, "type=cdir;modify=20240101000000; .", "-"},
        {true, "garbage line", "-"},
        {true, "type=file;size=abc; bad size", "-"},
        {true, "type=file;size=1;", "-"},
        {false, "-rw-r--r--    1 1000     1000      1234 Mar 05 14:22 a.zip", "a.zip|1234|80|2026-03-05 14:22"},
        {false, "drwxr-xr-x    2 ftp      ftp       4096 Jan 01  2020 pub", "pub|4096|10|2020-01-01 00:00"},
        {false, "-rw-r--r--   1 owner    group    3000000000 Dec 31  2023 big file.iso",
         "big file.iso|3000000000|80|2023-12-31 00:00"},
        {false, "lrwxrwxrwx   1 root     root      7 Feb 29  2024 latest -> v1.2.3", "latest|7|80|2024-02-29 00:00"},
        {false, "-rw-r--r--   1 user  12 Jul  4 09:05 no group.txt", "no group.txt|12|80|2026-07-04 09:05"},
        {false, "-rw-r--r--+  1 u g 5 Apr 10 10:00 two  blanks ", "two  blanks |5|80|2026-04-10 10:00"},
        {false, "-rw-r--r--   1 u g 1000000 Dec 05 15:25 today.bin", "today.bin|1000000|80|2026-12-05 15:25"},
        // Without a year and more than a day ahead of today: last year's.
        {false, "-rw-r--r--   1 u g 1 Dec 31 10:00 new-year.txt", "new-year.txt|1|80|2025-12-31 10:00"},
        {false, "03-05-24  02:22PM                 1234 report.zip", "report.zip|1234|80|2024-03-05 14:22"},
        {false, "01-01-2020  00:00       <DIR>          public html", "public html|0|10|2020-01-01 00:00"},
        {false, "12-31-99  12:00AM                    5 old.txt", "old.txt|5|80|1999-12-31 00:00"},
        {false, "07-04-26  12:30PM                    9 noon.txt", "noon.txt|9|80|2026-07-04 12:30"},
        {false, "total 24", "-"},
        {false, "drwxr-xr-x    2 ftp ftp 4096 Jan 01 12:00 ..", "-"},
        {false, "-rw-r--r--    1 ftp ftp   xx Jan 01 12:00 bad-size.txt", "-"},
        {false, "-rw-r--r--    1 ftp ftp   10 Foo 01 12:00 bad-month.txt", "-"},
        {false, "13-45-24  02:22PM                 1 bad-date.txt", "-"},
        {false, "01-01-24  13:00PM                 1 bad-hour.txt", "-"},
    };
    const QDate today(2026, 12, 5);
    for (const auto& c : cases)
        EXPECT_EQ(describe(c.mlsd ? parseMlsdLine(c.line) : parseListLine(c.line, today)), c.entry) << c.line;
    const QByteArray mlsd = "type=cdir; .\r\ntype=file;size=3; b.txt\r\nbroken\r\ntype=dir; a dir\n";
    const QByteArray list = "total 2\r\n-rw-r--r-- 1 ftp ftp 10 Jan 01 12:00 kept.txt\r\nnot a line\r\n"
                            "01-02-24  01:00AM       <DIR>          dos dir\n\r\n";
    QStringList names;  // whole listings keep the server's order and skip what does not parse
    for (const auto& e : parseListing(mlsd, ListingForm::Mlsd, today) + parseListing(list, ListingForm::List, today))
        names << e.name;
    EXPECT_EQ(names, QStringList({"b.txt", "a dir", "kept.txt", "dos dir"}));
}

TEST(SearchPatterns, WildcardsMatchLikeAFileSearch) {
    const struct {
        const char* name;
        const char* pattern;
        bool match;
    } cases[] = {{"a.zip", "*.*", true},          {"noext", "*.*", true},
                 {"x", "", true},                 {"my file.zip", "my?file.zip", true},
                 {"my_file.zip", "my?file.zip", true}, {"myfile.zip", "my?file.zip", false},
                 {"report.zip", "*.zip", true},   {"report.zip.bak", "*.zip", false},
                 {"ac", "a*c", true},             {"ab", "a*c", false},
                 {"ABC", "abc", false},           {"aaa", "*a*a*a*", true},
                 {"aa", "*a*a*a*", false},        {"exactly", "exact", false}};
    for (const auto& c : cases) EXPECT_EQ(matchesPattern(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
    const char* splits[][3] = {{"*.*", "", "*.*"}, {"sub/a?.zip", "sub", "a?.zip"}, {"/x/", "/x", ""},
                               {"/top", "/", "top"}};
    for (const auto& s : splits) EXPECT_EQ(splitSearchPath(s[0]).folder + "|" + splitSearchPath(s[0]).pattern,
                                           QString(s[1]) + "|" + s[2]);
    // File times count 100 ns from 1601: 1 January 1970 is 11644473600 seconds later.
    EXPECT_EQ(fileTimeFromUtc(QDateTime(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC)), 116444736000000000LL);
    EXPECT_FALSE(utcFromFileTime(0).isValid());
    EXPECT_EQ(fileTimeFromUtc(QDateTime()), 0);
}

TEST(ListingRows, DotDotFirstThenEntriesInListOrder) {
    const double noon = toDateValue(QDateTime(QDate(2024, 3, 5), QTime(14, 22, 10)));
    const double midnight = toDateValue(QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    cDirList list;
    list.Add(0x80, 0, 0, noon, 10737418240LL, "big.iso");  // 10 GiB
    list.Add(0x10, 0, 0, noon, 4096, "folder");
    list.Add(0x21, 0, 0, midnight, 7, "read only");
    list.Add(0x10, 0, 0, 0, 0, "BIG.iso");  // differs only in case: kept, but the name finds the first
    QStringList rows;  // text, icon and sub-items
    for (const auto& row : listingRows(list))
        rows << (QStringList{row.text, QString::number(row.smallIcon)} + row.subItems).join('|');
    EXPECT_EQ(rows, QStringList({"..|1",
                                 "big.iso|2|10737418240|" + generalDateTime(noon) + "| -  -  -  -  N  -  -  -  - ",
                                 "folder|1|< Directory >",
                                 "read only|2|7|" + generalDateTime(midnight) + "| A  -  -  -  -  -  R  -  - ",
                                 "BIG.iso|1|< Directory >"}));
    EXPECT_TRUE(list.Item(0) == nullptr && list.Item(5) == nullptr && list.Item(QStringLiteral("missing")) == nullptr);
    const cDirItem* first = list.Item(QStringLiteral("big.ISO"));  // items count from 1
    EXPECT_TRUE(first && first == list.Item(1) && list.Item(4)->FileName == "BIG.iso");
    EXPECT_FALSE(generalDateTime(midnight).contains(':'));  // the date alone at midnight
    EXPECT_EQ(fileTimeToDate(0) + fileTimeToDate(-5), 0.0);  // unknown or unconvertible times
}

TEST(ServerAddress, HostWithOrWithoutPort) {
    const char* cases[][2] = {  // text, "host port" or "-" when refused
        {"files.example.org", "files.example.org 21"}, {" 127.0.0.1:2121 ", "127.0.0.1 2121"},
        {"[::1]:990", "::1 990"}, {"[::1]", "::1 21"}, {"::1", "::1 21"}, {"host:0", "-"}, {"host:65536", "-"},
        {"host:abc", "-"}, {"host:", "-"}, {":21", "-"}, {"", "-"}, {"two words", "-"}, {"[::1]x", "-"},
        {"[a b]:21", "-"}, {"tab\there", "-"}, {"2[::1]:?21", "-"}, {"a]b:21", "-"}};
    for (const auto& c : cases) {
        const auto a = vx::ftp::parseServerAddress(c[0]);
        EXPECT_EQ(a ? QStringLiteral("%1 %2").arg(a->host).arg(a->port) : "-", c[1]) << c[0];
    }
}

TEST(LocalNames, NamesHoldingSlashOrDotDotAreNeverLocalPaths) {
    const char* names[][2] = {{"report.zip", "report.zip"}, {"my file.zip", "my file.zip"}, {".hidden", ".hidden"},
                              {"", "-"}, {".", "-"}, {"..", "-"}, {"../x", "-"}, {"a/b", "-"}, {"/etc/passwd", "-"},
                              {"a..b", "-"}};
    for (const auto& c : names) EXPECT_EQ(vx::ftp::localFileName(c[0]).value_or("-"), c[1]) << c[0];
    EXPECT_FALSE(vx::ftp::localFileName(QString::fromUtf8("a\0b", 3)));
    const char* gets[][3] = {  // get REMOTE LOCAL: the path written, "-" when refused
        {"sub/report.zip", ".", "report.zip"}, {" a.zip ", " . ", "a.zip"}, {"..", "/tmp/x.zip", "/tmp/x.zip"},
        {"sub/..", ".", "-"}, {"dir/", ".", "-"}, {"..", ".", "-"}};
    for (const auto& c : gets) EXPECT_EQ(vx::cli::getTarget(c[0], c[1]).value_or("-"), c[2]) << c[0];
}
