// The module's messages, exactly as the program shows them.
#include "crypto/error_codes.h"

#include <gtest/gtest.h>

using namespace vx::korva;

TEST(ErrorCodes, EveryCodeHasItsMessage) {
    // clang-format off
    const std::pair<int, const char*> table[] = {
        {0, ""}, {8, ""}, {1, "Cannot continue without text (Error 1)"},
        {2, "Cannot continue without key (Error 2)"}, {3, "Key too small/is repeating (Error 3)"},
        {4, "Source file not found (Error 4)"}, {5, "Compression checksum error (Error 5)"},
        {6, "Cannot process empty file (Error 6)"},
        {7, "Key or private key holds characters outside Windows-1252 (Error 7)"},
        {10, "Crypto version unknown/contains errors (Error 10)"},
        {11, "Encoding has been aborted by user"}, {12, "File error: disk full (Error 12)"},
        {20, "Crypto file version unknown/contains errors (Error 20)"},
        {21, "Decoding has been aborted by user"}, {22, "File error: disk full (Error 22)"},
        {23, "Failed decoding the file (Error 23)"},
        {30, "Crypto header or footer format incomplete/contains errors (Error 30)"},
        {33, "Failed decoding the text (Error 33)"}};
    // clang-format on
    for (const auto& [code, message] : table)
        EXPECT_EQ(errorMessageFor(code, code == 4 ? "" : "disk full"), QLatin1String(message)) << code;
    // Code 4 names what the source is instead, when it is there but no file.
    EXPECT_EQ(errorMessageFor(4, "Source is a folder, not a file"),
              "Source is a folder, not a file (Error 4)");
}
