// The reply reader groups numbered lines into replies, whatever the chunking of the stream,
// and refuses input that is not a reply or that never ends.
#include "net/reply_reader.h"

#include <gtest/gtest.h>

using vx::net::Reply;
using vx::net::ReplyReader;

namespace {

std::vector<Reply> readAll(ReplyReader& r) {
    std::vector<Reply> out;
    while (auto rep = r.take()) out.push_back(*rep);
    return out;
}

}  // namespace

TEST(ReplyLines, FirstLineCodeNeedsThreeDigitsThenSpaceHyphenOrEnd) {
    struct Case {
        const char* line;
        int code;  // 0: not a reply line
    } cases[] = {{"220 Ready", 220}, {"230-Welcome", 230}, {"250", 250},  {"22 short", 0},
                 {"2x0 bad", 0},     {"220Ready", 0},      {"HTTP/1.1 200", 0},
                 {"", 0},            {"620 out of range", 0}, {"099 low", 0}};
    for (const auto& c : cases) {
        const auto code = vx::net::firstLineCode(QByteArrayView(c.line));
        EXPECT_EQ(code.value_or(0), c.code) << c.line;
    }
}

TEST(ReplyLines, LastLineIsSameCodeFollowedBySpaceOrEnd) {
    EXPECT_TRUE(vx::net::isLastLine("123 end", 123));
    EXPECT_TRUE(vx::net::isLastLine("123", 123));
    EXPECT_FALSE(vx::net::isLastLine("123-more", 123));
    EXPECT_FALSE(vx::net::isLastLine("124 other code", 123));
    EXPECT_FALSE(vx::net::isLastLine(" 123 indented", 123));
}

TEST(ReplyReader, SingleLineRepliesWithCrLfOrBareLf) {
    ReplyReader r;
    r.feed("220 Ready\r\n331 Password\n");
    auto got = readAll(r);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].code, 220);
    EXPECT_EQ(got[0].text(), "220 Ready");
    EXPECT_EQ(got[1].code, 331);
    EXPECT_EQ(got[1].text(), "331 Password");
}

TEST(ReplyReader, MultiLineReplyEndsAtCodeThenSpace) {
    const QByteArray stream =
        "123-First line\r\n"
        "Second line\r\n"
        "  234 A line beginning with numbers\r\n"
        "123-not the end\r\n"
        "123 The last line\r\n"
        "200 next\r\n";
    ReplyReader r;
    r.feed(stream);
    auto got = readAll(r);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].code, 123);
    EXPECT_EQ(got[0].lines.size(), 5);
    EXPECT_EQ(got[0].lines.last(), "123 The last line");
    EXPECT_EQ(got[1].code, 200);
}

TEST(ReplyReader, SameRepliesWhetherFedByteByByteOrAtOnce) {
    const QByteArray stream = "220-Hello\r\n there\r\n220 go\r\n550 No such file\r\n257 \"/a b\"\n";
    ReplyReader whole, bytes;
    whole.feed(stream);
    for (char c : stream) bytes.feed(QByteArrayView(&c, 1));
    auto a = readAll(whole), b = readAll(bytes);
    ASSERT_EQ(a.size(), 3u);
    ASSERT_EQ(b.size(), a.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].code, b[i].code);
        EXPECT_EQ(a[i].lines, b[i].lines);
    }
}

TEST(ReplyReader, IncompleteLineGivesNoReplyYet) {
    ReplyReader r;
    r.feed("220 Rea");
    EXPECT_FALSE(r.hasReply());
    r.feed("dy\r");
    EXPECT_FALSE(r.hasReply());
    r.feed("\n");
    ASSERT_TRUE(r.hasReply());
    EXPECT_EQ(r.take()->text(), "220 Ready");
}

TEST(ReplyReader, HostileInput) {
    {
        SCOPED_TRACE("not a reply");
        ReplyReader r;
        r.feed("HTTP/1.1 400 Bad Request\r\n");
        EXPECT_EQ(r.error(), ReplyReader::Error::NotAReply);
        EXPECT_FALSE(r.hasReply());
        r.feed("220 late\r\n");  // nothing after an error is trusted
        EXPECT_FALSE(r.hasReply());
    }
    {
        SCOPED_TRACE("endless line is refused at the bound, not buffered");
        ReplyReader r(100);
        const QByteArray chunk(64, 'x');
        r.feed("220 ");
        for (int i = 0; i < 10 && r.error() == ReplyReader::Error::None; ++i) r.feed(chunk);
        EXPECT_EQ(r.error(), ReplyReader::Error::LineTooLong);
    }
    {
        SCOPED_TRACE("a line exactly at the bound is fine");
        ReplyReader r(10);
        r.feed("220 abcdef\r\n");
        EXPECT_EQ(r.error(), ReplyReader::Error::None);
        EXPECT_TRUE(r.hasReply());
    }
    {
        SCOPED_TRACE("multi-line reply that never closes");
        ReplyReader r(100, 3);
        r.feed("211-a\r\nb\r\nc\r\nd\r\ne\r\n");
        EXPECT_EQ(r.error(), ReplyReader::Error::TooManyLines);
    }
    {
        SCOPED_TRACE("reset clears the error");
        ReplyReader r;
        r.feed("garbage\r\n");
        r.reset();
        r.feed("200 ok\r\n");
        EXPECT_TRUE(r.hasReply());
    }
}

TEST(ReplyReader, NonUtf8TextIsKeptAsLatin1) {
    ReplyReader r;
    r.feed("550 caf\xe9\r\n");
    EXPECT_EQ(r.take()->text(), QString::fromUtf8("550 caf\xc3\xa9"));
}
