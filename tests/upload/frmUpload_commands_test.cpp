// The remote file commands of the upload window against a real FTP server: a window connected by
// hand to the web folder, which holds report.zip and the folder sub.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLabel>
#include <QTreeWidget>

#include "qt_printers.h"
#include "upload_fixture.h"

using namespace vx;

namespace {

// Connects the run's window by hand to the web folder, which holds report.zip and sub.
void connectByHand(test::UploadRun& run) {
    run.server.put("/home/tulpa/public_html/report.zip", test::kPayload);
    QDir().mkpath(run.server.local("/home/tulpa/public_html/sub"));
    run.window.txtServer->setText(run.server.address());
    run.window.txtUser->setText("tulpa");
    run.window.txtPassword->setText("secret");
    run.window.cmdConnect_Click();
}

void select(frmUpload& window, const QString& row) {
    for (QTreeWidgetItem* item : window.lv->findItems(row, Qt::MatchExactly | Qt::MatchCaseSensitive))
        item->setSelected(true);
}

struct CommandCase {
    const char* row;  // the row selected before the command ("" for none)
    void (frmUpload::*command)();
    const char* input;     // the answer to an input box (nullptr: none is expected)
    QStringList messages;  // patterns, '*' for any run of characters
    QStringList after;     // the entries of the web folder afterwards
    const char* folder = "/home/tulpa/public_html";  // the current folder afterwards
    Answer answer = Answer::Yes;                     // to "Are you sure ...?"
};

}  // namespace

TEST(frmUploadCommands, Table) {
    using F = frmUpload;
    const QStringList start{"K7QX", "report.zip", "sub"};
    const QString fetched = "Download complete in *.* seconds.";
    // clang-format off
    const CommandCase cases[] = {
        {"", &F::cmdCreateDir_Click, "  new dir  ", {"Directory new dir was successfully created."},
         {"K7QX", "new dir", "report.zip", "sub"}},
        {"", &F::cmdCreateDir_Click, "   ", {}, start},
        {"report.zip", &F::cmdDelete_Click, nullptr, {"Are you sure you want to delete report.zip?",
         "The file report.zip was successfully deleted."}, {"K7QX", "sub"}},
        {"sub", &F::cmdDelete_Click, nullptr, {"Are you sure you want to delete sub?",
         "Directory sub was successfully removed."}, {"K7QX", "report.zip"}},
        {"report.zip", &F::cmdDelete_Click, nullptr, {"Are you sure you want to delete report.zip?"},
         start, "/home/tulpa/public_html", Answer::No},
        {"..", &F::cmdDelete_Click, nullptr, {}, start},
        {"report.zip", &F::cmdRename_Click, " old.zip ",
         {"The file report.zipwas successfuly renamed to old.zip"}, {"K7QX", "old.zip", "sub"}},
        {"report.zip", &F::cmdRename_Click, "nowhere/old.zip", {"550 *"}, start},
        {"..", &F::lv_DblClick, nullptr, {}, start, "/home/tulpa"},
        {"sub", &F::lv_DblClick, nullptr, {}, start, "/home/tulpa/public_html/sub"},
        {"report.zip", &F::lv_DblClick, nullptr, {fetched}, start},
        {"", &F::cmdUpload_Click, nullptr, {"Transfer complete!"},
         {"12042026-162907.zip", "K7QX", "report.zip", "sub"}},
    };
    // clang-format on
    for (const CommandCase& c : cases) {
        test::UploadRun run;
        connectByHand(run);
        select(run.window, c.row);
        if (c.input) run.ui.answerInput(QString(c.input));
        if (c.messages.value(0).startsWith("Are you sure")) run.ui.answerMessage(c.answer);
        const bool upload = c.command == &F::cmdUpload_Click,
                   download = c.messages == QStringList{fetched};
        if (upload) run.ui.answerOpenFile(run.archive);
        if (download) run.ui.answerSaveFile(run.home.file("fetched.zip"));

        (run.window.*c.command)();

        const QStringList shown = run.ui.messageTexts();
        SCOPED_TRACE(shown.join(" | ").toStdString());
        ASSERT_EQ(shown.size(), c.messages.size());
        for (int i = 0; i < shown.size(); ++i) EXPECT_TRUE(test::like(shown[i], c.messages[i]));
        EXPECT_TRUE(run.ui.scriptUsed());
        EXPECT_EQ(QDir(run.server.local("/home/tulpa/public_html"))
                      .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  c.after);
        EXPECT_EQ(run.window.lblDir->text(), QString("Current Directory: ") + c.folder);
        EXPECT_EQ(run.window.mFTP.isConnected(), !upload);
        if (download) {
            EXPECT_TRUE(run.ui.shown()[0].start.endsWith("/report.zip"));  // the dialog's preset
            EXPECT_EQ(test::readFile(run.home.file("fetched.zip")), test::kPayload);
        }
    }
}

// A folder "Data" and a file "data": each row acts on its own entry, whatever the listing's order.
TEST(frmUploadCommands, NamesDifferingInCaseFindTheirOwnEntry) {
    using F = frmUpload;
    const struct {
        const char* row;
        void (frmUpload::*command)();
        QString message;  // the one message besides the question
        bool folderLeft, fileLeft;
    } cases[] = {
        {"Data", &F::cmdDelete_Click, "Directory Data was successfully removed.", false, true},
        {"data", &F::cmdDelete_Click, "The file data was successfully deleted.", true, false},
        {"data", &F::lv_DblClick, "Download complete in *.* seconds.", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        test::UploadRun run;
        QDir().mkpath(run.server.local("/home/tulpa/public_html/Data"));
        run.server.put("/home/tulpa/public_html/data", test::kPayload);
        connectByHand(run);
        select(run.window, c.row);
        const bool download = c.command == &F::lv_DblClick;
        download ? run.ui.answerSaveFile(run.home.file("fetched")) : run.ui.answerMessage(Answer::Yes);

        (run.window.*c.command)();

        EXPECT_TRUE(run.ui.scriptUsed());
        EXPECT_TRUE(test::like(run.ui.messageTexts().value(download ? 0 : 1), c.message))
            << run.ui.messageTexts().join(" | ").toStdString();
        EXPECT_EQ(QFileInfo(run.server.local("/home/tulpa/public_html/Data")).isDir(), c.folderLeft);
        EXPECT_EQ(QFileInfo(run.server.local("/home/tulpa/public_html/data")).isFile(), c.fileLeft);
        if (download) {
            EXPECT_EQ(test::readFile(run.home.file("fetched")), test::kPayload);
        }
    }
}
