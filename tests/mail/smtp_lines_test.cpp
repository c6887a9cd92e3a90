// The log-in's Base64 (the body's line rules are checked on the wire, in the dialogue tests).
#include "mail/smtp_lines.h"

#include <gtest/gtest.h>

#include "core/cp1252.h"
#include "qt_printers.h"

using namespace vx;

TEST(SmtpLines, Base64OfTheCodePageBytesOnOneLine) {
    const std::pair<QString, const char*> cases[] = {{"", ""},       {"a", "YQ=="},
                                                     {"ab", "YWI="}, {"abc", "YWJj"},
                                                     {"€ÿ", "gP8="}, {QString(100, 'x'), nullptr}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(
            EncodeBase64(text),
            QString::fromLatin1(expected ? QByteArray(expected) : stringToCp1252(text).toBase64()));
        EXPECT_FALSE(EncodeBase64(text).contains('\n'));
    }
}
