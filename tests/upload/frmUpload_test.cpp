// The upload window's load step and job against a real FTP server: every branch of the job, the
// access-code checks, the connection mode, and the progress bar, option buttons and focus rule.
#include "upload/frmUpload.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "qt_printers.h"
#include "upload_fixture.h"

using namespace vx;

namespace {

const QString kFolder = "/home/tulpa/public_html/K7QX/";

// What a row sets up and what it expects besides its messages, links and files.
enum : unsigned {
    Delete = 1,          // "Delete Output File after Transfer?" ticked
    NoUzp = 2,           // the encryption window produces no file
    EmailEnds = 4,       // the notification window ends the program itself
    StaysConnected = 8,  // the program ended before the job closed the connection
    Active = 16,         // the data connections were active ones
    LogSaved = 32,       // the log file holds the log text
    LogBlocked = 64,     // a folder stands where the log file goes
};

struct JobCase {
    const char* name;
    std::initializer_list<std::pair<const char*, QString>> keys;
    QStringList messages;  // patterns, '*' for any run of characters
    QStringList calls;
    QString arrived;   // the remote path the file arrived at; "" when nothing was stored
    QStringList left;  // this run's archive files left in the program folder
    unsigned flags = 0;
    const char* keycode = "old,K7QX\r\n";  // nullptr: no keycode.dat
};

const QString kZip = "12042026-162907.zip", kUzp = "12042026-162907.uzp";
const QStringList kBoth{"email", "internal", "unload"};

}  // namespace

TEST(frmUpload, JobBranches) {
    // clang-format off
    const JobCase cases[] = {
        {"empty settings: encrypted, both notifications, second field of keycode.dat", {},
         {"Upload complete!"}, QStringList{"encrypt"} + kBoth, kFolder + kUzp, {kUzp}},
        {"plain, log saved, active mode", {{"EncryptYN", "0"}, {"SaveLog", "1"}, {"ActPasv", "1"}},
         {"Upload complete!"}, kBoth, kFolder + kZip, {kZip}, LogSaved | Active},
        {"log cannot be written", {{"EncryptYN", "0"}, {"SaveLog", "1"}, {"Mailer", "default"}},
         {"There has been a error!", "Upload complete!"}, {"email", "unload"}, kFolder + kZip,
         {kZip}, LogBlocked},
        {"internal mailer only, sent file deleted", {{"EncryptYN", "0"}, {"Mailer", "internal"}},
         {"Upload complete!"}, {"internal", "unload"}, kFolder + kZip, {}, Delete},
        {"other capitalisation runs no mailer", {{"EncryptYN", "0"}, {"Mailer", "Internal"}},
         {"Upload complete!"}, {"unload"}, kFolder + kZip, {kZip}},
        {"empty access code: the web folder itself", {{"EncryptYN", "0"}, {"Mailer", "x"}},
         {"Upload complete!"}, {"unload"}, "/home/tulpa/public_html/" + kZip, {kZip}, 0, ""},
        {"notification ends the program: nothing closed or deleted", {},
         {"Upload complete!"}, {"encrypt", "email"}, kFolder + kUzp, {kUzp},
         Delete | EmailEnds | StaysConnected},
        {"failed log-in: upload fails, file still deleted",
         {{"EncryptYN", "0"}, {"FtpPassword", "wrong"}, {"ActPasv", "x"}},
         {"FtpOpenFile:PutFile*"}, {}, "", {}, Delete},
        {"encryption made no file", {}, {"The file to send does not exist:\n*" + kUzp + "\n*"},
         {"encrypt"}, "", {kZip}, NoUzp | Delete},
        {"no keycode.dat: ends before connecting", {}, {"There is no access code*keycode.dat*"},
         {}, "", {kZip}, Delete, nullptr},
        {"invalid access code", {}, {"Invalid Access Code!"}, {}, "", {kZip},
         Delete | StaysConnected, "nobody"},
    };
    // clang-format on
    for (const JobCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::UploadRun run(c.keys);
        if (c.keycode)
            run.home.write("keycode.dat", c.keycode);
        else
            QFile::remove(run.home.file("keycode.dat"));
        if (c.flags & LogBlocked) QDir().mkpath(run.home.file("12042026-162907.log"));
        run.encryptMakesFile = !(c.flags & NoUzp);
        run.deleteAfter = c.flags & Delete;
        if (c.flags & EmailEnds) run.onEmail = [&] { run.ui.endProgram(); };
        run.window.Form_Load();

        EXPECT_TRUE(run.ui.ended());
        const QStringList shown = run.ui.messageTexts();
        ASSERT_EQ(shown.size(), c.messages.size()) << shown.join(" | ").toStdString();
        for (int i = 0; i < shown.size(); ++i)
            EXPECT_TRUE(test::like(shown[i], c.messages[i])) << shown[i].toStdString();
        for (const test::Shown& m : run.ui.messages())
            EXPECT_EQ(m.title, m.text == "There has been a error!" ? "Error" : "Vexaro");
        EXPECT_EQ(run.calls, c.calls);
        if (c.arrived.isEmpty())
            EXPECT_FALSE(run.server.verbs().contains("STOR"));
        else
            EXPECT_EQ(run.server.get(c.arrived), test::kPayload);
        EXPECT_EQ(QDir(run.home.path()).entryList({"12042026-162907.*p"}), c.left);
        EXPECT_EQ(test::readFile(run.home.file("12042026-162907.log")),
                  c.flags & LogSaved ? "line one\r\nline two\r\n" : "<missing>");
        const QStringList verbs = run.server.verbs();
        EXPECT_EQ(verbs.contains("EPRT") || verbs.contains("PORT"), bool(c.flags & Active));
        EXPECT_EQ(verbs.isEmpty(), c.keycode == nullptr);  // no keycode.dat: never connected
        EXPECT_EQ(run.window.mFTP.isConnected(), bool(c.flags & StaysConnected));
    }
}

TEST(frmUpload, ConnectedWindowShowsTheFolderAndTheMailerNote) {
    test::UploadRun run({{"EncryptYN", "0"}, {"Mailer", "internal"}});
    run.server.put("/home/tulpa/public_html/K7QX/older.zip", "x");
    run.onEmail = [] { ADD_FAILURE() << "notification window shown"; };
    run.window.Form_Load();
    EXPECT_TRUE(run.window.windowTitle().startsWith("Connected to Vexaro Server at "));
    EXPECT_EQ(run.window.lblDir->text(), "Current Directory: " + kFolder.chopped(1));
    EXPECT_EQ(run.window.lv->topLevelItemCount(), 2);  // ".." and older.zip, listed before the job
    EXPECT_EQ(run.window.lblNote->text(), "Sending e-mail using internal mailer...");
    EXPECT_TRUE(run.window.lblWarn->isHidden());
    EXPECT_EQ(run.window.pb->value(), test::kPayload.size());
}

TEST(frmUpload, ProgressBar) {
    // Progress events (current, total) and the bar's maximum and value afterwards.
    const struct {
        std::vector<std::pair<int, int>> events;
        int maximum, value;
    } cases[] = {{{{255, 1000}}, 1000, 255},
                 {{{255, 1000}, {600, 500}}, 500, 255},  // a count above the total: value kept
                 {{{0, 0}}, 1, 1}};                      // an empty file shows a full bar
    for (const auto& c : cases) {
        test::UploadRun run;
        for (const auto& [current, total] : c.events)
            run.window.mFTP_FileTransferProgress(current, total);
        EXPECT_EQ(run.window.pb->maximum(), c.maximum);
        EXPECT_EQ(run.window.pb->value(), c.value);
        EXPECT_EQ(run.ui.yields(), static_cast<int>(c.events.size()));
    }
}

TEST(frmUpload, OptionButtonsAndFocusRule) {
    test::UploadRun run;
    run.window.optPassive->click();
    run.window.optAscii->click();
    EXPECT_EQ(run.window.mFTP.connectFlags(), cFTP::kModePassive);
    EXPECT_EQ(run.window.mFTP.transferType(), cFTP::kTransferAscii);
    run.window.optActive->click();
    run.window.optBin->click();
    EXPECT_EQ(run.window.mFTP.connectFlags(), cFTP::kModeActive);
    EXPECT_EQ(run.window.mFTP.transferType(), cFTP::kTransferBinary);

    // A click that gives the focus places the cursor, and the text is selected all the same.
    run.window.show();
    run.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&run.window));
    run.window.txtPassword->setText("secret");
    QTest::mouseClick(run.window.txtPassword, Qt::LeftButton, {}, QPoint(4, 4));
    QApplication::processEvents();
    EXPECT_TRUE(run.window.txtPassword->hasFocus());
    EXPECT_EQ(run.window.txtPassword->selectedText(), "secret");
}
