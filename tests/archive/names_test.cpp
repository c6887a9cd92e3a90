// Pure helpers of the zip component: name patterns, extraction paths, 8.3 names, numbered
// names, the zip clock and the texts.
#include <gtest/gtest.h>

#include <QDateTime>

#include "archive/add_list.h"
#include "archive/dos_names.h"
#include "archive/entry_text.h"
#include "archive/name_pattern.h"
#include "archive/safe_paths.h"

namespace vx {
namespace {

TEST(NamePattern, SelectsByTheWholeStoredNameWithStarAndQuestionMarkOnly) {
    const struct { const char *name, *pattern; bool selected; } cases[] = {
        // clang-format off
        {"a.txt", "a.txt", true}, {"a.txt", "A.TXT", false}, {"a.txt", "*.txt", true},
        {"a.txt.bak", "*.txt", false}, {"dir/a.txt", "*", true}, {"dir/a.txt", "dir/*", true},
        {"ab", "a?", true}, {"a", "a?", false}, {"*a", "*", true}, {"abcabd", "*abd", true},
        {"abc", "*b*c*", true}, {"abc", "a[b]c", false}, {"a[b]c", "a[b]c", true},
        {"", "*", true}, {"", "?", false}, {"a", "", false}, {"d/sub/a.txt", "a.txt", false},
        {"d/sub/a.txt", "*a.txt", true}, {"d/sub/a.txt", "*/a.txt", true},
        {"d/sub/a.txt", "d/sub/a.txt", true}, {"d/sub/a.txt", "sub/a.txt", false},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(selectsEntry({QString::fromUtf8(c.pattern)}, QString::fromUtf8(c.name)),
                  c.selected)
            << c.name << " ~ " << c.pattern;
    EXPECT_TRUE(selectsEntry({QStringLiteral("x"), QStringLiteral("d/*")}, QStringLiteral("d/a")));
    EXPECT_FALSE(selectsEntry({}, QStringLiteral("a")));
}

TEST(SafePaths, RefusesNamesThatLeaveTheDestination) {
    // The stored name, whether folders are kept; the path, nullptr when refused.
    const struct { const char* name; bool folders; const char* path; } cases[] = {
        // clang-format off
        {"a.txt", true, "a.txt"}, {"d/./e/a.txt", true, "d/e/a.txt"}, {"d/e/a.txt", false, "a.txt"},
        {"d//a.txt", true, "d/a.txt"}, {"d/", true, "d/"}, {"d/", false, ""},
        {"..a.txt", true, "..a.txt"}, {"../a.txt", true, nullptr}, {"d/../../a.txt", false, nullptr},
        {"..\\a.txt", true, nullptr}, {"/etc/passwd", true, nullptr},
        {"/etc/passwd", false, nullptr}, {"C:/x.txt", true, nullptr},
        // clang-format on
    };
    for (const auto& c : cases) {
        const Result<QString> r = extractionPath(QString::fromUtf8(c.name), c.folders);
        ASSERT_EQ(r.isOk(), c.path != nullptr) << c.name;
        if (c.path) {
            EXPECT_EQ(r.value(), QString::fromUtf8(c.path)) << c.name;
        }
    }
}

TEST(DosNames, ShortNamesAreEightDotThreeUniqueAndStable) {
    // The archive already has LONGFI~1.TXT for another long name, and an entry of unknown
    // origin under MYDOCU~1/.
    DosNames names({{QStringLiteral("LONGFI~1.TXT"), QStringLiteral("Long file other.txt")},
                    {QStringLiteral("MYDOCU~1/X.TXT"), QString()},
                    {QStringLiteral("LONGFI~3.TXT"), QStringLiteral("Long file again.txt")}});
    const struct { const char *longPath, *shortPath; } steps[] = {
        // clang-format off
        {"Long file name.txt", "LONGFI~2.TXT"},
        {"Long file again.txt", "LONGFI~3.TXT"},  // its own earlier entry: replaced
        {"Long file more.txt", "LONGFI~4.TXT"},
        {"Long file name.txt", "LONGFI~2.TXT"},  // the same long name maps the same way
        {"My Documents/a.txt", "MYDOCU~2/A.TXT"}, {"My Documents/b.txt", "MYDOCU~2/B.TXT"},
        {"My Documentation/a.txt", "MYDOCU~3/A.TXT"},
        {"A.txt", "A.TXT"}, {"a.txt", "A~1.TXT"},  // same letters, another file
        {"Long file name.text", "LONGFI~1.TEX"}, {"a.b.c", "AB~1.C"}, {".bashrc", "BASHRC~1"},
        {"café.txt", "CAF_~1.TXT"}, {"x+y.c", "X_Y~1.C"}, {"Makefile", "MAKEFILE"}, {"...", "_~1"},
        // clang-format on
    };
    for (const auto& s : steps)
        EXPECT_EQ(names.shortPath(QString::fromUtf8(s.longPath)), QString::fromUtf8(s.shortPath))
            << s.longPath;
    EXPECT_EQ(DosNames::numberedForm(QStringLiteral("Long file name.text"), 12),
              QStringLiteral("LONGF~12.TEX"));
}

TEST(AddList, NumberedNamesGoBeforeTheExtension) {
    const char* cases[][2] = {
        // clang-format off
        {"a.txt", "a (2).txt"}, {"d/a.tar.gz", "d/a.tar (2).gz"}, {"Makefile", "Makefile (2)"},
        {"d/.profile", "d/.profile (2)"}, {"d.x/readme", "d.x/readme (2)"},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(numberedName(QString::fromUtf8(c[0]), 2), QString::fromUtf8(c[1]));
}

TEST(EntryText, ByteCountsReadInUnitsOf1024) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {-5, "0 bytes"},           {0, "0 bytes"},        {1, "1 byte"},
        {1023, "1023 bytes"},      {1024, "1.0 KB"},      {1536, "1.5 KB"},
        {10188, "9.9 KB"},         {10189, "10 KB"},      {1048063, "1023 KB"},
        {1048064, "1.0 MB"},       {5LL << 30, "5.0 GB"}, {3LL << 40, "3.0 TB"},
        {2000LL << 40, "2000 TB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(FormatByteCount(bytes), QString::fromUtf8(text)) << bytes;
}

TEST(EntryText, ZipClockHasTwoSecondSteps) {
    const std::time_t t = QDateTime(QDate(2021, 6, 14), QTime(13, 7, 8)).toSecsSinceEpoch();
    EXPECT_EQ(FormatEntryTime(t), QStringLiteral("2021-06-14 13:07:08"));
    EXPECT_EQ(zipClock(t), zipClock(t + 1));
    EXPECT_LT(zipClock(t + 1), zipClock(t + 2));
    EXPECT_LT(zipClock(t), zipClock(t + 86400));
    EXPECT_EQ(zipClock(0), zipClock(86400 * 365));  // before 1980: the first zip day
    EXPECT_EQ(FormatEntryTime(-1), QString());
}

}  // namespace
}  // namespace vx
