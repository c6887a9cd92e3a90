// The encryption window driven as a person would: the automatic run, "File Crypto" and
// "Text Crypto" with their messages and the folder after, Cancel in the middle of a run, the key
// quality label, the progress box and the mouse moves that feed the entropy pool.
#include "crypto/frmEncrypt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "crypto/file_crypto.h"
#include "crypto/progress_box.h"
#include "crypto/salt.h"
#include "crypto_files.h"
#include "module_guard.h"
#include "qt_printers.h"
#include "sample_data.h"
#include "scripted_ui.h"
#include "settings/settings_store.h"

namespace vx {
namespace {

const QString kKey = QStringLiteral("Correct Horse 9");
const QString kDone = QStringLiteral("N|Vexaro|Done!");

// A loaded window over the archive Project.zip; the key is saved as "EncryptKey" unless empty.
struct EncryptWindow {
    QTemporaryDir conf, dir;
    test::ModuleGuard guard;
    SettingsStore store{conf.filePath("TULPAREG.conf")};
    test::ScriptedUi ui;
    QString archive;
    std::unique_ptr<frmEncrypt> w;

    explicit EncryptWindow(const QString& key,
                           const QByteArray& bytes = sample::englishLikeText(20000))
        : archive(test::writeFile(dir.filePath("Project.zip"), bytes)) {
        if (!key.isEmpty()) (void)store.save(kSettingsSection, "EncryptKey", key);
        w = std::make_unique<frmEncrypt>(ui, store, [this] { return archive; });
    }
    QString path(const QString& name) const {
        return name.isEmpty() ? archive : dir.filePath(name);
    }
    // The messages shown, as "C" (critical) or "N" (no icon), title and text.
    QStringList messages() const {
        QStringList out;
        for (const test::Shown& m : ui.messages())
            out << QString(m.icon == Icon::Critical ? "C"
                           : m.icon == Icon::None   ? "N"
                                                    : "?") +
                       '|' + m.title + '|' + m.text;
        return out;
    }
};

// FileCancelled: Cancel is pressed in the middle of the run. FileTicked: Timer1's tick arrives
// in the middle of the run (a person pressed "File Crypto" first) and is dropped.
enum class Action { Automatic, File, FileTwice, FileCancelled, FileTicked };

TEST(frmEncrypt, FileRunsLeaveTheFieldsMessagesAndFolder) {
    const QString keyError = "C| |Key too small/is repeating (Error 3)";
    const QString aborted = "C| |Encoding has been aborted by user";
    // Key, target ("": the archive), run; messages, txtSource, txtTarget, folder, still open.
    // clang-format off
    const struct {
        QString key; const char* target; Action run;
        QStringList messages; const char *source, *targetAfter; QStringList folder; bool open;
    } cases[] = {
        {"", "", Action::Automatic, {keyError}, "Project.zip", "Project.zip", {"Project.zip"}, false},
        {kKey, "", Action::Automatic, {}, "Project.uzp", "Project.uzp", {"Project.uzp"}, false},
        {kKey, "copy.zip", Action::File, {kDone}, "Project.zip", "copy.uzp",
         {"Project.zip", "copy.uzp"}, true},
        {kKey, "", Action::FileTwice, {kDone, kDone}, "Project.zip", "Project.zip",
         {"Project.zip"}, true},
        {kKey, "", Action::FileCancelled, {aborted, kDone}, "Project.zip", "Project.zip",
         {"Project.zip"}, true},
        {kKey, "", Action::FileTicked, {kDone}, "Project.uzp", "Project.uzp", {"Project.uzp"},
         true}};
    // clang-format on
    for (const auto& c : cases) {
        EncryptWindow e(c.key);
        const QByteArray original = test::readFile(e.archive);
        e.w->Form_Load();
        e.w->show();
        e.w->txtTarget->setText(e.path(c.target));
        bool busySeen = false;
        if (c.run >= Action::FileCancelled)  // at the fifth yield
            setYieldHook([&, n = 0]() mutable {
                if (++n != 5) return;
                busySeen = !e.w->cmdCrypto->isEnabled() && e.w->cmdCancelText->isEnabled();
                if (c.run == Action::FileCancelled) e.w->cmdCancelFile->click();
                if (c.run == Action::FileTicked) e.w->Timer1_Timer();
            });
        if (c.run == Action::Automatic) e.w->Timer1_Timer();
        if (c.run != Action::Automatic) e.w->cmdCrypto->click();
        if (c.run == Action::FileTwice) e.w->cmdCrypto->click();
        SCOPED_TRACE(c.target + QString::number(int(c.run)).toStdString());
        EXPECT_EQ(e.messages(), c.messages);
        EXPECT_EQ(e.w->txtSource->text(), e.path(c.source));
        EXPECT_EQ(e.w->txtTarget->text(), e.path(c.targetAfter));
        EXPECT_EQ(test::listing(e.dir.path()), c.folder);
        EXPECT_EQ(e.w->isVisible(), c.open);
        EXPECT_EQ(busySeen, c.run >= Action::FileCancelled);
        EXPECT_TRUE(e.w->cmdCrypto->isEnabled() && !e.w->cmdCancelFile->isEnabled());  // idle
        if (c.folder.contains("Project.zip")) {
            EXPECT_EQ(test::readFile(e.archive), original);
        }
    }
}

TEST(frmEncrypt, AutomaticRunHalfASecondAfterShowingTurnsTheArchiveIntoUzp) {
    EncryptWindow e(kKey, sample::randomBytes(300000) + sample::englishLikeText(100000));
    const QByteArray original = test::readFile(e.archive);
    e.w->Form_Load();
    const QRect screen = e.w->screen()->geometry();  // centred
    EXPECT_EQ(e.w->pos(), QPoint(screen.width() / 2 - e.w->width() / 2,
                                 screen.height() / 2 - e.w->height() / 2));
    e.ui.onModal([](QWidget& w) { EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); })); });
    e.ui.showModal(*e.w);
    const QString uzp = e.path("Project.uzp");
    EXPECT_EQ(test::listing(e.dir.path()), QStringList{"Project.uzp"});
    EXPECT_EQ(e.w->lblEncryptFile->text(), e.archive);
    EXPECT_EQ(e.w->txtSource->text() + e.w->txtTarget->text(), uzp + uzp);
    EXPECT_TRUE(e.messages().isEmpty());
    EXPECT_EQ(korva::FileCrypto(uzp, uzp, kKey, {}), e.archive);
    EXPECT_EQ(test::readFile(e.archive), original);
}

TEST(frmEncrypt, ClosedBeforeItsTickTheWindowRunsNothing) {
    EncryptWindow e(kKey);
    e.w->Form_Load();
    e.w->show();
    e.w->close();
    QTest::qWait(700);
    EXPECT_EQ(test::listing(e.dir.path()), QStringList{"Project.zip"});
    EXPECT_TRUE(e.messages().isEmpty());
}

TEST(frmEncrypt, KeyQualityFollowsTheKey) {
    // Key in the settings, key then typed into txtKey, the label afterwards.
    const struct {
        QString stored, typed, label;
    } cases[] = {
        {"", "", "Key Quality: 0 %"},  // an empty key is no change
        {kKey, "", "Key Quality: 100%"}, {"abcde", "", "Key Quality: 15%"},
        {"abab", "", "Key Quality: 0%"}, {"", "abcdE1", "Key Quality: 31%"},
    };
    for (const auto& c : cases) {
        EncryptWindow e(c.stored);
        EXPECT_EQ(e.w->lblKeyQuality->text(), "Key Quality: 0 %");
        e.w->Form_Load();
        QTest::keyClicks(e.w->txtKey, c.typed);
        EXPECT_EQ(e.w->lblKeyQuality->text(), c.label) << c.stored.toStdString();
        EXPECT_EQ(e.w->txtKey->displayText(), QString(e.w->txtKey->text().size(), '*'));
    }
}

TEST(frmEncrypt, TextCryptoTwiceGivesTheInputBack) {
    const QString keyError = "C| |Key too small/is repeating (Error 3)";
    // Key, input, the key of the second pass, whether the first pass armours, the messages.
    const struct {
        QString key, input, secondKey;
        bool armours;
        QStringList messages;
    } cases[] = {
        {kKey, "Meet me at the station at 9.", kKey, true, {}},
        {kKey, "two\nlines, été", kKey, true, {}},
        {"", "secret", "", false, {keyError, keyError}},
        {kKey, "", kKey, false, QStringList(2, "C| |Cannot continue without text (Error 1)")},
        {kKey, "wrong key", "Another key 77", true, {"C| |Failed decoding the text (Error 33)"}},
    };
    for (const auto& c : cases) {
        EncryptWindow e(c.key);
        e.w->Form_Load();
        e.w->txtBox->setPlainText(c.input);
        e.w->cmdText->click();
        const QString first = e.w->txtBox->toPlainText();
        EXPECT_EQ(first.startsWith("--- BEGIN KORVA MESSAGE ---"), c.armours)
            << first.toStdString();
        e.w->txtKey->setText(c.secondKey);
        e.w->cmdText->click();
        EXPECT_EQ(e.w->txtBox->toPlainText(), c.secondKey == c.key ? c.input : first);
        EXPECT_EQ(e.messages(), c.messages);
        EXPECT_TRUE(e.w->cmdText->isEnabled() && !e.w->cmdCancelText->isEnabled());
    }
}

TEST(frmEncrypt, ProgressFillsTheBoxOnItsOwnScale) {
    // Percent, box width, pixels filled.
    const int cases[][3] = {{0, 291, 0},    {1, 291, 4},     {40, 291, 160}, {72, 291, 288},
                            {73, 291, 291}, {100, 291, 291}, {40, 0, 0},     {-5, 291, 0}};
    for (const auto& [percent, width, fill] : cases)
        EXPECT_EQ(progressFillWidth(percent, width), fill) << percent << " " << width;

    EncryptWindow e(kKey);
    const std::pair<double, int> draws[] = {{40, 40}, {150, 100}, {0, 0}};
    for (const auto& [drawn, shown] : draws) {
        korva::DrawProgress(drawn);
        EXPECT_EQ(e.w->picProgress->percent(), shown);
    }
    EXPECT_TRUE(e.guard.sink.drawn.empty());
    e.w.reset();
    korva::DrawProgress(30);  // the window is gone: the sink it replaced is back
    EXPECT_EQ(e.guard.sink.drawn, std::vector<int>{30});
}

TEST(frmEncrypt, MouseMovesOverTheFramesAndTextBoxFeedThePool) {
    EncryptWindow e(kKey);
    e.w->show();
    // The control, the pointer there, the byte it adds (-1: none).
    const struct {
        QWidget* over;
        QPoint at;
        int byte;
    } cases[] = {{e.w->fraKey, {3, 5}, 6},          {e.w->fraFile, {10, 300}, 38},
                 {e.w->fraText, {200, 1}, 201},     {e.w->txtBox->viewport(), {7, 9}, 14},
                 {e.w->lblNote, {5, 9}, -1},        {e.w->picProgress, {5, 9}, -1},
                 {e.w->lblEncryptFile, {20, 1}, -1}};
    for (const auto& c : cases) {
        korva::resetEntropyPool();
        QMouseEvent move(QEvent::MouseMove, c.at, c.over->mapToGlobal(QPointF(c.at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(c.over, &move);
        const QByteArray expected = c.byte < 0 ? QByteArray() : QByteArray(1, char(c.byte));
        EXPECT_EQ(korva::entropyPool(), expected) << c.over->objectName().toStdString();
    }
}

}  // namespace
}  // namespace vx
