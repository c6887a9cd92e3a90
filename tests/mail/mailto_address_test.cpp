// The mailto: address as built (its values encoded only where they would break it apart), its
// argument errors, and what reaches the desktop's opener.
#include "mail/mailto_address.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QThread>

#include "qt_printers.h"
#include "scripted_ui.h"
#include "temp_home.h"
#include "ui/qt_ui.h"

using namespace vx;

TEST(MailtoAddress, BuiltAsGivenOrRefused) {
    const QVariant number(42), date(QDateTime::currentDateTime()), mixed(QVariantList{"a", 1});
    // The arguments, and the address opened or the error returned.
    const struct {
        QVariant to, cc, bcc;
        const char *subject, *body, *result;
    } cases[] = {
        {QStringList{"a@x.org"}, QStringList{""}, "", "", "Hi", "mailto:a@x.org?body=Hi&cc=&bcc="},
        {QStringList{""}, QStringList{""}, "", "S", "B", "mailto:?subject=S&body=B&cc=&bcc="},
        {QVariantList{"a@x", "b@x"}, {}, {}, "100% a&b", "", "mailto:a@x;b@x?subject=100%25 a%26b"},
        // Inside values exactly "&", "#" and "%" are encoded; the body's "%0A" line breaks stay.
        {QStringList{"a#1@x"}, QStringList{"c&d@x"}, "e%f@x", "Q&A #2", "x%0Ay & 5%0% #",
         "mailto:a%231@x?subject=Q%26A %232&body=x%0Ay %26 5%250%25 %23&cc=c%26d@x&bcc=e%25f@x"},
        {"a@x", {}, {}, "a?b=c;d /+\"é\"", "l%0A", "mailto:a@x?subject=a?b=c;d /+\"é\"&body=l%0A"},
        {"a@x", {}, {}, "", "", "mailto:a@x"},
        {number, {}, {}, "S", "B", "ERROR: jTo Invalid Data Type"},
        {QVariant(), {}, {}, "S", "B", "ERROR: jTo Invalid Data Type"},
        {"a@x", date, mixed, "S", "B", "ERROR: jCC Invalid Data Type"},
        {"a@x", {}, mixed, "S", "B", "ERROR: jBCC Invalid Data Type"}};
    for (const auto& c : cases) {
        test::ScriptedUi ui;
        const QString error = QuickMail(ui, c.to, c.cc, c.bcc, c.subject, c.body);
        QStringList seen = ui.opened();  // nothing is opened when there is an error
        if (!error.isEmpty()) seen << error;
        EXPECT_EQ(seen, QStringList{c.result});
    }
}

// QUrl would have turned blanks into "%20" and, because of the lone "%", "%0A" into "%250A".
TEST(MailtoAddress, DesktopOpenerGetsTheAddressUnchanged) {
    test::TempHome dir;
    const QString opener = dir.write(
        "xdg-open", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.args\"\n");
    QFile::setPermissions(opener, QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir.path().toUtf8() + ":" + path);
    const QString address = "mailto:a@x.org?subject=100% done, \"é\"&body=Hi%0Ahttp://x/a b&cc=";
    EXPECT_TRUE(QtUi().shellOpen(address));
    qputenv("PATH", path);
    QFile args(opener + ".args");
    for (int i = 0; i < 500 && !args.exists(); ++i) QThread::msleep(20);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(args.readAll()), address + "|");
}
