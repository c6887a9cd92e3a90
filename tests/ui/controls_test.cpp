// Drive, folder and file lists.
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "ui/drive_list.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"

using namespace vx;

TEST(DriveList, RootComesFirstAndPseudoFileSystemsAreLeftOut) {
    QStringList roots = DriveList::volumeRoots();
    ASSERT_FALSE(roots.isEmpty());
    EXPECT_EQ(roots.first(), "/");
    for (const QString& r : roots)
        EXPECT_FALSE(r.startsWith("/proc") || r.startsWith("/sys")) << r.toStdString();
    EXPECT_EQ(roots.removeDuplicates(), 0);
}

TEST(FolderList, ShowsAncestorsThenSubfoldersWithoutRegardToCaseAndOpensOnActivation) {
    QTemporaryDir tmp;
    for (const char* sub : {"Beta", "alpha", ".hidden"}) QDir(tmp.path()).mkpath(sub);
    FolderList list;
    QSignalSpy changed(&list, &FolderList::pathChanged);
    ASSERT_TRUE(list.setPath(tmp.path()));
    const int depth = tmp.path().count('/');
    ASSERT_EQ(list.count(), depth + 3);
    const QStringList expected = {"/", tmp.path(), tmp.path() + "/alpha", tmp.path() + "/Beta"};
    for (int row : {0, depth, depth + 1, depth + 2})
        EXPECT_EQ(list.entryPath(row), expected[row == 0 ? 0 : row - depth + 1]);
    emit list.itemActivated(list.item(depth + 2));
    EXPECT_EQ(list.path(), tmp.path() + "/Beta");
    EXPECT_EQ(changed.count(), 2);
    EXPECT_FALSE(list.setPath(tmp.path() + "/missing"));
    EXPECT_EQ(list.path(), tmp.path() + "/Beta");
}

TEST(FileList, ListsOnlyFilesByNameWithoutRegardToCase) {
    QTemporaryDir tmp;
    for (const char* n : {"B.txt", "a.txt", "c.bin"})
        QFile(tmp.filePath(n)).open(QIODevice::WriteOnly);
    QDir(tmp.path()).mkpath("sub");
    FileList list;
    list.setPath(tmp.path());
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.fileName(0), "a.txt");
    EXPECT_EQ(list.fileName(1), "B.txt");
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::ExtendedSelection);
}
