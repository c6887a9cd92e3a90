// Opening archives and turning libzip's error codes into sentences.
#include "archive/zip_handles.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <vector>

#include "archive/zip_directory.h"

namespace vx {
namespace {

QString systemText(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

// Why an archive could not be opened, as the end of a sentence that starts with its name.
QString openFailure(const zip_error_t& error) {
    const int sys = zip_error_code_system(&error);
    switch (zip_error_code_zip(&error)) {
        case ZIP_ER_NOZIP:
            return QStringLiteral(
                "it is not a zip archive, or it is truncated (no end of central "
                "directory record was found)");
        case ZIP_ER_INCONS:
            return QStringLiteral(
                "the archive is damaged (its directory does not match its "
                "contents)");
        case ZIP_ER_NOENT:
            return QStringLiteral("the file does not exist");
        case ZIP_ER_MULTIDISK:
            return QStringLiteral("archives split over several disks are not supported");
        case ZIP_ER_OPEN:
        case ZIP_ER_READ:
        case ZIP_ER_SEEK:
            return QStringLiteral("the file cannot be read (%1)").arg(systemText(sys));
        case ZIP_ER_MEMORY:
            return QStringLiteral("there is not enough memory to read its directory");
        case ZIP_ER_INVAL:
            return QStringLiteral("its name or its directory holds a value that cannot be used");
        default:
            return zipErrorText(&error);
    }
}

}  // namespace

ZipArchive openArchive(const QString& path, int flags, QString& message) {
    const QByteArray native = QFile::encodeName(path);
    int code = 0;
    zip_t* za = zip_open(native.constData(), flags, &code);
    if (za) return ZipArchive(za);
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    message = openFailureMessage(path, error);
    zip_error_fini(&error);
    return ZipArchive();
}

QString openFailureMessage(const QString& path, const zip_error_t& error) {
    const int code = zip_error_code_zip(&error);
    if (code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS) {
        const Result<ZipDirectory> dir = readZipDirectory(path);
        if (dir && dir.value().prefix > 0)
            return QStringLiteral(
                       "The archive %1 has %2 bytes of other data before it (as a "
                       "self-extracting program has); it can be listed and extracted "
                       "but not changed.")
                .arg(path)
                .arg(dir.value().prefix);
        if (dir && dir.value().anyUnreadableName())
            return QStringLiteral(
                       "The archive %1 has entry names flagged as UTF-8 that are not "
                       "(or hold control characters); it can be listed and extracted "
                       "but not changed.")
                .arg(path);
    }
    return QStringLiteral("Cannot open the archive %1: %2.").arg(path, openFailure(error));
}

namespace {

// A read-only source over part of a file that clears the UTF-8 flag bit of chosen central
// records as their bytes go by.
struct PatchedFile {
    zip_source_t* inner = nullptr;
    std::vector<std::int64_t> patches;  // positions, in the source, of a flags field's high byte
    zip_error_t error;

    static zip_int64_t callback(void* self, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
        auto* me = static_cast<PatchedFile*>(self);
        zip_int64_t rc = -1;
        switch (cmd) {
            case ZIP_SOURCE_SUPPORTS:
                return zip_source_make_command_bitmap(
                    ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                    ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                    ZIP_SOURCE_SUPPORTS, -1);
            case ZIP_SOURCE_ERROR:
                return zip_error_to_data(&me->error, data, len);
            case ZIP_SOURCE_FREE:
                zip_source_free(me->inner);
                zip_error_fini(&me->error);
                delete me;
                return 0;
            case ZIP_SOURCE_OPEN:
                rc = zip_source_open(me->inner);
                break;
            case ZIP_SOURCE_CLOSE:
                rc = zip_source_close(me->inner);
                break;
            case ZIP_SOURCE_STAT:
                if (len < sizeof(zip_stat_t)) break;
                rc = zip_source_stat(me->inner, static_cast<zip_stat_t*>(data)) < 0
                         ? -1
                         : static_cast<zip_int64_t>(sizeof(zip_stat_t));
                break;
            case ZIP_SOURCE_TELL:
                rc = zip_source_tell(me->inner);
                break;
            case ZIP_SOURCE_SEEK: {
                const auto* args =
                    ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, len, &me->error);
                if (!args) return -1;
                rc = zip_source_seek(me->inner, args->offset, args->whence);
                break;
            }
            case ZIP_SOURCE_READ: {
                const zip_int64_t at = zip_source_tell(me->inner);
                rc = at < 0 ? -1 : zip_source_read(me->inner, data, len);
                if (rc <= 0) break;
                auto* bytes = static_cast<unsigned char*>(data);
                for (auto p = std::lower_bound(me->patches.begin(), me->patches.end(), at);
                     p != me->patches.end() && *p < at + rc; ++p)
                    bytes[*p - at] &= static_cast<unsigned char>(~0x08);
                break;
            }
            default:
                zip_error_set(&me->error, ZIP_ER_OPNOTSUPP, 0);
                return -1;
        }
        if (rc < 0) {
            const zip_error_t* e = zip_source_error(me->inner);
            zip_error_set(&me->error, zip_error_code_zip(e), zip_error_code_system(e));
        }
        return rc;
    }
};

}  // namespace

ZipArchive openForReading(const QString& path, QString& message, ReadNotes* notes) {
    const QByteArray native = QFile::encodeName(path);
    int code = 0;
    if (zip_t* za = zip_open(native.constData(), ZIP_RDONLY, &code)) return ZipArchive(za);
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const Result<ZipDirectory> dir = code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS
                                         ? readZipDirectory(path)
                                         : Result<ZipDirectory>(Status::error({}));
    if (!dir || (dir.value().prefix == 0 && !dir.value().anyUnreadableName())) {
        message = QStringLiteral("Cannot open the archive %1: %2.").arg(path, openFailure(error));
        zip_error_fini(&error);
        return ZipArchive();
    }
    const ZipDirectory& d = dir.value();
    auto* patched = new PatchedFile;
    zip_error_init(&patched->error);
    ReadNotes found;
    found.prefix = d.prefix;
    for (std::size_t i = 0; i < d.records.size(); ++i) {
        if (!d.records[i].nameUnreadable) continue;
        patched->patches.push_back(d.records[i].flagsAt + 1 - d.prefix);
        found.unflagged.insert(i);
    }
    zip_error_t openError;
    zip_error_init(&openError);
    patched->inner = zip_source_file_create(native.constData(), static_cast<zip_uint64_t>(d.prefix),
                                            d.fileSize - d.prefix, &openError);
    zip_source_t* outer =
        patched->inner ? zip_source_function_create(&PatchedFile::callback, patched, &openError)
                       : nullptr;
    zip_t* za = outer ? zip_open_from_source(outer, ZIP_RDONLY, &openError) : nullptr;
    if (!za) {
        if (outer)
            zip_source_free(outer);  // frees patched too
        else {
            if (patched->inner) zip_source_free(patched->inner);
            zip_error_fini(&patched->error);
            delete patched;
        }
        message =
            d.prefix > 0
                ? QStringLiteral(
                      "Cannot open the archive %1: it has %2 bytes of other data "
                      "before the archive, and what follows cannot be read "
                      "(%3).")
                      .arg(path)
                      .arg(d.prefix)
                      .arg(openFailure(openError))
                : QStringLiteral("Cannot open the archive %1: %2.").arg(path, openFailure(error));
    } else if (notes) {
        *notes = std::move(found);
    }
    zip_error_fini(&openError);
    zip_error_fini(&error);
    return ZipArchive(za);
}

QString zipErrorText(const zip_error_t* error) {
    zip_error_t copy;
    zip_error_init(&copy);
    zip_error_set(&copy, zip_error_code_zip(error), zip_error_code_system(error));
    const int sys = zip_error_code_system(error);
    QString text;
    switch (zip_error_code_zip(error)) {
        case ZIP_ER_WRITE:
            text = QStringLiteral("writing failed (%1)").arg(systemText(sys));
            break;
        case ZIP_ER_TMPOPEN:
            text = QStringLiteral("no temporary file could be made beside it (%1)")
                       .arg(systemText(sys));
            break;
        case ZIP_ER_RENAME:
        case ZIP_ER_CLOSE:
            text = QStringLiteral("the new version could not take the old one's place (%1)")
                       .arg(systemText(sys));
            break;
        case ZIP_ER_CRC:
            text = QStringLiteral("the data fails its CRC check");
            break;
        case ZIP_ER_INCONS:
            text = QStringLiteral(
                "the archive is damaged (its directory does not match its "
                "contents)");
            break;
        case ZIP_ER_INVAL:
            text = QStringLiteral(
                "the archive holds a value this program cannot work with (an "
                "invalid name, size or offset)");
            break;
        case ZIP_ER_EOF:
            text = QStringLiteral("the archive ends before the data of the entry does");
            break;
        case ZIP_ER_ZLIB:
        case ZIP_ER_COMPRESSED_DATA:
            text = QStringLiteral("the compressed data is damaged");
            break;
        case ZIP_ER_COMPNOTSUPP:
            text = QStringLiteral("it uses a compression method that is not supported");
            break;
        case ZIP_ER_ENCRNOTSUPP:
        case ZIP_ER_NOPASSWD:
        case ZIP_ER_WRONGPASSWD:
            text = QStringLiteral("it is encrypted");
            break;
        default:
            text = QString::fromUtf8(zip_error_strerror(&copy));
            break;
    }
    zip_error_fini(&copy);
    return text;
}

Status writeEmptyArchive(const QString& path) {
    // The end of central directory record alone: signature, then eighteen zero bytes.
    QByteArray record("PK\x05\x06", 4);
    record.append(18, '\0');
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(record) == record.size() && file.commit())
        return Status::ok();
    return Status::error(
        QStringLiteral("The archive %1 could not be written: %2.").arg(path, file.errorString()));
}

}  // namespace vx
