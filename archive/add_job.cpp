// Writing files into an archive.
#include "archive/add_job.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <memory>
#include <thread>

#include "archive/add_list.h"
#include "archive/archive_output.h"
#include "archive/deflate_pipeline.h"
#include "archive/dos_names.h"
#include "archive/entry_text.h"
#include "archive/file_source.h"
#include "archive/zip_handles.h"

namespace vx {
namespace {

// Stored name -> the entry's time on the zip clock.
using Existing = QHash<QString, std::uint32_t>;

bool isAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
}

class AddJob : public AddSink {
public:
    AddJob(const QString& archivePath, const AddOptions& options, const AddEvents& events)
        : m_archivePath(archivePath), m_options(options), m_events(events) {}

    Status run(const QStringList& names);

    void started(const QString& storedName) override {
        m_current = storedName;
        emitProgress();
    }
    void advanced(std::int64_t bytes) override {
        m_done += bytes;
        emitProgress();
    }
    void idle() override {
        if (m_events.idle) m_events.idle();
    }

private:
    void emitProgress() {
        const int percent =
            m_total > 0 ? static_cast<int>(std::min<std::int64_t>(100, m_done * 100 / m_total))
                        : 100;
        if (percent == m_percent && m_current == m_shownName) return;
        m_percent = percent;
        m_shownName = m_current;
        if (m_events.progress) m_events.progress(percent, m_current);
    }
    void report(const QString& text) {
        if (m_events.report) m_events.report(text);
    }
    Existing readExisting(zip_t* za, QMap<QString, QString>* longNames);
    bool wanted(const Existing& existing, const QString& name, std::time_t mtime) const;
    Status addEntry(zip_t* za, const AddCandidate& file, const QString& name,
                    const QString& longName);
    Status close(ZipArchive& za);

    QString m_archivePath;
    AddOptions m_options;
    const AddEvents& m_events;
    std::vector<unsigned char> m_readBuffer;  // shared by the sources of stored files
    std::vector<std::unique_ptr<FileSource>> m_sources;
    std::vector<std::pair<zip_int64_t, FileSource*>> m_piped;  // entry index, source: the
                                                               // files the workers read ahead
    std::int64_t m_total = 0;
    std::int64_t m_done = 0;
    int m_percent = -1;
    QString m_current;
    QString m_shownName;
};

Existing AddJob::readExisting(zip_t* za, QMap<QString, QString>* longNames) {
    Existing existing;
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(za, static_cast<zip_uint64_t>(i), 0, &st) != 0 || !st.name) continue;
        const QString name = QString::fromUtf8(st.name);
        existing.insert(name, (st.valid & ZIP_STAT_MTIME) ? zipClock(st.mtime) : 0u);
        if (!longNames) continue;
        zip_uint16_t length = 0;
        const zip_uint8_t* data = zip_file_extra_field_get_by_id(
            za, static_cast<zip_uint64_t>(i), kLongNameField, 0, &length, ZIP_FL_CENTRAL);
        longNames->insert(name, data
                                    ? QString::fromUtf8(reinterpret_cast<const char*>(data), length)
                                    : QString());
    }
    return existing;
}

bool AddJob::wanted(const Existing& existing, const QString& name, std::time_t mtime) const {
    const auto it = existing.constFind(name);
    switch (m_options.action) {
        case AddAction::AddReplace:
            return true;
        case AddAction::Update:
            return it == existing.constEnd() || *it < zipClock(mtime);
        case AddAction::Freshen:
            return it != existing.constEnd() && *it < zipClock(mtime);
    }
    return false;
}

Status AddJob::addEntry(zip_t* za, const AddCandidate& file, const QString& name,
                        const QString& longName) {
    AddedFile added{name, QFile::encodeName(file.source), file.size, file.mtime, m_options.level};
    auto source = std::make_unique<FileSource>(std::move(added), this, &m_readBuffer);
    zip_error_t error;
    zip_error_init(&error);
    ZipSource zs(source->create(&error));
    zip_error_fini(&error);
    const QByteArray utf8 = name.toUtf8();
    const zip_flags_t encoding = isAscii(name) ? ZIP_FL_ENC_GUESS : ZIP_FL_ENC_UTF_8;
    const zip_int64_t index =
        zs ? zip_file_add(za, utf8.constData(), zs.get(), ZIP_FL_OVERWRITE | encoding) : -1;
    if (index < 0)
        return Status::error(QStringLiteral("%1 was not added: %2")
                                 .arg(file.source, zipErrorText(zip_get_error(za))));
    zs.release();
    const auto entry = static_cast<zip_uint64_t>(index);
    const int method = source->stored() ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
    zip_set_file_compression(za, entry, method, source->stored() ? 0 : m_options.level);
    zip_file_set_external_attributes(za, entry, 0, ZIP_OPSYS_UNIX,
                                     static_cast<zip_uint32_t>(file.mode & 0xFFFF) << 16);
    // A replaced entry keeps its old extra fields otherwise, such as a timestamp field that
    // would give the new data the old time when extracted.
    zip_file_extra_field_delete(za, entry, ZIP_EXTRA_FIELD_ALL, ZIP_FL_CENTRAL | ZIP_FL_LOCAL);
    if (!longName.isEmpty()) {
        const QByteArray bytes = longName.toUtf8().left(0xFFFF - 4);
        zip_file_extra_field_set(za, entry, kLongNameField, ZIP_EXTRA_FIELD_NEW,
                                 reinterpret_cast<const zip_uint8_t*>(bytes.constData()),
                                 static_cast<zip_uint16_t>(bytes.size()), ZIP_FL_CENTRAL);
    }
    if (file.size > 0) m_piped.emplace_back(index, source.get());
    m_total += file.size;
    m_sources.push_back(std::move(source));
    return Status::ok();
}

Status AddJob::close(ZipArchive& za) {
    // Workers deflate (or at level 0 read) ahead in the order zip_close will read the files:
    // by entry index.
    std::sort(m_piped.begin(), m_piped.end());
    std::vector<DeflatePipeline::File> files;
    for (const auto& [index, source] : m_piped)
        files.push_back({source->file().path, source->file().size});
    const int threads = m_options.threads > 0
                            ? m_options.threads
                            : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::unique_ptr<DeflatePipeline> pipeline;
    if (!files.empty()) {
        pipeline = std::make_unique<DeflatePipeline>(std::move(files), m_options.level, threads);
        for (std::size_t i = 0; i < m_piped.size(); ++i)
            m_piped[i].second->attach(pipeline.get(), static_cast<int>(i));
    }
    // Copying the entries already in the archive raises no source calls: yield from libzip's
    // own progress reports meanwhile.
    zip_register_progress_callback_with_state(
        za.get(), 0.001, [](zip_t*, double, void* self) { static_cast<AddJob*>(self)->idle(); },
        nullptr, this);
    if (zip_close(za.get()) == 0) {
        za.release();
        return Status::ok();
    }
    for (const auto& source : m_sources) {
        if (!source->failure().isEmpty())
            return Status::error(
                QStringLiteral("%1 could not be added (%2); the archive %3 was left as it was.")
                    .arg(QFile::decodeName(source->file().path), source->failure(), m_archivePath));
    }
    return Status::error(QStringLiteral("The archive %1 could not be written: %2. It was left as "
                                        "it was.")
                             .arg(m_archivePath, zipErrorText(zip_get_error(za.get()))));
}

Status AddJob::run(const QStringList& names) {
    QString message;
    ArchiveOutput output;  // outlives za
    ZipArchive za = output.open(m_archivePath, ZIP_CREATE, message);
    if (!za) return Status::error(message);
    QMap<QString, QString> longNames;
    const Existing existing = readExisting(za.get(), m_options.dos83 ? &longNames : nullptr);
    AddList list = expandAddList(names, m_options.keepPaths, m_archivePath, m_events.idle);
    QSet<QString> archived;
    for (auto it = existing.constBegin(); it != existing.constEnd(); ++it)
        archived.insert(it.key());
    makeNamesUnique(list, archived);
    for (const QString& text : list.reports) report(text);

    DosNames dosNames(std::move(longNames));
    for (const AddCandidate& file : list.files) {
        const QString name = m_options.dos83 ? dosNames.shortPath(file.name) : file.name;
        if (!wanted(existing, name, file.mtime)) continue;
        const QString longName = name != file.name ? file.name : QString();
        const Status added = addEntry(za.get(), file, name, longName);
        if (!added) report(added.message());
    }
    Status closed = close(za);
    if (!closed) return closed;
    if (!QFile::exists(m_archivePath)) return writeEmptyArchive(m_archivePath);
    return Status::ok();
}

}  // namespace

Status addToArchive(const QString& archivePath, const QStringList& names, const AddOptions& options,
                    const AddEvents& events) {
    AddJob job(archivePath, options, events);
    return job.run(names);
}

}  // namespace vx
