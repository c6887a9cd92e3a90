// The files an AddFiles call takes and the names they are stored under.
//
// Each item of the list is one of:
//   - a file path: the file, stored under its name ("/home/ann/a.txt" -> "a.txt");
//   - a folder path with "*.*" as its last part ("/home/ann/docs/*.*"): every file of the
//     folder and, recursively, of its sub-folders, hidden ones included, stored under its path
//     relative to the folder ("docs/*.*" takes "docs/x/b.txt" as "x/b.txt"). "*" and "?" in
//     any other item are part of one file's name: "/home/ann/*" is the file named "*";
//   - a folder path without wildcard: as "folder/*" but stored with the folder's own name in
//     front ("/home/ann/docs" takes "docs/x/b.txt").
// With keepPaths every file is stored under its full path without the leading "/". Relative
// paths count from the current folder; "." and ".." parts are resolved first. Symbolic links
// to files are followed; links to folders are not. Empty items are passed over.
// Nothing is dropped in silence: a missing path, a link to a folder, a special file (pipe,
// device), an unreadable file or the archive itself is left out with a report.
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <ctime>
#include <functional>
#include <vector>

namespace vx {

struct AddCandidate {
    QString source;  // absolute, clean path
    QString name;    // stored name, "/" separated, no leading "/"
    std::int64_t size = 0;
    std::time_t mtime = 0;
    unsigned mode = 0;  // st_mode of the file
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

struct AddList {
    std::vector<AddCandidate> files;
    QStringList reports;  // one sentence per item or file left out or renamed
};

// Expands names in order (see above). Files of the archive at archivePath are left out. Calls
// idle() between files so the caller can yield.
AddList expandAddList(const QStringList& names, bool keepPaths, const QString& archivePath,
                      const std::function<void()>& idle);

// Gives two different files that would share a stored name names of their own: the later one
// gets " (2)", " (3)"... before its extension ("a.txt" -> "a (2).txt"), with a report, skipping
// numbers whose names are taken by the list or by the archive (archived). The same file listed
// twice under the same name is kept once.
void makeNamesUnique(AddList& list, const QSet<QString>& archived = {});

// The name with " (n)" put before the extension of its last part.
QString numberedName(const QString& name, int n);

}  // namespace vx
