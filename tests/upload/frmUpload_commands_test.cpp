// The remote file commands of the upload window against a real FTP server: a connected window
// in the web folder, which holds report.zip and the folder sub.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTreeWidget>

#include "qt_printers.h"
#include "upload_fixture.h"

using namespace vx;

namespace {

const QString kWeb = "/home/tulpa/public_html";

struct CommandCase {
    const char* name;
    const char* row;  // the row selected before the command ("" for none)
    void (frmUpload::*command)();
    const char* input;     // the answer to an input box (nullptr: none is expected)
    QStringList messages;  // patterns, '*' for any run of characters
    QStringList after;     // the entries of the web folder afterwards
    const char* folder = "Current Directory: /home/tulpa/public_html";
    Answer answer = Answer::Yes;  // to "Are you sure ...?"
};

const QStringList kStart{"K7QX", "report.zip", "sub"};

}  // namespace

TEST(frmUploadCommands, Table) {
    using F = frmUpload;
    const char* web = "Current Directory: /home/tulpa/public_html";
    const QString fetched = "Download complete in *.* seconds.";
    // clang-format off
    const CommandCase cases[] = {
        {"create", "", &F::cmdCreateDir_Click, "  new dir  ",
         {"Directory new dir was successfully created."}, {"K7QX", "new dir", "report.zip", "sub"}},
        {"create with a name of blanks", "", &F::cmdCreateDir_Click, "   ", {}, kStart},
        {"create refused", "", &F::cmdCreateDir_Click, "sub", {"550 *"}, kStart},
        {"delete a file", "report.zip", &F::cmdDelete_Click, nullptr,
         {"Are you sure you want to delete report.zip?",
          "The file report.zip was successfully deleted."}, {"K7QX", "sub"}},
        {"delete a folder", "sub", &F::cmdDelete_Click, nullptr,
         {"Are you sure you want to delete sub?", "Directory sub was successfully removed."},
         {"K7QX", "report.zip"}},
        {"delete answered No", "sub", &F::cmdDelete_Click, nullptr,
         {"Are you sure you want to delete sub?"}, kStart, web, Answer::No},
        {"delete the .. row", "..", &F::cmdDelete_Click, nullptr, {}, kStart},
        {"delete with no row", "", &F::cmdDelete_Click, nullptr, {}, kStart},
        {"rename", "report.zip", &F::cmdRename_Click, " old.zip ",
         {"The file report.zipwas successfuly renamed to old.zip"}, {"K7QX", "old.zip", "sub"}},
        {"rename a folder", "sub", &F::cmdRename_Click, nullptr, {}, kStart},
        {"rename refused", "report.zip", &F::cmdRename_Click, "nowhere/old.zip", {"550 *"}, kStart},
        {"download", "report.zip", &F::cmdDownload_Click, nullptr, {fetched}, kStart},
        {"double-click ..", "..", &F::lv_DblClick, nullptr, {}, kStart,
         "Current Directory: /home/tulpa"},
        {"double-click a folder", "sub", &F::lv_DblClick, nullptr, {}, kStart,
         "Current Directory: /home/tulpa/public_html/sub"},
        {"double-click a file downloads it", "report.zip", &F::lv_DblClick, nullptr, {fetched},
         kStart},
    };
    // clang-format on
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::UploadRun run;
        run.server.put(kWeb + "/report.zip", test::kPayload);
        QDir().mkpath(run.server.local(kWeb + "/sub"));
        run.connectByHand();
        ASSERT_EQ(run.window.lv->topLevelItemCount(), 4);  // "..", K7QX, report.zip, sub
        const auto rows = run.window.lv->findItems(c.row, Qt::MatchExactly);
        if (!rows.isEmpty()) rows.first()->setSelected(true);
        if (c.input) run.ui.answerInput(QString(c.input));
        if (c.messages.value(0).startsWith("Are you sure")) run.ui.answerMessage(c.answer);
        const QString local = run.home.file("fetched.zip");
        const bool save = c.messages.value(0) == fetched;
        if (save) run.ui.answerSaveFile(local);

        (run.window.*c.command)();

        const QStringList shown = run.ui.messageTexts();
        ASSERT_EQ(shown.size(), c.messages.size()) << shown.join(" | ").toStdString();
        for (int i = 0; i < shown.size(); ++i)
            EXPECT_TRUE(test::like(shown[i], c.messages[i])) << shown[i].toStdString();
        EXPECT_TRUE(run.ui.scriptUsed());
        EXPECT_EQ(QDir(run.server.local(kWeb)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  c.after);
        EXPECT_EQ(run.window.lblDir->text(), c.folder);
        if (save) {
            EXPECT_TRUE(run.ui.shown()[0].start.endsWith("/report.zip"));
            EXPECT_EQ(test::readFile(local), test::kPayload);
        }
    }
}

TEST(frmUploadCommands, UploadSendsTheChosenFileThenCloses) {
    test::UploadRun run;
    run.connectByHand();
    run.ui.answerOpenFile(run.archive);
    run.window.cmdUpload_Click();
    EXPECT_EQ(run.ui.shown()[0].text, "Upload file to server");
    EXPECT_EQ(run.ui.messageTexts(), QStringList{"Transfer complete!"});
    EXPECT_EQ(run.server.get(kWeb + "/12042026-162907.zip"), test::kPayload);
    EXPECT_FALSE(run.window.mFTP.isConnected());
}
