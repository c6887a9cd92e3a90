// The code page's round trip. (The data-file reading rule, UTF-8 when valid and the code page
// otherwise, is checked in what the INI reader reads.)
#include "core/cp1252.h"

#include <gtest/gtest.h>

using namespace vx;

TEST(Cp1252, EveryByteRoundTripsAndOtherCharactersBecomeQuestionMarks) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    const QString text = cp1252ToString(all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));  // euro sign
    EXPECT_EQ(text[0x81], QChar(0x81));    // undefined code stands for itself
    EXPECT_EQ(text[0xE9], QChar(0xE9));
    EXPECT_EQ(stringToCp1252(text), all);
    EXPECT_EQ(stringToCp1252(QString::fromUtf8("a\u4e2db")), QByteArray("a?b"));  // not in it
}
