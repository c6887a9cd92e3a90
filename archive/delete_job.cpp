// Removing entries from an archive.
#include "archive/delete_job.h"

#include <QFile>

#include "archive/archive_output.h"
#include "archive/entry_names.h"
#include "archive/zip_handles.h"

namespace vx {
namespace {

struct CloseProgress {
    const DeleteEvents* events;
    QString name;
};

}  // namespace

Result<int> deleteFromArchive(const QString& archivePath, const EntryChoice& choice,
                              const DeleteEvents& events) {
    if (!QFile::exists(archivePath)) return 0;
    QString message;
    ArchiveOutput output;  // outlives za
    ZipArchive za = output.open(archivePath, 0, message);
    if (!za) return Status::error(message);
    CloseProgress state{&events, QString()};
    int deleted = 0;
    const zip_int64_t count = zip_get_num_entries(za.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (!zip_get_name(za.get(), static_cast<zip_uint64_t>(i), 0)) continue;
        const QString name = entryName(za.get(), static_cast<zip_uint64_t>(i), false, nullptr);
        if (!choice.selects(static_cast<zip_uint64_t>(i), name)) continue;
        zip_delete(za.get(), static_cast<zip_uint64_t>(i));
        ++deleted;
        state.name = name;
        if (events.progress) events.progress(0, name);
    }
    if (deleted == 0) return 0;
    // The time goes into copying the entries that stay; report it as it goes.
    zip_register_progress_callback_with_state(
        za.get(), 0.01,
        [](zip_t*, double fraction, void* data) {
            const auto* s = static_cast<CloseProgress*>(data);
            if (s->events->progress) s->events->progress(static_cast<int>(fraction * 100), s->name);
            if (s->events->idle) s->events->idle();
        },
        nullptr, &state);
    if (zip_close(za.get()) != 0)
        return Status::error(QStringLiteral("The archive %1 could not be written: %2. It was left "
                                            "as it was.")
                                 .arg(archivePath, zipErrorText(zip_get_error(za.get()))));
    za.release();
    if (!QFile::exists(archivePath)) {
        const Status empty = writeEmptyArchive(archivePath);
        if (!empty) return empty;
    }
    return deleted;
}

}  // namespace vx
