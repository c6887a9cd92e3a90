// Helpers for the zip component's tests: a scratch folder with files of chosen contents and
// times, the system's zip tools run on real archives, hand-made archives, and a recorder of
// the component's events.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>
#include <ctime>
#include <vector>

#include "archive/arkovo.h"

using namespace Qt::StringLiterals;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace vx::test {

// The output and exit code of a command.
struct ToolRun {
    int code = -1;
    QString out;
};
ToolRun runTool(const QString& program, const QStringList& args);
// What unzip -p prints for one entry ("" when it is missing).
QString unzipped(const QString& archive, const QString& entry);

// One entry of a hand-made archive: name as stored, data, Unix mode (0 for none).
struct RawEntry {
    QByteArray name;
    QByteArray data;
    unsigned mode = 0100644;
};
// Writes an archive with exactly these entries through libzip, names unchecked.
void writeRawZip(const QString& path, const std::vector<RawEntry>& entries);

// The general-purpose flags of each central directory record, by stored name.
QHash<QString, unsigned> centralFlags(const QString& archive);

// Everything the component announced, in order, as short texts ("AddProgress 40 a.txt").
struct EventLog {
    explicit EventLog(Arkovo& arkovo);
    QStringList events;
    QStringList errors;
    QStringList reports;
    bool offThread = false;  // a signal came from another thread
    int count(const QString& prefix) const;
};

class ArchiveTest : public ::testing::Test {
protected:
    // Writes a file under the scratch folder (folders made as needed) and returns its path;
    // mtime other than 0 sets its modification time.
    QString file(const QString& relative, const QByteArray& data, std::time_t mtime = 0);
    QString path(const QString& relative) const { return m_dir.path() + u'/' + relative; }
    QByteArray read(const QString& relative) const;
    // Names listed by zipinfo -1, sorted.
    QStringList zipinfoNames(const QString& archive) const;
    // Adds with the component and checks that unzip -t accepts the result.
    void add(const QStringList& names, int action = 1, bool keepPaths = false, bool dos83 = false,
             int level = 6);
    QStringList listed() const;  // FileName of every entry, in archive order

    QTemporaryDir m_dir;
    Arkovo m_arkovo;
    EventLog m_log{m_arkovo};
    QString m_zip = path(QStringLiteral("out/test.zip"));
};

}  // namespace vx::test
