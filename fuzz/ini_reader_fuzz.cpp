// Fuzz target for the INI reader (the profile rules). The first input byte picks the section
// and key asked for; the rest is the file. The value read must fit the limit, hold no line
// break, and be a part of the raw value the file holds.
#include <QFile>

#include "core/cp1252.h"
#include "fuzz/fuzz_support.h"
#include "settings/ini_document.h"
#include "settings/ini_reader.h"

using namespace vx;
using namespace vx::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const sections[] = {"Email Settings", "Settings", "a", ""};
    static const char* const keys[] = {"TO", "Subject", "k", "BODY"};
    const Split in = split(data, size);
    const QString section = QLatin1String(sections[in.control & 3]);
    const QString key = QLatin1String(keys[(in.control >> 2) & 3]);
    const QString path = scratchFolder() + QStringLiteral("/settings.ini");
    QFile f(path);
    require(f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            f.write(in.rest) == in.rest.size());
    f.close();

    const QString value = ReadIniValue(section, key, path);
    require(value.size() <= kIniValueLimit);
    require(!value.contains(u'\n') && !value.contains(u'\r'));
    const auto raw = IniDocument(decodeDataFile(in.rest)).value(section, key);
    require(raw ? raw->contains(value) : value.isEmpty());
    return 0;
}
