// Fuzz target for the "host:port" parser. The input is the text as typed (UTF-8). An accepted
// address must keep the rules: a host without blanks, brackets or line breaks, a port from 1 to
// 65535 (the usual one when the text names none); and written out again it must parse to the
// same address.
#include "fuzz/fuzz_support.h"
#include "net/server_address.h"

using namespace vx;
using namespace vx::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(bytes(data, size));
    const auto a = net::parseServerAddress(text, 21);
    if (!a) return 0;
    require(!a->host.isEmpty() && a->port != 0);
    for (const QChar c : a->host) require(!c.isSpace() && c != u'[' && c != u']');
    const bool v6 = a->host.contains(u':');
    const QString again = (v6 ? u'[' + a->host + u']' : a->host) + u':' + QString::number(a->port);
    const auto b = net::parseServerAddress(again, 21);
    require(b && b->host == a->host && b->port == a->port);
    return 0;
}
