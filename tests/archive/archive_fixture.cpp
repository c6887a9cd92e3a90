// Shared helpers of the zip component's tests.
#include "archive_fixture.h"

#include <utime.h>
#include <zip.h>

#include <QCoreApplication>
#include <QThread>

namespace vx::test {

QString unzipped(const QString& archive, const QString& entry) {
    const QString out = runTool(u"unzip"_s, {u"-p"_s, archive, entry}, QDir::tempPath());
    return out.startsWith(u"exit "_s) ? QString() : out;
}

void writeRawZip(const QString& path, const std::vector<RawEntry>& entries, const char* password) {
    int error = 0;
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(za, nullptr);
    for (const RawEntry& e : entries) {
        zip_source_t* src = zip_source_buffer(za, e.data.constData(), e.data.size(), 0);
        const zip_int64_t i = zip_file_add(za, e.name.constData(), src, ZIP_FL_ENC_RAW);
        ASSERT_GE(i, 0) << e.name.constData();
        if (e.mode) zip_file_set_external_attributes(za, i, 0, ZIP_OPSYS_UNIX, e.mode << 16);
        if (password) {
            ASSERT_EQ(zip_file_set_encryption(za, i, ZIP_EM_AES_256, password), 0);
        }
    }
    ASSERT_EQ(zip_close(za), 0);
}

bool utf8Flagged(const QString& archive, const QString& name) {
    const QByteArray b = readFile(archive), wanted = name.toUtf8();
    const auto u16 = [&](qsizetype at) { return uchar(b[at]) | uchar(b[at + 1]) << 8; };
    for (qsizetype at = b.indexOf("PK\x01\x02"); at >= 0 && at + 46 <= b.size();
         at = b.indexOf("PK\x01\x02", at + 46))
        if (b.mid(at + 46, u16(at + 28)) == wanted) return u16(at + 8) & 0x800;
    ADD_FAILURE() << "no central directory record for " << name.toStdString();
    return false;
}

EventLog::EventLog(Arkovo& a) {
    const auto note = [this](const QString& text) {
        offThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        events << text;
    };
    const auto plain = [note](const char* kind) { return [=] { note(QLatin1String(kind)); }; };
    const auto progress = [note](const char* kind) {
        return [=](int p, const QString& n) { note(u"%1 %2 %3"_s.arg(kind).arg(p).arg(n)); };
    };
    QObject::connect(&a, &Arkovo::ArchiveChanged, plain("ArchiveChanged"));
    QObject::connect(&a, &Arkovo::AddProgress, progress("AddProgress"));
    QObject::connect(&a, &Arkovo::AddComplete, plain("AddComplete"));
    QObject::connect(&a, &Arkovo::ExtractProgress, progress("ExtractProgress"));
    QObject::connect(&a, &Arkovo::ExtractComplete, plain("ExtractComplete"));
    QObject::connect(&a, &Arkovo::DeleteProgress, progress("DeleteProgress"));
    QObject::connect(&a, &Arkovo::DeleteComplete, plain("DeleteComplete"));
    QObject::connect(&a, &Arkovo::ArchiveError, [this](const QString& m) { errors << m; });
    QObject::connect(&a, &Arkovo::EntryReport, [this](const QString& m) { reports << m; });
}

QString ArchiveTest::file(const QString& relative, const QByteArray& data, std::time_t mtime) {
    writeFiles(m_dir.path(), {{relative, data}});
    const utimbuf times{mtime, mtime};
    if (mtime) utime(QFile::encodeName(path(relative)).constData(), &times);
    return path(relative);
}

void ArchiveTest::add(const QStringList& names, int action, bool keepPaths, bool dos83, int level) {
    QDir().mkpath(QFileInfo(m_zip).path());
    m_arkovo.setArchiveName(m_zip);
    m_arkovo.AddFiles(names, action, keepPaths, false, dos83, level);
    EXPECT_EQ(runTool(u"unzip"_s, {u"-tqq"_s, m_zip}, m_dir.path()), QString())
        << "unzip -t rejects the archive";
}

void ArchiveTest::tryAdd(const QStringList& names, int level) {
    bool no = false;
    m_arkovo.AddFiles(names, 1, no, false, no, level);
}

int ArchiveTest::extractAll(const QString& to, bool folders, bool overwrite) {
    QString destination = path(to);
    return m_arkovo.ExtractFiles({u"*"_s}, 0, folders, overwrite, destination);
}

QStringList ArchiveTest::listed() const {
    QStringList names;
    for (qint64 i = 1; i <= m_arkovo.EntryCount(); ++i) names << m_arkovo.GetEntry(i).FileName;
    names.sort();
    return names;
}

}  // namespace vx::test
