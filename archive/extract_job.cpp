// Writing archive entries out as files.
#include "archive/extract_job.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "archive/entry_names.h"
#include "archive/entry_text.h"
#include "archive/name_pattern.h"
#include "archive/safe_paths.h"
#include "archive/zip_directory.h"
#include "archive/zip_handles.h"
#include "core/saturating.h"

namespace vx {
namespace {

struct Selected {
    zip_uint64_t index;
    QString name;
    std::uint64_t size;
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

    Result<int> run(zip_t* za, const EntryChoice& choice, const QString& archivePath,
                    const ReadNotes& notes);

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
    Failure openEntry(zip_t* za, const Selected& entry, ZipFile& file);
    void setAttributes(zip_t* za, const Selected& entry, int fd) const;
    void report(const QString& text) {
        if (m_events.report) m_events.report(text);
    }
    void progress(const QString& name) {
        const int percent =
            m_total > 0 ? static_cast<int>(std::min(100.0, 100.0 * static_cast<double>(m_done) /
                                                               static_cast<double>(m_total)))
                        : 100;
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
    std::uint64_t m_total = 0;
    std::uint64_t m_done = 0;
    std::optional<QString> m_password;
    bool m_noMorePasswords = false;
    int m_percent = -1;
    QString m_shownName;
    int m_count = 0;
    QString m_fatal;
    mode_t m_umask = currentUmask();
    std::vector<char> m_buffer = std::vector<char>(256 * 1024);
};

Result<int> ExtractJob::run(zip_t* za, const EntryChoice& choice, const QString& archivePath,
                            const ReadNotes& notes) {
    const zip_int64_t count = zip_get_num_entries(za, 0);
    const auto nameOf = [&](zip_uint64_t i) {
        return entryName(za, i, notes.unflagged.count(i) != 0, nullptr);
    };
    // Entries sharing their data are how a few KB unpack to the whole disk: refused before
    // anything is written, as other tools refuse them.
    const Result<ZipDirectory> dir = readZipDirectory(archivePath);
    if (dir && static_cast<zip_int64_t>(dir.value().records.size()) == count) {
        const auto [a, b] = findOverlap(dir.value());
        if (a >= 0)
            return Status::error(
                QStringLiteral("Cannot extract from the archive %1: the data of its entry %2 "
                               "overlaps %3, as in a zip bomb; nothing was extracted.")
                    .arg(archivePath, nameOf(static_cast<zip_uint64_t>(a)),
                         b >= 0 ? nameOf(static_cast<zip_uint64_t>(b))
                                : QStringLiteral("its central directory")));
    }
    std::vector<Selected> selected;
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        if (zip_stat_index(za, index, 0, &st) != 0) continue;
        bool renamed = false;
        const QString name = entryName(za, index, notes.unflagged.count(index) != 0, &renamed);
        if (!choice.selects(index, name)) continue;
        if (renamed)
            report(renamedReport(archivePath, zip_get_name(za, index, ZIP_FL_ENC_RAW), name));
        selected.push_back(
            {index, name, st.size, (st.valid & ZIP_STAT_MTIME) ? st.mtime : std::time(nullptr)});
        m_total = saturatingAdd(m_total, st.size);
    }
    const QStorageInfo storage(m_destination);
    if (storage.isValid() && m_total > static_cast<std::uint64_t>(storage.bytesAvailable()))
        return Status::error(
            QStringLiteral("Cannot extract from the archive %1: the entries chosen unpack to %2, "
                           "and %3 has only %4 free; nothing was extracted.")
                .arg(archivePath,
                     FormatByteCount(
                         static_cast<std::int64_t>(std::min<std::uint64_t>(m_total, INT64_MAX))),
                     m_destination, FormatByteCount(storage.bytesAvailable())));
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
    if (target.value().isEmpty()) {
        // A folder entry, and folders are not made; but ".", "" or "./" with data is reported.
        const Result<QString> whole = extractionPath(entry.name, true);
        if ((whole && !whole.value().isEmpty()) || (entry.name.endsWith(u'/') && entry.size == 0))
            return true;
        report(QStringLiteral("The entry \"%1\" was not extracted: its name holds no file name "
                              "(%2 bytes of data)")
                   .arg(entry.name)
                   .arg(entry.size));
        return true;
    }
    const bool folder = target.value().endsWith(u'/');
    const qsizetype slash = target.value().lastIndexOf(u'/', folder ? -2 : -1);
    QStringList created;
    const Status made = makeFolders(
        m_destination, folder ? target.value() : target.value().left(std::max<qsizetype>(0, slash)),
        &created);
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
    const int before = m_count;
    const bool goOn = writeFile(za, entry, path);
    if (m_count == before) removeFolders(created);  // a refused file leaves no folders behind
    return goOn;
}

ExtractJob::Failure ExtractJob::openEntry(zip_t* za, const Selected& entry, ZipFile& file) {
    file.reset(zip_fopen_index(za, entry.index, 0));
    bool tried = false;  // the password of this call was tried on this entry
    int asked = 0;
    while (!file) {
        const int code = zip_error_code_zip(zip_get_error(za));
        if (code == ZIP_ER_COMPNOTSUPP) {
            zip_stat_t st;
            const int method = zip_stat_index(za, entry.index, 0, &st) == 0 ? st.comp_method : -1;
            const QString name = methodName(method);
            return {QStringLiteral("it is packed with method %1%2, which this program cannot "
                                   "unpack")
                        .arg(method)
                        .arg(name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(name)),
                    0};
        }
        if (code == ZIP_ER_ENCRNOTSUPP)
            return {QStringLiteral("it is encrypted by a method this program does not know"), 0};
        if (code != ZIP_ER_NOPASSWD && code != ZIP_ER_WRONGPASSWD)
            return {zipErrorText(zip_get_error(za)), 0};
        // Encrypted: the password of this call first, then ask (twice at most per entry).
        if (m_password && !tried) {
            tried = true;
        } else if (asked == 2 || m_noMorePasswords || !m_events.password) {
            return {code == ZIP_ER_WRONGPASSWD
                        ? QStringLiteral("the password is wrong")
                        : QStringLiteral("it is encrypted and no password was given"),
                    0};
        } else {
            m_password = m_events.password(entry.name, tried);
            tried = true;
            ++asked;
            if (!m_password) {
                m_noMorePasswords = true;
                return {QStringLiteral("it is encrypted and no password was given"), 0};
            }
        }
        const QByteArray pw = m_password->toUtf8();
        file.reset(zip_fopen_index_encrypted(za, entry.index, 0, pw.constData()));
    }
    return {};
}

ExtractJob::Failure ExtractJob::copyData(zip_t* za, const Selected& entry, int fd,
                                         const QString& path) {
    ZipFile file;
    Failure opened = openEntry(za, entry, file);
    if (!opened.why.isEmpty()) return opened;
    std::uint64_t copied = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(file.get(), m_buffer.data(), m_buffer.size());
        if (n < 0) {
            const int code = zip_error_code_zip(zip_file_get_error(file.get()));
            if (m_password &&
                (code == ZIP_ER_CRC || code == ZIP_ER_ZLIB || code == ZIP_ER_COMPRESSED_DATA))
                return {QStringLiteral("the password is wrong, or the data is damaged"), 0};
            return {zipErrorText(zip_file_get_error(file.get())), 0};
        }
        if (n == 0) return {};
        if (copied + static_cast<std::uint64_t>(n) > entry.size)
            return {QStringLiteral("its data is longer than its declared size of %1 bytes")
                        .arg(entry.size),
                    0};
        copied += static_cast<std::uint64_t>(n);
        for (zip_int64_t off = 0; off < n;) {
            const ssize_t w = ::write(fd, m_buffer.data() + off, static_cast<size_t>(n - off));
            if (w < 0 && errno != EINTR) return writeFailure(path);
            off += std::max<ssize_t>(w, 0);
        }
        m_done += static_cast<std::uint64_t>(n);
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
    // leaves neither a half file nor a damaged older one. Its name is short whatever the final
    // name's length, so names up to the system's longest still fit.
    const qsizetype slash = path.lastIndexOf(u'/');
    QByteArray temp = QFile::encodeName(path.left(slash + 1)) + ".vx-XXXXXX";
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
    if (m_events.written) m_events.written(path);
    return true;
}

}  // namespace

Result<int> extractFromArchive(const QString& archivePath, const EntryChoice& choice,
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
    ReadNotes notes;
    ZipArchive za = openForReading(archivePath, message, &notes);
    if (!za) return Status::error(message);
    ExtractJob job(folder, options, events);
    return job.run(za.get(), choice, archivePath, notes);
}

}  // namespace vx
