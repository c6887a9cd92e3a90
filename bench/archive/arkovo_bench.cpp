// Command-line driver for the zip benchmark: runs one AddFiles or ExtractFiles of the zip
// component, so a script can time it beside the system's zip tools and measure its memory.
//   arkovo_bench add ARCHIVE LEVEL PATH...   (a new archive: ARCHIVE must not exist)
//   arkovo_bench extract ARCHIVE FOLDER
// Exits 1 when the component raises ArchiveError or any entry is reported, 2 on bad usage.
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "archive/arkovo.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const bool add = args.size() >= 4 && args[0] == QLatin1String("add");
    const bool extract = args.size() == 3 && args[0] == QLatin1String("extract");
    if (!add && !extract) {
        std::fprintf(stderr,
                     "usage: arkovo_bench add ARCHIVE LEVEL PATH...\n"
                     "       arkovo_bench extract ARCHIVE FOLDER\n");
        return 2;
    }
    vx::Arkovo arkovo;
    int problems = 0;
    auto complain = [&](const QString& message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        ++problems;
    };
    QObject::connect(&arkovo, &vx::Arkovo::ArchiveError, complain);
    QObject::connect(&arkovo, &vx::Arkovo::EntryReport, complain);
    if (add && QFile::exists(args[1])) {
        complain(QStringLiteral("%1 exists; the benchmark adds to a new archive").arg(args[1]));
        return 1;
    }
    arkovo.setArchiveName(args[1]);
    if (add) {
        bool keepPaths = false, dos83 = false;
        arkovo.AddFiles(args.mid(3), 1, keepPaths, false, dos83, args[2].toInt());
    } else {
        QString destination = args[2];
        arkovo.ExtractFiles({QStringLiteral("*")}, 0, true, true, destination);
    }
    return problems == 0 ? 0 : 1;
}
