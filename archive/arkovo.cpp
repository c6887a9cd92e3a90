// The zip component: selection of the archive, its cached entry list, and the events around
// the add, delete and extract jobs.
#include "archive/arkovo.h"

#include <QFile>
#include <algorithm>
#include <vector>

#include "archive/add_job.h"
#include "archive/delete_job.h"
#include "archive/entry_text.h"
#include "archive/extract_job.h"
#include "archive/zip_handles.h"
#include "core/yield.h"

namespace vx {

struct Arkovo::State {
    QString archive;
    std::vector<ArkovoEntry> entries;
    bool busy = false;
};

namespace {

// Reads the entry list of the archive at path; a missing file lists nothing.
Result<std::vector<ArkovoEntry>> readEntries(const QString& path) {
    std::vector<ArkovoEntry> entries;
    if (path.isEmpty() || !QFile::exists(path)) return entries;
    QString message;
    ZipArchive za = openArchive(path, ZIP_RDONLY, message);
    if (!za) return Status::error(message);
    const zip_int64_t count = zip_get_num_entries(za.get(), 0);
    entries.reserve(static_cast<std::size_t>(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        ArkovoEntry entry;
        if (zip_stat_index(za.get(), static_cast<zip_uint64_t>(i), 0, &st) == 0) {
            entry.DateTime = FormatEntryTime((st.valid & ZIP_STAT_MTIME) ? st.mtime : -1);
            entry.CRC = st.crc;
            entry.PackedSize = static_cast<qint64>(st.comp_size);
            entry.Size = static_cast<qint64>(st.size);
            const QString name = st.name ? QString::fromUtf8(st.name) : QString();
            // Folder entries are listed with no name, so the windows pass over them.
            if (!name.endsWith(u'/')) entry.FileName = name;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace

Arkovo::Arkovo(QObject* parent) : QObject(parent), m_state(std::make_unique<State>()) {}

Arkovo::~Arkovo() = default;

QString Arkovo::ArchiveName() const { return m_state->archive; }

bool Arkovo::enter(const char* what) {
    if (!m_state->busy) {
        m_state->busy = true;
        return true;
    }
    emit ArchiveError(QStringLiteral("The archive %1 is busy; %2 must wait until the current "
                                     "work is done.")
                          .arg(m_state->archive, QLatin1String(what)));
    return false;
}

void Arkovo::leave() { m_state->busy = false; }

void Arkovo::refresh() {
    Result<std::vector<ArkovoEntry>> entries = readEntries(m_state->archive);
    m_state->entries = entries ? std::move(entries).value() : std::vector<ArkovoEntry>();
    emit ArchiveChanged();
    if (!entries) emit ArchiveError(entries.message());
}

void Arkovo::setArchiveName(const QString& path) {
    if (!enter("selecting another archive")) return;
    m_state->archive = path;
    m_state->entries.clear();
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

void Arkovo::DeleteFiles(const QStringList& names) {
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
        deleted = deleteFromArchive(m_state->archive, names, events);
    }
    leave();
    if (!deleted) emit ArchiveError(deleted.message());
    emit DeleteComplete(0);
    refresh();
}

qint32 Arkovo::ExtractFiles(const QStringList& names, qint32 skipOlder, bool useFolderNames,
                            bool overwrite, QString& destination) {
    if (!enter("extracting entries")) return 0;
    Result<int> written = 0;
    if (m_state->archive.isEmpty()) {
        written = Status::error(QStringLiteral("No archive is selected; nothing was extracted."));
    } else {
        ExtractOptions options{skipOlder != 0, useFolderNames, overwrite};
        ExtractEvents events;
        events.progress = [this](int percent, const QString& name) {
            emit ExtractProgress(percent, name);
        };
        events.report = [this](const QString& message) { emit EntryReport(message); };
        events.idle = [] { yieldToEvents(); };
        written = extractFromArchive(m_state->archive, names, destination, options, events);
    }
    leave();
    if (!written) emit ArchiveError(written.message());
    emit ExtractComplete(0);
    return written ? written.value() : 0;
}

ArkovoEntry Arkovo::GetEntry(qint64 index) const {
    if (index < 1 || index > static_cast<qint64>(m_state->entries.size())) return ArkovoEntry();
    return m_state->entries[static_cast<std::size_t>(index - 1)];
}

qint64 Arkovo::EntryCount() const { return static_cast<qint64>(m_state->entries.size()); }

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
    m_state->entries.clear();
    leave();
    emit ArchiveChanged();
}

}  // namespace vx
