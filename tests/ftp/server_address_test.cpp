// The server field accepts "host" and "host:port"; bad ports are refused, not guessed.
#include "ftp/server_address.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

TEST(ServerAddress, HostWithOrWithoutPort) {
    const char* cases[][2] = {  // text, "host port" or "-" when refused
        {"files.example.org", "files.example.org 21"}, {" 127.0.0.1:2121 ", "127.0.0.1 2121"},
        {"[::1]:990", "::1 990"}, {"[::1]", "::1 21"}, {"::1", "::1 21"}, {"host:0", "-"}, {"host:65536", "-"},
        {"host:abc", "-"}, {"host:", "-"}, {":21", "-"}, {"", "-"}, {"two words", "-"}, {"[::1]x", "-"},
        {"[a b]:21", "-"}, {"tab\there", "-"}, {"2[::1]:?21", "-"}, {"a]b:21", "-"}};
    for (const auto& c : cases) {
        const auto a = vx::ftp::parseServerAddress(c[0]);
        EXPECT_EQ(a ? QStringLiteral("%1 %2").arg(a->host).arg(a->port) : "-", c[1]) << c[0];
    }
}
