// The zip component against real archives: its own checked by unzip and zipinfo, those made by
// zip listed, extracted and deleted, hostile and damaged ones refused with a report.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <random>

#include "archive_fixture.h"
#include "core/yield.h"

namespace vx::test {
namespace {

struct NamesCase {
    const char* label;
    QStringList items;  // "{r}" stands for the scratch folder
    bool keepPaths;
    int level;
    QStringList expected;  // "{r}" stands for the scratch folder without its leading "/"
    int reports;
};

class StoredNames : public ArchiveTest, public ::testing::WithParamInterface<NamesCase> {};

TEST_P(StoredNames, ArchiveHoldsTheExpectedNamesAndPassesUnzipTest) {
    file(QStringLiteral("a.txt"), "alpha");
    file(QStringLiteral("docs/b.txt"), QByteArray(300000, 'b'));
    file(QStringLiteral("docs/sub/c.txt"), "gamma");
    file(QStringLiteral("docs/.hidden"), "");
    const QString root = m_dir.path();
    QStringList items, expected;
    for (const QString& i : GetParam().items)
        items << QString(i).replace(QStringLiteral("{r}"), root);
    for (const QString& e : GetParam().expected)
        expected << QString(e).replace(QStringLiteral("{r}"), root.mid(1));
    expected.sort();
    add(items, 1, GetParam().keepPaths, false, GetParam().level);
    EXPECT_EQ(zipinfoNames(m_zip), expected);
    QStringList names = listed();
    names.sort();
    EXPECT_EQ(names, expected);
    EXPECT_EQ(m_log.reports.size(), GetParam().reports) << m_log.reports.join(u'\n').toStdString();
    EXPECT_TRUE(m_log.errors.isEmpty()) << m_log.errors.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Items, StoredNames,
    ::testing::Values(
        NamesCase{"file", {"{r}/a.txt"}, false, 6, {"a.txt"}, 0},
        NamesCase{"wildcard", {"{r}/docs/*.*"}, false, 0, {".hidden", "b.txt", "sub/c.txt"}, 0},
        NamesCase{"pattern", {"{r}/docs/*.txt"}, false, 9, {"b.txt", "sub/c.txt"}, 0},
        NamesCase{
            "folder", {"{r}/docs"}, false, 1, {"docs/.hidden", "docs/b.txt", "docs/sub/c.txt"}, 0},
        NamesCase{"full paths",
                  {"{r}/a.txt", "{r}/docs/sub/*.*"},
                  true,
                  6,
                  {"{r}/a.txt", "{r}/docs/sub/c.txt"},
                  0},
        NamesCase{
            "missing", {"{r}/nope.txt", "{r}/a.txt", "{r}/gone/*.*", ""}, false, 6, {"a.txt"}, 2},
        NamesCase{"the archive itself", {"{r}/out/*.*", "{r}/a.txt"}, false, 6, {"a.txt"}, 0}),
    [](const auto& info) {
        return QString::fromUtf8(info.param.label).remove(u' ').toStdString();
    });

TEST_F(ArchiveTest, SameNameFromTwoFilesKeepsBothAndReports) {
    const QString x = file(QStringLiteral("x/a.txt"), "from x");
    const QString y = file(QStringLiteral("y/a.txt"), "from y");
    add({x, y, x});
    EXPECT_EQ(zipinfoNames(m_zip),
              QStringList({QStringLiteral("a (2).txt"), QStringLiteral("a.txt")}));
    ASSERT_EQ(m_log.reports.size(), 1);
    EXPECT_TRUE(m_log.reports[0].contains(y) && m_log.reports[0].contains(x));
    EXPECT_EQ(
        runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), m_zip, QStringLiteral("a (2).txt")})
            .out,
        QStringLiteral("from y"));
}

struct ActionCase {
    int action;
    const char* a;  // newer file: replaced except never
    const char* b;  // same zip time, new content
    const char* c;  // new file
};

class Actions : public ArchiveTest, public ::testing::WithParamInterface<ActionCase> {};

TEST_P(Actions, ReplaceOnlyWhatTheActionAllows) {
    const std::time_t t = 1600000000;  // an even second
    add({file(QStringLiteral("a"), "A1", t), file(QStringLiteral("b"), "B1", t)});
    file(QStringLiteral("a"), "A2", t + 4);
    file(QStringLiteral("b"), "B2", t + 1);  // within the same two seconds
    file(QStringLiteral("c"), "C2", t);
    add({path(QStringLiteral("a")), path(QStringLiteral("b")), path(QStringLiteral("c"))},
        GetParam().action);
    for (const char* name : {"a", "b", "c"}) {
        const ToolRun r = runTool(QStringLiteral("unzip"),
                                  {QStringLiteral("-p"), m_zip, QString::fromLatin1(name)});
        const char* want = name[0] == 'a'   ? GetParam().a
                           : name[0] == 'b' ? GetParam().b
                                            : GetParam().c;
        EXPECT_EQ(r.out, QString::fromLatin1(want)) << "entry " << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, Actions,
                         ::testing::Values(ActionCase{1, "A2", "B2", "C2"},
                                           ActionCase{3, "A2", "B1", "C2"},
                                           ActionCase{2, "A2", "B1", ""}));

TEST_F(ArchiveTest, ShortNamesAreUniqueAndReaddingReplaces) {
    const QString one = file(QStringLiteral("Long file name.text"), "one");
    const QString two = file(QStringLiteral("Long file name2.text"), "two");
    const QString readme = file(QStringLiteral("docs/readme.txt"), "three");
    add({one, path(QStringLiteral("docs"))}, 1, false, true);
    add({two}, 1, false, true);
    add({one}, 1, false, true);
    EXPECT_EQ(zipinfoNames(m_zip),
              QStringList({QStringLiteral("DOCS/README.TXT"), QStringLiteral("LONGFI~1.TEX"),
                           QStringLiteral("LONGFI~2.TEX")}));
    EXPECT_EQ(runTool(QStringLiteral("unzip"),
                      {QStringLiteral("-p"), m_zip, QStringLiteral("LONGFI~2.TEX")})
                  .out,
              QStringLiteral("two"));
    Q_UNUSED(readme);
}

TEST_F(ArchiveTest, NonAsciiNamesCarryTheUtf8Flag) {
    add({file(QStringLiteral("café.txt"), "x"), file(QStringLiteral("plain.txt"), "y")});
    const QHash<QString, unsigned> flags = centralFlags(m_zip);
    ASSERT_EQ(flags.size(), 2);
    EXPECT_TRUE(flags.value(QStringLiteral("café.txt")) & 0x800);
    EXPECT_FALSE(flags.value(QStringLiteral("plain.txt")) & 0x800);
    EXPECT_TRUE(listed().contains(QStringLiteral("café.txt")));
}

TEST_F(ArchiveTest, ArchiveMadeByZipListsExtractsAndDeletes) {
    file(QStringLiteral("tree/one.txt"), "1");
    file(QStringLiteral("tree/sub/two.txt"), QByteArray(100000, '2'));
    file(QStringLiteral("tree/sub/three.bin"), "3");
    QDir::setCurrent(m_dir.path());
    const QString zipped = path(QStringLiteral("made.zip"));
    ASSERT_EQ(
        runTool(QStringLiteral("zip"), {QStringLiteral("-rq"), zipped, QStringLiteral("tree")})
            .code,
        0);
    m_arkovo.setArchiveName(zipped);
    EXPECT_EQ(m_arkovo.EntryCount(), 5);  // with the entries of the two folders
    QStringList names = listed();
    names.removeAll(QString());
    names.sort();
    EXPECT_EQ(names,
              QStringList({QStringLiteral("tree/one.txt"), QStringLiteral("tree/sub/three.bin"),
                           QStringLiteral("tree/sub/two.txt")}));
    QString dest = path(QStringLiteral("dest"));
    EXPECT_EQ(m_arkovo.ExtractFiles({QStringLiteral("*")}, 0, true, false, dest), 3);
    EXPECT_EQ(read(QStringLiteral("dest/tree/sub/two.txt")), QByteArray(100000, '2'));
    m_arkovo.DeleteFiles({QStringLiteral("*.txt")});
    EXPECT_EQ(zipinfoNames(zipped),
              QStringList({QStringLiteral("tree/"), QStringLiteral("tree/sub/"),
                           QStringLiteral("tree/sub/three.bin")}));
    EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-tqq"), zipped}).code, 0);
    m_arkovo.DeleteFiles({QStringLiteral("*")});
    EXPECT_TRUE(QFile::exists(zipped));
    EXPECT_EQ(m_arkovo.EntryCount(), 0);
    EXPECT_EQ(m_log.count(QStringLiteral("DeleteComplete")), 2);
    EXPECT_TRUE(m_log.errors.isEmpty()) << m_log.errors.join(u'\n').toStdString();
}

class Hostile : public ArchiveTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Hostile, NothingIsWrittenOutsideTheDestination) {
    QDir().mkpath(path(QStringLiteral("outside")));
    QDir().mkpath(path(QStringLiteral("dest")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("outside")), path(QStringLiteral("dest/sneaky"))));
    const QString zipped = path(QStringLiteral("hostile.zip"));
    writeRawZip(zipped, {{"../evil1.txt", "x"},
                         {"a/../../evil2.txt", "x"},
                         {QFile::encodeName(path(QStringLiteral("outside/abs.txt"))), "x"},
                         {"link", QFile::encodeName(path(QStringLiteral("outside"))), 0120777},
                         {"sneaky/evil3.txt", "x"},
                         {"good.txt", "fine"}});
    m_arkovo.setArchiveName(zipped);
    QString dest = path(QStringLiteral("dest"));
    const bool folders = GetParam();
    const int written = m_arkovo.ExtractFiles({QStringLiteral("*")}, 0, folders, true, dest);
    EXPECT_TRUE(QDir(path(QStringLiteral("outside"))).isEmpty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("evil1.txt"))));
    EXPECT_EQ(read(QStringLiteral("dest/good.txt")), "fine");
    // Flat, "sneaky/evil3.txt" is plain evil3.txt in the destination.
    EXPECT_EQ(written, folders ? 1 : 2);
    EXPECT_EQ(m_log.reports.size(), folders ? 5 : 4) << m_log.reports.join(u'\n').toStdString();
    EXPECT_TRUE(m_log.errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(UseFolderNames, Hostile, ::testing::Bool());

struct DamageCase {
    const char* label;
    std::function<QByteArray(const QByteArray&)> damage;
    const char* words;
};

class Damaged : public ArchiveTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(Damaged, SelectingGivesAMessageAndNothingIsLost) {
    add({file(QStringLiteral("a.txt"), QByteArray(5000, 'a')), file(QStringLiteral("b.txt"), "b")});
    QFile zip(m_zip);
    ASSERT_TRUE(zip.open(QIODevice::ReadOnly));
    const QByteArray bad = GetParam().damage(zip.readAll());
    zip.close();
    const QString badPath = file(QStringLiteral("bad.zip"), bad);
    m_log.errors.clear();
    m_arkovo.setArchiveName(badPath);
    ASSERT_EQ(m_log.errors.size(), 1);
    EXPECT_TRUE(m_log.errors[0].contains(badPath)) << m_log.errors[0].toStdString();
    EXPECT_TRUE(m_log.errors[0].contains(QString::fromUtf8(GetParam().words)))
        << m_log.errors[0].toStdString();
    EXPECT_EQ(m_arkovo.ArchiveName(), badPath);
    EXPECT_EQ(m_arkovo.EntryCount(), 0);
    bool no = false;
    m_arkovo.AddFiles({path(QStringLiteral("a.txt"))}, 1, no, false, no,
                      6);  // must not overwrite it
    EXPECT_EQ(m_log.errors.size(), 3);
    EXPECT_EQ(read(QStringLiteral("bad.zip")), bad);
    m_arkovo.setArchiveName(m_zip);  // and the component goes on working
    EXPECT_EQ(m_arkovo.EntryCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Damaged,
    ::testing::Values(
        DamageCase{"truncated", [](const QByteArray& z) { return z.left(z.size() / 2); },
                   "truncated"},
        DamageCase{"text", [](const QByteArray&) { return QByteArray("just some text\n"); },
                   "not a zip"},
        DamageCase{"directory",
                   [](const QByteArray& z) {
                       QByteArray d = z;
                       const qsizetype eocd = d.lastIndexOf("PK\x05\x06");
                       d[eocd + 16] =
                           char(d[eocd + 16] + 7);  // the directory's offset points elsewhere
                       return d;
                   },
                   "damaged"}),
    [](const auto& info) { return std::string(info.param.label); });

struct ExtractCase {
    const char* label;
    bool overwrite;
    qint32 skipOlder;
    bool entryNewer;
    const char* result;
};

class ExistingFiles : public ArchiveTest, public ::testing::WithParamInterface<ExtractCase> {};

TEST_P(ExistingFiles, OverwriteAndSkipOlderDecide) {
    const std::time_t t = 1600000000;
    const std::time_t entryTime = GetParam().entryNewer ? t + 100 : t - 100;
    add({file(QStringLiteral("src/d/e.txt"), "from archive", entryTime)}, 1, true);
    const QString target = file(QStringLiteral("dest/e.txt"), "on disk", t);
    QString dest = path(QStringLiteral("dest"));
    m_arkovo.ExtractFiles({QStringLiteral("e.txt")}, GetParam().skipOlder, false,
                          GetParam().overwrite, dest);
    EXPECT_EQ(read(QStringLiteral("dest/e.txt")), GetParam().result);
    EXPECT_EQ(m_log.reports.size(), QByteArray(GetParam().result) == "on disk" ? 1 : 0);
    EXPECT_EQ(QDir(dest).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no temporary left
    Q_UNUSED(target);
}

INSTANTIATE_TEST_SUITE_P(
    Options, ExistingFiles,
    ::testing::Values(ExtractCase{"keep", false, 0, true, "on disk"},
                      ExtractCase{"keepEvenIfNewer", false, 1, true, "on disk"},
                      ExtractCase{"replaceOlder", true, 0, false, "from archive"},
                      ExtractCase{"skipOlder", true, 1, false, "on disk"},
                      ExtractCase{"replaceNewer", true, 1, true, "from archive"}),
    [](const auto& info) { return std::string(info.param.label); });

QByteArray noise(int size, unsigned seed) {
    std::mt19937 gen(seed);
    QByteArray b(size, '\0');
    for (char& c : b) c = char(gen());
    return b;
}

TEST_F(ArchiveTest, EventsComeInOrderOnTheCallersThread) {
    QByteArray text;
    while (text.size() < 3500000) text += "line of text " + QByteArray::number(text.size()) + '\n';
    add({file(QStringLiteral("big.txt"), text),
         file(QStringLiteral("noise.bin"), noise(1500000, 1))});
    const QStringList adds = m_log.events.filter(QStringLiteral("AddProgress"));
    ASSERT_FALSE(adds.isEmpty());
    EXPECT_EQ(adds.last(), QStringLiteral("AddProgress 100 noise.bin"));
    EXPECT_EQ(m_log.events.mid(m_log.events.size() - 2),
              QStringList({QStringLiteral("AddComplete"), QStringLiteral("ArchiveChanged")}));
    int last = -1;
    for (const QString& e : adds) {
        const int percent = e.section(u' ', 1, 1).toInt();
        EXPECT_GE(percent, last) << e.toStdString();
        last = percent;
    }
    m_log.events.clear();
    QString dest = path(QStringLiteral("dest"));
    EXPECT_EQ(m_arkovo.ExtractFiles({QStringLiteral("*")}, 0, true, true, dest), 2);
    EXPECT_EQ(read(QStringLiteral("dest/big.txt")), text);
    EXPECT_EQ(m_log.events.last(), QStringLiteral("ExtractComplete"));
    EXPECT_TRUE(m_log.events.contains(QStringLiteral("ExtractProgress 100 noise.bin")));
    EXPECT_FALSE(m_log.offThread);
}

TEST_F(ArchiveTest, FileVanishingWhileWrittenLeavesTheArchiveAsItWas) {
    add({file(QStringLiteral("first.txt"), "kept")});
    QFile zip(m_zip);
    ASSERT_TRUE(zip.open(QIODevice::ReadOnly));
    const QByteArray before = zip.readAll();
    zip.close();
    const QString big = file(QStringLiteral("big.bin"), noise(20 << 20, 2));
    bool removed = false, busyRefused = false;
    m_log.events.clear();
    setYieldHook([&] {
        if (removed || m_log.count(QStringLiteral("AddProgress")) == 0) return;  // not writing yet
        removed = QFile::remove(big);
        m_arkovo.DeleteFiles({QStringLiteral("*")});  // a second call while the first yields
        busyRefused = !m_log.errors.isEmpty();
    });
    bool no = false;
    m_arkovo.AddFiles({path(QStringLiteral("x.txt")), big}, 1, no, false, no, 1);
    setYieldHook({});
    ASSERT_TRUE(removed);
    EXPECT_TRUE(busyRefused);
    ASSERT_EQ(m_log.errors.size(), 2)
        << m_log.events.join(u'\n').toStdString() << m_log.errors.join(u'\n').toStdString();
    EXPECT_TRUE(m_log.errors[1].contains(big)) << m_log.errors[1].toStdString();
    ASSERT_TRUE(zip.open(QIODevice::ReadOnly));
    EXPECT_EQ(zip.readAll(), before);
    EXPECT_EQ(QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

}  // namespace
}  // namespace vx::test
