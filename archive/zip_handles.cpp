// Opening archives and turning libzip's error codes into sentences.
#include "archive/zip_handles.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>

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
    return QStringLiteral("Cannot open the archive %1: %2.").arg(path, openFailure(error));
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
