// The zip component against real archives: its own checked by unzip and zipinfo, those made by
// zip listed, extracted and deleted, hostile and damaged ones refused with a report.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDirIterator>
#include <QScopeGuard>
#include <csignal>

#include "archive_fixture.h"
#include "core/yield.h"
#include "sample_data.h"

namespace vx::test {
namespace {

TEST_F(ArchiveTest, AddedItemsGiveTheExpectedNamesAndPassUnzipTest) {
    for (const char* name : {"a.txt", "docs/sub/c.txt", "docs/.hidden", "x/a.txt", "x/café.txt",
                             "w/*", "w/x?.txt", "w/xy.txt"})
        file(QString::fromUtf8(name), name);
    file(u"docs/b.txt"_s, QByteArray(300000, 'b'));
    // Items ("{r}": the scratch folder), full paths, level; the stored names ("{r}": the scratch
    // folder without its leading "/") and the number of reports.
    // clang-format off
    const struct { const char* label; QStringList items; bool keepPaths; int level;
                   QStringList expected; int reports; } cases[] = {
        {"file", {"{r}/a.txt"}, false, 6, {"a.txt"}, 0},
        {"wildcard", {"{r}/docs/*.*"}, false, 0, {".hidden", "b.txt", "sub/c.txt"}, 0},
        // Only "*.*" is a wildcard; other names holding "*" or "?" are one file each.
        {"pattern", {"{r}/docs/*.txt", "{r}/a.txt"}, false, 9, {"a.txt"}, 1},
        {"star", {"{r}/w/*", "{r}/w/x?.txt"}, false, 6, {"*", "x?.txt"}, 0},
        {"starFolder", {"{r}/w/*.*"}, false, 6, {"*", "x?.txt", "xy.txt"}, 0},
        {"folder", {"{r}/docs"}, false, 1, {"docs/.hidden", "docs/b.txt", "docs/sub/c.txt"}, 0},
        {"fullPaths", {"{r}/a.txt", "{r}/docs/sub/*.*"}, true, 6,
         {"{r}/a.txt", "{r}/docs/sub/c.txt"}, 0},
        {"missing", {"{r}/nope.txt", "{r}/a.txt", "{r}/gone/*.*", ""}, false, 6, {"a.txt"}, 2},
        {"theArchiveItself", {"{r}/out/*.*", "{r}/a.txt"}, false, 6, {"a.txt"}, 1},
        {"sameName", {"{r}/a.txt", "{r}/x/a.txt", "{r}/a.txt"}, false, 6,
         {"a.txt", "a (2).txt"}, 1},
        {"utf8", {"{r}/x/café.txt", "{r}/a.txt"}, false, 6, {"café.txt", "a.txt"}, 0}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        file(u"out/test.zip"_s, QByteArray("PK\x05\x06") + QByteArray(18, '\0'));  // empty archive
        m_log.reports.clear();
        QStringList items, expected;
        for (QString i : c.items) items << i.replace(u"{r}"_s, m_dir.path());
        for (QString e : c.expected) expected << e.replace(u"{r}"_s, m_dir.path().mid(1));
        expected.sort();
        add(items, 1, c.keepPaths, false, c.level);
        EXPECT_EQ(zipNames(m_zip), expected);
        EXPECT_EQ(m_log.reports.size(), c.reports) << m_log.reports.join(u'\n').toStdString();
        for (const QString& name : expected)
            EXPECT_EQ(utf8Flagged(m_zip, name), name.contains(u'é'));
    }
    EXPECT_TRUE(m_log.errors.isEmpty()) << m_log.errors.join(u'\n').toStdString();
}

TEST_F(ArchiveTest, ActionsReplaceOnlyWhatTheyAllow) {
    const std::time_t t = 1600000000;  // an even second
    // The action; the entries a (file newer), b (same zip time, new text), c (new) afterwards.
    const std::pair<int, QStringList> cases[] = {
        {1, {"A2", "B2", "C2"}}, {3, {"A2", "B1", "C2"}}, {2, {"A2", "B1", ""}}};
    for (const auto& [action, contents] : cases) {
        QFile::remove(m_zip);
        add({file(u"a"_s, "A1", t), file(u"b"_s, "B1", t)});
        add({file(u"a"_s, "A2", t + 4), file(u"b"_s, "B2", t + 1), file(u"c"_s, "C2", t)}, action);
        EXPECT_EQ(QStringList({unzipped(m_zip, u"a"_s), unzipped(m_zip, u"b"_s),
                               unzipped(m_zip, u"c"_s)}),
                  contents)
            << action;
    }
}

TEST_F(ArchiveTest, AFileWhoseNameIsNotUtf8IsReportedNotDropped) {
    file(u"f/ok.txt"_s, "ok");
    const QByteArray bad = QFile::encodeName(path(u"f/"_s)) + "bad\xff.txt";
    const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    // The temporary folder's own clean-up cannot name this file; it is removed here.
    const auto unlinkBad = qScopeGuard([&] { ::unlink(bad.constData()); });
    add({path(u"f"_s)});
    EXPECT_EQ(zipNames(m_zip), QStringList{u"f/ok.txt"_s});
    ASSERT_EQ(m_log.reports.size(), 1);
    EXPECT_TRUE(m_log.reports[0].contains(u"bad\\xff.txt"_s)) << m_log.reports[0].toStdString();
}

TEST_F(ArchiveTest, NumberedNamesAvoidTheArchivesOwnNames) {
    add({file(u"old/a (2).txt"_s, "kept")});
    add({file(u"a.txt"_s, "one"), file(u"x/a.txt"_s, "two")});
    EXPECT_EQ(zipNames(m_zip), QStringList({u"a (2).txt"_s, u"a (3).txt"_s, u"a.txt"_s}));
    EXPECT_EQ(unzipped(m_zip, u"a (2).txt"_s), u"kept"_s);
}

TEST_F(ArchiveTest, NamesUpToTheLongestTheSystemTakesAreExtracted) {
    std::vector<RawEntry> entries;
    for (const int length : {200, 245, 250, 255})
        entries.push_back({QByteArray(length - 4, 'n') + ".txt", QByteArray::number(length)});
    writeRawZip(path(u"long.zip"_s), entries);
    m_arkovo.setArchiveName(path(u"long.zip"_s));
    EXPECT_EQ(extractAll(u"dest"_s), 4) << m_log.reports.join(u'\n').toStdString();
    EXPECT_EQ(read(u"dest/"_s + QString(251, u'n') + u".txt"_s), "255");
    EXPECT_EQ(QDir(path(u"dest"_s)).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

TEST_F(ArchiveTest, ShortNamesAreUniqueAndReaddingReplaces) {
    const QString one = file(u"Long file name.text"_s, "one");
    file(u"docs/readme.txt"_s, "three");
    add({one, path(u"docs"_s)}, 1, false, true);
    add({file(u"Long file name2.text"_s, "two")}, 1, false, true);
    add({one}, 1, false, true);
    EXPECT_EQ(zipNames(m_zip),
              QStringList({u"DOCS/README.TXT"_s, u"LONGFI~1.TEX"_s, u"LONGFI~2.TEX"_s}));
    EXPECT_EQ(unzipped(m_zip, u"LONGFI~2.TEX"_s), u"two"_s);
}

TEST_F(ArchiveTest, ArchiveMadeByZipListsExtractsAndDeletes) {
    file(u"tree/one.txt"_s, "1");
    file(u"tree/sub/two.txt"_s, QByteArray(100000, '2'));
    file(u"tree/sub/three.bin"_s, "3");
    file(u"top.txt"_s, "old");
    const QString zipped = path(u"made.zip"_s), dir = m_dir.path();
    ASSERT_EQ(runTool(u"zip"_s, {u"-rq"_s, zipped, u"tree"_s, u"top.txt"_s}, dir), QString());
    m_arkovo.setArchiveName(zipped);  // its folder entries list with no name
    EXPECT_EQ(listed(), QStringList({u""_s, u""_s, u"top.txt"_s, u"tree/one.txt"_s,
                                     u"tree/sub/three.bin"_s, u"tree/sub/two.txt"_s}));
    EXPECT_EQ(extractAll(u"dest"_s, true, false), 4);
    EXPECT_EQ(read(u"dest/tree/sub/two.txt"_s), QByteArray(100000, '2'));
    // Replacing an entry drops its old timestamp field, which would restore the old time.
    tryAdd({file(u"top.txt"_s, "new", 1600000000)});
    runTool(u"unzip"_s, {u"-oq"_s, zipped, u"top.txt"_s, u"-d"_s, path(u"again"_s)}, dir);
    EXPECT_EQ(QFileInfo(path(u"again/top.txt"_s)).lastModified().toSecsSinceEpoch(), 1600000000);
    m_arkovo.DeleteFiles({u"*.txt"_s});
    EXPECT_EQ(zipNames(zipped), QStringList({u"tree/"_s, u"tree/sub/"_s, u"tree/sub/three.bin"_s}));
    EXPECT_EQ(runTool(u"unzip"_s, {u"-tqq"_s, zipped}, dir), QString());
    m_arkovo.DeleteFiles({u"*"_s});
    EXPECT_TRUE(QFile::exists(zipped));
    EXPECT_EQ(m_arkovo.EntryCount(), 0);
    EXPECT_EQ(m_log.events.filter(u"DeleteComplete"_s).size(), 2);
    EXPECT_TRUE(m_log.errors.isEmpty()) << m_log.errors.join(u'\n').toStdString();
}

// Encrypted entries of other tools: zip -P (the traditional method) and AES-256 (libzip's).
TEST_F(ArchiveTest, EncryptedEntriesAreExtractedWithThePasswordGiven) {
    file(u"src/a.txt"_s, "alpha");
    file(u"src/b.txt"_s, "beta");
    const QString traditional = path(u"zipcrypto.zip"_s), aes = path(u"aes.zip"_s);
    ASSERT_EQ(runTool(u"zip"_s, {u"-qP"_s, u"secret"_s, traditional, u"a.txt"_s, u"b.txt"_s},
                      path(u"src"_s)),
              QString());
    writeRawZip(aes, {{"a.txt", "alpha"}, {"b.txt", "beta"}}, "secret");
    using Answers = QList<std::optional<QString>>;
    // clang-format off
    const struct { Answers answers; int written, asked; const char* said; } cases[] = {
        {{u"secret"_s}, 2, 1, ""}, {{u"wrong"_s, u"secret"_s}, 2, 2, ""},
        {{std::nullopt}, 0, 1, "no password was given"},
        {Answers(8, u"wrong"_s), 0, -1, "wrong"},  // the count varies: 1 in 256 wrong ones pass
    };                                              // the traditional check and fail the CRC
    // clang-format on
    int run = 0;
    for (const QString& archive : {traditional, aes}) {
        for (const auto& c : cases) {
            Answers answers = c.answers;
            int asked = 0;
            m_arkovo.setPasswordPrompt([&](const QString&, bool) {
                ++asked;
                return answers.isEmpty() ? std::nullopt : answers.takeFirst();
            });
            m_arkovo.setArchiveName(archive);
            m_log.reports.clear();
            const QString dest = u"dest%1"_s.arg(++run);
            EXPECT_EQ(extractAll(dest), c.written) << run;
            if (c.asked >= 0) {
                EXPECT_EQ(asked, c.asked) << run;
            }
            EXPECT_EQ(m_log.reports.size(), 2 - c.written) << run;
            for (const QString& r : m_log.reports)
                EXPECT_TRUE(r.contains(QString::fromUtf8(c.said))) << r.toStdString();
            if (c.written) {
                EXPECT_EQ(read(dest + u"/b.txt"_s), "beta") << run;
            }
        }
    }
    EXPECT_TRUE(m_log.errors.isEmpty()) << m_log.errors.join(u'\n').toStdString();
}

TEST_F(ArchiveTest, NothingIsWrittenOutsideTheDestination) {
    QDir().mkpath(path(u"outside"_s));
    const QString zipped = path(u"hostile.zip"_s);
    writeRawZip(zipped, {{"../evil1.txt", "x"},
                         {"a/../../evil2.txt", "x"},
                         {QFile::encodeName(path(u"outside/abs.txt"_s)), "x"},
                         {"link", QFile::encodeName(path(u"outside"_s)), 0120777},
                         {"sneaky/evil3.txt", "x"},
                         {"good.txt", "fine"}});
    m_arkovo.setArchiveName(zipped);
    for (const bool folders : {false, true}) {
        const QString dest = folders ? u"folders"_s : u"flat"_s;
        QDir().mkpath(path(dest));
        ASSERT_TRUE(QFile::link(path(u"outside"_s), path(dest + u"/sneaky"_s)));
        m_log.reports.clear();
        const int written = extractAll(dest, folders);
        EXPECT_TRUE(QDir(path(u"outside"_s)).isEmpty());
        EXPECT_FALSE(QFile::exists(path(u"evil1.txt"_s)));
        EXPECT_EQ(read(dest + u"/good.txt"_s), "fine");
        // Flat, "sneaky/evil3.txt" is plain evil3.txt in the destination.
        EXPECT_EQ(written, folders ? 1 : 2);
        EXPECT_EQ(m_log.reports.size(), folders ? 5 : 4) << m_log.reports.join(u'\n').toStdString();
    }
    EXPECT_TRUE(m_log.errors.isEmpty());
}

TEST_F(ArchiveTest, SelectingADamagedArchiveGivesAMessageAndLosesNothing) {
    add({file(u"a.txt"_s, QByteArray(5000, 'a')), file(u"b.txt"_s, "b")});
    const QByteArray good = read(u"out/test.zip"_s);
    QByteArray badDirectory = good;  // the directory's offset points elsewhere
    badDirectory[badDirectory.lastIndexOf("PK\x05\x06") + 16] += 7;
    const std::pair<QByteArray, const char*> cases[] = {
        {good.left(good.size() / 2), "truncated"},
        {"just some text\n", "not a zip"},
        {badDirectory, "damaged"}};
    for (const auto& [bad, words] : cases) {
        const QString badPath = file(u"bad.zip"_s, bad);
        m_log.errors.clear();
        m_arkovo.setArchiveName(badPath);
        ASSERT_EQ(m_log.errors.size(), 1);
        EXPECT_TRUE(m_log.errors[0].contains(badPath) &&
                    m_log.errors[0].contains(QString::fromUtf8(words)))
            << m_log.errors[0].toStdString();
        EXPECT_EQ(m_arkovo.ArchiveName(), badPath);
        EXPECT_EQ(m_arkovo.EntryCount(), 0);
        tryAdd({path(u"a.txt"_s)});  // must not overwrite it
        EXPECT_EQ(m_log.errors.size(), 3);
        EXPECT_EQ(read(u"bad.zip"_s), bad);
        m_arkovo.setArchiveName(m_zip);  // and the component goes on working
        EXPECT_EQ(m_arkovo.EntryCount(), 2);
    }
}

TEST_F(ArchiveTest, EventsComeInOrderOnTheCallersThread) {
    const QByteArray text = sample::englishLikeText(3500000);
    add({file(u"big.txt"_s, text), file(u"noise.bin"_s, sample::randomBytes(1500000))});
    const QStringList adds = m_log.events.filter(u"AddProgress"_s);
    ASSERT_FALSE(adds.isEmpty());
    EXPECT_EQ(adds.last(), u"AddProgress 100 noise.bin"_s);
    EXPECT_EQ(m_log.events.mid(m_log.events.size() - 2),
              QStringList({u"AddComplete"_s, u"ArchiveChanged"_s}));
    for (qsizetype i = 1; i < adds.size(); ++i)
        EXPECT_GE(adds[i].section(u' ', 1, 1).toInt(), adds[i - 1].section(u' ', 1, 1).toInt());
    m_log.events.clear();
    EXPECT_EQ(extractAll(u"dest"_s), 2);
    EXPECT_EQ(read(u"dest/big.txt"_s), text);
    EXPECT_EQ(m_log.events.last(), u"ExtractComplete"_s);
    EXPECT_TRUE(m_log.events.contains(u"ExtractProgress 100 noise.bin"_s));
    EXPECT_FALSE(m_log.offThread);
}

TEST_F(ArchiveTest, FileVanishingWhileWrittenLeavesTheArchiveAsItWas) {
    add({file(u"first.txt"_s, "kept")});
    const QByteArray before = read(u"out/test.zip"_s);
    const QString big = file(u"big.bin"_s, sample::randomBytes(20 << 20));
    bool removed = false, busyRefused = false;
    m_log.events.clear();
    setYieldHook([&] {
        if (removed || m_log.events.filter(u"AddProgress"_s).isEmpty()) return;  // not writing yet
        removed = QFile::remove(big);
        m_arkovo.DeleteFiles({u"*"_s});  // a second call while the first yields
        busyRefused = !m_log.errors.isEmpty();
    });
    tryAdd({path(u"x.txt"_s), big}, 1);
    setYieldHook({});
    ASSERT_TRUE(removed);
    EXPECT_TRUE(busyRefused);
    ASSERT_EQ(m_log.errors.size(), 2) << m_log.errors.join(u'\n').toStdString();
    EXPECT_TRUE(m_log.errors[1].contains(big)) << m_log.errors[1].toStdString();
    EXPECT_EQ(read(u"out/test.zip"_s), before);
    EXPECT_EQ(QDir(path(u"out"_s)).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A big archive is listed while the windows go on: a call meanwhile is refused, and the list
// then holds every entry.
TEST_F(ArchiveTest, ABigArchiveIsListedWhileEventsRunAndCallsMeanwhileAreRefused) {
    const QString zip = path(u"many.zip"_s);
    ASSERT_EQ(runTool(u"/usr/bin/python3"_s,
                      {QStringLiteral(VEXARO_SOURCE_DIR "/bench/archive/make_many.py"), zip,
                       u"50000"_s},
                      m_dir.path()),
              QString());
    int yields = 0;
    setYieldHook([&] {
        if (yields++ == 0) m_arkovo.DeleteFiles({u"*"_s});
    });
    m_arkovo.setArchiveName(zip);
    setYieldHook({});
    EXPECT_GT(yields, 0);
    ASSERT_EQ(m_log.errors.size(), 1);
    EXPECT_TRUE(m_log.errors[0].contains(u"busy"_s)) << m_log.errors[0].toStdString();
    EXPECT_EQ(m_arkovo.EntryCount(), 50000);
    EXPECT_EQ(m_arkovo.entryFileName(50000), u"dir0049/file0049999.txt"_s);
}

// Writes beyond a file-size limit fail as on a full disk: the archive stays as it was, and no
// temporary or partial file is left behind.
TEST_F(ArchiveTest, FailedWritesLeaveNothingHalfDone) {
    add({file(u"small.txt"_s, "kept"), file(u"src/big.bin"_s, sample::randomBytes(3 << 20))}, 1,
        false, false, 0);
    const QByteArray before = read(u"out/test.zip"_s);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    const rlimit limit{1 << 20, old.rlim_max};
    for (const bool extracting : {true, false}) {
        m_log.errors.clear();
        m_log.reports.clear();
        setrlimit(RLIMIT_FSIZE, &limit);
        if (extracting)
            extractAll(u"dest"_s, false);
        else
            tryAdd({path(u"src/big.bin"_s), file(u"new.txt"_s, "x")}, 0);
        setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_EQ(read(u"out/test.zip"_s), before);
        EXPECT_EQ(QDir(path(u"out"_s)).entryList(QDir::Files | QDir::Hidden).size(), 1);
        // What the extraction wrote; the add writes nothing there.
        EXPECT_EQ(QDir(path(u"dest"_s)).entryList(QDir::Files | QDir::Hidden),
                  QStringList({u"small.txt"_s}));
        const QStringList& told = extracting ? m_log.reports : m_log.errors;
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(told[0].contains(extracting ? u"big.bin"_s : m_zip)) << told[0].toStdString();
    }
    std::signal(SIGXFSZ, SIG_DFL);
}

// Archives written byte by byte by hostile_zips.py: what listing and extracting each gives.
// Nothing may be written that the case does not name.
TEST_F(ArchiveTest, HostileArchivesAreListedAndExtractedOrRefusedWithTheirReason) {
    const QString dir = path(u"hostile"_s);
    ASSERT_EQ(runTool(u"/usr/bin/python3"_s,
                      {QStringLiteral(VEXARO_SOURCE_DIR "/tests/archive/hostile_zips.py"), dir},
                      m_dir.path()),
              QString());
    // The archive; the entries listed with a name, and their file names, sorted, when given; the
    // files in the destination afterwards, sorted, folders included; words of the one
    // ArchiveError of the extraction ("": none); words each report holds, in order.
    // clang-format off
    const struct { const char* file; int rows; QStringList listed, written; const char* error;
                   QStringList reports; } cases[] = {
        {"overlap.zip", 200, {}, {}, "overlap", {}},
        {"huge.zip", 2, {"a.bin", "b.bin"}, {}, "free", {}},
        {"longer.zip", 2, {"liar.txt", "ok.txt"}, {"ok.txt"}, "", {"longer than"}},
        {"names.zip", 4, {"bad_.txt", "esc_[31m.txt", "invoice_txt.exe", "ok.txt"},
         {"bad_.txt", "esc_[31m.txt", "invoice_txt.exe", "ok.txt"}, "",
         {"bad\\xff.txt", "esc\\x1b[31m.txt", "invoice\\xe2\\x80\\xaetxt.exe"}},
        {"method.zip", 2, {"ok.txt", "ppmd.txt"}, {"ok.txt"}, "", {"98 (PPMd)"}},
        {"sfx.zip", 1, {"inside.txt"}, {"inside.txt"}, "", {}},
        {"dots.zip", 1, {"ok.txt"}, {"ok.txt"}, "",
         {"no file name", "no file name", "no file name"}},
        {"deep.zip", 2, {"ok.txt", "x.txt"}, {"ok.txt"}, "", {"x.txt"}},
        {"zip64max.zip", 1, {"max.bin"}, {}, "free", {}}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString zip = dir + u'/' + QString::fromUtf8(c.file);
        m_log.errors.clear();
        m_arkovo.setArchiveName(zip);
        QStringList names;
        for (const QString& n : listed())
            if (!n.isEmpty()) names << Arkovo::GetFileName(n);
        names.sort();
        EXPECT_EQ(names.size(), c.rows);
        if (!c.listed.isEmpty()) {
            EXPECT_EQ(names, c.listed);
        }
        EXPECT_TRUE(m_log.errors.isEmpty()) << m_log.errors.join(u'\n').toStdString();
        m_log.reports.clear();
        extractAll(u"dest/"_s + QString::fromUtf8(c.file), true, false);
        const QString dest = path(u"dest/"_s + QString::fromUtf8(c.file));
        QStringList written;
        QDirIterator it(dest, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) written << it.next().mid(dest.size() + 1);
        written.sort();
        EXPECT_EQ(written, c.written);
        const QString words = QString::fromUtf8(c.error);
        ASSERT_EQ(m_log.errors.size(), words.isEmpty() ? 0 : 1)
            << m_log.errors.join(u'\n').toStdString();
        if (!words.isEmpty()) {
            EXPECT_TRUE(m_log.errors[0].contains(zip) && m_log.errors[0].contains(words))
                << m_log.errors[0].toStdString();
        }
        ASSERT_EQ(m_log.reports.size(), c.reports.size())
            << m_log.reports.join(u'\n').toStdString();
        for (qsizetype i = 0; i < c.reports.size(); ++i)
            EXPECT_TRUE(m_log.reports[i].contains(c.reports[i])) << m_log.reports[i].toStdString();
    }
}

}  // namespace
}  // namespace vx::test
