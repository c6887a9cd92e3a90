// The encryption window driven as a person would: the automatic run, "File Crypto" and
// "Text Crypto" with their messages and the folder after, Cancel in the middle of a run, the key
// quality label, the progress box and the mouse moves that feed the entropy pool.
#include "crypto/frmEncrypt.h"

#include <gtest/gtest.h>

#include <optional>

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

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
const QString kKeyError = QStringLiteral("C| |Key too small/is repeating (Error 3)");
const QString kCodePageError = QStringLiteral(
    "C| |Key or private key holds characters outside Windows-1252 (Error 7)");

// A window over the archive Project.zip; the key is saved as "EncryptKey" unless empty.
struct EncryptWindow {
    QTemporaryDir conf, dir;
    test::ModuleGuard guard;
    SettingsStore store{conf.filePath("TULPAREG.conf")};
    test::ScriptedUi ui;
    QString archive;
    std::unique_ptr<frmEncrypt> w;

    explicit EncryptWindow(const QString& key)
        : archive(test::writeFile(dir.filePath("Project.zip"), sample::englishLikeText(200000))) {
        if (!key.isEmpty()) (void)store.save(kSettingsSection, "EncryptKey", key);
        w = std::make_unique<frmEncrypt>(ui, store, [this] { return archive; });
    }
    QString path(const char* name) const { return *name ? dir.filePath(name) : archive; }
    // Each message as its icon's letter (N none, C critical), title and text.
    QStringList messages() const {
        QStringList out;
        for (const test::Shown& m : ui.messages())
            out << QString(QString("NIQEC"[int(m.icon)]) + '|' + m.title + '|' + m.text)
                       .replace(dir.path(), "<dir>");
        return out;
    }
};

// Shown: shown modally after loading, the window runs by itself. ClosedEarly: the person closes
// it before its tick. Cancelled: Cancel is pressed in the middle of "File Crypto". Ticked: Timer1's
// tick arrives in the middle of "File Crypto" (TickedInText: of "Text Crypto") and the automatic
// run follows once the click's run ended.
enum class Action { Shown, ClosedEarly, File, FileTwice, Cancelled, Ticked, TickedInText };

TEST(frmEncrypt, RunsLeaveTheFieldsMessagesAndFolder) {
    const QStringList zip{"Project.zip"}, uzp{"Project.uzp"}, copy{"Project.zip", "copy.uzp"};
    const QString ask = "Q|Vexaro|<dir>/copy.uzp already exists.\nReplace it?";
    const QString kept = "C| |File error: <dir>/copy.uzp exists and was not replaced (Error 12)";
    // Key, target ("": the archive), a copy.uzp there before (answered Yes or No), action;
    // messages, txtSource, txtTarget, folder, still open.
    // clang-format off
    const struct { QString key; const char* target; std::optional<Answer> replace; Action run;
                   QStringList messages; const char *source, *targetAfter; QStringList folder;
                   bool open; } cases[] = {
        {"", "", {}, Action::Shown, {kKeyError}, "", "", zip, false},
        {kKey, "", {}, Action::Shown, {}, "Project.uzp", "Project.uzp", uzp, false},
        {kKey, "", {}, Action::ClosedEarly, {}, "", "", zip, false},
        {kKey, "copy.zip", {}, Action::File, {kDone}, "", "copy.uzp", copy, true},
        {kKey, "copy.zip", Answer::Yes, Action::File, {ask, kDone}, "", "copy.uzp", copy, true},
        {kKey, "copy.zip", Answer::No, Action::File, {ask, kept, kDone}, "", "copy.zip", copy,
         true},
        {kKey, "", {}, Action::FileTwice, {kDone, kDone}, "", "", zip, true},
        {kKey, "", {}, Action::Cancelled, {"C| |Encoding has been aborted by user", kDone}, "", "",
         zip, true},
        // The click encrypts the archive, the automatic run that follows restores it.
        {kKey, "", {}, Action::Ticked, {kDone}, "", "", zip, false},
        {kKey, "", {}, Action::TickedInText, {}, "Project.uzp", "Project.uzp", uzp, false}};
    // clang-format on
    for (const auto& c : cases) {
        EncryptWindow e(c.key);
        const QByteArray original = test::readFile(e.archive);
        const QByteArray older = "a file the person keeps";
        if (c.replace) {
            test::writeFile(e.path("copy.uzp"), older);
            e.ui.answerMessage(*c.replace);
        }
        e.w->Form_Load();
        e.w->txtTarget->setText(e.path(c.target));
        e.w->txtBox->setPlainText(sample::englishLikeText(30000));
        int yields = 0, busy = 0;  // every yield comes with the busy buttons
        setYieldHook([&] {
            busy += !e.w->cmdCrypto->isEnabled() && e.w->cmdCancelText->isEnabled();
            if (++yields != 5) return;
            if (c.run == Action::Cancelled) e.w->cmdCancelFile->click();
            if (c.run >= Action::Ticked) e.w->Timer1_Timer();
        });
        e.ui.onModal([&](QWidget& w) {
            if (c.run == Action::ClosedEarly) w.close();
            EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }));
            QTest::qWait(c.run == Action::ClosedEarly ? 700 : 0);
        });
        c.run <= Action::ClosedEarly ? e.ui.showModal(*e.w) : e.w->show();
        if (c.run == Action::TickedInText) e.w->cmdText->click();
        for (int i = c.run == Action::FileTwice ? 2 : c.run > Action::ClosedEarly; i > 0; --i)
            if (c.run != Action::TickedInText) e.w->cmdCrypto->click();
        EXPECT_EQ(e.messages(), c.messages) << int(c.run);
        EXPECT_EQ(e.w->txtSource->text() + " " + e.w->txtTarget->text(),
                  e.path(c.source) + " " + e.path(c.targetAfter));
        EXPECT_EQ(test::listing(e.dir.path()), c.folder);
        EXPECT_EQ(e.w->isVisible(), c.open);
        EXPECT_EQ(busy, yields);
        EXPECT_TRUE(e.w->cmdCrypto->isEnabled() && !e.w->cmdCancelFile->isEnabled());  // idle
        // Every encrypted file left restores to the archive; a kept file stays as it was.
        QDir(e.dir.path()).mkdir("check");
        for (const QString& name : c.folder) {
            if (!name.endsWith(".uzp")) continue;
            if (c.replace == Answer::No) {
                EXPECT_EQ(test::readFile(e.path("copy.uzp")), older);
                continue;
            }
            const QString back =
                korva::FileCrypto(e.path(qPrintable(name)), e.path("check/back"), kKey, {});
            EXPECT_EQ(test::readFile(back), original) << name.toStdString();
        }
        if (c.folder.contains("Project.zip")) EXPECT_EQ(test::readFile(e.archive), original);
    }
}

TEST(frmEncrypt, KeyQualityFollowsTheKey) {
    // The key in the settings, keys then typed into txtKey, the label afterwards.
    // clang-format off
    const struct { QString stored, typed, label; } cases[] = {
        {"", "", "Key Quality: 0 %"},  // an empty key is no change
        {kKey, "", "Key Quality: 100%"}, {"abcde", "", "Key Quality: 15%"},
        {"abab", "", "Key Quality: 0%"}, {"", "abcdE1", "Key Quality: 31%"}};
    // clang-format on
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
    // Key, input, the key of the second pass, whether the first pass armours, the messages.
    // clang-format off
    const struct { QString key, input, secondKey; bool armours; QStringList messages; } cases[] = {
        {kKey, "Meet me at the station at 9.\ntwo lines, été", kKey, true, {}},
        {kKey, "wrong key", "Another key 77", true, {"C| |Failed decoding the text (Error 33)"}},
        {"Пароль2024", "secret", "Пароль2024", false, {kCodePageError, kCodePageError}}};
    // clang-format on
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

TEST(frmEncrypt, ProgressOnItsOwnScaleAndMouseMovesOverFramesAndTextBox) {
    EncryptWindow e(kKey);
    e.w->picProgress->setFixedWidth(291);
    // Percent drawn, percent kept, pixels filled.
    const int draws[][3] = {{1, 1, 4}, {40, 40, 160}, {72, 72, 288}, {150, 100, 291}, {0, 0, 0}};
    for (const auto& [drawn, kept, fill] : draws) {
        korva::DrawProgress(drawn);
        EXPECT_EQ(e.w->picProgress->percent(), kept);
        EXPECT_EQ(e.w->picProgress->filledWidth(), fill);
    }
    // Each move feeds (x xor y) and 255 over the frames and the text box, nothing elsewhere.
    korva::resetEntropyPool();
    const std::tuple<QWidget*, int, int> moves[] = {
        {e.w->fraKey, 3, 5},    {e.w->lblNote, 5, 9},      {e.w->fraFile, 10, 300},
        {e.w->fraText, 200, 1}, {e.w->picProgress, 5, 10}, {e.w->txtBox->viewport(), 7, 9}};
    for (const auto& [over, x, y] : moves) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), over->mapToGlobal(QPointF(x, y)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(over, &move);
    }
    EXPECT_EQ(korva::entropyPool(), QByteArray("\x06\x26\xc9\x0e"));
    EXPECT_TRUE(e.guard.sink.drawn.empty());
    e.w.reset();
    korva::DrawProgress(30);  // the window is gone: the sink it replaced is back
    EXPECT_EQ(e.guard.sink.drawn, std::vector<int>{30});
}

}  // namespace
}  // namespace vx
