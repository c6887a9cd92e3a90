// Fuzz target for the access code file keycode.dat. The input is the file. No item may hold a
// line break; an unquoted item has no trailing blank; there are never more items than commas
// and lines together; and the file read from disk gives the last item.
#include <QFile>

#include "core/cp1252.h"
#include "fuzz/fuzz_support.h"
#include "mail/access_code.h"

using namespace vx;
using namespace vx::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file = bytes(data, size);
    const QString text = decodeDataFile(file);
    const QStringList items = accessCodeItems(text);
    require(items.size() <= text.count(u',') + text.count(u'\n') + text.count(u'\r') + 1);
    for (const QString& item : items) require(!item.contains(u'\n') && !item.contains(u'\r'));

    const QString path = scratchFolder() + QStringLiteral("/keycode.dat");
    QFile f(path);
    require(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(file) == file.size());
    f.close();
    const Result<QString> code = readAccessCode(path);
    require(code && code.value() == (items.isEmpty() ? QString() : items.last()));
    return 0;
}
