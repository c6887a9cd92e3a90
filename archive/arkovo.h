// Arkovo: the program's one zip component, on libzip. It selects one archive at a time by path,
// lists its entries, adds files to it, deletes and extracts entries. Every call is synchronous
// and raises its progress events while it runs; the caller's windows stay alive because the
// component yields to the event loop between blocks of work (see the contract of each call).
//
// One call at a time: a call made from an event handler while another call is yielding is
// refused with ArchiveError and changes nothing. Worker threads stay inside the component;
// every signal is emitted on the caller's thread.
//
// Failure is never thrown. A call that cannot work on the archive as a whole (not a zip file,
// damaged, unwritable) raises ArchiveError with a message that names the file and what is
// wrong, and leaves the archive on disk as it was. Archives that libzip alone refuses but other
// tools read (data before the archive, names falsely flagged UTF-8) are listed and extracted,
// not changed. Names are shown and written with control and direction characters as "_"
// (entry_names.h), each such entry reported. A single file or entry that is passed over
// (unreadable, refused as unsafe, a stored-name collision) raises EntryReport and the call goes
// on with the rest.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace vx {

class EntryChoice;

// One entry of the selected archive. Sizes are unsigned 64-bit (Zip64 archives), wider than the
// 32-bit fields the windows were first designed around.
struct ArkovoEntry {
    QString DateTime;  // local time, "yyyy-mm-dd hh:mm:ss" (FormatEntryTime, entry_text.h)
    quint32 CRC = 0;   // CRC-32 of the uncompressed data
    quint64 PackedSize = 0;
    quint64 Size = 0;  // uncompressed
    QString FileName;  // stored name with its folder part, "/" separated; "" for the
                       // entry of a folder ("docs/"), which the windows pass over
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

    // A byte count as text for the status line, in units of 1024: "0 bytes", "1 byte",
    // "999 bytes", "1.0 KB" to "9.9 KB", "10 KB" to "1023 KB", then MB, GB and TB alike
    // (FormatByteCount, entry_text.h).
    QString FormatSize(qint64 bytes) const;

    // Adds files to the selected archive, creating it when missing. names holds full file paths
    // or "folder/*.*" wildcards (stored names: add_list.h). action: 1 add and replace, 3 update
    // and add, 2 freshen (add_job.h); another value adds nothing and raises ArchiveError.
    // keepPaths stores full paths (without the leading "/"); dos83 stores 8.3 names
    // (dos_names.h); level 0 stores, 1 to 9 deflate (values outside clamp). flag is accepted
    // and has no effect. Raises AddProgress (percent of the bytes to add, stored name) as files
    // are written, EntryReport for each file left out or renamed, AddComplete at the end, then
    // ArchiveChanged. Yields.
    void AddFiles(const QStringList& names, int action, bool& keepPaths, bool flag, bool& dos83,
                  int level);

    // Removes the entries whose whole stored name matches one of names, as typed by the user
    // (exact, or a pattern with "*" and "?": name_pattern.h). Raises DeleteProgress,
    // DeleteComplete, then ArchiveChanged.
    void DeleteFiles(const QStringList& names);
    // Removes exactly the entries at these 1-based indexes (list rows' tags), as DeleteFiles.
    // When the archive changed on disk since it was listed nothing is removed: ArchiveError,
    // and the list is read again.
    void DeleteEntries(const QList<qint64>& indexes);

    // Extracts the entries matching names (as DeleteFiles) under destination, which is made
    // when missing. useFolderNames recreates the stored folders, otherwise files go flat into
    // destination; overwrite replaces existing files, otherwise they are kept; with skipOlder
    // non-zero an existing file is not replaced by an older entry either. Never writes outside
    // destination (safe_paths.h). Returns the number of files written. Raises ExtractProgress,
    // EntryReport for each entry passed over, and ExtractComplete. Yields.
    qint32 ExtractFiles(const QStringList& names, qint32 skipOlder, bool useFolderNames,
                        bool overwrite, QString& destination);
    // Extracts exactly the entries at these 1-based indexes, as ExtractFiles (and refused as
    // DeleteEntries is when the archive changed on disk). written, when given, receives the
    // path of every file written.
    qint32 ExtractEntries(const QList<qint64>& indexes, qint32 skipOlder, bool useFolderNames,
                          bool overwrite, QString& destination, QStringList* written = nullptr);

    // What the component is busy with ("extracting entries"), "" when no call runs.
    QString busyWith() const;

    // Entry index (1-based); an index out of range gives an empty entry.
    ArkovoEntry GetEntry(qint64 index) const;
    // The FileName of GetEntry(index), without making the rest of the entry.
    QString entryFileName(qint64 index) const;
    // Whether the entry has a FileName (the windows list it), and its Size, without making the
    // entry.
    bool entryListed(qint64 index, quint64& size) const;

    // Asked for the password of each encrypted entry ExtractFiles meets (retry: the one given
    // before did not open it); nullopt gives none. Without a prompt such entries are reported.
    using PasswordPrompt =
        std::function<std::optional<QString>(const QString& storedName, bool retry)>;
    void setPasswordPrompt(PasswordPrompt prompt) { m_passwordPrompt = std::move(prompt); }
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
    bool enter(const char* what);  // false (and ArchiveError) while another call runs
    void leave();
    void refresh();          // rereads the entry list, raises ArchiveChanged (and ArchiveError)
    bool listedIsCurrent();  // false (ArchiveError, refresh) when the file changed on disk
    void deleteChosen(const EntryChoice& choice);
    qint32 extractChosen(const EntryChoice& choice, qint32 skipOlder, bool useFolderNames,
                         bool overwrite, QString& destination, QStringList* written);

    std::unique_ptr<State> m_state;
    PasswordPrompt m_passwordPrompt;
};

}  // namespace vx
