// Fuzz target for the reply reader shared by FTP and SMTP. The first input byte seeds the
// slicing; the rest is the byte stream. The stream is fed to one reader at once and to another
// in slices of 1 to 64 bytes, taking replies between slices, as a socket delivers them; both
// must give the same replies and the same error. Every reply must be well formed: a code from
// 100 to 599, no line longer than the limit, no more lines than the limit, its first line
// carrying its code and the last line closing it.
#include <QStringList>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "net/reply_reader.h"

using namespace vx;
using namespace vx::fuzz;

namespace {

constexpr int kMaxLine = 64;
constexpr int kMaxLines = 8;

void check(const net::Reply& r) {
    require(r.code >= 100 && r.code < 600);
    require(!r.lines.isEmpty() && r.lines.size() <= kMaxLines + 1);
    for (const QString& line : r.lines) {
        require(line.size() <= kMaxLine);
        require(!line.contains(QLatin1Char('\n')));
    }
    const QByteArray first = r.lines.first().toLatin1();
    require(net::firstLineCode(first) == r.code);
    if (r.lines.size() > 1) require(net::isLastLine(r.lines.last().toLatin1(), r.code));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Split in = split(data, size);
    net::ReplyReader whole(kMaxLine, kMaxLines);
    whole.feed(in.rest);
    std::vector<net::Reply> a;
    while (auto r = whole.take()) a.push_back(*r);

    net::ReplyReader sliced(kMaxLine, kMaxLines);
    std::vector<net::Reply> b;
    std::uint32_t state = in.control * 2654435761u + 1;
    for (qsizetype at = 0; at < in.rest.size();) {
        state = state * 1103515245u + 12345u;
        const qsizetype n = std::min<qsizetype>(1 + (state >> 16) % 64, in.rest.size() - at);
        sliced.feed(QByteArrayView(in.rest).sliced(at, n));
        at += n;
        while (auto r = sliced.take()) b.push_back(*r);
    }
    require(whole.error() == sliced.error());
    require(a.size() == b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        check(a[i]);
        require(a[i].code == b[i].code && a[i].lines == b[i].lines);
    }
    require(!net::errorText(whole.error()).isEmpty() ||
            whole.error() == net::ReplyReader::Error::None);
    whole.reset();
    require(whole.isIdle());
    return 0;
}
