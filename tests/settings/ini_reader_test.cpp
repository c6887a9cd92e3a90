// INI reader: matching rules, quotes and blanks, the 254-character cut, missing pieces.
#include "settings/ini_reader.h"

#include <gtest/gtest.h>

#include "temp_home.h"

using namespace vx;

TEST(IniReader, MatchesSectionAndKeyWithoutRegardToCase) {
    test::TempHome home;
    const QString ini = home.write("settings.ini",
                                   "[Other]\r\nTO=wrong@example.org\r\n"
                                   "[Email Settings]\r\n; a comment\r\n"
                                   "to =  someone@example.org  \r\n"
                                   "Subject=\"  Files for you \"\r\n"
                                   "BODY=Download: here\r\n");
    EXPECT_EQ(ReadIniValue("email settings", "TO", ini), "someone@example.org");
    EXPECT_EQ(ReadIniValue("Email Settings", "SUBJECT", ini), "  Files for you ");
    EXPECT_EQ(ReadIniValue("Email Settings", "BODY", ini), "Download: here");
    EXPECT_EQ(ReadIniValue("Email Settings", "CC", ini), "");
}

TEST(IniReader, MissingFileOrSectionGivesEmptyValues) {
    test::TempHome home;
    const QString ini = home.write("settings.ini", "[Something Else]\nTO=x@example.org\n");
    for (const char* key : {"TO", "CC", "BCC", "SUBJECT", "BODY"}) {
        EXPECT_EQ(ReadIniValue("Email Settings", key, ini), "") << key;
        EXPECT_EQ(ReadIniValue("Email Settings", key, home.file("absent.ini")), "") << key;
    }
}

TEST(IniReader, LongValuesComeBackCutTo254Characters) {
    test::TempHome home;
    const QByteArray value(300, 'b');
    const QString ini = home.write("settings.ini", "[Email Settings]\nBODY=" + value + "\n"
                                                   "TO=" + QByteArray(254, 't') + "\n");
    EXPECT_EQ(ReadIniValue("Email Settings", "BODY", ini), QString(254, 'b'));
    EXPECT_EQ(ReadIniValue("Email Settings", "TO", ini), QString(254, 't'));
}

TEST(IniReader, ReadsWindows1252AndUtf8Files) {
    test::TempHome home;
    const QString latin = home.write("a.ini", "[S]\nK=Gr\xfc\xdf" "e\n");
    const QString utf8 = home.write("b.ini", "[S]\nK=Gr\xc3\xbc\xc3\x9f" "e\n");
    EXPECT_EQ(ReadIniValue("S", "K", latin), QString::fromUtf8("Grüße"));
    EXPECT_EQ(ReadIniValue("S", "K", utf8), QString::fromUtf8("Grüße"));
}
