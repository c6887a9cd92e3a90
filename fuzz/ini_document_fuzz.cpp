// Fuzz target for saving one setting into a hand-edited INI file. The first input byte picks
// what is set (bits 0-1: a key the file assigns, a new key in a section it has, a key of a new
// section; bits 2-6: which line; bit 7: a value with a character Windows-1252 lacks); the
// rest is the file. After the save every other line must come back byte for byte, line end
// included (in the file's own encoding; a value that encoding cannot hold turns the file into
// UTF-8), at most two lines may be added, and the file must read back the new value.
#include <QList>

#include "core/cp1252.h"
#include "fuzz/fuzz_support.h"
#include "settings/ini_document.h"

using namespace vx;
using namespace vx::fuzz;

namespace {

// The lines with their ends ("a\r\n", "b\n", "c\r", "d"): LF, CR LF and a CR alone end a line,
// as the document reads them.
QList<QByteArray> linesOf(const QByteArray& b) {
    QList<QByteArray> out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (b[i] != '\n' && b[i] != '\r') continue;
        if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n') ++i;
        out << b.mid(start, i + 1 - start);
        start = i + 1;
    }
    if (start < b.size()) out << b.mid(start);
    return out;
}

struct Target {
    QString section, key;
};

// The section and key of the n-th assignment line, or of the n-th section header with a key
// it lacks, or a section the file lacks.
Target pick(const QStringList& lines, int mode, int n) {
    QStringList sections, keys, owners;
    QString current;
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(u'[')) {
            const qsizetype end = t.indexOf(u']');
            current = t.mid(1, end < 0 ? -1 : end - 1).trimmed();
            sections << current;
        } else if (!t.startsWith(u';') && line.contains(u'=')) {
            keys << line.left(line.indexOf(u'=')).trimmed();
            owners << current;
        }
    }
    if (mode == 0 && !keys.isEmpty() && !owners[n % keys.size()].isEmpty())
        return {owners[n % keys.size()], keys[n % keys.size()]};
    if (mode == 1 && !sections.isEmpty()) return {sections[n % sections.size()], "FuzzNewKey"};
    return {"Fuzz New Section", "FuzzKey"};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Split in = split(data, size);
    const QString text = decodeDataFile(in.rest);
    const Target t = pick(text.split(u'\n'), in.control & 3, (in.control >> 2) & 31);
    const QString value =
        (in.control & 0x80) ? QStringLiteral("x \u0101 ;\"q\"") : QStringLiteral(" a,b;c ");
    const auto after = iniWithValue(in.rest, t.section, t.key, value);
    if (!after) return 0;

    const IniDocument reread(decodeDataFile(*after));
    require(reread.value(t.section, t.key) == value);
    // Decoded, every other line is the same; as bytes too unless the file had to change encoding.
    const bool converted = text.toUtf8() != in.rest && decodeDataFile(*after).toUtf8() == *after;
    const QList<QByteArray> b = linesOf(converted ? text.toUtf8() : in.rest);
    const QList<QByteArray> a = linesOf(*after);
    qsizetype head = 0, tail = 0;
    while (head < b.size() && head < a.size() && b[head] == a[head]) ++head;
    while (tail < b.size() - head && tail < a.size() - head &&
           b[b.size() - 1 - tail] == a[a.size() - 1 - tail])
        ++tail;
    const qsizetype changed = b.size() - head - tail, added = a.size() - head - tail;
    require(changed <= 1 && added >= changed && added - changed <= 2);
    if (changed == 1 && added > 1) {
        // The old last line, without a line end, gains one as a line follows it.
        require(head == b.size() - 1 && !b[head].endsWith('\n') && !b[head].endsWith('\r'));
        require(a[head].startsWith(b[head]) && a[head].size() > b[head].size() &&
                a[head].size() <= b[head].size() + 2);
    }
    return 0;
}
