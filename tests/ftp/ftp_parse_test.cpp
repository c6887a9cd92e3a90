// Parsers of server replies and listings, fed the forms that common servers send.
#include "ftp/ftp_parse.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

using namespace vx::ftp;

namespace {

QDateTime utcOf(const FindData& d) { return utcFromFileTime(d.lastWriteTime); }
QDateTime utc(int y, int mo, int d, int h, int mi) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC);
}
const QDate kToday(2026, 12, 5);

}  // namespace

TEST(ReplyPayloads, PasvPortIgnoresHostButValidatesNumbers) {
    struct {
        const char* text;
        int port;  // 0: refused
    } cases[] = {{"227 Entering Passive Mode (127,0,0,1,19,136)", 5000},
                 {"227 Entering Passive Mode (10,9,8,7,19,137).", 5001},  // another host: port only
                 {"227 =127,0,0,1,0,21", 21},
                 {"227 Entering Passive Mode (10,0,0,1,300,1)", 0},
                 {"227 Entering Passive Mode (1,2,3,4,0,0)", 0},
                 {"227 Entering Passive Mode (1,2,3,4,5)", 0},
                 {"227 nothing here", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(parsePasvReply(QString::fromLatin1(c.text)).value_or(0), c.port) << c.text;
}

TEST(ReplyPayloads, EpsvPortNeedsFourEqualDelimiters) {
    struct {
        const char* text;
        int port;
    } cases[] = {{"229 Entering Extended Passive Mode (|||6446|)", 6446},
                 {"229 Entering Extended Passive Mode (!!!6446!)", 6446},
                 {"229 (|||0|)", 0},
                 {"229 (|||70000|)", 0},
                 {"229 (||6446|)", 0},
                 {"229 (|||64a6|)", 0},
                 {"229 no parentheses", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(parseEpsvReply(QString::fromLatin1(c.text)).value_or(0), c.port) << c.text;
}

TEST(ReplyPayloads, PwdFolderWithQuotesBlanksOrNoQuotes) {
    EXPECT_EQ(parsePwdReply("257 \"/home/tulpa\" is the current directory.").value_or("?"), "/home/tulpa");
    EXPECT_EQ(parsePwdReply("257 \"/a \"\"b\"\" c\" here").value_or("?"), "/a \"b\" c");
    EXPECT_EQ(parsePwdReply("257 \"/with blank/x\"").value_or("?"), "/with blank/x");
    EXPECT_EQ(parsePwdReply("257 /plain is cwd").value_or("?"), "/plain");
    EXPECT_FALSE(parsePwdReply("257 \"/unterminated").has_value());
    EXPECT_FALSE(parsePwdReply("257 ").has_value());
}

TEST(ReplyPayloads, ActiveModeArguments) {
    EXPECT_EQ(eprtArgument(QHostAddress("127.0.0.1"), 5000), "|1|127.0.0.1|5000|");
    EXPECT_EQ(eprtArgument(QHostAddress("::1"), 21), "|2|::1|21|");
    EXPECT_EQ(portArgument(QHostAddress("127.0.0.1"), 5000), "127,0,0,1,19,136");
    EXPECT_EQ(portArgument(QHostAddress("::1"), 5000), "");
}

TEST(MlsdListing, FactsGiveTypeSizeTimesAndReadOnly) {
    const auto f = parseMlsdLine("type=file;size=1234;modify=20240305142200;perm=adfrw; report.zip");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->name, "report.zip");
    EXPECT_EQ(f->size, 1234);
    EXPECT_EQ(f->attributes, quint32(AttrNormal));
    EXPECT_EQ(utcOf(*f), utc(2024, 3, 5, 14, 22));
    EXPECT_EQ(f->creationTime, f->lastWriteTime);
    EXPECT_EQ(f->lastAccessTime, f->lastWriteTime);

    const auto d = parseMlsdLine("type=dir;sizd=4096;modify=20200101000000;perm=flcdmpe; public html");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->name, "public html");
    EXPECT_EQ(d->attributes, quint32(AttrDirectory));

    const auto ro = parseMlsdLine("type=file;size=10;modify=20240305142200.123;perm=r; read only.txt");
    ASSERT_TRUE(ro);
    EXPECT_EQ(ro->attributes, quint32(AttrReadOnly));
    EXPECT_EQ(utcOf(*ro), utc(2024, 3, 5, 14, 22));

    const auto upper = parseMlsdLine("Type=File;Size=7;Modify=20240305142200;Create=20230101000000; UP.TXT");
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper->size, 7);
    EXPECT_EQ(utcFromFileTime(upper->creationTime), utc(2023, 1, 1, 0, 0));

    const auto link = parseMlsdLine("type=OS.unix=slink:/x;size=3;modify=20240101000000; link");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->attributes, quint32(AttrNormal));
}

TEST(MlsdListing, DotEntriesAndBadLinesAreSkipped) {
    for (const char* line : {"type=cdir;modify=20240101000000; .", "type=pdir;modify=20240101000000; ..",
                             "type=cdir;modify=20240101000000; /home/tulpa", "garbage line",
                             "type=file;size=abc; bad size", "type=file;size=1;", "nofacts"}) {
        EXPECT_FALSE(parseMlsdLine(QString::fromLatin1(line))) << line;
    }
}

TEST(UnixList, CommonServerLines) {
    struct {
        const char* line;
        const char* name;
        qint64 size;
        bool dir;
        QDateTime when;
    } cases[] = {
        {"-rw-r--r--    1 1000     1000         1234 Mar 05 14:22 report.zip", "report.zip", 1234,
         false, utc(2026, 3, 5, 14, 22)},
        {"drwxr-xr-x    2 ftp      ftp          4096 Jan 01  2020 public_html", "public_html", 4096,
         true, utc(2020, 1, 1, 0, 0)},
        {"-rw-r--r--   1 owner    group    3000000000 Dec 31  2023 big file.iso", "big file.iso",
         3000000000LL, false, utc(2023, 12, 31, 0, 0)},
        {"lrwxrwxrwx   1 root     root            7 Feb 29  2024 latest -> v1.2.3", "latest", 7,
         false, utc(2024, 2, 29, 0, 0)},
        {"-rw-r--r--   1 user  12 Jul  4 09:05 no group.txt", "no group.txt", 12, false,
         utc(2026, 7, 4, 9, 5)},
        {"-rw-r--r--+  1 u g 5 Apr 10 10:00 two  blanks ", "two  blanks ", 5, false,
         utc(2026, 4, 10, 10, 0)},
        {"-rw-r--r--   1 user     group     1000000 Dec 05 15:25 up.bin", "up.bin", 1000000, false,
         utc(2026, 12, 5, 15, 25)},
        // Without a year and more than a day ahead of today: last year's.
        {"-rw-r--r--   1 user     group           1 Dec 31 10:00 new-year.txt", "new-year.txt", 1,
         false, utc(2025, 12, 31, 10, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto e = parseListLine(QString::fromLatin1(c.line), kToday);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->name, QString::fromLatin1(c.name));
        EXPECT_EQ(e->size, c.size);
        EXPECT_EQ(e->attributes, quint32(c.dir ? AttrDirectory : AttrNormal));
        EXPECT_EQ(utcOf(*e), c.when);
    }
}

TEST(DosList, CommonServerLines) {
    struct {
        const char* line;
        const char* name;
        qint64 size;
        bool dir;
        QDateTime when;
    } cases[] = {
        {"03-05-24  02:22PM                 1234 report.zip", "report.zip", 1234, false,
         utc(2024, 3, 5, 14, 22)},
        {"01-01-2020  00:00       <DIR>          public html", "public html", 0, true,
         utc(2020, 1, 1, 0, 0)},
        {"12-31-99  12:00AM                    5 old.txt", "old.txt", 5, false, utc(1999, 12, 31, 0, 0)},
        {"07-04-26  12:30PM                    9 noon.txt", "noon.txt", 9, false, utc(2026, 7, 4, 12, 30)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto e = parseListLine(QString::fromLatin1(c.line), kToday);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->name, QString::fromLatin1(c.name));
        EXPECT_EQ(e->size, c.size);
        EXPECT_EQ(e->attributes, quint32(c.dir ? AttrDirectory : AttrNormal));
        EXPECT_EQ(utcOf(*e), c.when);
    }
}

TEST(ListListing, LinesThatDoNotParseAreSkipped) {
    const QByteArray listing =
        "total 24\r\n"
        "drwxr-xr-x    2 ftp ftp 4096 Jan 01 12:00 .\r\n"
        "drwxr-xr-x    2 ftp ftp 4096 Jan 01 12:00 ..\r\n"
        "-rw-r--r--    1 ftp ftp   10 Jan 01 12:00 kept.txt\r\n"
        "this is not a listing line\r\n"
        "-rw-r--r--    1 ftp ftp   xx Jan 01 12:00 bad-size.txt\r\n"
        "13-45-24  02:22PM                 1 bad-date.txt\r\n"
        "-rw-r--r--    1 ftp ftp   10 Foo 01 12:00 bad-month.txt\r\n"
        "01-02-24  01:00AM       <DIR>          dos dir\n"
        "\r\n";
    const auto entries = parseListing(listing, ListingForm::List, kToday);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].name, "kept.txt");
    EXPECT_EQ(entries[1].name, "dos dir");
}

TEST(MlsdListing, WholeListingInServerOrder) {
    const QByteArray listing =
        "type=cdir;perm=el;modify=20240101000000; .\r\n"
        "type=file;size=3;modify=20240101000000; b.txt\r\n"
        "type=dir;modify=20240101000000; a dir\r\n"
        "broken\r\n"
        "type=file;size=5;modify=20240101000000; a.txt\r\n";
    const auto entries = parseListing(listing, ListingForm::Mlsd, kToday);
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].name, "b.txt");
    EXPECT_EQ(entries[1].name, "a dir");
    EXPECT_EQ(entries[2].name, "a.txt");
}

TEST(SearchPatterns, WildcardsMatchLikeAFileSearch) {
    struct {
        const char* name;
        const char* pattern;
        bool match;
    } cases[] = {{"a.zip", "*.*", true},          {"noext", "*.*", true},
                 {"x", "", true},                 {"my file.zip", "my?file.zip", true},
                 {"my_file.zip", "my?file.zip", true}, {"myfile.zip", "my?file.zip", false},
                 {"report.zip", "*.zip", true},   {"report.zip.bak", "*.zip", false},
                 {"abc", "a*c", true},            {"ac", "a*c", true},
                 {"ab", "a*c", false},            {"ABC", "abc", false},
                 {"aaa", "*a*a*a*", true},        {"aa", "*a*a*a*", false},
                 {"exact", "exact", true},        {"exactly", "exact", false}};
    for (const auto& c : cases)
        EXPECT_EQ(matchesPattern(QString::fromLatin1(c.name), QString::fromLatin1(c.pattern)), c.match)
            << c.name << " ~ " << c.pattern;
}

TEST(SearchPatterns, SearchPathSplitsFolderFromPattern) {
    EXPECT_EQ(splitSearchPath("*.*").folder, "");
    EXPECT_EQ(splitSearchPath("*.*").pattern, "*.*");
    EXPECT_EQ(splitSearchPath("sub/a?.zip").folder, "sub");
    EXPECT_EQ(splitSearchPath("sub/a?.zip").pattern, "a?.zip");
    EXPECT_EQ(splitSearchPath("/x/").folder, "/x");
    EXPECT_EQ(splitSearchPath("/x/").pattern, "");
    EXPECT_EQ(splitSearchPath("/top").folder, "/");
}

TEST(FileTimes, RoundTripAndUnknown) {
    const QDateTime t = utc(2024, 3, 5, 14, 22);
    EXPECT_EQ(utcFromFileTime(fileTimeFromUtc(t)), t);
    // 1 January 1970 is 11644473600 seconds after 1 January 1601.
    EXPECT_EQ(fileTimeFromUtc(utc(1970, 1, 1, 0, 0)), 116444736000000000LL);
    EXPECT_FALSE(utcFromFileTime(0).isValid());
    EXPECT_EQ(fileTimeFromUtc(QDateTime()), 0);
}
