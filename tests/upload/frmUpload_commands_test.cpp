// The remote file commands of the upload window against a real FTP server: a window connected by
// hand to the web folder, which holds the file "data" and the folder "Data", so that each row
// must act on its own entry whatever the listing's order.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTreeWidget>

#include "qt_printers.h"
#include "upload_fixture.h"

using namespace vx;

namespace {

// Connects the run's window by hand to the web folder, which holds data and Data.
void connectByHand(test::UploadRun& run) {
    run.server.put("/home/tulpa/public_html/data", test::kPayload);
    QDir().mkpath(run.server.local("/home/tulpa/public_html/Data"));
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
    const QStringList start{"Data", "K7QX", "data"};
    const QString fetched = "Download complete in *.* seconds.";
    // clang-format off
    const CommandCase cases[] = {
        {"", &F::cmdCreateDir_Click, "  new dir  ", {"Directory new dir was successfully created."},
         {"Data", "K7QX", "data", "new dir"}},
        {"", &F::cmdCreateDir_Click, "   ", {}, start},
        {"data", &F::cmdDelete_Click, nullptr, {"Are you sure you want to delete data?",
         "The file data was successfully deleted."}, {"Data", "K7QX"}},
        {"Data", &F::cmdDelete_Click, nullptr, {"Are you sure you want to delete Data?",
         "Directory Data was successfully removed."}, {"K7QX", "data"}},
        {"data", &F::cmdDelete_Click, nullptr, {"Are you sure you want to delete data?"},
         start, "/home/tulpa/public_html", Answer::No},
        {"..", &F::cmdDelete_Click, nullptr, {}, start},
        {"data", &F::cmdRename_Click, " old.zip ",
         {"The file datawas successfuly renamed to old.zip"}, {"Data", "K7QX", "old.zip"}},
        {"data", &F::cmdRename_Click, "nowhere/old.zip", {"550 *"}, start},
        {"..", &F::lv_DblClick, nullptr, {}, start, "/home/tulpa"},
        {"Data", &F::lv_DblClick, nullptr, {}, start, "/home/tulpa/public_html/Data"},
        {"data", &F::lv_DblClick, nullptr, {fetched}, start},
        {"", &F::cmdUpload_Click, nullptr, {"Transfer complete!"},
         {"12042026-162907.zip", "Data", "K7QX", "data"}},
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
                      .entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
                  c.after);
        EXPECT_EQ(run.window.lblDir->text(), QString("Current Directory: ") + c.folder);
        EXPECT_EQ(run.window.mFTP.isConnected(), !upload);
        if (download) {
            EXPECT_TRUE(run.ui.shown()[0].start.endsWith("/data"));  // the dialog's preset
            EXPECT_EQ(test::readFile(run.home.file("fetched.zip")), test::kPayload);
        }
    }
}
