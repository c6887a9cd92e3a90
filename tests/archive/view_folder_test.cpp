// The private view folder goes away even when the program ends without running destructors
// (its owner-only place in the temporary folder is checked through View in frmArchive_test).
#include "archive/view_folder.h"

#include <QDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vx;

TEST(ViewFolder, IsRemovedWhenTheProgramEndsAtOnce) {
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    if (child == 0) {  // ends as the desktop program does: no destructors run
        const QByteArray path = QFile::encodeName((new ViewFolder)->path());
        QFile(path + "/opened.txt").open(QIODevice::WriteOnly);
        (void)!write(channel[1], path.constData(), path.size());
        std::quick_exit(0);
    }
    close(channel[1]);
    char buffer[4096];
    const ssize_t n = read(channel[0], buffer, sizeof buffer);
    waitpid(child, nullptr, 0);
    ASSERT_GT(n, 0);
    EXPECT_FALSE(QFileInfo::exists(QFile::decodeName(QByteArray(buffer, n))));
}
