// The zip component: selection of the archive, its cached entry list, and the events around
// the add, delete and extract jobs.
#include "archive/arkovo.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <future>
#include <vector>

#include "archive/add_job.h"
#include "archive/delete_job.h"
#include "archive/entry_names.h"
#include "archive/entry_text.h"
#include "archive/extract_job.h"
#include "archive/safe_paths.h"
#include "archive/zip_handles.h"
#include "core/yield.h"

namespace vx {

namespace {

// An entry as the component keeps it: small, as archives may hold millions of entries. Its
// name lies in the list's one UTF-8 buffer of names.
struct StoredEntry {
    quint64 nameAt = 0;
    quint32 nameLength = 0;  // 0 for one the windows pass over
    quint32 crc = 0;
    std::time_t mtime = -1;
    quint64 packedSize = 0;
    quint64 size = 0;
};

struct EntryList {
    std::vector<StoredEntry> entries;
    QByteArray names;
    void clear() { *this = EntryList(); }
    QString name(std::size_t i) const {
        return QString::fromUtf8(names.constData() + entries[i].nameAt, entries[i].nameLength);
    }
};

}  // namespace

struct Arkovo::State {
    QString archive;
    EntryList list;
    QString busy;         // what the running call does; "" when none runs
    QString listedStamp;  // size and time of the archive file when its list was read
};

namespace {

QString fileStamp(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return QString();
    return QStringLiteral("%1 %2")
        .arg(info.size())
        .arg(info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch());
}

// Reads the entry list of the archive at path; a missing file lists nothing. Names that had to
// be cleaned, and entries with data but no file name, go into reports. Runs on any thread.
Result<EntryList> readEntries(const QString& path, QStringList& reports) {
    EntryList list;
    std::vector<StoredEntry>& entries = list.entries;
    if (path.isEmpty() || !QFile::exists(path)) return list;
    QString message;
    ReadNotes notes;
    ZipArchive za = openForReading(path, message, &notes);
    if (!za) return Status::error(message);
    const zip_int64_t count = zip_get_num_entries(za.get(), 0);
    entries.reserve(static_cast<std::size_t>(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        StoredEntry entry;
        if (zip_stat_index(za.get(), index, ZIP_FL_ENC_RAW, &st) == 0) {
            entry.mtime = (st.valid & ZIP_STAT_MTIME) ? st.mtime : -1;
            entry.crc = st.crc;
            entry.packedSize = st.comp_size;
            entry.size = st.size;
            bool renamed = false;
            const QString name = entryName(za.get(), index, notes.unflagged.count(index), &renamed);
            if (renamed) reports << renamedReport(path, st.name, name);
            // Folder entries are listed with no name, so the windows pass over them; so are
            // entries named ".", "" or "./", which are reported when they hold data.
            const Result<QString> target = extractionPath(name, true);
            const auto keep = [&] {
                const QByteArray utf8 = name.toUtf8();
                entry.nameAt = static_cast<quint64>(list.names.size());
                entry.nameLength = static_cast<quint32>(utf8.size());
                list.names += utf8;
            };
            if (target && !target.value().isEmpty() && !name.endsWith(u'/'))
                keep();
            else if (target && st.size > 0)
                reports << QStringLiteral(
                               "The entry \"%1\" in %2 holds %3 bytes but no file "
                               "name; it is not listed")
                               .arg(name, path)
                               .arg(st.size);
            else if (!target)
                keep();  // listed; extracting it is refused with the reason
        }
        entries.push_back(std::move(entry));
    }
    za.reset();  // libzip's own copy of the directory goes before the names are trimmed
    entries.shrink_to_fit();
    list.names.squeeze();
    return list;
}

}  // namespace

Arkovo::Arkovo(QObject* parent) : QObject(parent), m_state(std::make_unique<State>()) {
    // Without TZ the C library reads the zone file again on every local-time conversion, one
    // stat call each, and libzip converts every entry's time as it opens an archive: a million
    // calls for a million entries. TZ naming the same file has it read once.
    if (!qEnvironmentVariableIsSet("TZ")) qputenv("TZ", ":/etc/localtime");
}

Arkovo::~Arkovo() = default;

QString Arkovo::ArchiveName() const { return m_state->archive; }

bool Arkovo::enter(const char* what) {
    if (m_state->busy.isEmpty()) {
        m_state->busy = QLatin1String(what);
        return true;
    }
    emit ArchiveError(QStringLiteral("The archive %1 is busy; %2 must wait until the current "
                                     "work is done.")
                          .arg(m_state->archive, QLatin1String(what)));
    return false;
}

void Arkovo::leave() { m_state->busy.clear(); }

QString Arkovo::busyWith() const { return m_state->busy; }

bool Arkovo::listedIsCurrent() {
    if (fileStamp(m_state->archive) == m_state->listedStamp) return true;
    emit ArchiveError(QStringLiteral("The archive %1 changed since it was listed; nothing was "
                                     "done. The list was read again: choose the entries again.")
                          .arg(m_state->archive));
    refresh();
    return false;
}

void Arkovo::refresh() {
    // Listing a big archive takes seconds, mostly inside libzip, so it runs on a worker thread
    // while this one yields. Other calls meanwhile are refused as during any other work; the
    // entries listed before stay until the new ones replace them.
    const bool entered = m_state->busy.isEmpty();
    if (entered) m_state->busy = QStringLiteral("listing the archive");
    m_state->listedStamp = fileStamp(m_state->archive);
    QStringList reports;
    auto reading = std::async(std::launch::async, [path = m_state->archive, &reports] {
        return readEntries(path, reports);
    });
    while (reading.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready)
        yieldToEvents();
    Result<EntryList> entries = reading.get();
    if (entered) leave();
    m_state->list.clear();
    if (entries) m_state->list = std::move(entries).value();
    emit ArchiveChanged();
    if (!entries) emit ArchiveError(entries.message());
    for (const QString& report : reports) emit EntryReport(report);
}

void Arkovo::setArchiveName(const QString& path) {
    if (!enter("selecting another archive")) return;
    m_state->archive = path;
    leave();
    refresh();
}

QString Arkovo::FormatSize(qint64 bytes) const { return FormatByteCount(bytes); }

void Arkovo::AddFiles(const QStringList& names, int action, bool& keepPaths, bool flag, bool& dos83,
                      int level) {
    Q_UNUSED(flag);
    if (!enter("adding files")) return;
    Status status = Status::ok();
    if (m_state->archive.isEmpty()) {
        status = Status::error(QStringLiteral("No archive is selected; nothing was added."));
    } else if (action != 1 && action != 2 && action != 3) {
        status =
            Status::error(QStringLiteral("Unknown add action %1; nothing was added.").arg(action));
    } else {
        AddOptions options;
        options.action = static_cast<AddAction>(action);
        options.keepPaths = keepPaths;
        options.dos83 = dos83;
        options.level = std::clamp(level, 0, 9);
        AddEvents events;
        events.progress = [this](int percent, const QString& name) {
            emit AddProgress(percent, name);
        };
        events.report = [this](const QString& message) { emit EntryReport(message); };
        events.idle = [] { yieldToEvents(); };
        status = addToArchive(m_state->archive, names, options, events);
    }
    leave();
    if (!status) emit ArchiveError(status.message());
    emit AddComplete(0);
    refresh();
}

void Arkovo::DeleteFiles(const QStringList& names) { deleteChosen(EntryChoice::byPatterns(names)); }

void Arkovo::DeleteEntries(const QList<qint64>& indexes) {
    if (m_state->busy.isEmpty() && !listedIsCurrent()) return;
    deleteChosen(EntryChoice::byIndexes(indexes));
}

void Arkovo::deleteChosen(const EntryChoice& choice) {
    if (!enter("deleting entries")) return;
    Result<int> deleted = 0;
    if (m_state->archive.isEmpty()) {
        deleted = Status::error(QStringLiteral("No archive is selected; nothing was deleted."));
    } else {
        DeleteEvents events;
        events.progress = [this](int percent, const QString& name) {
            emit DeleteProgress(percent, name);
        };
        events.idle = [] { yieldToEvents(); };
        deleted = deleteFromArchive(m_state->archive, choice, events);
    }
    leave();
    if (!deleted) emit ArchiveError(deleted.message());
    emit DeleteComplete(0);
    refresh();
}

qint32 Arkovo::ExtractFiles(const QStringList& names, qint32 skipOlder, bool useFolderNames,
                            bool overwrite, QString& destination) {
    return extractChosen(EntryChoice::byPatterns(names), skipOlder, useFolderNames, overwrite,
                         destination, nullptr);
}

qint32 Arkovo::ExtractEntries(const QList<qint64>& indexes, qint32 skipOlder, bool useFolderNames,
                              bool overwrite, QString& destination, QStringList* written) {
    if (m_state->busy.isEmpty() && !listedIsCurrent()) return 0;
    return extractChosen(EntryChoice::byIndexes(indexes), skipOlder, useFolderNames, overwrite,
                         destination, written);
}

qint32 Arkovo::extractChosen(const EntryChoice& choice, qint32 skipOlder, bool useFolderNames,
                             bool overwrite, QString& destination, QStringList* written) {
    if (!enter("extracting entries")) return 0;
    Result<int> count = 0;
    if (m_state->archive.isEmpty()) {
        count = Status::error(QStringLiteral("No archive is selected; nothing was extracted."));
    } else {
        ExtractOptions options{skipOlder != 0, useFolderNames, overwrite};
        ExtractEvents events;
        events.progress = [this](int percent, const QString& name) {
            emit ExtractProgress(percent, name);
        };
        events.report = [this](const QString& message) { emit EntryReport(message); };
        events.idle = [] { yieldToEvents(); };
        events.password = [this](const QString& name, bool retry) -> std::optional<QString> {
            if (!m_passwordPrompt) return std::nullopt;
            return m_passwordPrompt(name, retry);
        };
        if (written) events.written = [written](const QString& path) { *written << path; };
        count = extractFromArchive(m_state->archive, choice, destination, options, events);
    }
    leave();
    if (!count) emit ArchiveError(count.message());
    emit ExtractComplete(0);
    return count ? count.value() : 0;
}

ArkovoEntry Arkovo::GetEntry(qint64 index) const {
    if (index < 1 || index > EntryCount()) return ArkovoEntry();
    const auto i = static_cast<std::size_t>(index - 1);
    const StoredEntry& e = m_state->list.entries[i];
    return {FormatEntryTime(e.mtime), e.crc, e.packedSize, e.size, m_state->list.name(i)};
}

QString Arkovo::entryFileName(qint64 index) const {
    if (index < 1 || index > EntryCount()) return QString();
    return m_state->list.name(static_cast<std::size_t>(index - 1));
}

bool Arkovo::entryListed(qint64 index, quint64& size) const {
    if (index < 1 || index > EntryCount()) return false;
    const StoredEntry& e = m_state->list.entries[static_cast<std::size_t>(index - 1)];
    size = e.size;
    return e.nameLength > 0;
}

qint64 Arkovo::EntryCount() const { return static_cast<qint64>(m_state->list.entries.size()); }

QString Arkovo::GetFilePath(const QString& storedName) {
    const qsizetype slash = storedName.lastIndexOf(u'/');
    return slash < 0 ? QString() : storedName.left(slash);
}

QString Arkovo::GetFileName(const QString& storedName) {
    return storedName.mid(storedName.lastIndexOf(u'/') + 1);
}

void Arkovo::CloseArchive() {
    if (!enter("closing the archive")) return;
    m_state->archive.clear();
    m_state->list.clear();
    leave();
    emit ArchiveChanged();
}

}  // namespace vx
