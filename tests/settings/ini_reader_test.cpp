// INI reader: matching rules, quotes and blanks, the 254-character cut, missing pieces, code pages.
#include "settings/ini_reader.h"

#include <gtest/gtest.h>

#include "temp_home.h"

using namespace vx;

TEST(IniReader, ProfileRulesForSectionsKeysAndValues) {
    test::TempHome home;
    // clang-format off
    const QString ini = home.write("settings.ini",
        "[Other]\r\nTO=wrong@example.org\r\n[Email Settings]\r\n; a comment\r\n"
        " to =  someone@example.org  \r\nSubject=\"  Files for you \"\r\n"
        "BODY=" + QByteArray(300, 'b') + "\r\nCC=Gr\xfc\xdf" "e\r\n"
        "[email settings]\r\nBCC=second section ignored\r\n");
    const QString utf8 = home.write("utf8.ini", "[Email Settings]\nCC=Gr\xc3\xbc\xc3\x9f" "e\n");
    const QString cr = home.write("cr.ini", "[Email Settings]\rSUBJECT=a\rTO=b\r\n");  // bare CRs
    const struct { QString file; const char* section; const char* key; QString value; } cases[] = {
        {ini, "email settings", "TO", "someone@example.org"},
        {ini, "Email Settings", "SUBJECT", "  Files for you "},
        {ini, "Email Settings", "BODY", QString(254, 'b')},
        {ini, "Email Settings", "CC", QString::fromUtf8("Grüße")},
        {utf8, "Email Settings", "CC", QString::fromUtf8("Grüße")},
        {ini, "Email Settings", "BCC", ""}, {ini, "Missing", "TO", ""},
        {cr, "Email Settings", "Subject", "a"}, {cr, "Email Settings", "TO", "b"},
        {home.file("absent.ini"), "Email Settings", "TO", ""}};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(ReadIniValue(c.section, c.key, c.file), c.value) << c.key;
}
