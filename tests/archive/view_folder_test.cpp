// The private view folder: owner-only, inside the temporary folder, gone when the run ends.
#include "archive/view_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vx;

TEST(ViewFolder, IsAPrivateSubFolderOfTheTemporaryFolderRemovedWithItsOwner) {
    QString path;
    {
        ViewFolder folder;
        path = folder.path();
        ASSERT_FALSE(path.isEmpty());
        EXPECT_EQ(folder.path(), path);  // made once per run
        const QFileInfo info(path);
        EXPECT_TRUE(info.isDir());
        EXPECT_EQ(QDir(info.absolutePath()), QDir(QDir::tempPath()));
        EXPECT_NE(QDir(path), QDir(QDir::tempPath()));
        struct stat st {};
        ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        QFile(path + "/opened.txt").open(QIODevice::WriteOnly);
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(ViewFolder, IsRemovedWhenTheProgramEndsAtOnce) {
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {  // the way the desktop ends the program: no destructors run
        auto* folder = new ViewFolder;
        const QByteArray path = folder->path().toLocal8Bit();
        QFile(folder->path() + "/opened.txt").open(QIODevice::WriteOnly);
        (void)!write(channel[1], path.constData(), path.size());
        std::quick_exit(0);
    }
    close(channel[1]);
    char buffer[4096];
    const ssize_t n = read(channel[0], buffer, sizeof buffer);
    close(channel[0]);
    waitpid(child, nullptr, 0);
    ASSERT_GT(n, 0);
    const QString path = QString::fromLocal8Bit(buffer, n);
    EXPECT_TRUE(path.startsWith(QDir::tempPath()));
    EXPECT_FALSE(QFileInfo::exists(path));
}
