// Drive, folder and file lists.
#include <QDir>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "ui/drive_list.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"

using namespace vx;

TEST(DriveList, RootComesFirstAndPseudoFileSystemsAreLeftOut) {
    const QStringList roots = DriveList::volumeRoots();
    ASSERT_FALSE(roots.isEmpty());
    EXPECT_EQ(roots.first(), "/");
    for (const QString& r : roots) {
        EXPECT_FALSE(r.startsWith("/proc")) << r.toStdString();
        EXPECT_FALSE(r.startsWith("/sys")) << r.toStdString();
    }
    QStringList unique = roots;
    EXPECT_EQ(unique.removeDuplicates(), 0);
}

TEST(FolderList, ShowsAncestorsThenSubfoldersAndOpensOnActivation) {
    QTemporaryDir tmp;
    QDir(tmp.path()).mkpath("beta");
    QDir(tmp.path()).mkpath("Alpha");
    QDir(tmp.path()).mkpath(".hidden");
    FolderList list;
    QSignalSpy changed(&list, &FolderList::pathChanged);
    ASSERT_TRUE(list.setPath(tmp.path()));
    const int depth = tmp.path().count('/');
    ASSERT_EQ(list.count(), depth + 1 + 2);
    EXPECT_EQ(list.entryPath(0), "/");
    EXPECT_EQ(list.entryPath(depth), tmp.path());
    EXPECT_EQ(list.entryPath(depth + 1), tmp.path() + "/Alpha");
    EXPECT_EQ(list.entryPath(depth + 2), tmp.path() + "/beta");
    emit list.itemActivated(list.item(depth + 2));
    EXPECT_EQ(list.path(), tmp.path() + "/beta");
    EXPECT_EQ(changed.count(), 2);
    EXPECT_FALSE(list.setPath(tmp.path() + "/missing"));
    EXPECT_EQ(list.path(), tmp.path() + "/beta");
}

TEST(FileList, ListsOnlyFilesByName) {
    QTemporaryDir tmp;
    for (const char* n : {"b.txt", "A.txt", "c.bin"}) {
        QFile f(tmp.filePath(n));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QDir(tmp.path()).mkpath("sub");
    FileList list;
    list.setPath(tmp.path());
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.fileName(0), "A.txt");
    EXPECT_EQ(list.fileName(2), "c.bin");
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::ExtendedSelection);
}
