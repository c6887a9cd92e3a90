// Arkovo: the program's one zip component, on libzip. It selects one archive at a time by path,
// lists its entries, adds files to it, deletes and extracts entries. Every call is synchronous
// and raises its progress events while it runs; the caller's windows stay alive because the
// component yields to the event loop between blocks of work (see the contract of each call).
//
// Failure is never thrown. A call that cannot work on the archive as a whole (not a zip file,
// damaged, unwritable) raises ArchiveError with a message that names the file and what is
// wrong, and leaves the archive on disk as it was. A single file or entry that is passed over
// (unreadable, refused as unsafe, a stored-name collision) raises EntryReport and the call goes
// on with the rest.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

namespace vx {

// One entry of the selected archive. Sizes are 64-bit (Zip64 archives), wider than the 32-bit
// fields the windows were first designed around.
struct ArkovoEntry {
    QString DateTime;   // the entry's modification time as display text (see FormatEntryTime)
    quint32 CRC = 0;    // CRC-32 of the uncompressed data
    qint64 PackedSize = 0;
    qint64 Size = 0;    // uncompressed
    QString FileName;   // stored name with its folder part, "/" separated
};

class Arkovo : public QObject {
    Q_OBJECT
public:
    explicit Arkovo(QObject* parent = nullptr);
    ~Arkovo() override;
    Arkovo(const Arkovo&) = delete;
    Arkovo& operator=(const Arkovo&) = delete;

    // The full path of the selected archive; empty when none is selected.
    QString ArchiveName() const;
    // Selects the archive at path, existing or not (a missing one is created by the first
    // AddFiles), and raises ArchiveChanged. An existing file that is not a readable zip archive
    // is still selected (so it can be deleted) but lists no entries, and ArchiveError follows.
    // The empty string selects no archive.
    void setArchiveName(const QString& path);

    // A byte count as text for the status line.
    QString FormatSize(qint64 bytes) const;

    // Adds files to the selected archive, creating it when missing. names holds full file paths
    // or "folder/*.*" wildcards. action: 1 add and replace, 3 update and add, 2 freshen.
    // keepPaths stores full paths (without the leading "/"); dos83 stores 8.3 names; level 0
    // stores, 1 to 9 deflate. flag is accepted and has no effect. Raises AddProgress per file,
    // AddComplete at the end, then ArchiveChanged. Yields.
    void AddFiles(const QStringList& names, int action, bool& keepPaths, bool flag, bool& dos83,
                  int level);

    // Removes the entries whose stored name or file-name part matches one of names (exact, or
    // a pattern with "*" and "?"). Raises DeleteProgress, DeleteComplete, then ArchiveChanged.
    void DeleteFiles(const QStringList& names);

    // Extracts the entries matching names (as DeleteFiles) under destination. skipOlder non-zero
    // passes over entries older than an existing file; useFolderNames recreates the stored
    // folders, otherwise files go flat into destination; overwrite replaces existing files,
    // otherwise they are kept. Never writes outside destination. Returns the number of files
    // written. Raises ExtractProgress and ExtractComplete. Yields.
    qint32 ExtractFiles(const QStringList& names, qint32 skipOlder, bool useFolderNames,
                        bool overwrite, QString& destination);

    // Entry index (1-based); an index out of range gives an empty entry.
    ArkovoEntry GetEntry(qint64 index) const;
    qint64 EntryCount() const;

    // The folder part of a stored name ("" when none) and its file-name part.
    static QString GetFilePath(const QString& storedName);
    static QString GetFileName(const QString& storedName);

    // Lets go of the selected archive; ArchiveName becomes empty.
    void CloseArchive();

signals:
    void ArchiveChanged();
    void AddProgress(int percent, const QString& fileName);
    void AddComplete(int value);
    void ExtractProgress(int percent, const QString& fileName);
    void ExtractComplete(int value);
    void DeleteProgress(int percent, const QString& fileName);
    void DeleteComplete(int value);

    // Beyond the classic events: the whole call failed (message names the file and the cause).
    void ArchiveError(const QString& message);
    // One file or entry was passed over or renamed; the call went on.
    void EntryReport(const QString& message);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace vx
