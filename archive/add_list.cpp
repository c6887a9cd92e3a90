// Expanding AddFiles lists into files and stored names.
#include "archive/add_list.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <cerrno>
#include <cstring>

#include "archive/entry_names.h"

namespace vx {
namespace {

// Only "*.*" as the last part makes an item a folder wildcard; "*" and "?" anywhere else are
// characters of one file's name.
bool isFolderWildcard(const QString& part) { return part == QLatin1String("*.*"); }

QString childPath(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

class Expander {
public:
    Expander(bool keepPaths, const QString& archivePath, const std::function<void()>& idle)
        : m_keepPaths(keepPaths), m_idle(idle) {
        struct stat st;
        if (!archivePath.isEmpty() &&
            ::stat(QFile::encodeName(archivePath).constData(), &st) == 0) {
            m_archiveDevice = st.st_dev;
            m_archiveInode = st.st_ino;
            m_haveArchive = true;
        }
    }

    void addItem(const QString& item) {
        if (item.isEmpty()) return;
        const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(item));
        const qsizetype slash = absolute.lastIndexOf(u'/');
        const QString last = absolute.mid(slash + 1);
        if (isFolderWildcard(last)) {
            const QString folder = slash == 0 ? QStringLiteral("/") : absolute.left(slash);
            if (!QFileInfo(folder).isDir()) {
                report(QStringLiteral("%1 was not added: the folder %2 does not exist")
                           .arg(item, folder));
                return;
            }
            walk(folder, folder);
            return;
        }
        struct stat st;
        if (::stat(QFile::encodeName(absolute).constData(), &st) != 0) {
            report(QStringLiteral("%1 was not added: %2").arg(item, systemText()));
            return;
        }
        if (S_ISDIR(st.st_mode)) {
            const QString parent = slash == 0 ? QStringLiteral("/") : absolute.left(slash);
            walk(absolute, parent);
        } else {
            takeFile(absolute, absolute.mid(slash + 1), st);
        }
    }

    AddList result;

private:
    static QString systemText() { return QString::fromLocal8Bit(std::strerror(errno)); }
    void report(const QString& text) { result.reports << text; }

    // Adds the files under folder, named relative to base.
    // The names in folder, sorted. Read byte by byte: a name whose bytes are not UTF-8 has no
    // text of its own to be stored under, so it is reported here instead of vanishing.
    QStringList listFolder(const QString& folder) {
        QStringList names;
        DIR* dir = opendir(QFile::encodeName(folder).constData());
        if (!dir) {
            report(QStringLiteral("%1 was not added: %2").arg(folder, systemText()));
            return names;
        }
        while (const dirent* d = readdir(dir)) {
            const QByteArray raw(d->d_name);
            if (raw == "." || raw == "..") continue;
            const QString name = QFile::decodeName(raw);
            if (QFile::encodeName(name) == raw)
                names << name;
            else
                report(QStringLiteral("%1/%2 was not added: its name is not valid UTF-8")
                           .arg(folder, escapedName(raw)));
        }
        closedir(dir);
        names.sort();
        return names;
    }

    void walk(const QString& folder, const QString& base) {
        for (const QString& name : listFolder(folder)) {
            const QString path = childPath(folder, name);
            const QByteArray native = QFile::encodeName(path);
            struct stat st;
            if (lstat(native.constData(), &st) != 0) {
                report(QStringLiteral("%1 was not added: %2").arg(path, systemText()));
                continue;
            }
            if (S_ISLNK(st.st_mode)) {
                if (::stat(native.constData(), &st) != 0) {
                    report(QStringLiteral("%1 was not added: it is a symbolic link to nothing")
                               .arg(path));
                    continue;
                }
                if (S_ISDIR(st.st_mode)) {
                    report(QStringLiteral("%1 was not added: it is a symbolic link to a folder, "
                                          "which is not followed")
                               .arg(path));
                    continue;
                }
            }
            if (S_ISDIR(st.st_mode)) {
                walk(path, base);
            } else {
                const QString relative =
                    base == QLatin1String("/") ? path.mid(1) : path.mid(base.size() + 1);
                takeFile(path, relative, st);
            }
        }
    }

    void takeFile(const QString& path, const QString& relative, const struct stat& st) {
        if (m_idle) m_idle();
        if (!S_ISREG(st.st_mode)) {
            report(QStringLiteral("%1 was not added: it is not a regular file").arg(path));
            return;
        }
        if (m_haveArchive && st.st_dev == m_archiveDevice && st.st_ino == m_archiveInode) {
            report(QStringLiteral("%1 was not added: it is the archive itself").arg(path));
            return;
        }
        if (access(QFile::encodeName(path).constData(), R_OK) != 0) {
            report(QStringLiteral("%1 was not added: %2").arg(path, systemText()));
            return;
        }
        AddCandidate file;
        file.source = path;
        file.name = m_keepPaths ? path.mid(1) : relative;
        file.size = st.st_size;
        file.mtime = st.st_mtime;
        file.mode = st.st_mode;
        file.device = st.st_dev;
        file.inode = st.st_ino;
        result.files.push_back(std::move(file));
    }

    bool m_keepPaths;
    const std::function<void()>& m_idle;
    bool m_haveArchive = false;
    dev_t m_archiveDevice = 0;
    ino_t m_archiveInode = 0;
};

}  // namespace

AddList expandAddList(const QStringList& names, bool keepPaths, const QString& archivePath,
                      const std::function<void()>& idle) {
    Expander expander(keepPaths, archivePath, idle);
    for (const QString& item : names) expander.addItem(item);
    return std::move(expander.result);
}

QString numberedName(const QString& name, int n) {
    const qsizetype slash = name.lastIndexOf(u'/');
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString tail = QStringLiteral(" (%1)").arg(n);
    if (dot <= slash + 1) return name + tail;  // no extension, or a name like ".profile"
    return name.left(dot) + tail + name.mid(dot);
}

void makeNamesUnique(AddList& list, const QSet<QString>& archived) {
    QSet<QString> taken = archived;
    for (const AddCandidate& file : list.files) taken.insert(file.name);
    QHash<QString, const AddCandidate*> owner;  // stored name -> the file that has it
    std::vector<AddCandidate> kept;
    kept.reserve(list.files.size());
    for (AddCandidate& file : list.files) {
        const auto it = owner.constFind(file.name);
        if (it != owner.constEnd()) {
            const AddCandidate* first = *it;
            if (first->device == file.device && first->inode == file.inode) continue;
            QString name;
            for (int n = 2; taken.contains(name = numberedName(file.name, n)); ++n) {
            }
            list.reports << QStringLiteral("%1 is stored as \"%2\": \"%3\" is the name of %4")
                                .arg(file.source, name, file.name, first->source);
            taken.insert(name);
            file.name = name;
        }
        kept.push_back(std::move(file));
        owner.insert(kept.back().name, &kept.back());
    }
    list.files = std::move(kept);
}

}  // namespace vx
