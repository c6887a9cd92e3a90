// The upload window's load step and job against a real FTP server: every branch of the job, the
// access-code checks and the connection mode; the progress bar and the focus rule.
#include "upload/frmUpload.h"

#include <gtest/gtest.h>

#include <QProgressBar>
#include <QTest>
#include <QTreeWidget>
#include <tuple>

#include "core/yield.h"

#include "qt_printers.h"
#include "upload_fixture.h"

using namespace vx;

namespace {

// What a row sets up, and what it expects besides its messages, links and files: Delete (the
// sent file is to be deleted), NoUzp (the encryption window makes no file), MailEnds (the
// notification window ends the program itself), Stays (the program ended before the job closed
// the connection), Active (active data connections), Log (the log file holds the log text), NoLog
// (a folder stands where the log file goes).
// clang-format off
enum : unsigned { Delete = 1, NoUzp = 2, MailEnds = 4, Stays = 8, Active = 16, Log = 32, NoLog = 64 };
// clang-format on

struct JobCase {
    const char* name;
    std::initializer_list<std::pair<const char*, QString>> keys;
    QStringList messages;  // patterns, '*' for any run of characters
    QStringList calls;
    QString arrived;   // where the file arrived on the server; "" when nothing was stored
    QStringList left;  // this run's archive files left in the program folder
    unsigned flags = 0;
    ExitCode status = ExitCode::Ok;
    const char* keycode = "old,K7QX\r\n";  // nullptr: no keycode.dat
};

}  // namespace

TEST(frmUpload, JobBranches) {
    const QString web = "/home/tulpa/public_html/", zip = "12042026-162907.zip";
    const QString uzp = "12042026-162907.uzp", folder = web + "K7QX/";
    const QStringList both{"email", "internal", "unload"};
    const std::pair<const char*, QString> plain{"EncryptYN", "0"};
    // clang-format off
    const JobCase cases[] = {
        {"empty settings: encrypted, both notifications, last item of keycode.dat", {},
         {"Upload complete!"}, QStringList{"encrypt"} + both, folder + uzp, {uzp}},
        {"log saved, active mode", {plain, {"SaveLog", "1"}, {"ActPasv", "1"}, {"Mailer", "default"}},
         {"Upload complete!"}, {"email", "unload"}, folder + zip, {zip}, Log | Active},
        {"log cannot be written, other capitalisation", {plain, {"SaveLog", "1"}, {"Mailer", "Internal"}},
         {"There has been a error!", "Upload complete!"}, {"unload"}, folder + zip, {zip},
         NoLog},
        {"internal mailer, file deleted", {plain, {"Mailer", "internal"}}, {"Upload complete!"},
         {"internal", "unload"}, folder + zip, {}, Delete},
        {"empty access code: the web folder", {plain, {"Mailer", "x"}}, {"Upload complete!"},
         {"unload"}, web + zip, {zip}, 0, ExitCode::Ok, ""},
        {"notification ends the program", {}, {"Upload complete!"}, {"encrypt", "email"},
         folder + uzp, {uzp}, Delete | MailEnds | Stays},
        {"failed log-in: the server's reply, file still deleted",
         {plain, {"FtpPassword", "x"}, {"ActPasv", "x"}},
         {"Could not connect to the file server 127.0.0.1:*\n530 *"}, {}, "", {}, Delete,
         ExitCode::UploadFailed},
        {"encryption made no file", {}, {"The file to send does not exist:\n*" + uzp + "\n*"},
         {"encrypt"}, "", {zip}, NoUzp | Delete, ExitCode::UploadFailed},
        {"no keycode.dat", {}, {"There is no access code*keycode.dat*"}, {}, "", {zip}, Delete,
         ExitCode::InvalidAccessCode, nullptr},
        {"invalid access code", {}, {"Invalid Access Code!"}, {}, "", {zip},
         Delete | Stays, ExitCode::InvalidAccessCode, "nobody"},
    };
    // clang-format on
    for (const JobCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::UploadRun run(c.keys);
        c.keycode ? (void)run.home.write("keycode.dat", c.keycode)
                  : (void)QFile::remove(run.home.file("keycode.dat"));
        if (c.flags & NoLog) QDir().mkpath(run.home.file("12042026-162907.log"));
        run.encryptMakesFile = !(c.flags & NoUzp);
        run.deleteAfter = c.flags & Delete;
        run.emailEnds = c.flags & MailEnds;
        run.window.Form_Load();

        EXPECT_TRUE(run.ui.ended());
        EXPECT_EQ(run.ui.exitStatus(), c.status);
        // On screen, with its caption, before anything else happens.
        ASSERT_FALSE(run.ui.shown().empty());
        EXPECT_EQ(run.ui.shown()[0].kind + run.ui.shown()[0].text + run.ui.shown()[0].title,
                  "showfrmUploadConnecting...");
        const auto shown = run.ui.messages();
        ASSERT_EQ(shown.size(), c.messages.size())
            << run.ui.messageTexts().join(" | ").toStdString();
        for (int i = 0; i < c.messages.size(); ++i) {
            EXPECT_TRUE(test::like(shown[i].text, c.messages[i])) << shown[i].text.toStdString();
            EXPECT_EQ(shown[i].title, shown[i].text.startsWith("There has") ? "Error" : "Vexaro");
        }
        EXPECT_EQ(run.calls, c.calls);
        const QStringList verbs = run.server.verbs();
        if (c.arrived.isEmpty())
            EXPECT_FALSE(verbs.contains("STOR"));
        else
            EXPECT_EQ(run.server.get(c.arrived), test::kPayload);
        EXPECT_EQ(QDir(run.home.path()).entryList({"12042026-162907.*p"}), c.left);
        EXPECT_EQ(test::readFile(run.home.file("12042026-162907.log")),
                  c.flags & Log ? "line one\r\nline two\r\n" : "<missing>");
        EXPECT_EQ(verbs.contains("EPRT") || verbs.contains("PORT"), bool(c.flags & Active));
        EXPECT_EQ(verbs.isEmpty(), c.keycode == nullptr);  // no keycode.dat: never connected
        EXPECT_EQ(run.window.mFTP.isConnected(), bool(c.flags & Stays));
    }
}

// A connection lost during the job's upload is made again and the file continued; the
// notification comes only once the file stands whole under its name, and a job whose every try
// failed shows the failure alone and leaves nothing under the name.
TEST(frmUpload, JobRetriesALostConnectionAndNotifiesOnlyAfterTheRename) {
    const QString zip = "12042026-162907.zip", folder = "/home/tulpa/public_html/K7QX/";
    const QByteArray big = QByteArray("0123456789abcdef").repeated(40000);
    const struct {
        const char* what;
        QStringList knobs;
        int waits;
        const char* message;  // pattern
    } cases[] = {
        {"data connection dropped", {"--data-stop", "50000", "--stop-times", "1"}, 1, "Upload complete!"},
        {"every try fails", {"--data-stop", "20000"}, 3, "*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto run = std::make_unique<test::UploadRun>(
            std::initializer_list<std::pair<const char*, QString>>{{"EncryptYN", "0"}, {"Mailer", "default"}}, c.knobs);
        run->home.write(zip, big);
        int waits = 0;
        run->window.uploadRetry.wait = [&](int) { ++waits; };
        run->window.Form_Load();

        const bool ok = c.waits < 3;
        EXPECT_EQ(waits, c.waits);
        ASSERT_EQ(run->ui.messageTexts().size(), 1);
        EXPECT_TRUE(test::like(run->ui.messageTexts()[0], c.message));
        EXPECT_EQ(run->ui.messageTexts()[0] == "Upload complete!", ok);
        EXPECT_EQ(run->calls, ok ? QStringList({"email", "unload"}) : QStringList());
        EXPECT_EQ(run->heldAtNotice, ok ? QStringList{zip} : QStringList());
        EXPECT_EQ(run->server.get(folder + zip), ok ? big : QByteArray("<missing>"));
        EXPECT_EQ(QDir(run->server.local(folder)).entryList(QDir::Files | QDir::Hidden).size(), ok ? 1 : 0);
        EXPECT_EQ(run->reported.filter(QRegularExpression("^Upload try \\d of 4 in ")).size(), c.waits);
    }
}

// The bar follows the rule of progressShown (its own table, as is the scaling past 2 GiB) and
// yields once per event.
TEST(frmUpload, ProgressBarFollowsTheTransfer) {
    test::UploadRun run;
    const QProgressBar& pb = *run.window.pb;
    run.window.mFTP_FileTransferProgress(255, 1000);
    EXPECT_EQ(std::pair(pb.maximum(), pb.value()), std::pair(1000, 255));
    run.window.mFTP_FileTransferProgress(0, 0);
    EXPECT_EQ(std::pair(pb.maximum(), pb.value()), std::pair(1, 1));
    EXPECT_EQ(run.ui.yields(), 2);
}

// Disconnect pressed while the job's upload runs (after its first block): the question; Yes
// stops the transfer and the job reports the failed upload, No changes nothing.
TEST(frmUpload, DisconnectDuringTheUploadAsksFirst) {
    const QString ask = "A file is being transferred. Stop the transfer and disconnect?";
    const struct {
        Answer answer;
        const char* failure;  // the job's message after the question
        bool stops;
    } cases[] = {{Answer::Yes, "InternetWriteFile *: The transfer was stopped by the user.", true},
                 {Answer::No, "Upload complete!", false}};
    for (const auto& c : cases) {
        test::UploadRun run({{"EncryptYN", "0"}, {"Mailer", "x"}});
        run.ui.answerMessage(c.answer);
        QString caption;
        int rows = -1;
        setYieldHook([&] {
            if (rows >= 0 || run.window.pb->value() <= 0) return;
            rows = run.window.lv->topLevelItemCount();
            run.window.cmdDisconnect_Click();
            caption = run.window.windowTitle();
            rows -= run.window.lv->topLevelItemCount();
        });
        run.window.Form_Load();
        setYieldHook({});

        EXPECT_TRUE(run.ui.scriptUsed());
        const auto shown = run.ui.messages();
        ASSERT_EQ(shown.size(), 2u) << run.ui.messageTexts().join(" | ").toStdString();
        EXPECT_EQ(std::tuple(shown[0].text, shown[0].buttons, shown[0].icon),
                  std::tuple(ask, Buttons::YesNo, Icon::Question));
        EXPECT_TRUE(test::like(shown[1].text, c.failure)) << shown[1].text.toStdString();
        EXPECT_EQ(run.ui.exitStatus(), c.stops ? ExitCode::UploadFailed : ExitCode::Ok);
        EXPECT_EQ(caption.startsWith("Connecting..."), c.stops) << caption.toStdString();
        EXPECT_EQ(rows > 0, c.stops);  // Yes clears the list, No leaves its rows
        const QByteArray arrived = run.server.get("/home/tulpa/public_html/K7QX/12042026-162907.zip");
        EXPECT_EQ(arrived == test::kPayload, !c.stops);
        EXPECT_FALSE(run.window.mFTP.isConnected());
    }
}

// A click that gives the focus places the cursor, and the text is selected all the same.
TEST(frmUpload, FocusSelectsTheText) {
    test::UploadRun run;
    run.window.show();
    run.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&run.window));
    run.window.txtPassword->setText("secret");
    QTest::mouseClick(run.window.txtPassword, Qt::LeftButton, {}, QPoint(4, 4));
    QApplication::processEvents();
    EXPECT_EQ(run.window.txtPassword->selectedText(), "secret");
}
