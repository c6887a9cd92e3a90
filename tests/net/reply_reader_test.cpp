// The reply reader groups numbered lines into replies, whatever the chunking of the stream,
// and refuses input that is not a reply (no code from 100 to 599 first) or that never ends.
#include "net/reply_reader.h"

#include <gtest/gtest.h>

using namespace vx::net;

TEST(ReplyReader, SameRepliesWhetherFedAtOnceOrByteByByte) {
    const QByteArray stream =
        "220 Ready\r\n331 Password\n123-First line\r\nSecond line\r\n  234 numbers\r\n124 other code\r\n"
        "123-not the end\r\n123 The last line\r\n250\r\n550 caf\xe9\r\n200 part";
    const std::vector<std::pair<int, QStringList>> expected = {
        {220, {"220 Ready"}},
        {331, {"331 Password"}},
        {123,
         {"123-First line", "Second line", "  234 numbers", "124 other code", "123-not the end",
          "123 The last line"}},
        {250, {"250"}},
        {550, {QString::fromUtf8("550 caf\xc3\xa9")}}};  // not UTF-8: kept as Latin-1
    ReplyReader whole, bytes;
    whole.feed(stream);
    for (char c : stream) bytes.feed(QByteArrayView(&c, 1));
    for (ReplyReader* r : {&whole, &bytes}) {
        for (const auto& [code, lines] : expected) {
            const auto reply = r->take();
            ASSERT_TRUE(reply.has_value());
            EXPECT_EQ(reply->code, code);
            EXPECT_EQ(reply->lines, lines);
        }
        EXPECT_FALSE(r->hasReply());  // the last line has no line end yet
        r->feed("\r\n");
        EXPECT_EQ(r->take()->text(), "200 part");
    }
}

TEST(ReplyReader, HostileInputIsRefusedAndNothingAfterItTrusted) {
    const struct {
        int maxLine, maxLines;
        QByteArray stream;
        ReplyReader::Error error;
    } cases[] = {
        {100, 10, "HTTP/1.1 400 Bad Request\r\n220 late\r\n", ReplyReader::Error::NotAReply},
        {100, 10, "22 short\r\n", ReplyReader::Error::NotAReply},  // or not three digits and a blank or '-'
        {100, 10, "220Ready\r\n", ReplyReader::Error::NotAReply},
        {100, 10, "620 out of range\r\n", ReplyReader::Error::NotAReply},
        {100, 10, "099 low\r\n", ReplyReader::Error::NotAReply},
        {100, 10, "220 " + QByteArray(98, 'x'), ReplyReader::Error::LineTooLong},  // no end yet
        {10, 10, "220 abcdef\r\n", ReplyReader::Error::None},  // exactly at the bound
        {10, 10, "220 abcdefg\n", ReplyReader::Error::LineTooLong},  // one over it, without a CR
        {100, 3, "211-a\r\nb\r\nc\r\nd\r\ne\r\n211 end\r\n", ReplyReader::Error::TooManyLines},
    };
    for (const auto& c : cases) {
        ReplyReader r(c.maxLine, c.maxLines);
        r.feed(c.stream);
        EXPECT_EQ(r.error(), c.error) << c.stream.constData();
        EXPECT_EQ(r.hasReply(), c.error == ReplyReader::Error::None);
        r.reset();
        r.feed("200 ok\r\n");
        EXPECT_TRUE(r.hasReply());  // reset clears the error
    }
}
