// Fuzz target for the list file. The input is the file. Its lines hold no line end, there is one
// per line end (and one more for a last line without one), and joined again they give the
// file's text with its CRs before line ends dropped.
#include "app/list_file.h"
#include "core/cp1252.h"
#include "fuzz/fuzz_support.h"

using namespace vx;
using namespace vx::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file = bytes(data, size);
    const QStringList lines = listFileLines(file);
    QString text = decodeDataFile(file);
    const qsizetype ends = text.count(u'\n');
    require(lines.size() == (text.isEmpty() ? 0 : ends + (text.endsWith(u'\n') ? 0 : 1)));
    for (const QString& line : lines) require(!line.contains(u'\n'));
    const bool lastEnded = text.endsWith(u'\n');
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (lastEnded || text.endsWith(u'\r')) text.chop(1);
    require(lines.join(u'\n') == text);
    return 0;
}
