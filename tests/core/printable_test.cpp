// Control characters never reach a terminal as themselves.
#include "core/printable.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(Printable, EscapesControlsAndBackslashOnly) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("plain name.zip"), QStringLiteral("plain name.zip")},
        {QStringLiteral("a\rb\nc"), QStringLiteral("a\\x0db\\x0ac")},
        {QStringLiteral("\x1b[2J"), QStringLiteral("\\x1b[2J")},
        {QString(QChar(0x7f)) + QChar(0x9b) + QChar(0xe9),
         QStringLiteral("\\x7f\\x9b") + QChar(0xe9)},
        {QStringLiteral("C:\\x0d"), QStringLiteral("C:\\\\x0d")},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(printable(in), out) << in.toStdString();
}

}  // namespace
}  // namespace vx
