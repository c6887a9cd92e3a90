// Fuzz target for reading zip archives from any sender. The input is the archive. libzip reads
// it from memory, every entry to its end (a bounded amount); then the zip component selects it
// from a file, lists it, and the list's rows and extraction names are made; then every entry
// is extracted into a fresh folder deep inside a jail folder (the input's size picks whether
// stored folders are kept and files replaced). Afterwards the jail may hold only that folder's
// files and folders: no symbolic link, nothing beside it. A bomb cannot fill the disk: archives
// declaring more than 16 MB are not extracted, and no file may grow past 32 MB.
#include <sys/resource.h>
#include <zip.h>

#include <QDirIterator>
#include <QFileInfo>
#include <csignal>
#include <vector>

#include "archive/archive_rows.h"
#include "archive/arkovo.h"
#include "archive/safe_paths.h"
#include "fuzz/fuzz_support.h"

using namespace vx;
using namespace vx::fuzz;

namespace {

constexpr zip_uint64_t kReadLimit = 4 << 20;
constexpr qint64 kExtractLimit = 16 << 20;

void readInMemory(const std::uint8_t* data, std::size_t size) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src = zip_source_buffer_create(data, size, 0, &error);
    zip_t* za = src ? zip_open_from_source(src, ZIP_RDONLY, &error) : nullptr;
    if (!za) {
        if (src) zip_source_free(src);
        zip_error_fini(&error);
        return;
    }
    std::vector<char> buffer(64 * 1024);
    zip_uint64_t total = 0;
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0) && total < kReadLimit; ++i) {
        zip_file_t* f = zip_fopen_index(za, static_cast<zip_uint64_t>(i), 0);
        if (!f) continue;
        zip_int64_t n;
        while (total < kReadLimit && (n = zip_fread(f, buffer.data(), buffer.size())) > 0)
            total += static_cast<zip_uint64_t>(n);
        zip_fclose(f);
    }
    zip_discard(za);
    zip_error_fini(&error);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const rlimit limit{32 << 20, 32 << 20};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readInMemory(data, size);

    const QString archive = scratchFolder() + QStringLiteral("/input.zip");
    QFile f(archive);
    require(f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    f.close();
    Arkovo arkovo;
    arkovo.setArchiveName(archive);
    qint64 declared = 0;
    for (qint64 i = 1; i <= arkovo.EntryCount(); ++i) {
        const ArkovoEntry e = arkovo.GetEntry(i);
        require(rowTexts(e)[kColName] == Arkovo::GetFileName(e.FileName));
        for (const bool folders : {false, true}) {
            const Result<QString> path = extractionPath(e.FileName, folders);
            if (!path) continue;
            for (const QString& part : path.value().split(u'/'))
                require(part != QLatin1String(".."));
            require(!path.value().startsWith(u'/'));
        }
        declared += std::max<qint64>(e.Size, 0);
    }
    if (declared > kExtractLimit) return 0;

    const QString jail = scratchFolder() + QStringLiteral("/jail");
    QDir(jail).removeRecursively();
    QString destination = jail + QStringLiteral("/1/2/3/4/5/6/7/8/out");
    require(QDir().mkpath(destination));
    arkovo.ExtractFiles({QStringLiteral("*.*")}, 0, size & 1, size & 2, destination);
    QDirIterator it(jail, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QString inside = jail + QStringLiteral("/1/2/3/4/5/6/7/8/out/");
    while (it.hasNext()) {
        const QString path = it.next();
        require(!QFileInfo(path).isSymLink());
        require(path.startsWith(inside) ||
                (inside.startsWith(path + u'/') && QFileInfo(path).isDir()));
    }
    QDir(jail).removeRecursively();
    return 0;
}
