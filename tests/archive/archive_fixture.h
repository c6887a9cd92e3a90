// Helpers for the zip component's tests: a scratch folder with files of chosen contents and
// times, hand-made archives, and a recorder of the component's events. The system's zip tools
// are run through zip_tools.h.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <ctime>
#include <vector>

#include "archive/arkovo.h"
#include "qt_printers.h"
#include "temp_home.h"
#include "zip_tools.h"

using namespace Qt::StringLiterals;

namespace vx::test {

// What unzip -p prints for one entry ("" when it is missing).
QString unzipped(const QString& archive, const QString& entry);

// One entry of a hand-made archive: name as stored, data, Unix mode (0 for none).
struct RawEntry {
    QByteArray name;
    QByteArray data;
    unsigned mode = 0100644;
};
// Writes an archive with exactly these entries through libzip, names unchecked; with a password
// every entry is encrypted with AES-256.
void writeRawZip(const QString& path, const std::vector<RawEntry>& entries,
                 const char* password = nullptr);

// Whether the central directory record of the named entry has the "name is UTF-8" flag.
bool utf8Flagged(const QString& archive, const QString& name);

// Everything the component announced, in order, as short texts ("AddProgress 40 a.txt"); the
// texts of errors and entry reports apart.
struct EventLog {
    explicit EventLog(Arkovo& arkovo);
    QStringList events;
    QStringList errors;
    QStringList reports;
    bool offThread = false;  // a signal came from another thread
};

class ArchiveTest : public ::testing::Test {
protected:
    // Writes a file under the scratch folder (folders made as needed) and returns its path;
    // mtime other than 0 sets its modification time.
    QString file(const QString& relative, const QByteArray& data, std::time_t mtime = 0);
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QByteArray read(const QString& relative) const { return readFile(path(relative)); }
    // Adds with the component and checks that unzip -t accepts the result.
    void add(const QStringList& names, int action = 1, bool keepPaths = false, bool dos83 = false,
             int level = 6);
    // Adds with the component alone, for adds that are meant to fail.
    void tryAdd(const QStringList& names, int level = 6);
    // Extracts every entry under the scratch sub-folder to; the number of files written.
    int extractAll(const QString& to, bool folders = true, bool overwrite = true);
    QStringList listed() const;  // FileName of every entry, sorted

    QTemporaryDir m_dir;
    Arkovo m_arkovo;
    EventLog m_log{m_arkovo};
    QString m_zip = path(u"out/test.zip"_s);
};

}  // namespace vx::test
