// The server field accepts "host" and "host:port"; bad ports are refused, not guessed.
#include "ftp/server_address.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

using vx::ftp::parseServerAddress;

TEST(ServerAddress, HostWithOrWithoutPort) {
    struct {
        const char* text;
        const char* host;  // nullptr: refused
        int port;
    } cases[] = {{"files.example.org", "files.example.org", 21},
                 {" 127.0.0.1:2121 ", "127.0.0.1", 2121},
                 {"[::1]:990", "::1", 990},
                 {"[::1]", "::1", 21},
                 {"::1", "::1", 21},
                 {"host:0", nullptr, 0},
                 {"host:65536", nullptr, 0},
                 {"host:abc", nullptr, 0},
                 {"host:", nullptr, 0},
                 {":21", nullptr, 0},
                 {"", nullptr, 0},
                 {"two words", nullptr, 0},
                 {"[::1]x", nullptr, 0}};
    for (const auto& c : cases) {
        const auto a = parseServerAddress(QString::fromLatin1(c.text));
        if (!c.host) {
            EXPECT_FALSE(a) << c.text;
            continue;
        }
        ASSERT_TRUE(a) << c.text;
        EXPECT_EQ(a->host, QString::fromLatin1(c.host)) << c.text;
        EXPECT_EQ(a->port, c.port) << c.text;
    }
}
