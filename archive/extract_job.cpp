// Writing archive entries out as files.
#include "archive/extract_job.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "archive/entry_text.h"
#include "archive/name_pattern.h"
#include "archive/safe_paths.h"
#include "archive/zip_handles.h"

namespace vx {
namespace {

struct Selected {
    zip_uint64_t index;
    QString name;
    std::int64_t size;
    std::time_t mtime;
};

QString systemText(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

bool diskFull(int code) { return code == ENOSPC || code == EDQUOT || code == EROFS; }

mode_t currentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

class ExtractJob {
public:
    ExtractJob(const QString& destination, const ExtractOptions& options,
               const ExtractEvents& events)
        : m_destination(destination), m_options(options), m_events(events) {}

    Result<int> run(zip_t* za, const QStringList& names);

private:
    struct Failure {
        QString why;   // "" when all went well
        int code = 0;  // errno of a failed write
    };
    static Failure writeFailure(const QString& path) {
        const int code = errno;
        return {QStringLiteral("%1 cannot be written (%2)").arg(path, systemText(code)), code};
    }
    // Writes one entry; false only when the whole job must stop (m_fatal set).
    bool extract(zip_t* za, const Selected& entry);
    bool writeFile(zip_t* za, const Selected& entry, const QString& path);
    Failure copyData(zip_t* za, const Selected& entry, int fd, const QString& path);
    void setAttributes(zip_t* za, const Selected& entry, int fd) const;
    void report(const QString& text) {
        if (m_events.report) m_events.report(text);
    }
    void progress(const QString& name) {
        const int percent = m_total > 0 ? static_cast<int>(m_done * 100 / m_total) : 100;
        if (percent == m_percent && name == m_shownName) return;
        m_percent = percent;
        m_shownName = name;
        if (m_events.progress) m_events.progress(percent, name);
    }
    void idle() {
        if (m_events.idle) m_events.idle();
    }

    QString m_destination;
    ExtractOptions m_options;
    const ExtractEvents& m_events;
    QSet<QString> m_written;  // targets written by this call
    std::int64_t m_total = 0;
    std::int64_t m_done = 0;
    int m_percent = -1;
    QString m_shownName;
    int m_count = 0;
    QString m_fatal;
    mode_t m_umask = currentUmask();
    std::vector<char> m_buffer = std::vector<char>(256 * 1024);
};

Result<int> ExtractJob::run(zip_t* za, const QStringList& names) {
    std::vector<Selected> selected;
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(za, static_cast<zip_uint64_t>(i), 0, &st) != 0 || !st.name) continue;
        const QString name = QString::fromUtf8(st.name);
        if (!selectsEntry(names, name)) continue;
        const auto size = static_cast<std::int64_t>(st.size);
        selected.push_back({static_cast<zip_uint64_t>(i), name, size,
                            (st.valid & ZIP_STAT_MTIME) ? st.mtime : std::time(nullptr)});
        m_total += size;
    }
    for (const Selected& entry : selected) {
        progress(entry.name);
        if (!extract(za, entry)) return Status::error(m_fatal);
        idle();
    }
    return m_count;
}

bool ExtractJob::extract(zip_t* za, const Selected& entry) {
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(za, entry.index, 0, &opsys, &attributes) == 0 &&
        opsys == ZIP_OPSYS_UNIX && S_ISLNK(attributes >> 16)) {
        report(QStringLiteral("%1 was not extracted: it is a symbolic link").arg(entry.name));
        return true;
    }
    const Result<QString> target = extractionPath(entry.name, m_options.useFolderNames);
    if (!target) {
        report(QStringLiteral("%1 was not extracted: %2").arg(entry.name, target.message()));
        return true;
    }
    if (target.value().isEmpty()) return true;  // a folder entry, and folders are not made
    const bool folder = target.value().endsWith(u'/');
    const qsizetype slash = target.value().lastIndexOf(u'/', folder ? -2 : -1);
    const Status made =
        makeFolders(m_destination,
                    folder ? target.value() : target.value().left(std::max<qsizetype>(0, slash)));
    if (!made) {
        report(QStringLiteral("%1 was not extracted: %2").arg(entry.name, made.message()));
        return true;
    }
    if (folder) return true;

    const QString path = m_destination + u'/' + target.value();
    struct stat st;
    if (lstat(QFile::encodeName(path).constData(), &st) == 0) {
        const QString kept = QStringLiteral("%1 was not extracted: %2").arg(entry.name);
        if (S_ISDIR(st.st_mode)) {
            report(kept.arg(QStringLiteral("%1 is a folder").arg(path)));
            return true;
        }
        if (!m_options.overwrite) {
            report(kept.arg(QStringLiteral("%1 exists and is kept").arg(path)));
            return true;
        }
        if (m_options.skipOlder && zipClock(entry.mtime) < zipClock(st.st_mtime)) {
            report(kept.arg(QStringLiteral("the existing %1 is newer").arg(path)));
            return true;
        }
        if (m_written.contains(path))
            report(QStringLiteral("%1 replaced %2, extracted from another entry of the same name")
                       .arg(entry.name, path));
    }
    return writeFile(za, entry, path);
}

ExtractJob::Failure ExtractJob::copyData(zip_t* za, const Selected& entry, int fd,
                                         const QString& path) {
    ZipFile file(zip_fopen_index(za, entry.index, 0));
    if (!file) return {zipErrorText(zip_get_error(za)), 0};
    for (;;) {
        const zip_int64_t n = zip_fread(file.get(), m_buffer.data(), m_buffer.size());
        if (n < 0) return {zipErrorText(zip_file_get_error(file.get())), 0};
        if (n == 0) return {};
        for (zip_int64_t off = 0; off < n;) {
            const ssize_t w = ::write(fd, m_buffer.data() + off, static_cast<size_t>(n - off));
            if (w < 0 && errno != EINTR) return writeFailure(path);
            off += std::max<ssize_t>(w, 0);
        }
        m_done += n;
        progress(entry.name);
        idle();
    }
}

void ExtractJob::setAttributes(zip_t* za, const Selected& entry, int fd) const {
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    mode_t mode = 0666 & ~m_umask;
    if (zip_file_get_external_attributes(za, entry.index, 0, &opsys, &attributes) == 0 &&
        opsys == ZIP_OPSYS_UNIX && (attributes >> 16) != 0)
        mode = ((attributes >> 16) & 0777) | 0600;
    fchmod(fd, mode);
    const struct timespec times[2] = {{0, UTIME_OMIT}, {entry.mtime, 0}};
    futimens(fd, times);
}

bool ExtractJob::writeFile(zip_t* za, const Selected& entry, const QString& path) {
    // A hidden temporary beside the final name: the rename at the end is atomic, and a failure
    // leaves neither a half file nor a damaged older one.
    const qsizetype slash = path.lastIndexOf(u'/');
    QByteArray temp =
        QFile::encodeName(path.left(slash + 1) + u'.' + path.mid(slash + 1)) + ".vx-XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    Failure failure = fd < 0 ? writeFailure(path) : copyData(za, entry, fd, path);
    if (fd >= 0) {
        if (failure.why.isEmpty()) setAttributes(za, entry, fd);
        if (::close(fd) != 0 && failure.why.isEmpty()) failure = writeFailure(path);
        if (failure.why.isEmpty() &&
            rename(temp.constData(), QFile::encodeName(path).constData()) != 0)
            failure = writeFailure(path);
        if (!failure.why.isEmpty()) unlink(temp.constData());
    }
    if (diskFull(failure.code)) {
        m_fatal = QStringLiteral("Extraction stopped at %1: %2.").arg(entry.name, failure.why);
        return false;
    }
    if (!failure.why.isEmpty()) {
        report(QStringLiteral("%1 was not extracted: %2").arg(entry.name, failure.why));
        return true;
    }
    m_written.insert(path);
    ++m_count;
    return true;
}

}  // namespace

Result<int> extractFromArchive(const QString& archivePath, const QStringList& names,
                               const QString& destination, const ExtractOptions& options,
                               const ExtractEvents& events) {
    if (destination.isEmpty())
        return Status::error(QStringLiteral("No destination folder was given."));
    const QString folder = QDir::cleanPath(QDir::current().absoluteFilePath(destination));
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return Status::error(
            QStringLiteral("Cannot extract to %1: it is not a folder.").arg(folder));
    if (!info.exists() && !QDir().mkpath(folder))
        return Status::error(
            QStringLiteral("Cannot extract to %1: the folder cannot be made.").arg(folder));
    if (!QFile::exists(archivePath))
        return Status::error(QStringLiteral("Cannot open the archive %1: the file does not exist.")
                                 .arg(archivePath));
    QString message;
    ZipArchive za = openArchive(archivePath, ZIP_RDONLY, message);
    if (!za) return Status::error(message);
    ExtractJob job(folder, options, events);
    return job.run(za.get(), names);
}

}  // namespace vx
