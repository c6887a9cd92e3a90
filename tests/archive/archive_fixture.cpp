// Shared helpers of the zip component's tests.
#include "archive_fixture.h"

#include <utime.h>
#include <zip.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace vx::test {

ToolRun runTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput())};
}

QString unzipped(const QString& archive, const QString& entry) {
    return runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, entry}).out;
}

void writeRawZip(const QString& path, const std::vector<RawEntry>& entries) {
    int error = 0;
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(za, nullptr);
    for (const RawEntry& e : entries) {
        zip_source_t* src = zip_source_buffer(za, e.data.constData(), e.data.size(), 0);
        const zip_int64_t i = zip_file_add(za, e.name.constData(), src, ZIP_FL_ENC_RAW);
        ASSERT_GE(i, 0) << e.name.constData();
        if (e.mode) zip_file_set_external_attributes(za, i, 0, ZIP_OPSYS_UNIX, e.mode << 16);
    }
    ASSERT_EQ(zip_close(za), 0);
}

QHash<QString, unsigned> centralFlags(const QString& archive) {
    QFile f(archive);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    auto u16 = [&](qsizetype at) {
        return unsigned(uchar(b[at])) | unsigned(uchar(b[at + 1])) << 8;
    };
    QHash<QString, unsigned> flags;
    for (qsizetype at = b.indexOf("PK\x01\x02"); at >= 0 && at + 46 <= b.size();
         at = b.indexOf("PK\x01\x02", at + 46)) {
        const QByteArray name = b.mid(at + 46, u16(at + 28));
        flags.insert(QString::fromUtf8(name), u16(at + 8));
    }
    return flags;
}

EventLog::EventLog(Arkovo& a) {
    auto note = [this](const QString& text) {
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) offThread = true;
        events << text;
    };
    auto plain = [note](const char* kind) { return [=] { note(QLatin1String(kind)); }; };
    auto progress = [note](const char* kind) {
        return [=](int p, const QString& n) {
            note(QStringLiteral("%1 %2 %3").arg(kind).arg(p).arg(n));
        };
    };
    auto message = [note](const char* kind, QStringList* into) {
        return [=](const QString& m) { note(QLatin1String(kind)), *into << m; };
    };
    QObject::connect(&a, &Arkovo::ArchiveChanged, plain("ArchiveChanged"));
    QObject::connect(&a, &Arkovo::AddProgress, progress("AddProgress"));
    QObject::connect(&a, &Arkovo::AddComplete, plain("AddComplete"));
    QObject::connect(&a, &Arkovo::ExtractProgress, progress("ExtractProgress"));
    QObject::connect(&a, &Arkovo::ExtractComplete, plain("ExtractComplete"));
    QObject::connect(&a, &Arkovo::DeleteProgress, progress("DeleteProgress"));
    QObject::connect(&a, &Arkovo::DeleteComplete, plain("DeleteComplete"));
    QObject::connect(&a, &Arkovo::ArchiveError, message("ArchiveError", &errors));
    QObject::connect(&a, &Arkovo::EntryReport, message("EntryReport", &reports));
}

int EventLog::count(const QString& prefix) const {
    int n = 0;
    for (const QString& e : events) n += e.startsWith(prefix) ? 1 : 0;
    return n;
}

QString ArchiveTest::file(const QString& relative, const QByteArray& data, std::time_t mtime) {
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).path());
    QFile f(p);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    f.close();
    if (mtime) {
        const utimbuf times{mtime, mtime};
        utime(QFile::encodeName(p).constData(), &times);
    }
    return p;
}

QByteArray ArchiveTest::read(const QString& relative) const {
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList ArchiveTest::zipinfoNames(const QString& archive) const {
    const ToolRun r = runTool(QStringLiteral("zipinfo"), {QStringLiteral("-1"), archive});
    QStringList names = r.out.split(u'\n', Qt::SkipEmptyParts);
    names.sort();
    return names;
}

void ArchiveTest::add(const QStringList& names, int action, bool keepPaths, bool dos83, int level) {
    QDir().mkpath(QFileInfo(m_zip).path());
    m_arkovo.setArchiveName(m_zip);
    m_arkovo.AddFiles(names, action, keepPaths, false, dos83, level);
    const ToolRun t = runTool(QStringLiteral("unzip"), {QStringLiteral("-tqq"), m_zip});
    EXPECT_EQ(t.code, 0) << "unzip -t rejects the archive: " << t.out.toStdString();
}

QStringList ArchiveTest::listed() const {
    QStringList names;
    for (qint64 i = 1; i <= m_arkovo.EntryCount(); ++i) names << m_arkovo.GetEntry(i).FileName;
    return names;
}

}  // namespace vx::test
